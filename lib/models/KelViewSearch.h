#pragma once
// TKelViewSearch: finding the first, next, prior or last row of a Qt item view whose values
// satisfy a condition of the filter language (a filter box's Expression), over whatever model
// the view shows. Part of unit KelModels.
//
// The condition names the model's columns as TKelModelFields names them; it runs compiled over
// the model's values, read once per column and then followed row by row as the model changes.
// A row found becomes the view's current index (its column kept) and is selected and scrolled
// to; nothing found leaves the view as it was. Next and prior start beside the current row and,
// with SearchInLoop, go round the end. A condition that does not parse or that fails on a row
// raises its exception to the caller.

#include <QPointer>
#include <QString>
#include <memory>

#include "DBTypes.h"
#include "KelExport.h"

class QAbstractItemView;
class QAbstractItemModel;

namespace Kel {

class TKelModelColumns;
class TKelModelCondition;
class TKelModelFields;

class KEL_EXPORT TKelViewSearch : public QObject {
  Q_OBJECT

 public:
  explicit TKelViewSearch(QAbstractItemView* view, QObject* parent = nullptr);
  ~TKelViewSearch() override;

  QAbstractItemView* View() const;
  // The view's model's columns as the condition names them.
  TKelModelFields* Fields() const { return fields_.get(); }

  QString Expression() const { return expression_; }
  void SetExpression(const QString& text);
  TFilterOptions Options() const { return options_; }
  void SetOptions(TFilterOptions options);
  bool SearchInLoop() const { return searchInLoop_; }
  void SetSearchInLoop(bool value) { searchInLoop_ = value; }

  bool FindFirst();
  bool FindNext();
  bool FindPrior();
  bool FindLast();

 private:
  // Follows the view's model (another model may have been set since).
  void FollowModel();
  TKelModelCondition& Condition();
  // The first row from `from` in steps of `step` (+1 or -1) that holds, within the rows; -1.
  int Scan(int from, int step);
  bool Find(int from, int step, bool loop);
  void Select(int row);

  QPointer<QAbstractItemView> view_;
  std::unique_ptr<TKelModelFields> fields_;
  std::unique_ptr<TKelModelColumns> columns_;
  std::unique_ptr<TKelModelCondition> condition_;
  QString expression_;
  TFilterOptions options_;
  bool searchInLoop_ = false;
};

}  // namespace Kel
