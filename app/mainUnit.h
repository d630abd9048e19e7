#pragma once
// keldemo's main window.

#include <QPointer>
#include <QString>
#include <QUrl>
#include <QWidget>
#include <array>
#include <functional>

#include "DemoWindows.h"
#include "FormOwner.h"

class QFrame;
class QTabWidget;

namespace Kel {

class TLinkLabel;
class TMainForm;

// The main window, set by the program's entry.
extern QPointer<TMainForm> MainForm;

// Hands a local document or a web address to its default handler; true when that started.
using TUrlOpener = std::function<bool(const QUrl&)>;

// The main window of keldemo: introduces the components on a tab page, opens the demonstration
// windows, the local documents and the web pages. A second tab page about the calendar is built
// and wired but kept out of the user's reach. The demonstration windows are created on first
// request through the form owner (the application's) and reshown afterwards.
//
// Children carry the classic component names as object names (PageControl1, FBoxTabSheet,
// FBoxButton, Label3, ...), so code and tests find them with findChild.
class TMainForm : public QWidget {
  Q_OBJECT
 public:
  explicit TMainForm(TFormOwner& formOwner, QWidget* parent = nullptr);
  ~TMainForm() override;

  // Shows the demonstration window `which` modeless and brings it forward, creating it on the
  // first request. Returns it, or null while that window is not part of the program.
  QWidget* ShowDemoWindow(TDemoWindow which);
  // Replaces how the window `which` is made (tests; an empty factory disables it).
  void SetFormFactory(TDemoWindow which, TFormFactory factory);

  // Opens the local document `fileName` found beside the program or one level above it; does
  // nothing, silently, when neither holds it.
  void OpenLocalDocument(const QString& fileName);
  // Opens a web address; a failure of the handler is not reported.
  void OpenWebPage(const QString& address);

  // How documents and addresses reach their handler; QDesktopServices::openUrl by default.
  void SetUrlOpener(TUrlOpener opener);
  // The folder "Read more" starts from; empty (the default) means the running program's folder.
  void SetProgramDirectory(const QString& directory) { programDirectory_ = directory; }
  QString ProgramDirectory() const;

 private:
  void BuildFBoxTabSheet();
  void BuildCalendarTabSheet();
  void BuildBottomPanel();
  void HideCalendarTabSheet();

  // Button handlers, named after the buttons that share them.
  void FBoxButtonClick();
  void CalendDemoButtonClick();
  void OtherCompsDemoButtonClick();
  void ReadMoreButtonClick();
  void RegisterButtonClick();
  void Button4Click();
  void Label3Click();

  TFormOwner& formOwner_;
  std::array<TFormFactory, 3> factories_;
  TUrlOpener urlOpener_;
  QString programDirectory_;

  QTabWidget* PageControl1 = nullptr;
  QWidget* FBoxTabSheet = nullptr;
  QWidget* CalendarTabSheet = nullptr;
  QFrame* Panel2 = nullptr;
  TLinkLabel* Label3 = nullptr;
};

}  // namespace Kel
