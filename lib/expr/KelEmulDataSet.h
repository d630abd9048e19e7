#pragma once
// TKelEmulDataSet: a dataset that only carries field objects and never opens. The filter parser
// learns from it which names are fields and of which type, so a condition can be parsed for the
// fields of a real dataset plus values that exist only in the caller's hands. Part of unit
// KelExprEval.

#include <QString>

#include "DataSet.h"
#include "KelExport.h"

namespace Kel {

class TField;

class KEL_EXPORT TKelEmulDataSet : public TDataSet {
  Q_OBJECT

 public:
  Q_INVOKABLE explicit TKelEmulDataSet(TComponent* owner = nullptr);

  // A field of the dataset layer's class for type, named name; nullptr (and no field) when it
  // cannot be made, for example for a name the dataset has already.
  TField* AddField(const QString& name, TFieldType type);
  // Replaces every field by one per field of source: same name, type and visibility.
  void CopyFields(const TDataSet* source);

 protected:
  bool CanOpen() const override { return false; }
};

}  // namespace Kel
