#include "KelFltFields.h"

#include "DataSet.h"
#include "KelStrHelpers.h"
#include "StrUtils.h"

namespace Kel {

TKelFltBoxField::TKelFltBoxField(TCollection* collection)
    : TKelLinkedItem(collection), pickList_(std::make_unique<TStringList>()) {}

TKelFltBoxField::~TKelFltBoxField() = default;

void TKelFltBoxField::Store(QString& field, const QString& value) {
  if (field == value) return;
  field = value;
  Changed();
}

void TKelFltBoxField::SetDataField(const QString& value) { Store(dataField_, value); }
void TKelFltBoxField::SetDisplayLabel(const QString& value) { Store(displayLabel_, value); }
void TKelFltBoxField::SetTemplCat(const QString& value) { Store(templCat_, value); }

void TKelFltBoxField::SetDataType(TFieldType value) {
  if (dataType_ == value) return;
  dataType_ = value;
  Changed();
}

void TKelFltBoxField::SetPickList(TStrings* value) { AssignStrings(*pickList_, value); }

void TKelFltBoxField::SetLookupDataSet(TDataSet* value) {
  if (lookupDataSet_ == value) return;
  lookupDataSet_ = value;
  LinkComponent(value);
}

void TKelFltBoxField::ComponentRemoved(TComponent* component, TOperation operation) {
  if (operation == opRemove && lookupDataSet_.data() == component) lookupDataSet_ = nullptr;
}

QString TKelFltBoxField::GetDisplayName() const {
  return dataField_.isEmpty() ? TKelLinkedItem::GetDisplayName() : dataField_;
}

TKelFltBoxFields::TKelFltBoxFields(QObject* owner)
    : TKelNamedItems(owner, TKelFltBoxField::staticMetaObject) {}

TKelFltBoxField* TKelFltBoxFields::FieldByName(const QString& name) const {
  for (int i = 0; i < Count(); ++i)
    if (SameText(Items(i)->DataField(), name)) return Items(i);
  return nullptr;
}

}  // namespace Kel
