#include "KelAccessiblePopup_p.h"

#include "DBLookupListBox.h"
#include "KelAccessibleCalendar_p.h"
#include "KelCalPopup.h"
#include "KelCalendar.h"
#include "KelPrmListBox.h"

namespace Kel {

namespace {

class TKelAccessibleLookupRow : public TKelPressablePart<QAccessibleInterface> {
 public:
  TKelAccessibleLookupRow(TDBLookupListBox* list, int index) : list_(list), index_(index) {}

  int Index() const { return index_; }

  bool isValid() const override { return list_ && index_ < list_->RecordCount(); }
  QObject* object() const override { return nullptr; }
  QWindow* window() const override { return list_->window()->windowHandle(); }
  QAccessibleInterface* parent() const override {
    return QAccessible::queryAccessibleInterface(list_.data());
  }
  int childCount() const override { return 0; }
  QAccessibleInterface* child(int) const override { return nullptr; }
  int indexOfChild(const QAccessibleInterface*) const override { return -1; }
  QAccessibleInterface* childAt(int, int) const override { return nullptr; }
  QString text(QAccessible::Text t) const override {
    return t == QAccessible::Name ? list_->RecordText(index_) : QString();
  }
  void setText(QAccessible::Text, const QString&) override {}
  QRect rect() const override {
    if (!Shown()) return QRect();
    const int height = list_->RowHeight();
    const QRect row(0, (index_ - list_->TopIndex()) * height, list_->viewport()->width(), height);
    return QRect(list_->viewport()->mapToGlobal(row.topLeft()), row.size());
  }
  QAccessible::Role role() const override { return QAccessible::ListItem; }
  QAccessible::State state() const override {
    QAccessible::State s;
    s.selectable = true;
    s.focusable = true;
    s.selected = list_->IsSelectedRecord(index_);
    s.focused = list_->hasFocus() && list_->CurrentIndex() == index_;
    s.offscreen = !Shown();
    s.disabled = !list_->isEnabled();
    return s;
  }
  void doAction(const QString& action) override {
    if (action == pressAction() && list_->isEnabled()) list_->SelectRecord(index_);
  }

 private:
  bool Shown() const {
    return index_ >= list_->TopIndex() && index_ < list_->TopIndex() + list_->RowCount();
  }

  QPointer<TDBLookupListBox> list_;
  int index_;
};

}  // namespace

// ---- popups

TKelAccessiblePopup::TKelAccessiblePopup(QWidget* widget)
    : QAccessibleWidget(widget, QAccessible::Dialog) {}

QAccessibleInterface* TKelAccessiblePopup::parent() const {
  QWidget* owner = widget()->parentWidget();
  if (auto* box = qobject_cast<TKelPrmListBox*>(owner);
      box && box->Popup() == widget() && box->ActiveParam() && widget()->isVisible()) {
    if (QAccessibleInterface* param = QAccessible::queryAccessibleInterface(box->ActiveParam()))
      return param;
  }
  if (auto* calendar = qobject_cast<TKelCustomCalendar*>(owner);
      calendar && calendar->MonthPopup() == widget()) {
    auto* root = dynamic_cast<TKelAccessibleCalendar*>(QAccessible::queryAccessibleInterface(calendar));
    const QPoint cell = calendar->MonthPopupCell();
    if (QAccessibleInterface* header =
            root ? root->Header(cell.y() * calendar->MonthCols() + cell.x()) : nullptr)
      return header;
  }
  return QAccessibleWidget::parent();
}

QAccessible::State TKelAccessiblePopup::state() const {
  QAccessible::State s = QAccessibleWidget::state();
  s.modal = true;  // it holds the keyboard and the mouse until it closes
  return s;
}

// ---- the lookup list

TKelAccessibleLookupList::TKelAccessibleLookupList(QWidget* widget)
    : QAccessibleWidget(widget, QAccessible::List) {}

TDBLookupListBox* TKelAccessibleLookupList::List() const {
  return static_cast<TDBLookupListBox*>(widget());
}

int TKelAccessibleLookupList::childCount() const { return List()->RecordCount(); }

QAccessibleInterface* TKelAccessibleLookupList::child(int index) const {
  if (index < 0 || index >= List()->RecordCount()) return nullptr;
  return rows_.Get(index, [this, index] { return new TKelAccessibleLookupRow(List(), index); });
}

int TKelAccessibleLookupList::indexOfChild(const QAccessibleInterface* child) const {
  auto* row = dynamic_cast<const TKelAccessibleLookupRow*>(child);
  return row && row->isValid() && this->child(row->Index()) == child ? row->Index() : -1;
}

QAccessibleInterface* TKelAccessibleLookupList::childAt(int x, int y) const {
  const int index = List()->RecordIndexAt(List()->viewport()->mapFromGlobal(QPoint(x, y)));
  return index >= 0 ? child(index) : nullptr;
}

}  // namespace Kel
