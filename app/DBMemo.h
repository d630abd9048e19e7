#pragma once
// A memo bound to one field of a data source's current record: it shows the field's text as the
// record changes, and text typed into it is posted to the record when the memo loses the focus.

#include <QPlainTextEdit>
#include <memory>

namespace Kel {

class TDataSource;
class TField;
class TFunctionDataLink;

class TDBMemo : public QPlainTextEdit {
  Q_OBJECT
 public:
  explicit TDBMemo(QWidget* parent = nullptr);
  ~TDBMemo() override;

  TDataSource* DataSource() const;
  void SetDataSource(TDataSource* dataSource);
  QString DataField() const { return dataField_; }
  void SetDataField(const QString& name);
  // The bound field of the open dataset, or nullptr.
  TField* Field() const;

 protected:
  void focusOutEvent(QFocusEvent* event) override;

 private:
  void ShowField();
  void PostText();

  std::unique_ptr<TFunctionDataLink> link_;
  QString dataField_;
  bool showing_ = false;
  bool typed_ = false;
};

}  // namespace Kel
