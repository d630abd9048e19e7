#include "UninstallSteps.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QList>
#include <QProcess>
#include <QRegularExpression>
#include <QSaveFile>
#include <algorithm>
#include <optional>

#include "Exceptions.h"
#include "Registry.h"
#include "SaveFile.h"
#include "StrUtils.h"
#include "UninstallTexts.h"

#ifdef Q_OS_WIN
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#endif

namespace Kel::Uninstall {

namespace {

bool SameText(const QString& a, const char* b) {
  return a.compare(Text(b), Qt::CaseInsensitive) == 0;
}

// A key path below `parent` that stays below it whatever `name` holds: a name made only of
// backslashes (or nothing) must not address the parent itself.
std::optional<QString> ChildKey(const char* parent, const QString& name) {
  if (SplitKeyPath(name).isEmpty()) return std::nullopt;
  return Text(parent) + QLatin1Char('\\') + name;
}

// Removes the key when nothing is left in it, neither values nor subkeys: something another
// program put there keeps it.
void DeleteKeyWhenEmpty(const char* key) {
  TRegistry reg;
  if (!reg.OpenKey(Text(key), false) || reg.HasSubKeys() || !reg.GetValueNames().isEmpty()) return;
  reg.CloseKey();
  reg.DeleteKey(Text(key));
}

// The installer records full paths. A relative one would be taken against whatever folder the
// uninstaller was started in and remove someone else's files there, so it is left alone.
bool IsRecordedPath(const QString& path) { return QDir::isAbsolutePath(path); }

// Reports the records left alone, once the step has done the rest of its work.
void ReportRelativePaths(const QStringList& paths) {
  if (paths.isEmpty()) return;
  QStringList shown;
  for (const QString& path : paths) shown << QDir::toNativeSeparators(path);
  throw Exception(QStringLiteral("These recorded paths are not absolute and were left alone: %1")
                      .arg(shown.join(QStringLiteral(", "))));
}

// An empty folder stays empty, so a name appended to it stays relative.
QString WithTrailingSeparator(const QString& folder) {
  return folder.isEmpty() ? folder : IncludeTrailingPathDelimiter(folder);
}

// A line of a text file and the line break that ended it (empty for a last line without one).
struct TLine {
  QByteArray text;
  QByteArray end;
};

// Lines end at CR LF, LF or CR, as text files written by any system do.
QList<TLine> SplitFileLines(const QByteArray& content) {
  QList<TLine> lines;
  qsizetype start = 0;
  const qsizetype size = content.size();
  while (start < size) {
    qsizetype i = start;
    while (i < size && content[i] != '\n' && content[i] != '\r') ++i;
    qsizetype endLength = 0;
    if (i < size)
      endLength = (content[i] == '\r' && i + 1 < size && content[i + 1] == '\n') ? 2 : 1;
    lines.append({content.mid(start, i - start), content.mid(i, endLength)});
    start = i + endLength;
  }
  return lines;
}

QByteArray JoinFileLines(const QList<TLine>& lines) {
  QByteArray content;
  for (const TLine& line : lines) content += line.text + line.end;
  return content;
}

QByteArray ReadWholeFile(const QString& fileName) {
  QFile file(fileName);
  if (!file.open(QIODevice::ReadOnly))
    throw EFOpenError(QStringLiteral("The file %1 cannot be read: %2")
                          .arg(QDir::toNativeSeparators(fileName), file.errorString()));
  return file.readAll();
}

// Replaces the file as a whole, so a crash leaves either the old or the new contents.
void WriteWholeFile(const QString& fileName, const QByteArray& content) {
  QSaveFile file(fileName);
  QString reason;
  if (!file.open(QIODevice::WriteOnly) || file.write(content) != content.size())
    reason = file.errorString();
  else
    CommitSaveFile(file, reason);  // a full disk must not put an empty file in its place
  if (!reason.isEmpty())
    throw EWriteError(QStringLiteral("The file %1 cannot be written: %2")
                          .arg(QDir::toNativeSeparators(fileName), reason));
}

bool IsBlank(char c) { return c == ' '; }
bool IsLeadingSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }
bool IsSymbolChar(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_' ||
         c == '$';
}

// The symbol of a define line ("  // {$DEFINE NAME}"), or nothing when the line is none.
std::optional<QByteArray> DefineSymbol(const QByteArray& line) {
  static const QByteArray kDefine = "{$DEFINE";
  const qsizetype size = line.size();
  qsizetype i = 0;
  while (i < size && IsLeadingSpace(line[i])) ++i;
  if (line.mid(i, 2) == "//") {
    i += 2;
    while (i < size && IsBlank(line[i])) ++i;
  }
  if (line.mid(i, kDefine.size()).compare(kDefine, Qt::CaseInsensitive) != 0) return std::nullopt;
  i += kDefine.size();
  while (i < size && IsBlank(line[i])) ++i;
  const qsizetype start = i;
  while (i < size && IsSymbolChar(line[i])) ++i;
  if (i == start) return std::nullopt;
  return line.mid(start, i - start);
}

// Clears the dialog when the file loop ends, also when it ends by an exception.
class ProgressFinisher {
 public:
  explicit ProgressFinisher(TRemovalProgress* progress) : progress_(progress) {}
  ~ProgressFinisher() {
    if (progress_) progress_->Finish();
  }

