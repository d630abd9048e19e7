#pragma once
// What a screen reader meets in the library's popups and in the lookup list:
//   a popup         a dialog named by what it is ("Choice list", "Popup calendar", ...) holding
//                   its content; while it edits a list box parameter it is that parameter's
//                   child, while it lists the months of a calendar it is that month header's
//                   child, so a reader finds it from the control that opened it;
//   a lookup list   a list whose child i is the row of record i, named by the texts the row
//                   shows, selected with the picked record, focused with the current one.

#include <QAccessibleWidget>

#include "KelAccessibleChildren_p.h"

namespace Kel {

class TDBLookupListBox;

class TKelAccessiblePopup : public QAccessibleWidget {
 public:
  explicit TKelAccessiblePopup(QWidget* widget);

  QAccessibleInterface* parent() const override;
  QAccessible::State state() const override;
};

class TKelAccessibleLookupList : public QAccessibleWidget {
 public:
  explicit TKelAccessibleLookupList(QWidget* widget);

  TDBLookupListBox* List() const;
  int childCount() const override;
  QAccessibleInterface* child(int index) const override;
  int indexOfChild(const QAccessibleInterface* child) const override;
  QAccessibleInterface* childAt(int x, int y) const override;

 private:
  mutable TKelAccessibleChildren<int> rows_;
};

}  // namespace Kel
