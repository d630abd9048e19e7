#include "KelEmulDataSet.h"

#include "Exceptions.h"
#include "Fields.h"
#include "KelDB.h"

namespace Kel {

TKelEmulDataSet::TKelEmulDataSet(TComponent* owner) : TDataSet(owner) {}

TField* TKelEmulDataSet::AddField(const QString& name, TFieldType type) {
  try {
    return CreateField(this, name, type, 0, this);
  } catch (const Exception&) {
    return nullptr;  // CreateField has freed the field it could not add
  }
}

void TKelEmulDataSet::CopyFields(const TDataSet* source) {
  ClearDataSetFields(this);
  if (!source) return;
  for (const TField* field : source->Fields())
    if (TField* copy = AddField(field->FieldName(), field->DataType()))
      copy->SetVisible(field->Visible());
}

}  // namespace Kel
