#pragma once
// keldemo's screenshot mode: every window rendered to PNG files, no display needed.

#include <QString>
#include <QStringList>

class QTextStream;
class QWidget;

namespace Kel {

class TFormOwner;

// Empty when `directory` is an existing, writable folder; otherwise why it cannot take the files.
QString CheckScreenshotDirectory(const QString& directory);

// Saves `widget` as it looks now to `directory`/`name`.png and returns the file's path. The file
// is replaced only once the new image is complete. Throws EFCreateError when it cannot be written.
QString SaveWidgetImage(QWidget* widget, const QString& directory, const QString& name);

// Creates the main window through `owner` (as the program's entry does), renders it as "main",
// each of its hidden tab pages on its own as "main-<page>-tab", then opens every demonstration
// window that the program has and renders it under its own name. Returns the files written.
QStringList RenderScreenshots(const QString& directory, TFormOwner& owner);

// The whole mode: checks the folder, renders, reports problems on `errors`. Returns the exit
// code: 0 done, 1 a file could not be written, 2 the folder is unusable.
int RunScreenshotMode(const QString& directory, TFormOwner& owner, QTextStream& errors);

}  // namespace Kel
