#include "Buttons.h"

#include <QStyle>

namespace Kel {

namespace {

struct TBitBtnDefaults {
  const char* Caption;
  QStyle::StandardPixmap Icon;
  TModalResult Result;
};

TBitBtnDefaults DefaultsOf(TBitBtnKind kind) {
  switch (kind) {
    case bkOK: return {"OK", QStyle::SP_DialogOkButton, mrOk};
    case bkCancel: return {"Cancel", QStyle::SP_DialogCancelButton, mrCancel};
    case bkHelp: return {"&Help", QStyle::SP_DialogHelpButton, mrNone};
    case bkYes: return {"&Yes", QStyle::SP_DialogYesButton, mrYes};
    case bkNo: return {"&No", QStyle::SP_DialogNoButton, mrNo};
    case bkClose: return {"&Close", QStyle::SP_DialogCloseButton, mrNone};
    case bkAbort: return {"Abort", QStyle::SP_DialogAbortButton, mrAbort};
    case bkRetry: return {"&Retry", QStyle::SP_DialogRetryButton, mrRetry};
    case bkIgnore: return {"&Ignore", QStyle::SP_DialogIgnoreButton, mrIgnore};
    case bkAll: return {"&All", QStyle::SP_DialogYesToAllButton, mrAll};
    case bkCustom: break;
  }
  return {"", QStyle::SP_CustomBase, mrNone};
}

}  // namespace

TBitBtn::TBitBtn(QWidget* parent) : TButton(parent) {}

void TBitBtn::SetKind(TBitBtnKind value) {
  if (value == kind_) return;
  kind_ = value;
  if (value == bkCustom) return;  // a custom button keeps what it has
  const TBitBtnDefaults defaults = DefaultsOf(value);
  SetCaption(QString::fromUtf8(defaults.Caption));
  SetGlyph(style()->standardIcon(defaults.Icon, nullptr, this));
  SetModalResult(defaults.Result);
  SetDefault(value == bkOK || value == bkYes);
  SetCancel(value == bkCancel || value == bkNo);
}

TSpeedButton::TSpeedButton(QWidget* parent) : QToolButton(parent) {
  setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
  connect(this, &QToolButton::clicked, this, [this] { FireClick(this); });
}

void TSpeedButton::SetDown(bool value) {
  if (groupIndex_ == 0) return;  // an ungrouped button comes up when released
  if (value == isChecked()) return;
  setChecked(value);
  if (value) ReleaseOthersInGroup();
}

void TSpeedButton::SetGroupIndex(int value) {
  if (value == groupIndex_) return;
  groupIndex_ = value;
  setCheckable(value != 0);
  if (value == 0)
    setChecked(false);
  else if (isChecked())
    ReleaseOthersInGroup();
}

void TSpeedButton::nextCheckState() {
  // Qt toggles a checkable button; a grouped speed button stays down unless AllowAllUp.
  if (isChecked() && !allowAllUp_) return;
  setChecked(!isChecked());
  if (isChecked()) ReleaseOthersInGroup();
}

void TSpeedButton::ReleaseOthersInGroup() {
  if (!parentWidget()) return;
  for (auto* other : parentWidget()->findChildren<TSpeedButton*>(Qt::FindDirectChildrenOnly))
    if (other != this && other->groupIndex_ == groupIndex_ && other->isChecked())
      other->setChecked(false);
}

}  // namespace Kel
