#pragma once
// The alias file: database aliases that the session reads at start-up, one INI group per alias.
// Inside the dataset layer only; TSession (DBTables.h) describes the file for its users.

#include <QString>
#include <QStringList>
#include <vector>

namespace Kel {

struct TAliasDefinition {
  QString Name;
  QString Driver;
  QString Database;
  QStringList Params;  // "HOST=...", "PORT=...", "USER=...", "OPTIONS=..." as AddAlias takes them
};

// An alias the file names but that cannot be used, and why (the message names file and line).
struct TRefusedAlias {
  QString Name;  // empty when the fault belongs to no alias
  QString Message;
};

struct TAliasFileContents {
  std::vector<TAliasDefinition> Aliases;
  std::vector<TRefusedAlias> Refused;
};

// Reads the file; a missing file holds no aliases. Faults are reported per alias so that the
// others still work.
TAliasFileContents ReadAliasFile(const QString& fileName);

// text with its control characters written as \xNN, so that a broken file's bytes never reach
// a terminal or a message box raw.
QString ShownControls(const QString& text);

// KEL_ALIASES when set (empty: no file), else "Kel/aliases.ini" in the user's configuration folder.
QString DefaultAliasFileName();

}  // namespace Kel
