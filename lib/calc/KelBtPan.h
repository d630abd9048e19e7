#pragma once
// Unit KelBtPan: TKelBtnPanel, a panel that creates and lays out a row or a column of standard
// dialog buttons (OK, Cancel, Help, Yes, No, ...) or of buttons with captions of the user's
// choosing, gives each its modal result, and reports clicks through one event.
//
// The buttons are real controls of a class chosen by name (ButtonClassName: a push button,
// bitmap button, speed button, check box or radio button), named uniquely within their window
// (OKButton1, then OKButton2 on a second panel), and recorded in ButtonList. "OK" becomes the
// default button and "Cancel" the cancel button where the class has those properties.
//
// Placement: the buttons keep ButtonWidth x ButtonHeight pixels; the gaps between them
// (ButtonSpace) and to the panel's edges (SideDistance) are dialog units of the panel's font,
// so the panel keeps its proportions at any font size and screen scale. They line up at the
// left, centre or right (HorzAlign) and top, centre or bottom (VertAlign) of the panel's outer
// rectangle, in a row or a column (Direction).
//
// Clicks: every button without an OnClick of its own reports (index, type) through
// OnClickButton; a Help button first asks for help (OnHelp) with the panel's HelpContext.

#include <QFrame>
#include <QPointer>
#include <functional>

#include "KelBtPanTypes.h"
#include "KelExport.h"
#include "KelNamedItems.h"
#include "KelUtils.h"
#include "Strings.h"

namespace Kel {

// One button of a panel: its control and kind. Destroying the item frees the control; a
// control destroyed elsewhere leaves the item without control and name (freed at the next
// arrangement).
class KEL_EXPORT TKelBtnPanelItem : public TKelNamedItem {
  Q_OBJECT
  Q_PROPERTY(QWidget* Control READ Control WRITE SetControl)
  Q_PROPERTY(Kel::KelBtPanTypes::TKelButtonType ControlType READ ControlType WRITE SetControlType)
  Q_CLASSINFO("default:ControlType", "btCustom")

 public:
  Q_INVOKABLE explicit TKelBtnPanelItem(TCollection* collection);
  ~TKelBtnPanelItem() override;

  QWidget* Control() const { return control_; }
  // Also takes the control's name as the item's name (none for no control).
  void SetControl(QWidget* value);
  TKelButtonType ControlType() const { return controlType_; }
  void SetControlType(TKelButtonType value) { controlType_ = value; }
  void Assign(TPersistent* source) override;

 private:
  QPointer<QWidget> control_;
  QPointer<QObject> panel_;  // the owner of the list the item was made in
  QMetaObject::Connection destroyedConnection_;
  TKelButtonType controlType_ = btCustom;
};

class KEL_EXPORT TKelBtnPanelItems : public TKelNamedItems {
  Q_OBJECT
 public:
  explicit TKelBtnPanelItems(QObject* owner);
  TKelBtnPanelItem* Items(int index) const {
    return TKelNamedItems::Items<TKelBtnPanelItem>(index);
  }
  TKelBtnPanelItem* Add() { return TKelNamedItems::Add<TKelBtnPanelItem>(); }
  // The index of the first item with this control, -1 when none has it.
  int IndexOfControl(const QObject* control) const;
};

class KEL_EXPORT TKelCustomBtnPanel : public QFrame {
  Q_OBJECT
  Q_PROPERTY(Kel::KelBtPanTypes::TKelBtnPanelButtons DefButtons READ DefButtons WRITE SetDefButtons)
  Q_CLASSINFO("default:DefButtons", "pbFromSet")
  Q_PROPERTY(
      Kel::KelBtPanTypes::TKelButtonFlags DefButtonSet READ DefButtonFlags WRITE SetDefButtonFlags)
  // The captions of the custom buttons (the lines of Buttons).
  Q_PROPERTY(QStringList Buttons READ ButtonCaptions WRITE SetButtonCaptions)
  Q_PROPERTY(QString ButtonClassName READ ButtonClassName WRITE SetButtonClassName)
  Q_CLASSINFO("default:ButtonClassName", "TButton")
  Q_PROPERTY(int ButtonWidth READ ButtonWidth WRITE SetButtonWidth)
  Q_CLASSINFO("default:ButtonWidth", "75")
  Q_PROPERTY(int ButtonHeight READ ButtonHeight WRITE SetButtonHeight)
  Q_CLASSINFO("default:ButtonHeight", "25")
  Q_PROPERTY(Kel::KelUtilsTypes::TKelDirection Direction READ Direction WRITE SetDirection)
  Q_CLASSINFO("default:Direction", "diHorizontal")
  Q_PROPERTY(Kel::KelUtilsTypes::TKelHorzAlign HorzAlign READ HorzAlign WRITE SetHorzAlign)
  Q_CLASSINFO("default:HorzAlign", "haRight")
  Q_PROPERTY(Kel::KelUtilsTypes::TKelVertAlign VertAlign READ VertAlign WRITE SetVertAlign)
  Q_CLASSINFO("default:VertAlign", "vaBottom")
  Q_PROPERTY(int ButtonSpace READ ButtonSpace WRITE SetButtonSpace)
  Q_CLASSINFO("default:ButtonSpace", "4")
  Q_PROPERTY(int SideDistance READ SideDistance WRITE SetSideDistance)
  Q_CLASSINFO("default:SideDistance", "7")
  Q_PROPERTY(bool UseMainFormFont READ UseMainFormFont WRITE SetUseMainFormFont)
  Q_CLASSINFO("default:UseMainFormFont", "False")
  Q_PROPERTY(int HelpContext READ HelpContext WRITE SetHelpContext)
  Q_CLASSINFO("default:HelpContext", "0")

