#include "DBLookupListBox.h"

#include <QAccessible>
#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <algorithm>

#include "Canvas.h"
#include "DataSet.h"
#include "Fields.h"
#include "MessageBeep.h"
#include "RestoreOnExit.h"

namespace Kel {

namespace {

constexpr int kRowPadding = 2;   // above and below the text of a row
constexpr int kTextMargin = 3;   // left of the text of a column

QStringList FieldNames(const QString& names) {
  QStringList result;
  for (const QString& name : names.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
    const QString trimmed = name.trimmed();
    if (!trimmed.isEmpty()) result.append(trimmed);
  }
  return result;
}

}  // namespace

// Hears the list source and tells the list box.
class TDBLookupListBox::TListLink : public TDataLink {
 public:
  explicit TListLink(TDBLookupListBox* owner) : owner_(owner) {}

 protected:
  void ActiveChanged() override { owner_->ListDataChanged(); }
  void DataSetChanged() override { owner_->ListDataChanged(); }
  void DataSetScrolled(int) override { owner_->ListDataChanged(); }
  void LayoutChanged() override { owner_->ListDataChanged(); }
  void RecordChanged(TField*) override { owner_->viewport()->update(); }

 private:
  TDBLookupListBox* owner_;
};

TDBLookupListBox::TDBLookupListBox(QWidget* parent)
    : QAbstractScrollArea(parent), link_(std::make_unique<TListLink>(this)) {
  setFocusPolicy(Qt::StrongFocus);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  viewport()->setAutoFillBackground(false);
  viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
  QScrollBar* bar = verticalScrollBar();
  bar->setSingleStep(1);
  connect(bar, &QScrollBar::actionTriggered, this, [this](int action) {
    if (updatingScrollBar_) return;
    ScrollRequest(static_cast<QAbstractSlider::SliderAction>(action),
                  verticalScrollBar()->sliderPosition());
  });
}

TDBLookupListBox::~TDBLookupListBox() {
  // The link goes before the widget parts it reports to.
  link_.reset();
}

// --- the list

void TDBLookupListBox::SetListSource(TDataSource* source) {
  if (source == listSource_) return;
  if (listSource_) disconnect(listSource_, nullptr, this, nullptr);
  listSource_ = source;
  if (source)
    connect(source, &QObject::destroyed, this, [this] { ListDataChanged(); });
  link_->SetDataSource(source);
  ListDataChanged();
}

void TDBLookupListBox::SetListField(const QString& names) {
  if (names == listField_) return;
  CheckFields(names, keyField_);
  listField_ = names;
  viewport()->update();
}

void TDBLookupListBox::SetKeyField(const QString& name) {
  if (name == keyField_) return;
  CheckFields(listField_, name);
  keyField_ = name;
  viewport()->update();
}

TDataSet* TDBLookupListBox::ListDataSet() const {
  return listSource_ ? listSource_->DataSet() : nullptr;
}

bool TDBLookupListBox::ListActive() const { return listSource_ && link_->Active(); }

void TDBLookupListBox::CheckFields(const QString& listField, const QString& keyField) const {
  if (!ListActive()) return;
  TDataSet* dataSet = ListDataSet();
  for (const QString& name : FieldNames(listField)) dataSet->FieldByName(name);
  if (!keyField.isEmpty()) dataSet->FieldByName(keyField);
}

std::vector<TField*> TDBLookupListBox::DisplayFields() const {
  std::vector<TField*> fields;
  if (!ListActive()) return fields;
  for (const QString& name : FieldNames(listField_))
    if (TField* field = ListDataSet()->FindField(name)) fields.push_back(field);
  return fields;
}

TField* TDBLookupListBox::KeyFieldOf() const {
  if (!ListActive()) return nullptr;
  if (!keyField_.isEmpty()) return ListDataSet()->FindField(keyField_);
  const std::vector<TField*> fields = DisplayFields();
  return fields.empty() ? nullptr : fields.front();
}

// --- the pick

void TDBLookupListBox::SetKeyValue(const Variant& value) {
  keyValue_ = value;
  TField* key = KeyFieldOf();
  if (key && !value.IsEmptyOrNull()) ListDataSet()->Locate(key->FieldName(), value);
  viewport()->update();
}

bool TDBLookupListBox::IsSelectedRecord(int index) const {
  if (keyValue_.IsEmptyOrNull()) return false;
  TField* key = KeyFieldOf();
  if (!key) return false;
  const Variant value = ListDataSet()->RecordValue(index, key);
  return !value.IsEmptyOrNull() && VarCompareValue(value, keyValue_) == TVariantRelationship::vrEqual;
}

int TDBLookupListBox::SelectedIndex() const {
  const int last = std::min(RecordCount(), topIndex_ + RowCount());
  for (int index = topIndex_; index < last; ++index)
    if (IsSelectedRecord(index)) return index;
  const int current = CurrentIndex();
  return current >= 0 && IsSelectedRecord(current) ? current : -1;
}

QString TDBLookupListBox::SelectedText() const {
  const int index = SelectedIndex();
  const std::vector<TField*> fields = DisplayFields();
  if (index < 0 || fields.empty()) return QString();
  return fields.front()->DisplayTextAt(index);
}

void TDBLookupListBox::SelectRecord(int index) {
  if (!ListActive() || index < 0 || index >= RecordCount()) return;
  const int current = CurrentIndex();
  if (index != current) ListDataSet()->MoveBy(index - current);
  SelectCurrent();
}

void TDBLookupListBox::SelectCurrent() {
  TField* key = KeyFieldOf();
  if (!key || CurrentIndex() < 0) return;
  keyValue_ = key->Value();
  KeepCurrentVisible();
  viewport()->update();
  AnnounceCurrent();
  if (OnClick) OnClick(this);
}

void TDBLookupListBox::AnnounceCurrent() {
  if (!QAccessible::isActive() || !hasFocus()) return;
  for (const QAccessible::Event type : {QAccessible::Focus, QAccessible::Selection}) {
    QAccessibleEvent event(this, type);
    event.setChild(CurrentIndex());
    QAccessible::updateAccessibility(&event);
  }
}

QString TDBLookupListBox::RecordText(int index) const {
  if (index < 0 || index >= RecordCount()) return QString();
  QStringList texts;
  for (TField* field : DisplayFields()) texts << field->DisplayTextAt(index);
  return texts.join(u' ');
}

// --- searching

bool TDBLookupListBox::SearchFor(const QString& text) {
  const std::vector<TField*> fields = DisplayFields();
  if (fields.empty() || text.isEmpty()) return false;
  if (!ListDataSet()->Locate(fields.front()->FieldName(), text,
                             TLocateOptions{loCaseInsensitive, loPartialKey}))
    return false;
  SelectCurrent();
  return true;
}

void TDBLookupListBox::TypeSearchChar(QChar ch) {
  if (!lastSearchKey_.isValid() || lastSearchKey_.elapsed() > QApplication::keyboardInputInterval())
    searchText_.clear();
  lastSearchKey_.restart();
  const QString candidate = searchText_ + ch;
  if (SearchFor(candidate))
    searchText_ = candidate;
  else
    MessageBeep();
}

// --- geometry

int TDBLookupListBox::RowHeight() const { return fontMetrics().height() + 2 * kRowPadding; }

int TDBLookupListBox::RowCount() const {
  return std::max(1, viewport()->height() / std::max(1, RowHeight()));
}

int TDBLookupListBox::RecordCount() const { return ListActive() ? ListDataSet()->RecordCount() : 0; }

int TDBLookupListBox::CurrentIndex() const {
  return ListActive() ? ListDataSet()->ActiveRecordIndex() : -1;
}

void TDBLookupListBox::SetTopIndex(int index) {
  const int before = topIndex_;
  topIndex_ = index;
  ClampTopIndex();
  if (topIndex_ == before) return;
  UpdateScrollBar();
  viewport()->update();
}

void TDBLookupListBox::ClampTopIndex() {
  topIndex_ = std::clamp(topIndex_, 0, std::max(0, RecordCount() - RowCount()));
}

void TDBLookupListBox::KeepCurrentVisible() {
  const int current = CurrentIndex();
  if (current >= 0) {
    if (current < topIndex_)
      topIndex_ = current;
    else if (current >= topIndex_ + RowCount())
      topIndex_ = current - RowCount() + 1;
  }
  ClampTopIndex();
}

int TDBLookupListBox::RecordIndexAt(const QPoint& pos) const {
  if (!viewport()->rect().contains(pos)) return -1;
  const int index = topIndex_ + pos.y() / std::max(1, RowHeight());
  return index < RecordCount() ? index : -1;
}

void TDBLookupListBox::SetColor(TColor value) {
  if (value == color_) return;
  color_ = value;
  viewport()->update();
}

QSize TDBLookupListBox::sizeHint() const {
  const int frame = 2 * frameWidth();
  return QSize(fontMetrics().averageCharWidth() * 20 + frame, RowHeight() * 8 + frame);
}

QSize TDBLookupListBox::minimumSizeHint() const {
  const int frame = 2 * frameWidth();
  return QSize(fontMetrics().averageCharWidth() * 4 + frame, RowHeight() + frame);
}

// --- reactions

void TDBLookupListBox::ListDataChanged() {
  KeepCurrentVisible();
  UpdateScrollBar();
  viewport()->update();
}

void TDBLookupListBox::UpdateScrollBar() {
  RestoreOnExit guard(updatingScrollBar_, true);
  QScrollBar* bar = verticalScrollBar();
  const int rows = RowCount();
  bar->setRange(0, std::max(0, RecordCount() - rows));
  bar->setPageStep(rows);
  bar->setValue(topIndex_);
}

void TDBLookupListBox::ScrollRequest(QAbstractSlider::SliderAction action, int position) {
  ClearSearchText();
  topIndex_ = position;
  ClampTopIndex();
  viewport()->update();
}

void TDBLookupListBox::MoveCurrent(int distance, bool keepRow) {
  if (!ListActive() || distance == 0) return;
  const int row = CurrentIndex() - topIndex_;
  ListDataSet()->MoveBy(distance);
  if (keepRow) {
    topIndex_ = CurrentIndex() - row;
    ClampTopIndex();
    KeepCurrentVisible();
  }
  UpdateScrollBar();
  viewport()->update();
}

void TDBLookupListBox::scrollContentsBy(int, int) {
  // The rows follow topIndex_, which ScrollRequest sets; nothing is scrolled by pixels.
}

void TDBLookupListBox::resizeEvent(QResizeEvent* event) {
  QAbstractScrollArea::resizeEvent(event);
  KeepCurrentVisible();
  UpdateScrollBar();
}

void TDBLookupListBox::changeEvent(QEvent* event) {
  QAbstractScrollArea::changeEvent(event);
  if (event->type() == QEvent::FontChange) {
    KeepCurrentVisible();
    UpdateScrollBar();
  }
  if (event->type() == QEvent::FontChange || event->type() == QEvent::PaletteChange)
    viewport()->update();
}

void TDBLookupListBox::focusInEvent(QFocusEvent* event) {
  QAbstractScrollArea::focusInEvent(event);
  viewport()->update();
}

void TDBLookupListBox::focusOutEvent(QFocusEvent* event) {
  QAbstractScrollArea::focusOutEvent(event);
  viewport()->update();
}

// --- painting

void TDBLookupListBox::paintEvent(QPaintEvent*) {
  QPainter painter(viewport());
  TCanvas canvas(painter, this);
  canvas.Brush().Color = color_;
  canvas.FillRect(TRect::FromQRect(viewport()->rect()));
  const std::vector<TField*> fields = DisplayFields();
  if (fields.empty()) return;
  const int rowHeight = RowHeight();
  const int last = std::min(RecordCount(), topIndex_ + RowCount() + 1);
  for (int index = topIndex_; index < last; ++index) {
    const QRect rowRect(0, (index - topIndex_) * rowHeight, viewport()->width(), rowHeight);
    PaintRow(canvas, index, rowRect, fields);
  }
}

void TDBLookupListBox::PaintRow(TCanvas& canvas, int index, const QRect& rowRect,
                                const std::vector<TField*>& fields) {
  const bool selected = IsSelectedRecord(index);
  const QPalette::ColorGroup group = hasFocus() ? QPalette::Active : QPalette::Inactive;
  QPainter& painter = canvas.Painter();
  if (selected) painter.fillRect(rowRect, palette().color(group, QPalette::Highlight));
  const QColor text = selected ? palette().color(group, QPalette::HighlightedText)
                               : canvas.ToQColor(clWindowText);
  const int columns = static_cast<int>(fields.size());
  const int columnWidth = rowRect.width() / columns;
  painter.setFont(font());
  for (int column = 0; column < columns; ++column) {
    const int left = rowRect.left() + column * columnWidth;
    const int width = column == columns - 1 ? rowRect.right() + 1 - left : columnWidth;
    const QRect cell(left + kTextMargin, rowRect.top(), width - 2 * kTextMargin, rowRect.height());
    painter.setPen(text);
    painter.drawText(cell, Qt::AlignVCenter | Qt::AlignLeft | Qt::TextSingleLine,
                     fontMetrics().elidedText(fields[column]->DisplayTextAt(index),
                                              Qt::ElideRight, cell.width()));
    if (column > 0)
      painter.fillRect(QRect(left, rowRect.top(), 1, rowRect.height()), canvas.ToQColor(clBtnFace));
  }
  if (index == CurrentIndex() && hasFocus() && !selected) canvas.DrawFocusRect(TRect::FromQRect(rowRect));
}

// --- input

void TDBLookupListBox::keyPressEvent(QKeyEvent* event) {
  const bool plain = !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier));
  const auto moveAndSelect = [this](int distance) {
    ClearSearchText();
    MoveCurrent(distance, false);
    SelectCurrent();
  };
  switch (plain ? event->key() : 0) {
    case Qt::Key_Up: moveAndSelect(-1); return;
    case Qt::Key_Down: moveAndSelect(1); return;
    case Qt::Key_PageUp: moveAndSelect(-std::max(1, RowCount() - 1)); return;
    case Qt::Key_PageDown: moveAndSelect(std::max(1, RowCount() - 1)); return;
    case Qt::Key_Home:
    case Qt::Key_End:
      if (!ListActive()) break;
      ClearSearchText();
      if (event->key() == Qt::Key_Home)
        ListDataSet()->First();
      else
        ListDataSet()->Last();
      SelectCurrent();
      return;
    case Qt::Key_Backspace:
      if (searchText_.isEmpty()) break;
      searchText_.chop(1);
      lastSearchKey_.restart();
      if (!searchText_.isEmpty()) SearchFor(searchText_);
      return;
    default: break;
  }
  const QString text = event->text();
  if (plain && ListActive() && text.size() == 1 && text.front().isPrint()) {
    TypeSearchChar(text.front());
    return;
  }
  QAbstractScrollArea::keyPressEvent(event);
}

void TDBLookupListBox::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) {
    QAbstractScrollArea::mousePressEvent(event);
    return;
  }
  setFocus(Qt::MouseFocusReason);
  ClearSearchText();
  const int index = RecordIndexAt(event->position().toPoint());
  if (index >= 0) SelectRecord(index);
}

void TDBLookupListBox::mouseMoveEvent(QMouseEvent* event) {
  if (!(event->buttons() & Qt::LeftButton)) return;
  // Dragging over the rows picks the row under the mouse, within the visible rows.
  QPoint pos = event->position().toPoint();
  pos.setY(std::clamp(pos.y(), 0, viewport()->height() - 1));
  pos.setX(std::clamp(pos.x(), 0, viewport()->width() - 1));
  const int index = RecordIndexAt(pos);
  if (index >= 0 && index != CurrentIndex()) SelectRecord(index);
}

void TDBLookupListBox::mouseReleaseEvent(QMouseEvent* event) {
  QAbstractScrollArea::mouseReleaseEvent(event);
  FireMouseEvent(OnMouseUp, this, *event);
}

}  // namespace Kel
