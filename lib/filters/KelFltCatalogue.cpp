// The builder's field catalogue. Three sources answer: the explicit Fields, the overrides in
// FieldParams and the fields of the bound DataSet; each question has its own order of
// precedence, given with each operation below. Field names compare ignoring case.
#include "DataSet.h"
#include "Fields.h"
#include "KelFltBld.h"
#include "StrUtils.h"

namespace Kel {

TField* TKelFltBld::DataSetField(const QString& fieldName) const {
  return dataSet_ ? DataSet()->FindField(fieldName) : nullptr;
}

// Fields when it has entries; else the dataset's data fields (blobs left out with
// ExcludeBlobs); else FieldParams. HiddenFields are removed from whichever answered.
void TKelFltBld::GetFieldList(TStrings* list) {
  list->BeginUpdate();
  list->Clear();
  const auto addEntries = [list](const TKelFltBoxFields& entries) {
    for (int i = 0; i < entries.Count(); ++i)
      if (!entries.Items(i)->DataField().isEmpty()) list->Add(entries.Items(i)->DataField());
  };
  if (fields_->Count() > 0) {
    addEntries(*fields_);
  } else if (dataSet_) {
    for (TField* field : DataSet()->Fields()) {
      if (field->FieldKind() != fkData || (excludeBlobs_ && field->IsBlob())) continue;
      list->AddObject(field->FieldName(), field);
    }
  } else {
    addEntries(*fieldParams_);
  }
  for (int i = list->Count() - 1; i >= 0; --i) {
    for (int h = 0; h < hiddenFields_->Count(); ++h) {
      if (SameText(list->Strings(i), hiddenFields_->Strings(h))) {
        list->Delete(i);
        break;
      }
    }
  }
  list->EndUpdate();
}

// FieldParams' label, else Fields' label, else the dataset field's display name; an entry with
// an empty label, or no answer at all, gives the name.
QString TKelFltBld::GetFieldDisplayLabel(const QString& fieldName) {
  QString label;
  if (TKelFltBoxField* entry = fieldParams_->FieldByName(fieldName))
    label = entry->DisplayLabel();
  else if (TKelFltBoxField* entry = fields_->FieldByName(fieldName))
    label = entry->DisplayLabel();
  else if (TField* field = DataSetField(fieldName))
    label = field->DisplayName();
  return label.isEmpty() ? fieldName : label;
}

// Fields' type; else the dataset field's (unknown when it has none); else FieldParams'.
TFieldType TKelFltBld::GetFieldType(const QString& fieldName) {
  if (TKelFltBoxField* entry = fields_->FieldByName(fieldName)) return entry->DataType();
  if (dataSet_) {
    TField* field = DataSetField(fieldName);
    return field ? field->DataType() : ftUnknown;
  }
  if (TKelFltBoxField* entry = fieldParams_->FieldByName(fieldName)) return entry->DataType();
  return ftUnknown;
}

// Without Fields, the category of the dataset field's type; with Fields, the entry's TemplCat.
// An "Unknown" answer then asks FieldParams' TemplCat, and finally the category of the type.
QString TKelFltBld::GetFieldCategory(const QString& fieldName) {
  const QString unknown = CategoryText(TKelFltCategory::Unknown);
  const auto templCat = [&unknown](const TKelFltBoxField* entry) {
    return entry && !entry->TemplCat().isEmpty() ? entry->TemplCat() : unknown;
  };
  QString category;
  if (fields_->Count() == 0) {
    TField* field = DataSetField(fieldName);
    category = field ? CategoryOfFieldType(field->DataType()) : unknown;
  } else {
    category = templCat(fields_->FieldByName(fieldName));
  }
  if (category == unknown) {
    if (fieldParams_->Count() > 0) category = templCat(fieldParams_->FieldByName(fieldName));
    if (category == unknown) category = CategoryOfFieldType(GetFieldType(fieldName));
  }
  return category;
}

namespace {

// The first non-empty answer of Fields and FieldParams for a field.
template <typename Get>
QString EntryText(const TKelFltBoxFields& fields, const TKelFltBoxFields& fieldParams,
                  const QString& fieldName, Get get) {
  for (const TKelFltBoxFields* source : {&fields, &fieldParams})
    if (TKelFltBoxField* entry = source->FieldByName(fieldName); entry && !get(entry).isEmpty())
      return get(entry);
  return QString();
}

}  // namespace

QString TKelFltBld::GetSQLFieldName(const QString& fieldName) {
  const QString name = EntryText(*fields_, *fieldParams_, fieldName,
                                 [](TKelFltBoxField* e) { return e->SQLFieldName(); });
  return name.isEmpty() ? fieldName : name;
}

// The entries' TableName; else the one line of TableNames; else none.
QString TKelFltBld::GetTableName(const QString& fieldName) {
  const QString table = EntryText(*fields_, *fieldParams_, fieldName,
                                  [](TKelFltBoxField* e) { return e->TableName(); });
  if (!table.isEmpty()) return table;
  return tableNames_->Count() == 1 ? tableNames_->Strings(0) : QString();
}

// FieldParams' pick list, else Fields'; then OnModifyPickList may change it.
void TKelFltBld::GetFieldPickList(const QString& fieldName, TStrings* list) {
  list->Clear();
  if (fieldName.isEmpty()) return;
  if (TKelFltBoxField* entry = fieldParams_->FieldByName(fieldName))
    list->Assign(*entry->PickList());
  if (list->Count() == 0)
    if (TKelFltBoxField* entry = fields_->FieldByName(fieldName)) list->Assign(*entry->PickList());
  DoModifyPickList(fieldName, list);
}

void TKelFltBld::DoModifyPickList(const QString& fieldName, TStrings* list) {
  if (OnModifyPickList) OnModifyPickList(this, fieldName, list);
}

// The parameter's own pick list, else the field's.
void TKelFltBld::GetItemPickList(TKelFltItem* item, TKelListParam* param, TStrings* list) {
  if (param && param->PickList()->Count() > 0)
    list->Assign(*param->PickList());
  else
    list->Clear();
  if (list->Count() == 0 && item) GetFieldPickList(item->DataField(), list);
}

bool TKelFltBld::HasPickList(TKelFltItem* item, TKelListParam* param) {
  TStringList list;
  GetItemPickList(item, param, &list);
  return list.Count() > 0;
}

// FieldParams' definition, else Fields', else the dataset field's lookup settings; a key of
// several fields cannot be looked up by one value, so it gives no dataset.
TKelLookupDef TKelFltBld::GetLookupDef(const QString& fieldName) {
  if (fieldName.isEmpty()) return {};
  for (const TKelFltBoxFields* source : {fieldParams_.get(), fields_.get()})
    if (TKelFltBoxField* entry = source->FieldByName(fieldName))
      return {entry->LookupKeyField(), entry->LookupDisplayField(), entry->LookupDataSet()};
  TKelLookupDef def;
  if (TField* field = DataSetField(fieldName)) {
    def.KeyField = field->LookupKeyFields();
    def.DisplayField = field->LookupResultField();
    if (!def.KeyField.contains(u';')) def.DataSet = field->LookupDataSet();
  }
  return def;
}

TKelLookupDef TKelFltBld::GetParamLookupDef(TKelFltItem* item, TKelListParam* param) {
  TKelLookupDef def = param ? param->LookupDef() : TKelLookupDef();
  const TKelLookupDef field = GetLookupDef(item ? item->DataField() : QString());
  if (!def.DataSet) def.DataSet = field.DataSet;
  if (def.KeyField.isEmpty()) def.KeyField = field.KeyField;
  if (def.DisplayField.isEmpty()) def.DisplayField = field.DisplayField;
  if (def.DisplayField.isEmpty()) def.DisplayField = def.KeyField;
  if (OnGetLookupDef) OnGetLookupDef(this, item, def, param);
  if (OnGetLookupDefForBox) OnGetLookupDefForBox(this, item, def, param);
  return def;
}

// The display field of the lookup record whose key equals the parameter's value.
QString TKelFltBld::GetLookupDisplayText(TKelField* param, const TKelLookupDef& lookupDef) {
  if (lookupDef.DisplayField.isEmpty() || SameText(lookupDef.DisplayField, lookupDef.KeyField))
    return QString();
  TDataSet* dataSet = lookupDef.DataSet;
  if (!dataSet || !dataSet->FindField(lookupDef.KeyField)) return QString();
  TField* display = dataSet->FindField(lookupDef.DisplayField);
  if (!display || !dataSet->Locate(lookupDef.KeyField, param->Value())) return QString();
  return display->AsString();
}

void TKelFltBld::GetOperationList(const QString& fieldName, TStrings* list) {
  list->BeginUpdate();
  list->Clear();
  for (TKelFltBoxTemplate* t : templates_->Offered(GetFieldCategory(fieldName), allowedUsageIDs_))
    list->AddObject(t->CaptionID(), t);
  list->EndUpdate();
}

TKelFltBoxTemplate* TKelFltBld::FirstTemplate(const QString& fieldName) {
  return templates_->FirstOffered(GetFieldCategory(fieldName), allowedUsageIDs_);
}

TKelFltBoxTemplate* TKelFltBld::FindTemplate(const QString& fieldName, const QString& text) {
  return templates_->Find(GetFieldCategory(fieldName), text);
}

}  // namespace Kel
