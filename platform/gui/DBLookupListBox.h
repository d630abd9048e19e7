#pragma once
// TDBLookupListBox: a list of the records of a dataset (the list source's), showing the list
// field(s) of each record, from which the user picks one; the pick is the record's key field
// value, KeyValue.
//
// Model
//   Rows are the dataset's records in its order (filters applied), read by record index, so
//   painting never moves the dataset; only the visible rows are read. The selected record is
//   the one whose key field equals KeyValue (highlighted when visible). The dataset's current
//   record is kept in view whenever it moves.
//   ListField may name several fields ("Name;City"): they are shown side by side in equal
//   columns; the first is the one incremental search looks in.
//
// The user
//   clicks a row or drags over rows: that record becomes current and selected;
//   Up, Down, Page Up, Page Down, Home, End: the current record moves and is selected;
//   types characters: they are collected into SearchText, and the first record whose first
//   list field starts with it (letter case ignored) is selected; a text that matches nothing is
//   refused with a beep. Backspace takes the last character back; a pause longer than the
//   application's keyboard input interval starts a new search.
//   Each of these fires OnClick. The scroll bar scrolls the rows (ScrollRequest).
//   While it has the focus, each pick is also told to a screen reader as the focus moving to
//   the record's row (the accessible child of the same index).
//
// Descendants may replace how the scroll bar is set (UpdateScrollBar) and what its requests do
// (ScrollRequest), and hear of every change of the list data (ListDataChanged).

#include <QAbstractScrollArea>
#include <QAbstractSlider>
#include <QElapsedTimer>
#include <QPointer>
#include <QString>
#include <functional>
#include <memory>

#include "Color.h"
#include "DataSource.h"
#include "PlatformExport.h"
#include "StdCtrls.h"
#include "Variant.h"

namespace Kel {

class TDataSet;
class TField;

class KEL_PLATFORM_EXPORT TDBLookupListBox : public QAbstractScrollArea {
  Q_OBJECT
  Q_PROPERTY(Kel::TDataSource* ListSource READ ListSource WRITE SetListSource)
  Q_PROPERTY(QString ListField READ ListField WRITE SetListField)
  Q_PROPERTY(QString KeyField READ KeyField WRITE SetKeyField)
  Q_PROPERTY(int Color READ Color WRITE SetColor)
  Q_CLASSINFO("default:Color", "-16777211")

 public:
  Q_INVOKABLE explicit TDBLookupListBox(QWidget* parent = nullptr);
  ~TDBLookupListBox() override;

  // --- the list
  TDataSource* ListSource() const { return listSource_; }
  void SetListSource(TDataSource* source);
  QString ListField() const { return listField_; }
  // Raises EDatabaseError "Field 'x' not found" when the open list dataset has no such field;
  // the setting is kept as it was then.
  void SetListField(const QString& names);
  QString KeyField() const { return keyField_; }
  void SetKeyField(const QString& name);  // the same check
  TDataSet* ListDataSet() const;
  // The list source is enabled and its dataset open.
  bool ListActive() const;

  // --- the pick
  Variant KeyValue() const { return keyValue_; }
  // Selects the record with that key, moving the list dataset to it (when there is one).
  void SetKeyValue(const Variant& value);
  // The record index (in the dataset's order) of the selected record among the visible rows,
  // else of the current record when it is the selected one; -1 otherwise.
  int SelectedIndex() const;
  // The first list field's text of the selected record ('' without one).
  QString SelectedText() const;
  // Whether record index is the selected one.
  bool IsSelectedRecord(int index) const;
  // The texts of record index's list fields, in their order, as its row shows them.
  QString RecordText(int index) const;
  // Makes record index the current and selected record: a user's pick (fires OnClick).
  void SelectRecord(int index);
  // The current record's index in the dataset's order (-1 without one).
  int CurrentIndex() const;

  // --- searching
  QString SearchText() const { return searchText_; }
  void ClearSearchText() { searchText_.clear(); }

  // --- geometry
  int RowHeight() const;
  // Whole rows that fit into the client area (at least 1).
  int RowCount() const;
  int TopIndex() const { return topIndex_; }
  void SetTopIndex(int index);
  int RecordCount() const;
  // The record index at a client (viewport) point; -1 where there is no record.
  int RecordIndexAt(const QPoint& pos) const;

  TColor Color() const { return color_; }
  void SetColor(TColor value);

  QSize sizeHint() const override;
  QSize minimumSizeHint() const override;

  TNotifyEvent OnClick;
  // Fired after the release was handled, in client (viewport) coordinates.
  TMouseEvent OnMouseUp;

 protected:
  // The list dataset changed (opened, closed, records or current record changed); the base
  // keeps the current record in view, sets the scroll bar and repaints.
  virtual void ListDataChanged();
  // Sets the vertical scroll bar. The base maps it onto the rows: range 0 .. records - rows,
  // page = rows, position = TopIndex.
  virtual void UpdateScrollBar();
  // A request of the vertical scroll bar (line, page, ends, a new thumb position). The base
  // scrolls the rows and leaves the dataset where it is.
  virtual void ScrollRequest(QAbstractSlider::SliderAction action, int position);
  // Moves the current record by distance, keeping it at the same row of the view when
  // keepRow is set (so the rows scroll with it).
  void MoveCurrent(int distance, bool keepRow);
  QScrollBar* VScrollBar() const { return verticalScrollBar(); }

  void paintEvent(QPaintEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void scrollContentsBy(int dx, int dy) override;
  void changeEvent(QEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;

 private:
  class TListLink;
  friend class TListLink;

  // Raises when the open list dataset lacks one of the fields (nothing is changed then).
  void CheckFields(const QString& listField, const QString& keyField) const;
  std::vector<TField*> DisplayFields() const;
  TField* KeyFieldOf() const;
  void SelectCurrent();
  // Tells a screen reader that the focus is on the current record's row.
  void AnnounceCurrent();
  void KeepCurrentVisible();
  void ClampTopIndex();
  bool SearchFor(const QString& text);
  void TypeSearchChar(QChar ch);
  void PaintRow(class TCanvas& canvas, int index, const QRect& rowRect,
                const std::vector<TField*>& fields);

  std::unique_ptr<TListLink> link_;
  QPointer<TDataSource> listSource_;
  QString listField_;
  QString keyField_;
  Variant keyValue_;
  int topIndex_ = 0;
  TColor color_ = clWindow;
  QString searchText_;
  QElapsedTimer lastSearchKey_;
  bool updatingScrollBar_ = false;
};

}  // namespace Kel
