#pragma once
// TMemDataSet: a table held in memory only. Fields are defined in code (AddField, or CreateField
// with this dataset), records are added through the usual Append/Insert/Post or in bulk with
// AppendRecords. The records stay when the dataset is closed and opened again; changing the
// data fields while closed starts it empty.

#include <vector>

#include "DataSet.h"
#include "PlatformExport.h"

namespace Kel {

class KEL_PLATFORM_EXPORT TMemDataSet : public TDataSet {
  Q_OBJECT

 public:
  Q_INVOKABLE explicit TMemDataSet(TComponent* owner = nullptr);

  // Defines a field of the class for type (the dataset must be closed).
  TField* AddField(const QString& name, TFieldType type, int size = 0);
  // Appends records in one go, without events per record; each record's values are in the
  // order of the data fields. Works open or closed; an open dataset shows those that pass its
  // filter. A value that does not convert raises, keeping the records added before it.
  void AppendRecords(const std::vector<std::vector<Variant>>& records);
  // Removes every record.
  void EmptyDataSet();
  // The records held, filter or not.
  int StoredRecordCount() const { return Store().RowCount(); }

 protected:
  bool KeepsRecordsWhenClosed() const override { return true; }

 private:
  void EnsureStoreMatchesFields();
};

}  // namespace Kel
