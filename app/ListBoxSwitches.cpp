#include "ListBoxSwitches.h"

#include <QCheckBox>
#include <functional>

#include "KelPrmListBox.h"

namespace Kel {

namespace {

struct TSwitch {
  const char* name;
  const char* caption;
  std::function<bool(const TKelPrmListBox*)> read;
  std::function<void(TKelPrmListBox*, bool)> store;
};

TSwitch OptionSwitch(const char* name, const char* caption, TKelListBoxOption option) {
  return {name, caption, [option](const TKelPrmListBox* box) { return box->Options().Contains(option); },
          [option](TKelPrmListBox* box, bool on) {
            TKelFltBoxOptions options = box->Options();
            if (on)
              options.Include(option);
            else
              options.Exclude(option);
            box->SetOptions(options);
          }};
}

template <class TGet, class TSet>
TSwitch PropertySwitch(const char* name, const char* caption, TGet get, TSet set) {
  return {name, caption, [get](const TKelPrmListBox* box) { return (box->*get)(); },
          [set](TKelPrmListBox* box, bool on) { (box->*set)(on); }};
}

const std::vector<TSwitch>& Switches() {
  static const std::vector<TSwitch> switches = {
      OptionSwitch("SortFields", "Sort fields", fboSortFields),
      OptionSwitch("SortConditions", "Sort conditions", fboSortConditions),
      OptionSwitch("CanAdd", "Can add items", fboCanAdd),
      OptionSwitch("CanDelete", "Can delete items", fboCanDelete),
      OptionSwitch("CanIndent", "Can indent items", fboCanIndent),
      PropertySwitch("CheckBoxes", "Show checkboxes", &TKelPrmListBox::CheckBoxes,
                     &TKelPrmListBox::SetCheckBoxes),
      PropertySwitch("HideFocus", "Hide focus rectangle", &TKelPrmListBox::HideFocus,
                     &TKelPrmListBox::SetHideFocus),
      PropertySwitch("HideHoverLink", "Hide hoverlink", &TKelPrmListBox::HideHoverLink,
                     &TKelPrmListBox::SetHideHoverLink),
      PropertySwitch("HideSelected", "Hide item selection", &TKelPrmListBox::HideSelected,
                     &TKelPrmListBox::SetHideSelected),
      PropertySwitch("EditWithMouse", "Edit items with mouse", &TKelPrmListBox::EditWithMouse,
                     &TKelPrmListBox::SetEditWithMouse),
      PropertySwitch("ShowDefaultPopup", "Show default popup", &TKelPrmListBox::ShowDefaultPopup,
                     &TKelPrmListBox::SetShowDefaultPopup),
      PropertySwitch("MergePopupMenus", "Merge popup menu", &TKelPrmListBox::MergePopupMenus,
                     &TKelPrmListBox::SetMergePopupMenus),
      PropertySwitch("ShowAddItem", "Show \"Add Item\"", &TKelPrmListBox::ShowAddItem,
                     &TKelPrmListBox::SetShowAddItem),
  };
  return switches;
}

}  // namespace

QList<QCheckBox*> MakeListBoxSwitches(QWidget* page, TKelPrmListBox* box, const char* namePrefix) {
  QList<QCheckBox*> checks;
  for (const TSwitch& item : Switches()) {
    auto* check = new QCheckBox(QLatin1String(item.caption), page);
    check->setObjectName(QLatin1String(namePrefix) + QLatin1String(item.name) + QStringLiteral("Check"));
    check->setChecked(item.read(box));
    const auto store = item.store;
    QObject::connect(check, &QCheckBox::clicked, box, [box, store](bool on) {
      store(box, on);
      box->update();
    });
    checks << check;
  }
  return checks;
}

}  // namespace Kel
