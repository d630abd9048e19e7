#include "Screenshots.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QSaveFile>
#include <QStackedWidget>
#include <QTabBar>
#include <QTabWidget>
#include <QTextStream>
#include <vector>

#include "DemoWindows.h"
#include "Exceptions.h"
#include "FormOwner.h"
#include "mainUnit.h"

namespace Kel {

namespace {

// Lets a freshly shown window finish its layout and first paint.
void SettleWindows() {
  for (int pass = 0; pass < 3; ++pass) QApplication::processEvents();
}

// "CalendarTabSheet" -> "calendar".
QString PageName(const QWidget* page) {
  QString name = page->objectName();
  name.remove(QStringLiteral("TabSheet"));
  return name.isEmpty() ? QStringLiteral("page") : name.toLower();
}

// A page whose tab is hidden is never laid out by its tab widget; it is given the size of the
// visible page and rendered on its own.
QStringList SaveHiddenPages(QTabWidget* pages, const QString& directory, const QString& prefix) {
  QStringList written;
  const QSize pageSize = pages->currentWidget() ? pages->currentWidget()->size() : QSize();
  for (int index = 0; index < pages->count(); ++index) {
    if (pages->isTabVisible(index)) continue;
    QWidget* page = pages->widget(index);
    if (pageSize.isValid()) page->resize(pageSize);
    written << SaveWidgetImage(page, directory,
                               prefix + QLatin1Char('-') + PageName(page) + QStringLiteral("-tab"));
  }
  return written;
}

// Brings forward, in every tab widget above `widget`, the page that holds it, so that a tab
// widget on a page of another one is seen in the window.
void ShowPagesAbove(QWidget* widget) {
  QWidget* child = widget;
  for (QWidget* parent = widget->parentWidget(); parent; parent = parent->parentWidget()) {
    if (qobject_cast<QStackedWidget*>(parent)) {
      if (auto* tabs = qobject_cast<QTabWidget*>(parent->parentWidget())) tabs->setCurrentWidget(child);
    }
    child = parent;
  }
}

// A window whose content sits on tab pages is rendered once per page of every tab widget that
// has more than one page ("calendar-demo-o2"); the pages shown before are shown again after.
QStringList SaveTabPages(QWidget* window, const QString& directory, const QString& prefix) {
  QStringList written;
  const QList<QTabWidget*> tabWidgets = window->findChildren<QTabWidget*>();
  std::vector<int> shown;
  for (QTabWidget* pages : tabWidgets) shown.push_back(pages->currentIndex());
  for (QTabWidget* pages : tabWidgets) {
    if (pages->count() < 2) continue;
    ShowPagesAbove(pages);
    for (int index = 0; index < pages->count(); ++index) {
      if (!pages->isTabVisible(index)) continue;
      pages->setCurrentIndex(index);
      SettleWindows();
      written << SaveWidgetImage(window, directory,
                                 prefix + QLatin1Char('-') + PageName(pages->widget(index)));
    }
  }
  for (int index = 0; index < tabWidgets.size(); ++index)
    tabWidgets[index]->setCurrentIndex(shown[static_cast<size_t>(index)]);
  SettleWindows();
  return written;
}

}  // namespace

QString CheckScreenshotDirectory(const QString& directory) {
  if (directory.isEmpty()) return QStringLiteral("no screenshot directory given");
  QFileInfo info(directory);
  // A directory that is not there yet is made, as a script asking for pictures expects.
  if (!info.exists() && !info.isSymLink()) {
    if (!QDir().mkpath(directory))
      return QStringLiteral("directory \"%1\" cannot be created").arg(directory);
    info.refresh();
  }
  if (!info.isDir()) return QStringLiteral("\"%1\" is not a directory").arg(directory);
  if (!info.isWritable()) return QStringLiteral("directory \"%1\" is not writable").arg(directory);
  return {};
}

QString SaveWidgetImage(QWidget* widget, const QString& directory, const QString& name) {
  const QString path = QDir(directory).filePath(name + QStringLiteral(".png"));
  const QImage image = widget->grab().toImage();
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly) || !image.save(&file, "PNG") || !file.commit()) {
    throw EFCreateError(QStringLiteral("Cannot write \"%1\": %2")
                            .arg(QDir::toNativeSeparators(path), file.errorString()));
  }
  return path;
}

QStringList RenderScreenshots(const QString& directory, TFormOwner& owner) {
  TMainForm* mainForm = MainForm ? MainForm.data() : owner.CreateForm(MainForm, owner);
  mainForm->show();
  SettleWindows();

  QStringList written;
  written << SaveWidgetImage(mainForm, directory, QStringLiteral("main"));
  if (auto* pages = mainForm->findChild<QTabWidget*>(QStringLiteral("PageControl1"))) {
    written << SaveHiddenPages(pages, directory, QStringLiteral("main"));
  }

  for (const TDemoWindowInfo& info : DemoWindows()) {
    QWidget* window = mainForm->ShowDemoWindow(info.which);
    if (!window) continue;
    SettleWindows();
    written << SaveWidgetImage(window, directory, info.screenshotName);
    written << SaveTabPages(window, directory, info.screenshotName);
  }
  return written;
}

int RunScreenshotMode(const QString& directory, TFormOwner& owner, QTextStream& errors) {
  const QString problem = CheckScreenshotDirectory(directory);
  if (!problem.isEmpty()) {
    errors << "keldemo: " << problem << Qt::endl;
    return 2;
  }
  try {
    RenderScreenshots(directory, owner);
  } catch (const Exception& error) {
    errors << "keldemo: " << error.Message() << Qt::endl;
    return 1;
  }
  return 0;
}

}  // namespace Kel
