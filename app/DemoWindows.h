#pragma once
// The demonstration windows that the main window opens, and the process-wide references to them.

#include <QPointer>
#include <QString>
#include <QWidget>
#include <functional>
#include <memory>
#include <vector>

namespace Kel {

// One reference per demonstration window: empty until its window is first requested, empty again
// once the window is freed.
extern QPointer<QWidget> FboxForm;
extern QPointer<QWidget> CalendForm;
extern QPointer<QWidget> MiskForm;

enum class TDemoWindow { Fbox, Calend, Misk };

// Makes a new demonstration window; the caller takes it over.
using TFormFactory = std::function<std::unique_ptr<QWidget>()>;

// The usual factory for a form class with a default constructor.
template <class TForm>
std::unique_ptr<QWidget> MakeForm() {
  return std::make_unique<TForm>();
}

// Everything the program knows about one demonstration window.
struct TDemoWindowInfo {
  TDemoWindow which;
  QString screenshotName;        // file name, without ".png", in screenshot mode
  QPointer<QWidget>* reference;  // the window's process-wide reference
  TFormFactory create;           // empty while the window is not part of the program yet
};

// The demonstration windows in the order of the main window's buttons.
const std::vector<TDemoWindowInfo>& DemoWindows();

// The entry of `which` in DemoWindows().
const TDemoWindowInfo& DemoWindowInfo(TDemoWindow which);

}  // namespace Kel