 private:
  TRemovalProgress* progress_;
};

#ifdef Q_OS_WIN
void StartHidden(const QString& batchPath) {
  QProcess process;
  process.setProgram(QStringLiteral("cmd.exe"));
  // The doubled quotes survive cmd's quote stripping, so paths with blanks work.
  process.setNativeArguments(
      QStringLiteral("/c \"\"%1\"\"").arg(QDir::toNativeSeparators(batchPath)));
  process.setCreateProcessArgumentsModifier([](QProcess::CreateProcessArguments* arguments) {
    arguments->flags |= CREATE_NO_WINDOW;
    arguments->startupInfo->dwFlags |= STARTF_USESHOWWINDOW;
    arguments->startupInfo->wShowWindow = SW_HIDE;
  });
  if (!process.startDetached())
    throw Exception(QStringLiteral("The file %1 cannot be started: %2")
                        .arg(QDir::toNativeSeparators(batchPath), process.errorString()));
}
#endif

}  // namespace

QStringList SplitLines(const QString& text) {
  static const QRegularExpression kLineBreak(QStringLiteral("\r\n|\n|\r"));
  return text.split(kLineBreak, Qt::SkipEmptyParts);
}

QString ReadUninstallValue(const QString& key, const QString& name) {
  const auto entry = ChildKey(kUninstallKey, key);
  if (!entry) return QString();
  TRegistry reg;
  reg.SetRootKey(TRootKey::LocalMachine);
  if (!reg.OpenKeyReadOnly(*entry)) return QString();
  return reg.ReadString(name);
}

TFileRefCount ReadFileRefCount(const QString& path) {
  TFileRefCount result;
  TRegistry reg;
  if (!reg.OpenKeyReadOnly(Text(kInstalledFilesKey))) return result;
  const auto value = reg.ReadValue(path);
  if (!value) return result;
  result.recorded = true;
  if (value->type == rdInteger) {
    result.valid = true;
    result.count = static_cast<int>(value->integer);
  }
  return result;
}

int DecrementFileRefCount(const QString& path) {
  const TFileRefCount current = ReadFileRefCount(path);
  if (!current.valid || current.count <= 0) return -1;
  TRegistry reg;
  if (!reg.OpenKey(Text(kInstalledFilesKey), false)) return -1;
  const int count = current.count - 1;
  if (count != 0) {
    reg.WriteInteger(path, count);
    return count;
  }
  reg.DeleteValue(path);
  DeleteKeyWhenEmpty(kInstalledFilesKey);
  return 0;
}

void RemoveFiles(const QStringList& files, TRemovalProgress* progress) {
  QStringList relative;
  {
    ProgressFinisher finisher(progress);
    if (progress) progress->Start(static_cast<int>(files.size()));
    for (int i = 0; i < files.size(); ++i) {
      if (progress) progress->ShowFile(files[i]);
      if (!IsRecordedPath(files[i]))
        relative << files[i];
      else if (DecrementFileRefCount(files[i]) == 0)
        QFile::remove(files[i]);  // a failure leaves it
      if (progress) progress->SetPosition(i);
    }
  }
  ReportRelativePaths(relative);
}

