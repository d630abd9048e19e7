#pragma once
// The sample tables of keldemo (biolife, country, orders) in a database of any alias: the
// committed SQL script is run into a scratch SQLite file, and each of its tables is created on
// the alias with the column types of that alias's driver and filled through the dataset layer.

#include <QString>
#include <QStringList>

namespace Kel {

// The tables that the script creates, in its order.
QStringList SampleTableNames(const QString& scriptFile);

// Loads the script's tables into the alias's database. A table of the same name that is there
// already is replaced only when `replace` is set; otherwise nothing is changed and
// EDatabaseError says which table stands in the way. Raises EDatabaseError for a script that
// does not run and for what the target refuses.
void LoadSampleTables(const QString& scriptFile, const QString& alias, bool replace);

// The column type that a declared type of the script becomes for a driver ("QPSQL": FLOAT ->
// double precision, MEMO -> text, GRAPHIC -> bytea, DATETIME -> timestamp, CURRENCY -> money;
// other drivers take the script's types as they are).
QString SampleColumnType(const QString& declaredType, const QString& driver);

}  // namespace Kel
