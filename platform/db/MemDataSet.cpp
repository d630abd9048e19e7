#include "MemDataSet.h"

#include "Fields.h"

namespace Kel {

TMemDataSet::TMemDataSet(TComponent* owner) : TDataSet(owner) {}

TField* TMemDataSet::AddField(const QString& name, TFieldType type, int size) {
  return CreateField(this, name, type, size, this);
}

void TMemDataSet::EnsureStoreMatchesFields() {
  if (Active()) return;
  InternalInitFieldDefs();
  const std::vector<TFieldDef>& defs = FieldDefs();
  bool same = Store().ColumnCount() == static_cast<int>(defs.size());
  for (size_t i = 0; same && i < defs.size(); ++i)
    same = Store().Column(static_cast<int>(i)).FieldType() == defs[i].DataType;
  if (same) return;
  std::vector<TFieldType> types;
  for (const TFieldDef& def : defs) types.push_back(def.DataType);
  Store() = TRecordStore(types);
}

void TMemDataSet::AppendRecords(const std::vector<std::vector<Variant>>& records) {
  EnsureStoreMatchesFields();
  AppendStoredRows(records);
}

void TMemDataSet::EmptyDataSet() {
  if (Active()) {
    CheckBrowseMode();
    Close();
    Store().Clear();
    Open();
    return;
  }
  Store().Clear();
}

}  // namespace Kel
