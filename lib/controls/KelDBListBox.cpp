#include "KelDBListBox.h"

#include <QScrollBar>
#include <algorithm>

#include "DataSet.h"
#include "KelControlsConsts.h"
#include "KelEventErrors.h"
#include "KelRegisterClasses.h"
#include "KelTranslate.h"
#include "KelUtils.h"

namespace Kel {

namespace {
// The published control is known by name (the class registry, a form designer's list).
const bool dbListBoxClassRegistered = [] {
  RegisterClassesOnce({&TKelLookupListBox::staticMetaObject});
  return true;
}();
}  // namespace

// --- TKelLookupListBox

TKelLookupListBox::TKelLookupListBox(QWidget* parent) : TDBLookupListBox(parent) {
  setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  UpdateScrollBar();
}

void TKelLookupListBox::SetProportionalThumb(bool value) {
  if (value == proportionalThumb_) return;
  proportionalThumb_ = value;
  UpdateScrollBar();
}

void TKelLookupListBox::UpdateScrollBar() {
  if (!proportionalThumb_) {
    TDBLookupListBox::UpdateScrollBar();
    return;
  }
  const bool active = ListActive();
  recordCount_ = active ? ListDataSet()->RecordCount() : 0;
  recordNumber_ = active ? std::max(0, ListDataSet()->RecNo()) : 0;
  QScrollBar* bar = VScrollBar();
  // Setting the same range and page again changes nothing and costs no repaint.
  SetScrollRangePage(bar, 0, recordCount_ - 1, RowCount());
  SetScrollPosIfChanged(bar, std::clamp(recordNumber_ - 1, bar->minimum(), bar->maximum()));
  viewport()->update();
}

void TKelLookupListBox::ScrollRequest(QAbstractSlider::SliderAction action, int position) {
  if (!proportionalThumb_) {
    TDBLookupListBox::ScrollRequest(action, position);
    return;
  }
  ClearSearchText();
  if (!ListActive()) return;
  TDataSet* dataSet = ListDataSet();
  switch (action) {
    case QAbstractSlider::SliderSingleStepSub: MoveCurrent(-1, true); break;
    case QAbstractSlider::SliderSingleStepAdd: MoveCurrent(1, true); break;
    case QAbstractSlider::SliderPageStepSub: MoveCurrent(-RowCount(), true); break;
    case QAbstractSlider::SliderPageStepAdd: MoveCurrent(RowCount(), true); break;
    case QAbstractSlider::SliderToMinimum: dataSet->First(); break;
    case QAbstractSlider::SliderToMaximum: dataSet->Last(); break;
    case QAbstractSlider::SliderMove:
      if (trackScrollBar_) {
        MoveCurrent(position - recordNumber_ + 1, true);
      } else if (VScrollBar()->isSliderDown()) {
        return;  // the list waits for the thumb's release
      } else {
        dataSet->First();
        MoveCurrent(position, true);
      }
      break;
    default: return;
  }
  UpdateScrollBar();
}

// --- TKelDBListBoxPopup

TKelDBListBoxPopup::TKelDBListBoxPopup(QWidget* owner, int option)
    : TKelPopupForm(owner, option), listBox_(new TKelLookupListBox(this)) {
  setAccessibleName(TranslateText(KelControlsText::LookupList));
  listBox_->setAccessibleName(accessibleName());
  listBox_->setFrameShape(QFrame::NoFrame);
  listBox_->OnMouseUp = [this](QObject*, TMouseButton button, TShiftState, int x, int y) {
    if (button == mbLeft && listBox_->viewport()->rect().contains(x, y)) ClosePopup(false);
  };
  SetBorderStyle(bsSizeable);
  SetColor(listBox_->Color());
  SetClientControl(listBox_);
  SetVisibleRows(8);
}

TKelDBListBoxPopup::~TKelDBListBoxPopup() {
  // The list lets go of the source before the source goes.
  listBox_->SetListSource(nullptr);
}

void TKelDBListBoxPopup::SetDataSource(TDataSource* source) {
  TDataSource* current = DataSource();
  if (source == current) return;
  listBox_->SetListSource(source);
  if (current && current == ownSource_.get()) ownSource_.reset();
}

TDataSet* TKelDBListBoxPopup::ListDataSet() const {
  return DataSource() ? DataSource()->DataSet() : nullptr;
}

void TKelDBListBoxPopup::SetListDataSet(TDataSet* dataSet) {
  if (!DataSource()) {
    auto source = std::make_unique<TDataSource>();
    SetDataSource(source.get());
    ownSource_ = std::move(source);
  }
  DataSource()->SetDataSet(dataSet);
}

void TKelDBListBoxPopup::SetVisibleRows(int rows) {
  SetClientSize(QSize(listBox_->sizeHint().width(), std::max(1, rows) * listBox_->RowHeight()));
}

void TKelDBListBoxPopup::BeforePopup() {
  TKelPopupForm::BeforePopup();
  QSize snapped = size();
  AdjustSizing(snapped);
  resize(snapped);
}

void TKelDBListBoxPopup::AdjustSizing(QSize& size) {
  // The client area holds whole rows: the list paints every pixel, and no half row shows.
  const QMargins margins = contentsMargins();
  const int client = size.height() - margins.top() - margins.bottom();
  const int row = std::max(1, listBox_->RowHeight());
  const int snapped = std::max(row, client - client % row);
  size.setHeight(snapped + margins.top() + margins.bottom());
}

bool TKelLookupListBox::event(QEvent* event) {
  return DispatchGuarded(this, [&] { return TDBLookupListBox::event(event); });
}

// The mouse reaches a scroll area through its viewport.
bool TKelLookupListBox::viewportEvent(QEvent* event) {
  return DispatchGuarded(this, [&] { return TDBLookupListBox::viewportEvent(event); });
}

}  // namespace Kel
