#pragma once
// Unit KelDBListBox: the drop-down for picking a lookup value from a dataset.
//
// TKelLookupListBox: the lookup list box with a scroll bar that tells where the list stands in
// the whole dataset (ProportionalThumb): range 0 .. records - 1, a page of the visible rows,
// the thumb at the current record number - 1. Its requests move the list dataset: a line by
// one record, a page by the visible rows, the ends to the first and last record, the thumb
// (while dragged and when released, with TrackScrollBar) to the record at its position; the
// rows scroll along with the current record. Without ProportionalThumb the scroll bar scrolls
// the rows like the base list.
//
// TKelDBListBoxPopup: a resizable popup holding such a list over its whole client area. Its
// height always holds a whole number of rows. A left click on a row accepts (a click on the
// scroll bar does not); Enter accepts; KeyValue is then the key of the chosen record. Given
// only a dataset (SetListDataSet), the popup makes a data source of its own, which it frees
// when another data source replaces it; a data source given by the caller is never freed.

#include <memory>

#include "DBLookupListBox.h"
#include "KelExport.h"
#include "KelForms.h"

namespace Kel {

class KEL_EXPORT TKelLookupListBox : public TDBLookupListBox {
  Q_OBJECT
  Q_PROPERTY(bool TrackScrollBar READ TrackScrollBar WRITE SetTrackScrollBar)
  Q_CLASSINFO("default:TrackScrollBar", "True")
  Q_PROPERTY(bool ProportionalThumb READ ProportionalThumb WRITE SetProportionalThumb)
  Q_CLASSINFO("default:ProportionalThumb", "True")

 public:
  Q_INVOKABLE explicit TKelLookupListBox(QWidget* parent = nullptr);

  bool TrackScrollBar() const { return trackScrollBar_; }
  void SetTrackScrollBar(bool value) { trackScrollBar_ = value; }
  bool ProportionalThumb() const { return proportionalThumb_; }
  void SetProportionalThumb(bool value);
  // The list dataset's record count and current record number as of the last update (0 and 0
  // when the list is not active).
  int ListRecordCount() const { return recordCount_; }
  int ListRecordNumber() const { return recordNumber_; }

 protected:
  void UpdateScrollBar() override;
  void ScrollRequest(QAbstractSlider::SliderAction action, int position) override;

 private:
  bool trackScrollBar_ = true;
  bool proportionalThumb_ = true;
  int recordCount_ = 0;
  int recordNumber_ = 0;
};

class KEL_EXPORT TKelDBListBoxPopup : public TKelPopupForm {
  Q_OBJECT

 public:
  explicit TKelDBListBoxPopup(QWidget* owner = nullptr, int option = 0);
  ~TKelDBListBoxPopup() override;

  TKelLookupListBox* ListBox() const { return listBox_; }
  TDataSource* DataSource() const { return listBox_->ListSource(); }
  // Frees the current data source first when the popup made it itself.
  void SetDataSource(TDataSource* source);
  TDataSet* ListDataSet() const;
  // Without a data source, the popup makes one of its own; the source's dataset becomes dataSet.
  void SetListDataSet(TDataSet* dataSet);
  QString ListField() const { return listBox_->ListField(); }
  void SetListField(const QString& value) { listBox_->SetListField(value); }
  QString KeyField() const { return listBox_->KeyField(); }
  void SetKeyField(const QString& value) { listBox_->SetKeyField(value); }
  Variant KeyValue() const { return listBox_->KeyValue(); }
  void SetKeyValue(const Variant& value) { listBox_->SetKeyValue(value); }
  // Sizes the popup for rows whole rows of the list.
  void SetVisibleRows(int rows);

 protected:
  // The font may have changed the row height: the height is snapped again.
  void BeforePopup() override;
  void AdjustSizing(QSize& size) override;

 private:
  TKelLookupListBox* listBox_;
  std::unique_ptr<TDataSource> ownSource_;
};

}  // namespace Kel