 public:
  using TPanelBtnClickEvent = std::function<void(QObject* sender, int index, TKelButtonType type)>;
  using THelpEvent = std::function<void(QObject* sender, int helpContext)>;

  explicit TKelCustomBtnPanel(QWidget* parent = nullptr);
  ~TKelCustomBtnPanel() override;

  TKelBtnPanelItems* ButtonList() const { return buttonList_.get(); }
  // Copies the items; outside loading the buttons of DefButtons then replace them.
  void SetButtonList(const TKelBtnPanelItems* value);
  TStrings* Buttons() const { return buttons_.get(); }
  void SetButtons(const TStrings* value);
  TKelBtnPanelButtons DefButtons() const { return defButtons_; }
  void SetDefButtons(TKelBtnPanelButtons value);
  TKelButtonSet DefButtonSet() const { return defButtonSet_; }
  void SetDefButtonSet(TKelButtonSet value);
  // DefButtonSet and Buttons in the forms Qt's form designer edits and stores.
  TKelButtonFlags DefButtonFlags() const { return SetToFlags<TKelButtonFlag>(defButtonSet_); }
  void SetDefButtonFlags(TKelButtonFlags value) {
    SetDefButtonSet(FlagsToSet<TKelButtonType>(value));
  }
  QStringList ButtonCaptions() const;
  void SetButtonCaptions(const QStringList& value);
  QString ButtonClassName() const;
  // A registered control class by name; an unknown name is ignored.
  void SetButtonClassName(const QString& value);
  const QMetaObject* ButtonClass() const { return buttonClass_; }
  virtual void SetButtonClass(const QMetaObject* value);
  int ButtonWidth() const { return buttonWidth_; }
  void SetButtonWidth(int value);
  int ButtonHeight() const { return buttonHeight_; }
  void SetButtonHeight(int value);
  TKelDirection Direction() const { return direction_; }
  void SetDirection(TKelDirection value);
  TKelHorzAlign HorzAlign() const { return horzAlign_; }
  void SetHorzAlign(TKelHorzAlign value);
  TKelVertAlign VertAlign() const { return vertAlign_; }
  void SetVertAlign(TKelVertAlign value);
  int ButtonSpace() const { return buttonSpace_; }
  void SetButtonSpace(int value);
  int SideDistance() const { return sideDistance_; }
  void SetSideDistance(int value);
  bool UseMainFormFont() const { return useMainFormFont_; }
  void SetUseMainFormFont(bool value);
  int HelpContext() const { return helpContext_; }
  void SetHelpContext(int value) { helpContext_ = value; }

  void NextHorzAlign();  // left, centre, right, left ...
  void NextVertAlign();  // top, centre, bottom, top ...
  void ToggleDirection();

  // Replaces the buttons with those of DefButtons and arranges them.
  virtual void RebuildButtons();
  virtual void ClearButtons();
  // Drops items without control, then places every button and gives it its modal result.
  virtual void ArrangeButtons();
  // The top-left corner of button index (of count) in panel coordinates.
  virtual QPoint ButtonPosition(int index, int count) const;

  // Loading brackets the reading of a form: no rebuilding or arranging until its end.
  bool IsLoading() const { return loading_; }
  void BeginLoading() { loading_ = true; }
  void EndLoading();

  TPanelBtnClickEvent OnClickButton;
  THelpEvent OnHelp;

 protected:
  // A button of ButtonClass showing caption through TranslateText, recorded in ButtonList.
  virtual QWidget* CreateButton(const QString& caption, TKelButtonType type);
  virtual void CreateButtonsFromSet();
  virtual void PanelClick(QObject* sender);
  // The index and type of the button whose control this is; false when it is none of ours.
  virtual bool ButtonClicked(const QObject* control, int& index, TKelButtonType& type) const;
  virtual void ClickNotification(int index, TKelButtonType type);

  void resizeEvent(QResizeEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  void AttachClickHandler(QWidget* control);
  void ApplyMainFormFontToForm();

  std::unique_ptr<TKelBtnPanelItems> buttonList_;
  std::unique_ptr<TStringList> buttons_;
  TKelBtnPanelButtons defButtons_ = pbFromSet;
  TKelButtonSet defButtonSet_;
  const QMetaObject* buttonClass_;
  int buttonWidth_ = 75;
  // ButtonWidth, or the width of the widest caption where that is more (ArrangeButtons).
  int placedButtonWidth_ = 75;
  int buttonHeight_ = 25;
  TKelDirection direction_ = diHorizontal;
  TKelHorzAlign horzAlign_ = haRight;
  TKelVertAlign vertAlign_ = vaBottom;
  int buttonSpace_ = 4;
  int sideDistance_ = 7;
  bool useMainFormFont_ = false;
  int helpContext_ = 0;
  bool loading_ = false;
};

class KEL_EXPORT TKelBtnPanel : public TKelCustomBtnPanel {
  Q_OBJECT
 public:
  Q_INVOKABLE explicit TKelBtnPanel(QWidget* parent = nullptr) : TKelCustomBtnPanel(parent) {}
};

}  // namespace Kel
