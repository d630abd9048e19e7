#pragma once
// The field catalogue entries of the filter builder (unit KelFltBox): the explicit list of
// fields (the builder's Fields) and the per-field overrides (FieldParams). Each entry names a
// field (DataField, the key, compared ignoring case) and says what the builder should use for
// it: label, template category, data type, pick list, lookup, table and SQL name. The builder
// decides which source wins for each question (KelFltBld.h).

#include <QPointer>
#include <QString>
#include <memory>

#include "DBTypes.h"
#include "DataSet.h"
#include "KelExport.h"
#include "KelNamedItems.h"
#include "Strings.h"

namespace Kel {

class KEL_EXPORT TKelFltBoxField : public TKelLinkedItem {
  Q_OBJECT
  Q_MOC_INCLUDE("DataSet.h")
  Q_PROPERTY(QString DataField READ DataField WRITE SetDataField)
  Q_PROPERTY(QString DisplayLabel READ DisplayLabel WRITE SetDisplayLabel)
  Q_PROPERTY(QString TemplCat READ TemplCat WRITE SetTemplCat)
  Q_PROPERTY(Kel::DB::TFieldType DataType READ DataType WRITE SetDataType)
  Q_PROPERTY(Kel::TStrings* PickList READ PickList WRITE SetPickList)
  Q_PROPERTY(QString LookupKeyField READ LookupKeyField WRITE SetLookupKeyField)
  Q_PROPERTY(QString LookupDisplayField READ LookupDisplayField WRITE SetLookupDisplayField)
  Q_PROPERTY(Kel::TDataSet* LookupDataSet READ LookupDataSet WRITE SetLookupDataSet)
  Q_PROPERTY(QString TableName READ TableName WRITE SetTableName)
  Q_PROPERTY(QString SQLFieldName READ SQLFieldName WRITE SetSQLFieldName)

 public:
  Q_INVOKABLE explicit TKelFltBoxField(TCollection* collection);
  ~TKelFltBoxField() override;

  // These four report their change to the collection.
  QString DataField() const { return dataField_; }
  void SetDataField(const QString& value);
  QString DisplayLabel() const { return displayLabel_; }
  void SetDisplayLabel(const QString& value);
  QString TemplCat() const { return templCat_; }
  void SetTemplCat(const QString& value);
  TFieldType DataType() const { return dataType_; }
  void SetDataType(TFieldType value);

  TStrings* PickList() const { return pickList_.get(); }
  void SetPickList(TStrings* value);  // copies the entries
  QString LookupKeyField() const { return lookupKeyField_; }
  void SetLookupKeyField(const QString& value) { lookupKeyField_ = value; }
  QString LookupDisplayField() const { return lookupDisplayField_; }
  void SetLookupDisplayField(const QString& value) { lookupDisplayField_ = value; }
  TDataSet* LookupDataSet() const { return static_cast<TDataSet*>(lookupDataSet_.data()); }
  // Watched: the reference is cleared when the dataset is destroyed.
  void SetLookupDataSet(TDataSet* value);
  QString TableName() const { return tableName_; }
  void SetTableName(const QString& value) { tableName_ = value; }
  QString SQLFieldName() const { return sqlFieldName_; }
  void SetSQLFieldName(const QString& value) { sqlFieldName_ = value; }

  // The DataField, else the inherited display name.
  QString GetDisplayName() const override;

 protected:
  void ComponentRemoved(TComponent* component, TOperation operation) override;

 private:
  void Store(QString& field, const QString& value);

  QString dataField_;
  QString displayLabel_;
  QString templCat_;
  TFieldType dataType_ = ftUnknown;
  std::unique_ptr<TStringList> pickList_;
  QString lookupKeyField_;
  QString lookupDisplayField_;
  // Held as a QObject: a dataset being destroyed is no TDataSet any more when it says so.
  QPointer<QObject> lookupDataSet_;
  QString tableName_;
  QString sqlFieldName_;
};

class KEL_EXPORT TKelFltBoxFields : public TKelNamedItems {
  Q_OBJECT

 public:
  explicit TKelFltBoxFields(QObject* owner = nullptr);

  TKelFltBoxField* Items(int index) const { return TCollection::Items<TKelFltBoxField>(index); }
  TKelFltBoxField* Add() { return TCollection::Add<TKelFltBoxField>(); }
  // The first entry whose DataField equals name (ignoring case), or nullptr.
  TKelFltBoxField* FieldByName(const QString& name) const;
};

}  // namespace Kel
