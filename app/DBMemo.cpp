#include "DBMemo.h"

#include "DataSet.h"
#include "DataSource.h"
#include "Fields.h"

namespace Kel {

TDBMemo::TDBMemo(QWidget* parent)
    : QPlainTextEdit(parent), link_(std::make_unique<TFunctionDataLink>()) {
  link_->OnActiveChanged = [this] { ShowField(); };
  link_->OnDataSetChanged = [this] { ShowField(); };
  link_->OnDataSetScrolled = [this](int) { ShowField(); };
  link_->OnLayoutChanged = [this] { ShowField(); };
  link_->OnRecordChanged = [this](TField* field) {
    if (!field || field == Field()) ShowField();
  };
  connect(this, &QPlainTextEdit::textChanged, this, [this] {
    if (!showing_) typed_ = true;
  });
}

TDBMemo::~TDBMemo() {
  // Going, the object hears nothing more of the data source it lets go of.
  link_.reset();
}

TDataSource* TDBMemo::DataSource() const { return link_->DataSource(); }

void TDBMemo::SetDataSource(TDataSource* dataSource) {
  link_->SetDataSource(dataSource);
  ShowField();
}

void TDBMemo::SetDataField(const QString& name) {
  dataField_ = name;
  ShowField();
}

TField* TDBMemo::Field() const {
  TDataSet* dataSet = link_->DataSet();
  if (!link_->Active() || !dataSet || dataField_.isEmpty()) return nullptr;
  return dataSet->FindField(dataField_);
}

void TDBMemo::ShowField() {
  const TField* field = Field();
  showing_ = true;
  setPlainText(field ? field->AsString() : QString());
  showing_ = false;
  typed_ = false;
  setReadOnly(!field || !link_->DataSet()->CanModify());
}

void TDBMemo::PostText() {
  TField* field = Field();
  if (!typed_ || !field) return;
  typed_ = false;
  TDataSet* dataSet = field->DataSet();
  const QString text = toPlainText();
  if (dataSet->State() == dsBrowse) dataSet->Edit();
  field->SetAsString(text);
  dataSet->Post();
}

void TDBMemo::focusOutEvent(QFocusEvent* event) {
  QPlainTextEdit::focusOutEvent(event);
  PostText();
}

}  // namespace Kel
