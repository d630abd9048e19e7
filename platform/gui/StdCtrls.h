#pragma once
// The classic standard controls as thin Qt widgets: TEdit, TListBox, TButton, TCheckBox and
// TRadioButton. Each is the Qt widget itself with the few classic properties that the library
// sets by name (Caption, Checked, Default, Cancel, ModalResult, ...) as published properties,
// and the classic OnClick event. They are registered in the class registry by their classic
// names, so that a component can create one by class name: CreateControl("TButton", parent).
//
// Buttons in dialogs: Default makes the button the dialog's default (Enter presses it); Cancel
// makes Esc press it anywhere in its window; a ModalResult other than mrNone closes the QDialog
// it sits on with that result when it is clicked (QDialog::done).

#include <QCheckBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QStringList>
#include <functional>

#include "GuiTypes.h"
#include "PlatformExport.h"
#include "ShiftState.h"

class QShortcut;

namespace Kel {

using TNotifyEvent = std::function<void(QObject* sender)>;
// A mouse event in the control's client (viewport) coordinates.
using TMouseEvent =
    std::function<void(QObject* sender, TMouseButton button, TShiftState shift, int x, int y)>;

// What every button-like control has beside its Qt base: OnClick, fired after Qt's clicked().
class KEL_PLATFORM_EXPORT TClickable {
 public:
  virtual ~TClickable() = default;
  TNotifyEvent OnClick;

 protected:
  void FireClick(QObject* sender) {
    if (OnClick) OnClick(sender);
  }
};

// A new control of a registered class (by class or by classic name) with parent as its parent;
// EClassNotFound for an unknown name, EInvalidCast for a class that is not a widget.
KEL_PLATFORM_EXPORT QWidget* CreateControl(const QMetaObject& controlClass, QWidget* parent);
KEL_PLATFORM_EXPORT QWidget* CreateControl(const QString& className, QWidget* parent);

// The classic mouse button of a Qt mouse button.
KEL_PLATFORM_EXPORT TMouseButton MouseButtonOf(Qt::MouseButton button);
// Calls handler (when set) with sender and the button, shift state and position of event. The
// handler may close and free the window of sender: nothing of sender may be used after it.
KEL_PLATFORM_EXPORT void FireMouseEvent(const TMouseEvent& handler, QObject* sender,
                                        const QMouseEvent& event);

class KEL_PLATFORM_EXPORT TEdit : public QLineEdit {
  Q_OBJECT
  Q_PROPERTY(QString Text READ Text WRITE SetText)
  Q_PROPERTY(bool ReadOnly READ ReadOnly WRITE SetReadOnly)
  Q_CLASSINFO("default:ReadOnly", "False")
  Q_PROPERTY(int MaxLength READ MaxLength WRITE SetMaxLength)
  Q_CLASSINFO("default:MaxLength", "0")
  Q_PROPERTY(Kel::Gui::TBorderStyle BorderStyle READ BorderStyle WRITE SetBorderStyle)
  Q_CLASSINFO("default:BorderStyle", "bsSingle")

 public:
  Q_INVOKABLE explicit TEdit(QWidget* parent = nullptr);

  QString Text() const { return text(); }
  void SetText(const QString& value);
  bool ReadOnly() const { return isReadOnly(); }
  void SetReadOnly(bool value) { setReadOnly(value); }
  int MaxLength() const;  // 0: no limit
  void SetMaxLength(int value);
  TBorderStyle BorderStyle() const { return hasFrame() ? bsSingle : bsNone; }
  void SetBorderStyle(TBorderStyle value) { setFrame(value != bsNone); }

  TNotifyEvent OnChange;
};

class KEL_PLATFORM_EXPORT TListBox : public QListWidget {
  Q_OBJECT
  Q_PROPERTY(QStringList Items READ Items WRITE SetItems)
  Q_PROPERTY(int ItemIndex READ ItemIndex WRITE SetItemIndex)
  Q_CLASSINFO("default:ItemIndex", "-1")
  Q_PROPERTY(bool Sorted READ Sorted WRITE SetSorted)
  Q_CLASSINFO("default:Sorted", "False")
  Q_PROPERTY(Kel::Gui::TBorderStyle BorderStyle READ BorderStyle WRITE SetBorderStyle)
  Q_CLASSINFO("default:BorderStyle", "bsSingle")

