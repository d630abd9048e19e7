#pragma once
// The classic bitmap button and speed button as thin Qt widgets, registered in the class
// registry by their classic names like the standard controls (StdCtrls.h).
//
// TBitBtn: a TButton with a glyph. A Kind other than bkCustom sets the caption, the style's
// standard icon, the modal result and Default (OK, Yes) or Cancel (Cancel, No) at once.
// TSpeedButton: a tool button. With a GroupIndex other than 0 it stays down when clicked and
// releases the other speed buttons of its parent with the same GroupIndex; with AllowAllUp a
// click on the button that is down releases it too.

#include <QIcon>
#include <QToolButton>

#include "PlatformExport.h"
#include "StdCtrls.h"

namespace Kel {

class KEL_PLATFORM_EXPORT TBitBtn : public TButton {
  Q_OBJECT
  Q_PROPERTY(Kel::Gui::TBitBtnKind Kind READ Kind WRITE SetKind)
  Q_CLASSINFO("default:Kind", "bkCustom")

 public:
  Q_INVOKABLE explicit TBitBtn(QWidget* parent = nullptr);

  TBitBtnKind Kind() const { return kind_; }
  void SetKind(TBitBtnKind value);
  QIcon Glyph() const { return icon(); }
  void SetGlyph(const QIcon& glyph) { setIcon(glyph); }

 private:
  TBitBtnKind kind_ = bkCustom;
};

class KEL_PLATFORM_EXPORT TSpeedButton : public QToolButton, public TClickable {
  Q_OBJECT
  Q_PROPERTY(QString Caption READ Caption WRITE SetCaption)
  Q_PROPERTY(bool Down READ Down WRITE SetDown)
  Q_CLASSINFO("default:Down", "False")
  Q_PROPERTY(int GroupIndex READ GroupIndex WRITE SetGroupIndex)
  Q_CLASSINFO("default:GroupIndex", "0")
  Q_PROPERTY(bool AllowAllUp READ AllowAllUp WRITE SetAllowAllUp)
  Q_CLASSINFO("default:AllowAllUp", "False")
  Q_PROPERTY(bool Flat READ Flat WRITE SetFlat)
  Q_CLASSINFO("default:Flat", "False")

 public:
  Q_INVOKABLE explicit TSpeedButton(QWidget* parent = nullptr);

  QString Caption() const { return text(); }
  void SetCaption(const QString& value) { setText(value); }
  bool Down() const { return isChecked(); }
  // Pressing down releases the other buttons of the group; only grouped buttons stay down.
  void SetDown(bool value);
  int GroupIndex() const { return groupIndex_; }
  void SetGroupIndex(int value);
  bool AllowAllUp() const { return allowAllUp_; }
  void SetAllowAllUp(bool value) { allowAllUp_ = value; }
  bool Flat() const { return autoRaise(); }
  void SetFlat(bool value) { setAutoRaise(value); }
  QIcon Glyph() const { return icon(); }
  void SetGlyph(const QIcon& glyph) { setIcon(glyph); }

 protected:
  void nextCheckState() override;

 private:
  void ReleaseOthersInGroup();

  int groupIndex_ = 0;
  bool allowAllUp_ = false;
};

}  // namespace Kel
