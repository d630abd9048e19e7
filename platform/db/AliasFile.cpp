#include "AliasFile_p.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>
#include <QUrl>
#include <map>

#include "DBConsts.h"

namespace Kel {

namespace {

// What one [group] of the file holds, as its lines say: QSettings reads the values but forgives
// broken lines silently and knows no line numbers, so the lines are looked at first.
struct TGroupLines {
  QString Name;
  int HeaderLine = 0;
  std::map<QString, int> KeyLines;  // lower-case key -> line
  QString Fault;                    // the first fault, with its line
};

QString Fault(const QString& fileName, int line, const QString& text) {
  return RtlMessage(DBText::AliasFileFault, ShownControls(QDir::toNativeSeparators(fileName)),
                    line, ShownControls(text));
}

QString GroupName(QStringView header) {
  const QString name = header.trimmed().toString();
  return name.contains(u'%') ? QUrl::fromPercentEncoding(name.toUtf8()) : name;
}

std::vector<TGroupLines> ScanLines(const QString& fileName, const QByteArray& bytes,
                                   std::vector<TRefusedAlias>& refused) {
  std::vector<TGroupLines> groups;
  std::map<QString, size_t> byName;  // lower-case name -> index into groups
  TGroupLines* current = nullptr;
  bool inBrokenGroup = false;  // the settings after a broken [ line were reported with it
  const QStringList lines = QString::fromUtf8(bytes).split(u'\n');
  for (int i = 0; i < lines.size(); ++i) {
    const int number = i + 1;
    const QString line = lines[i].trimmed();
    if (line.isEmpty() || line.startsWith(u';') || line.startsWith(u'#')) continue;
    if (line.startsWith(u'[')) {
      if (!line.endsWith(u']')) {
        // QSettings would take the rest of the line as the name; the settings that follow
        // belong to no alias that anybody meant.
        refused.push_back({QString(), Fault(fileName, number, QStringLiteral("']' missing"))});
        current = nullptr;
        inBrokenGroup = true;
        continue;
      }
      const QString name = GroupName(QStringView(line).mid(1, line.size() - 2));
      if (name.isEmpty()) {
        refused.push_back({QString(), Fault(fileName, number, QStringLiteral("alias name missing"))});
        current = nullptr;
        inBrokenGroup = true;
        continue;
      }
      inBrokenGroup = false;
      const auto known = byName.find(name.toLower());
      if (known != byName.end()) {
        // QSettings would merge the two groups into one alias that neither describes.
        current = &groups[known->second];
        if (current->Fault.isEmpty())
          current->Fault = Fault(fileName, number,
                                 QStringLiteral("alias '%1' is defined twice (first on line %2)")
                                     .arg(name)
                                     .arg(current->HeaderLine));
        continue;
      }
      byName[name.toLower()] = groups.size();
      groups.push_back({name, number, {}, {}});
      current = &groups.back();
      continue;
    }
    if (inBrokenGroup) continue;
    const qsizetype equals = line.indexOf(u'=');
    if (equals <= 0) {
      const QString text = QStringLiteral("'%1' is neither [alias], name=value nor a comment")
                               .arg(line.left(40));
      if (current && current->Fault.isEmpty())
        current->Fault = Fault(fileName, number, text);
      else if (!current)
        refused.push_back({QString(), Fault(fileName, number, text)});
      continue;
    }
    if (!current) {
      refused.push_back({QString(), Fault(fileName, number,
                                          QStringLiteral("'%1' stands before any [alias]")
                                              .arg(line.left(equals).trimmed()))});
      continue;
    }
    current->KeyLines.emplace(line.left(equals).trimmed().toLower(), number);
  }
  return groups;
}

QString SettingText(const QVariant& value) {
  // An unquoted value with commas comes back as a list.
  return value.typeId() == QMetaType::QStringList ? value.toStringList().join(u',')
                                                  : value.toString().trimmed();
}

// The alias of one group, or the fault that keeps it from being used.
QString ReadAlias(const QString& fileName, QSettings& settings, const TGroupLines& group,
                  TAliasDefinition& alias) {
  alias.Name = group.Name;
  // QSettings keeps the keys of a [General] group at the top level.
  settings.beginGroup(group.Name.compare(u"General", Qt::CaseInsensitive) == 0 ? QString()
                                                                                  : group.Name);
  const QStringList keys = settings.childKeys();
  QString fault;
  for (const QString& key : keys) {
    const QString lower = key.toLower();
    const auto found = group.KeyLines.find(lower);
    const int line = found != group.KeyLines.end() ? found->second : group.HeaderLine;
    const QString value = SettingText(settings.value(key));
    if (lower == u"driver") {
      alias.Driver = value;
    } else if (lower == u"database") {
      alias.Database = value;
    } else if (lower == u"host") {
      alias.Params << QStringLiteral("HOST=") + value;
    } else if (lower == u"port") {
      bool ok = false;
      const int port = value.toInt(&ok);
      if (!ok || port < 1 || port > 65535) {
        fault = Fault(fileName, line, QStringLiteral("port '%1' is no port number").arg(value));
        break;
      }
      alias.Params << QStringLiteral("PORT=%1").arg(port);
    } else if (lower == u"user") {
      alias.Params << QStringLiteral("USER=") + value;
    } else if (lower == u"options") {
      alias.Params << QStringLiteral("OPTIONS=") + value;
    } else if (lower == u"password") {
      fault = Fault(fileName, line,
                    QStringLiteral("passwords are not kept here: the database client finds "
                                   "them (for PostgreSQL its password file or PGPASSWORD)"));
      break;
    } else {
      fault = Fault(fileName, line,
                    QStringLiteral("unknown setting '%1' (driver, database, host, port, user "
                                   "and options are known)")
                        .arg(key));
      break;
    }
  }
  settings.endGroup();
  if (fault.isEmpty() && alias.Database.isEmpty())
    fault = Fault(fileName, group.HeaderLine,
                  QStringLiteral("alias '%1' names no database").arg(group.Name));
  return fault;
}

}  // namespace

TAliasFileContents ReadAliasFile(const QString& fileName) {
  TAliasFileContents contents;
  if (fileName.isEmpty() || !QFileInfo::exists(fileName)) return contents;
  QFile file(fileName);
  if (!file.open(QIODevice::ReadOnly)) {
    contents.Refused.push_back(
        {QString(), RtlMessage(DBText::AliasFileUnreadable,
                               ShownControls(QDir::toNativeSeparators(fileName)),
                               file.errorString())});
    return contents;
  }
  const std::vector<TGroupLines> groups = ScanLines(fileName, file.readAll(), contents.Refused);
  QSettings settings(fileName, QSettings::IniFormat);
  for (const TGroupLines& group : groups) {
    if (!group.Fault.isEmpty()) {
      contents.Refused.push_back({group.Name, group.Fault});
      continue;
    }
    TAliasDefinition alias;
    const QString fault = ReadAlias(fileName, settings, group, alias);
    if (fault.isEmpty())
      contents.Aliases.push_back(alias);
    else
      contents.Refused.push_back({group.Name, fault});
  }
  return contents;
}

QString ShownControls(const QString& text) {
  QString shown;
  shown.reserve(text.size());
  for (const QChar c : text) {
    const char16_t code = c.unicode();
    if (code < 0x20 || (code >= 0x7F && code <= 0x9F))
      shown += QStringLiteral("\\x") + QString::number(code, 16).toUpper().rightJustified(2, u'0');
    else
      shown += c;
  }
  return shown;
}

QString DefaultAliasFileName() {
  if (qEnvironmentVariableIsSet("KEL_ALIASES")) return qEnvironmentVariable("KEL_ALIASES");
  QString folder = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
  if (folder.isEmpty()) folder = QDir::homePath() + QStringLiteral("/.config");
  return folder + QStringLiteral("/Kel/aliases.ini");
}

}  // namespace Kel
