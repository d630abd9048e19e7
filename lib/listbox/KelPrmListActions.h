#pragma once
// The commands of the parameter list box as actions, so that menus and tool bars of an
// application can offer them: each action works on its ParamList (a list box, forgotten when
// that box is destroyed), says by Update whether it is enabled and visible there, and runs its
// command on Execute. The list box makes one of each for its own context menu.
//
// The six images (add, delete, indent, outdent, open, save) are drawn here, at 16 x 16 and at
// 32 x 32 for screens at scale 2, in the palette's text and link colours.

#include <QAction>
#include <QIcon>
#include <QList>
#include <QPointer>

#include "KelExport.h"

namespace Kel {

class TKelPrmListBox;

enum TKelPrmListImage { piAdd, piDelete, piIndent, piOutdent, piOpen, piSave };

// The six images of the list box's commands, in TKelPrmListImage order.
KEL_EXPORT const QList<QIcon>& PrmListImages();

class KEL_EXPORT TKelPrmListAction : public QAction {
  Q_OBJECT

 public:
  explicit TKelPrmListAction(QObject* owner = nullptr);

  TKelPrmListBox* ParamList() const { return paramList_; }
  void SetParamList(TKelPrmListBox* value) { paramList_ = value; }
  // Whether target is a list box this action can work on (its ParamList or any list box).
  bool HandlesTarget(QObject* target) const;
  // Enabled and visible states from the box's state and options (disabled without a box).
  void Update();
  // Runs the command on the box.
  void Execute();

 protected:
  // Caption (translated), image index (-1: none) and shortcut of the command.
  void Init(const char* caption, int image, const QKeySequence& shortcut);
  virtual bool IsEnabledFor(TKelPrmListBox* box) const = 0;
  virtual bool IsVisibleFor(TKelPrmListBox* box) const = 0;
  virtual void ExecuteOn(TKelPrmListBox* box) = 0;

 private:
  QPointer<TKelPrmListBox> paramList_;
};

class KEL_EXPORT TKelPrmListAdd : public TKelPrmListAction {
  Q_OBJECT

 public:
  explicit TKelPrmListAdd(QObject* owner = nullptr);

 protected:
  bool IsEnabledFor(TKelPrmListBox* box) const override;
  bool IsVisibleFor(TKelPrmListBox* box) const override;
  void ExecuteOn(TKelPrmListBox* box) override;
};

class KEL_EXPORT TKelPrmListDelete : public TKelPrmListAction {
  Q_OBJECT

 public:
  explicit TKelPrmListDelete(QObject* owner = nullptr);

 protected:
  bool IsEnabledFor(TKelPrmListBox* box) const override;
  bool IsVisibleFor(TKelPrmListBox* box) const override;
  void ExecuteOn(TKelPrmListBox* box) override;
};

class KEL_EXPORT TKelPrmListIndent : public TKelPrmListAction {
  Q_OBJECT

 public:
  explicit TKelPrmListIndent(QObject* owner = nullptr);

 protected:
  bool IsEnabledFor(TKelPrmListBox* box) const override;
  bool IsVisibleFor(TKelPrmListBox* box) const override;
  void ExecuteOn(TKelPrmListBox* box) override;
};

class KEL_EXPORT TKelPrmListOutDent : public TKelPrmListAction {
  Q_OBJECT

 public:
  explicit TKelPrmListOutDent(QObject* owner = nullptr);

 protected:
  bool IsEnabledFor(TKelPrmListBox* box) const override;
  bool IsVisibleFor(TKelPrmListBox* box) const override;
  void ExecuteOn(TKelPrmListBox* box) override;
};

class KEL_EXPORT TKelPrmListLoad : public TKelPrmListAction {
  Q_OBJECT

 public:
  explicit TKelPrmListLoad(QObject* owner = nullptr);

 protected:
  bool IsEnabledFor(TKelPrmListBox* box) const override;
  bool IsVisibleFor(TKelPrmListBox* box) const override;
  void ExecuteOn(TKelPrmListBox* box) override;
};

class KEL_EXPORT TKelPrmListSave : public TKelPrmListAction {
  Q_OBJECT

 public:
  explicit TKelPrmListSave(QObject* owner = nullptr);

 protected:
  bool IsEnabledFor(TKelPrmListBox* box) const override;
  bool IsVisibleFor(TKelPrmListBox* box) const override;
  void ExecuteOn(TKelPrmListBox* box) override;
};

class KEL_EXPORT TKelPrmListClear : public TKelPrmListAction {
  Q_OBJECT

 public:
  explicit TKelPrmListClear(QObject* owner = nullptr);

 protected:
  bool IsEnabledFor(TKelPrmListBox* box) const override;
  bool IsVisibleFor(TKelPrmListBox* box) const override;
  void ExecuteOn(TKelPrmListBox* box) override;
};

class KEL_EXPORT TKelPrmListSaveToMem : public TKelPrmListAction {
  Q_OBJECT

 public:
  explicit TKelPrmListSaveToMem(QObject* owner = nullptr);

 protected:
  bool IsEnabledFor(TKelPrmListBox* box) const override;
  bool IsVisibleFor(TKelPrmListBox* box) const override;
  void ExecuteOn(TKelPrmListBox* box) override;
};

class KEL_EXPORT TKelPrmListLoadFromMem : public TKelPrmListAction {
  Q_OBJECT

 public:
  explicit TKelPrmListLoadFromMem(QObject* owner = nullptr);

 protected:
  bool IsEnabledFor(TKelPrmListBox* box) const override;
  bool IsVisibleFor(TKelPrmListBox* box) const override;
  void ExecuteOn(TKelPrmListBox* box) override;
};

}  // namespace Kel
