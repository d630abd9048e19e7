#pragma once
// Pieces the demonstration windows share: their classic font, the pale yellow information panel,
// placement on the screen, and the message box through which they report to the user.

#include <QString>
#include <functional>

class QFrame;
class QPalette;
class QPushButton;
class QWidget;

namespace Kel {

class TKelPrmListBox;

// The classic dialog font at `pixelSize` logical pixels.
void SetFormFont(QWidget* form, int pixelSize);

// Centres the top-level `form` on the available area of its screen.
void CenterOnScreen(QWidget* form);

// A pale yellow panel holding a wrapped text, `width` pixels wide, for the left side of a page.
QFrame* MakeInfoPanel(QWidget* parent, const QString& name, const QString& text, int width);

// A push button with its classic component name as object name.
QPushButton* MakeNamedButton(QWidget* parent, const char* name, const char* caption);

// The list box's default link colour, navy, cannot be read on a dark background. On a dark
// `palette` the box gets a light blue instead, and navy again when the palette turns light; a
// link colour the user chose stays. The window passes its own palette: on a change it reaches
// the window before its children.
void UseReadableLinkColor(TKelPrmListBox* box, const QPalette& palette);

// Shows `text` in a message box over `parent`, or hands it to the hook that tests install.
void ShowDemoMessage(QWidget* parent, const QString& text);
using TDemoMessageHook = std::function<void(QWidget* parent, const QString& text)>;
// Installs `hook` (empty: the message box again) and returns the one it replaces.
TDemoMessageHook SetDemoMessageHook(TDemoMessageHook hook);

}  // namespace Kel