 public:
  Q_INVOKABLE explicit TListBox(QWidget* parent = nullptr);

  QStringList Items() const;
  void SetItems(const QStringList& items);
  int Count() const { return count(); }
  int ItemIndex() const { return currentRow(); }
  void SetItemIndex(int index);
  bool Sorted() const { return isSortingEnabled(); }
  void SetSorted(bool value);
  TBorderStyle BorderStyle() const { return frameShape() == QFrame::NoFrame ? bsNone : bsSingle; }
  void SetBorderStyle(TBorderStyle value);
  // The index of the item at a client (viewport) point. With existing, -1 when no item is
  // there; without, the nearest item also for a point above, below or beside the items
  // (-1 only for an empty list).
  int ItemAtPos(const QPoint& pos, bool existing) const;
  // An item's rectangle in client coordinates (empty for a bad index).
  QRect ItemRect(int index) const;

  // Fired after Qt handled the release, in client (viewport) coordinates.
  TMouseEvent OnMouseUp;
  // The user made another item current (click or key).
  TNotifyEvent OnClick;

 protected:
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  void FireClickIfUser();

  bool settingItems_ = false;  // the program, not the user, changes the items or the index
};

class KEL_PLATFORM_EXPORT TButton : public QPushButton, public TClickable {
  Q_OBJECT
  Q_PROPERTY(QString Caption READ Caption WRITE SetCaption)
  Q_PROPERTY(bool Default READ Default WRITE SetDefault)
  Q_CLASSINFO("default:Default", "False")
  Q_PROPERTY(bool Cancel READ Cancel WRITE SetCancel)
  Q_CLASSINFO("default:Cancel", "False")
  Q_PROPERTY(int ModalResult READ ModalResult WRITE SetModalResult)
  Q_CLASSINFO("default:ModalResult", "0")

 public:
  Q_INVOKABLE explicit TButton(QWidget* parent = nullptr);
  ~TButton() override;

  QString Caption() const { return text(); }
  void SetCaption(const QString& value) { setText(value); }
  bool Default() const { return isDefault(); }
  void SetDefault(bool value) { setDefault(value); }
  bool Cancel() const { return cancelShortcut_ != nullptr; }
  void SetCancel(bool value);
  TModalResult ModalResult() const { return modalResult_; }
  void SetModalResult(TModalResult value) { modalResult_ = value; }

 private:
  void Clicked();

  TModalResult modalResult_ = mrNone;
  QShortcut* cancelShortcut_ = nullptr;
};

class KEL_PLATFORM_EXPORT TCheckBox : public QCheckBox, public TClickable {
  Q_OBJECT
  Q_PROPERTY(QString Caption READ Caption WRITE SetCaption)
  Q_PROPERTY(bool Checked READ Checked WRITE SetChecked)
  Q_CLASSINFO("default:Checked", "False")
  Q_PROPERTY(bool AllowGrayed READ AllowGrayed WRITE SetAllowGrayed)
  Q_CLASSINFO("default:AllowGrayed", "False")
  Q_PROPERTY(Kel::Gui::TCheckBoxState State READ State WRITE SetState)
  Q_CLASSINFO("default:State", "cbUnchecked")

 public:
  Q_INVOKABLE explicit TCheckBox(QWidget* parent = nullptr);

  QString Caption() const { return text(); }
  void SetCaption(const QString& value) { setText(value); }
  bool Checked() const { return isChecked(); }
  void SetChecked(bool value) { setChecked(value); }
  bool AllowGrayed() const { return isTristate(); }
  void SetAllowGrayed(bool value) { setTristate(value); }
  TCheckBoxState State() const;
  void SetState(TCheckBoxState value);
};

class KEL_PLATFORM_EXPORT TRadioButton : public QRadioButton, public TClickable {
  Q_OBJECT
  Q_PROPERTY(QString Caption READ Caption WRITE SetCaption)
  Q_PROPERTY(bool Checked READ Checked WRITE SetChecked)
  Q_CLASSINFO("default:Checked", "False")

 public:
  Q_INVOKABLE explicit TRadioButton(QWidget* parent = nullptr);

  QString Caption() const { return text(); }
  void SetCaption(const QString& value) { setText(value); }
  bool Checked() const { return isChecked(); }
  void SetChecked(bool value) { setChecked(value); }
};

}  // namespace Kel
