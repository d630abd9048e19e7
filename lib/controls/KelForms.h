#pragma once
// Unit KelForms: TKelPopupForm, the drop-down window of the library. The popup calendar, the
// popup calculator, the popup edit and list and the lookup list derive from it.
//
// Opening and closing
//   A control opens a popup with a rectangle of its own (PopupAtRect: the popup drops down
//   under it, or opens above it when the screen's work area has no room below) or a point
//   (PopupAtPoint), and a callback. The popup is a Qt::Popup window: it takes the keyboard while
//   the window it was opened from keeps its active look. Enter accepts (after the popup's own
//   OnKeyDown ran), Esc and Alt+Up / Alt+Down cancel; both hide the popup and call the callback
//   with (popup, canceled). A click outside, or the application losing the focus, only hides it:
//   no callback. The popup object lives on and can be opened again; a callback that wants to
//   free it uses deleteLater().
//
// Keys come to the popup before its focused control (KeyDown / KeyPress, like a form with key
// preview), so descendants add their own keys by overriding KeyDown and calling the base.
//
// Descendants build their content in the constructor, give it with SetClientControl (it fills
// the client area) and size and fill themselves in BeforePopup. Pixel sizes are logical pixels
// scaled with the font (ScaleByFont), so a popup keeps its proportions at any screen scale and
// font size. With BorderStyle bsSizeable the user resizes the popup at its right and bottom
// edges; AdjustSizing lets a descendant correct every new size.
//
// Placement works against the work area of the screen the rectangle is on (WorkAreaFor) and is
// kept on that screen (ScreenRectFor); tests replace both to place against a fake screen.

#include <QPointer>
#include <QWidget>
#include <functional>

#include "Color.h"
#include "GuiTypes.h"
#include "KelExport.h"
#include "Rect.h"
#include "Set.h"
#include "ShiftState.h"

class QVBoxLayout;

namespace Kel {

class TKelPopupForm;

using TKelPopupClosedEvent = std::function<void(TKelPopupForm* sender, bool canceled)>;

// Options of the bottom band; any option turns the band on, boSizeGrip adds a size grip.
enum TKelBandOption { boBand = 0, boSizeGrip = 4 };
using TKelBandOptions = TSet<TKelBandOption>;

// Whether ApplyMainFormFont gives controls the main form's font (initially true).
KEL_EXPORT bool UseMainFormFont();
KEL_EXPORT void SetUseMainFormFont(bool value);
// Gives control the application main form's font when UseMainFormFont is on, the control uses
// its parent's font (none set of its own) and there is a main form (SetApplicationMainForm).
KEL_EXPORT void ApplyMainFormFont(QWidget* control);

class KEL_EXPORT TKelPopupForm : public QWidget {
  Q_OBJECT

 public:
  using TKeyEvent = std::function<void(TKelPopupForm* sender, int& key, TShiftState shift)>;
  using TKeyPressEvent = std::function<void(TKelPopupForm* sender, QChar& key)>;

  // owner: the popup's parent (it goes with it). option: passed on by descendants; the base
  // ignores it.
  explicit TKelPopupForm(QWidget* owner = nullptr, int option = 0);
  ~TKelPopupForm() override;

  // --- opening and closing
  // rect is in control's client coordinates. Takes control's palette and font (the background
  // the window colour), runs BeforePopup, places the popup against rect and shows it.
  virtual void PopupAtRect(QWidget* control, const TRect& rect, TKelPopupClosedEvent callback);
  // The popup's top-left corner at control's client point (x, y), kept on the screen; takes
  // control's palette, background and font; a mouse grab is released first.
  void PopupAtPoint(QWidget* control, TKelPopupClosedEvent callback, int x, int y);
  void ShowPopup();
  // Hides a visible popup and gives the focus back to the owner form. No callback.
  void HidePopup();
  // HidePopup, then the callback with (this, canceled) if there is one.
  virtual void ClosePopup(bool canceled);
  bool IsPopupVisible() const { return isVisible(); }
  QWidget* OwnerForm() const { return ownerForm_; }

  // --- placement (screen coordinates)
  // Under screenRect, or above it when the work area has no room below (overlapping its top
  // line by one pixel); shifted left so that it ends at the work area's right edge.
  void PlacePopup(const TRect& screenRect);
  // The popup's top-left corner for screenRect, a size and a work area (no screen clamping).
  static TPoint PopupPosition(const TRect& screenRect, QSize size, const TRect& workArea);
  // Moves and sizes the popup, kept on the screen: shifted left / up when it sticks out right /
  // below, then never left of / above the screen's left / top edge.
  void SetBounds(int left, int top, int width, int height);
  static TRect KeepOnScreen(const TRect& bounds, const TRect& screen);
  static TRect RectToScreen(const QWidget* control, const TRect& rect);

  // --- appearance
  TColor Color() const { return color_; }
  void SetColor(TColor value);
  TBorderStyle BorderStyle() const { return borderStyle_; }
  // bsSizeable: a sizing frame; anything else: a thin frame.
  void SetBorderStyle(TBorderStyle value);
  // The band's height in logical pixels for the classic 8-point font (26), scaled with the font.
  int BandHeight() const { return bandHeight_; }
  void SetBandHeight(int value);
  TKelBandOptions BandOptions() const { return bandOptions_; }
  void SetBandOptions(TKelBandOptions value);
  // The control that gets the focus when the popup shows.
  QWidget* ActiveControl() const { return activeControl_; }
  void SetActiveControl(QWidget* control) { activeControl_ = control; }
  // Puts control into the client area, filling it, and makes it the active control.
  void SetClientControl(QWidget* control);
  // Sizes the popup so that its client area has this size.
  void SetClientSize(QSize size);
  QRect ClientRect() const { return contentsRect(); }
  // Frame and band around the client area, in logical pixels.
  int FrameWidth() const;
  int ScaledBandHeight() const;

  TKeyEvent OnKeyDown;
  TKeyPressEvent OnKeyPress;

 protected:
  // Sizes and fills the popup before it is placed and shown (empty in the base).
  virtual void BeforePopup() {}
  // The keys: OnKeyDown, then Enter accepts, Esc and Alt+Up / Alt+Down cancel (the key
  // becomes 0 when handled).
  virtual void KeyDown(int& key, TShiftState shift);
  // OnKeyPress, then Enter and Esc characters are swallowed.
  virtual void KeyPress(QChar& key);
  // Every new size passes here first (user resizing, SetClientSize, resize()).
  virtual void AdjustSizing(QSize& size) {}
  virtual TRect WorkAreaFor(const TRect& screenRect) const;
  virtual TRect ScreenRectFor(const TRect& bounds) const;

  bool eventFilter(QObject* watched, QEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void hideEvent(QHideEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  void TakeLookOf(const QWidget* control, bool takeColor);
  void UpdateMargins();
  // The edges (Qt::Edges) a point of the frame resizes; none inside or when not sizeable.
  Qt::Edges SizingEdgesAt(const QPoint& pos) const;
  bool PreviewKey(QKeyEvent* event);

  QVBoxLayout* layout_;
  QPointer<QWidget> ownerForm_;
  QPointer<QWidget> activeControl_;
  TKelPopupClosedEvent callback_;
  TColor color_ = clWindow;
  TBorderStyle borderStyle_ = bsSingle;
  int bandHeight_ = 26;
  TKelBandOptions bandOptions_;
  // user resizing
  Qt::Edges sizingEdges_;
  QPoint sizingStart_;
  QSize sizingStartSize_;
};

}  // namespace Kel
