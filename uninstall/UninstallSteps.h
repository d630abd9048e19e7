#pragma once
// The removal steps of the uninstaller, each callable on its own (tests prepare a registry file
// and a folder tree and call them directly). RunRemoval runs them all in their order:
//
//   1. (the caller confirms first)
//   2. RemoveFiles: files whose shared reference count drops to zero are deleted
//   3./4. UnregisterProduct: the removed sub-products leave the product key; the key goes with
//      the last one
//   5. UpdateIncludeFile: the defines of the removed sub-products are commented out in prod.inc
//   6. RemoveFolders: the product's folders, when empty, deepest first
//   7. RemoveHelpEntries: the product's lines leave the environment's help contents file
//   8. DeleteUninstallEntry
//   9. DeleteSelf: the program's own file, unless another product still counts on it
//
// Missing keys, values, files and folders make a step do nothing. Files and folders that cannot
// be deleted stay, silently. Recorded paths must be absolute: a relative one is left alone and
// reported (raised after the step has done the rest of its work). Files that cannot be rewritten, and registry stores that cannot be
// read, raise Kel::Exception; RunRemoval reports those and goes on with the next step.

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace Kel::Uninstall {

// What the progress dialog shows while files are removed.
class TRemovalProgress {
 public:
  virtual ~TRemovalProgress() = default;
  virtual void Start(int fileCount) = 0;
  virtual void ShowFile(const QString& path) = 0;
  virtual void SetPosition(int position) = 0;
  virtual void Finish() = 0;
};

// Lines of a list value: split at CR LF, LF or CR; empty lines dropped.
QStringList SplitLines(const QString& text);

// A value of the product's uninstall entry (HKLM, below kUninstallKey); empty when missing.
QString ReadUninstallValue(const QString& key, const QString& name);

// The reference count recorded for a shared file. A value that is not an integer counts as
// recorded (the file is in use by someone) but not valid, with the number 0.
struct TFileRefCount {
  bool recorded = false;
  bool valid = false;  // the value is an integer
  int count = 0;
};
TFileRefCount ReadFileRefCount(const QString& path);

// Lowers the file's count by one and returns the new count; at 0 the value is deleted, and the
// key with it when nothing else is left in it. Returns -1 and changes nothing when there is no
// count, when it is not an integer, or when it is not positive (a count the installer never
// writes).
int DecrementFileRefCount(const QString& path);

// Step 2. progress may be null.
void RemoveFiles(const QStringList& files, TRemovalProgress* progress);

// Steps 4 and 5: returns the sub-products that stay installed.
QStringList UnregisterProduct(const QString& product, const QString& subProducts);

// Step 5 on text: the define lines above the line "{$I qn.inc}" rewritten so that only the
// remaining sub-products (blanks removed, compared ignoring case) stay defined. Other lines and
// every line break are kept byte for byte.
QByteArray RewriteDefines(const QByteArray& content, const QStringList& remainingSubProducts);
// Step 5 on the file folder/units/prod.inc (written atomically, only when it changes).
void UpdateIncludeFile(const QString& folder, const QStringList& remainingSubProducts);

// Step 6.
void RemoveFolders(const QStringList& folders);

// Step 7. The help contents file of an environment code (ignoring case; an unknown code selects
// the fifth row): RootDir of its key + HELP + the file name; relative when RootDir is missing.
QString HelpContentsFile(const QString& ideCode);
// The contents without the first line whose text after its first "=" is entry (exactly).
QByteArray RemoveHelpEntry(const QByteArray& content, const QString& entry);
void RemoveHelpEntries(const QString& contentsFile, const QStringList& entries);

// Step 8.
void DeleteUninstallEntry(const QString& key);

// Step 9.
enum class TSelfDeletion { Shared, Deleted, BatchStarted, Failed };
TSelfDeletion DeleteSelf(const QString& programPath);
// The batch file that deletes a program that cannot delete its own running file (Windows),
// lines ended by CR LF.
QByteArray SelfDeleteBatchText(const QString& programPath, const QString& batchPath);

// Steps 2 to 9 for the product of the uninstall key. Returns the problems met (empty when none).
QStringList RunRemoval(const QString& key, const QString& programPath, TRemovalProgress* progress);

}  // namespace Kel::Uninstall