QStringList UnregisterProduct(const QString& product, const QString& subProducts) {
  const auto productKey = ChildKey(kInstalledProductsKey, product);
  if (!productKey) return {};
  TRegistry reg;
  if (!reg.OpenKey(*productKey, false)) return {};
  for (const QString& subProduct : subProducts.split(QLatin1Char(';'), Qt::SkipEmptyParts))
    reg.DeleteValue(subProduct);

  QStringList remaining;
  for (const QString& name : reg.GetValueNames())
    if (!SameText(name, kVersionValue) && !SameText(name, kFolderNameValue)) remaining << name;

  if (!remaining.isEmpty()) {
    const QString folder = reg.ReadString(Text(kFolderNameValue));
    reg.CloseKey();
    UpdateIncludeFile(folder, remaining);
    return remaining;
  }
  reg.DeleteValue(Text(kVersionValue));
  reg.DeleteValue(Text(kFolderNameValue));
  reg.CloseKey();
  reg.DeleteKey(*productKey);
  // The products' key goes with the last product.
  DeleteKeyWhenEmpty(kInstalledProductsKey);
  return {};
}

QByteArray RewriteDefines(const QByteArray& content, const QStringList& remainingSubProducts) {
  QStringList defined;
  for (QString name : remainingSubProducts) defined << name.remove(QLatin1Char(' '));

  QList<TLine> lines = SplitFileLines(content);
  for (TLine& line : lines) {
    if (line.text.compare(kIncludeStopLine, Qt::CaseInsensitive) == 0) break;
    const auto symbol = DefineSymbol(line.text);
    if (!symbol) continue;
    const bool stays = defined.contains(QString::fromLatin1(*symbol), Qt::CaseInsensitive);
    line.text = (stays ? QByteArray() : QByteArray("//")) + "  {$DEFINE " + *symbol + "}";
  }
  return JoinFileLines(lines);
}

void UpdateIncludeFile(const QString& folder, const QStringList& remainingSubProducts) {
  if (folder.isEmpty()) return;
  if (!IsRecordedPath(folder)) ReportRelativePaths({folder});
  const QString fileName = WithTrailingSeparator(folder) + QStringLiteral("units") +
                           QDir::separator() + QStringLiteral("prod.inc");
  if (!QFileInfo(fileName).isFile()) return;
  const QByteArray content = ReadWholeFile(fileName);
  const QByteArray rewritten = RewriteDefines(content, remainingSubProducts);
  if (rewritten != content) WriteWholeFile(fileName, rewritten);
}

void RemoveFolders(const QStringList& folders) {
  QStringList sorted;
  QStringList relative;
  for (const QString& folder : folders) (IsRecordedPath(folder) ? sorted : relative) << folder;
  // A parent sorts before its subfolders, so going from the end removes children first.
  std::sort(sorted.begin(), sorted.end(), [](const QString& a, const QString& b) {
    const int byText = a.compare(b, Qt::CaseInsensitive);
    return byText != 0 ? byText < 0 : a < b;
  });
  QDir dir;
  for (auto it = sorted.crbegin(); it != sorted.crend(); ++it) dir.rmdir(*it);  // empty ones only
  ReportRelativePaths(relative);
}

QString HelpContentsFile(const QString& ideCode) {
  const TIdeVersion* version = &kIdeVersions[kDefaultIdeVersion];
  for (const TIdeVersion& row : kIdeVersions)
    if (SameText(ideCode, row.code)) version = &row;
  const QString rootDir =
      ReadLocalMachineString(Text(kIdeKeyPrefix) + Text(version->key), Text(kIdeRootDirValue));
  return WithTrailingSeparator(rootDir) + QStringLiteral("HELP") + QDir::separator() +
         Text(version->contentsFile);
}

QByteArray RemoveHelpEntry(const QByteArray& content, const QString& entry) {
  const QByteArray wanted = entry.toLocal8Bit();
  QList<TLine> lines = SplitFileLines(content);
  for (qsizetype i = 0; i < lines.size(); ++i) {
    const QByteArray& text = lines[i].text;
    const qsizetype equals = text.indexOf('=');
    const QByteArray after = equals < 0 ? QByteArray() : text.mid(equals + 1);
    if (after == wanted) {
      lines.removeAt(i);
      return JoinFileLines(lines);
    }
  }
  return content;
}

void RemoveHelpEntries(const QString& contentsFile, const QStringList& entries) {
  // Without the environment's folder the name is relative: there is no contents file to edit.
  if (!IsRecordedPath(contentsFile) || !QFileInfo(contentsFile).isFile()) return;
  const QByteArray content = ReadWholeFile(contentsFile);
  QByteArray rewritten = content;
  for (const QString& entry : entries) rewritten = RemoveHelpEntry(rewritten, entry);
  if (rewritten != content) WriteWholeFile(contentsFile, rewritten);
}

void DeleteUninstallEntry(const QString& key) {
  const auto entry = ChildKey(kUninstallKey, key);
  if (!entry) return;
  TRegistry reg;
  reg.SetRootKey(TRootKey::LocalMachine);
  if (!reg.OpenKey(Text(kUninstallKey), false)) return;
  reg.DeleteKey(*entry);
  reg.Flush();
}

QByteArray SelfDeleteBatchText(const QString& programPath, const QString& batchPath) {
  const QString program =
      QLatin1Char('"') + QDir::toNativeSeparators(programPath) + QLatin1Char('"');
  const QString batch = QLatin1Char('"') + QDir::toNativeSeparators(batchPath) + QLatin1Char('"');
  const QStringList lines{
      QStringLiteral(":Repeat"),
      QStringLiteral("del ") + program,
      QStringLiteral("del ") + program + QStringLiteral(" /aH"),
      QStringLiteral("if exist ") + program + QStringLiteral(" goto Repeat"),
      QStringLiteral("del ") + batch,
  };
  return (lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n")).toLocal8Bit();
}

TSelfDeletion DeleteSelf(const QString& programPath) {
  if (ReadFileRefCount(programPath).recorded) return TSelfDeletion::Shared;
  if (QFile::remove(programPath)) return TSelfDeletion::Deleted;
#ifdef Q_OS_WIN
  // Windows keeps a running program's file: a hidden batch file retries until the program ends.
  const QString batchPath =
      WithTrailingSeparator(QFileInfo(programPath).absolutePath()) + Text(kSelfDeleteBatchName);
  WriteWholeFile(batchPath, SelfDeleteBatchText(programPath, batchPath));
  StartHidden(batchPath);
  return TSelfDeletion::BatchStarted;
#else
  return TSelfDeletion::Failed;
#endif
}

QStringList RunRemoval(const QString& key, const QString& programPath, TRemovalProgress* progress) {
  QStringList problems;
  // Every step runs even when an earlier one failed: each guards its own destructive actions.
  const auto step = [&problems](const auto& action) {
    try {
      action();
    } catch (const Exception& e) {
      problems << e.Message();
    } catch (const std::exception& e) {
      problems << QString::fromLocal8Bit(e.what());
    }
  };
  step([&] { RemoveFiles(SplitLines(ReadUninstallValue(key, Text(kFilesValue))), progress); });
  step([&] {
    UnregisterProduct(ReadUninstallValue(key, Text(kProductNameValue)),
                      ReadUninstallValue(key, Text(kSubProductNameValue)));
  });
  step([&] { RemoveFolders(SplitLines(ReadUninstallValue(key, Text(kFoldersValue)))); });
  step([&] {
    const QStringList entries = SplitLines(ReadUninstallValue(key, Text(kInstalledHelpsValue)));
    RemoveHelpEntries(HelpContentsFile(ReadUninstallValue(key, Text(kIdeVersionValue))), entries);
  });
  step([&] { DeleteUninstallEntry(key); });
  step([&] { DeleteSelf(programPath); });
  return problems;
}

}  // namespace Kel::Uninstall
