#pragma once
// Filtering on the database server for Qt's SQL models, with every value a bound parameter.
// Part of unit KelModels.
//
// TKelSqlTableModel is a QSqlTableModel (edit strategies, sorting, lazy fetching all as there)
// whose WHERE condition may hold "?" placeholders with values bound to them (SetBoundFilter):
// select() then prepares the statement and binds the values, so no value is ever read as SQL,
// whatever quotes, backslashes or placeholder-looking text it holds. Bound to a filter box, the
// model offers its table's columns in the box (with their SQL names as the driver quotes them)
// and selects with the box's conditions after every change (also before a first select()). A
// select that fails leaves the model empty with lastError() set.
//
// SetQueryWithParams runs a whole statement with bound values on any QSqlQueryModel, for
// instance a filter builder's SQLWithParams.

#include <QSqlTableModel>
#include <memory>
#include <vector>

#include "KelExport.h"
#include "KelFltBld.h"

class QSqlQueryModel;

namespace Kel {

class TKelBoxLink;
class TKelFltBox;
class TKelModelFields;

class KEL_EXPORT TKelSqlTableModel : public QSqlTableModel {
  Q_OBJECT

 public:
  explicit TKelSqlTableModel(QObject* parent = nullptr, const QSqlDatabase& db = QSqlDatabase());
  ~TKelSqlTableModel() override;

  // The table's columns as fields.
  TKelModelFields* Fields() const { return fields_.get(); }

  // The condition after WHERE with its "?" placeholders, and the values bound to them in order.
  // An empty text selects every row. A model that has selected selects again.
  void SetBoundFilter(const TKelSqlWithParams& filter);
  const std::vector<Variant>& BoundValues() const { return boundValues_; }
  // A condition without bound values, as Qt's model takes it.
  void setFilter(const QString& filter) override;
  bool select() override;

  TKelFltBox* FilterBox() const;
  // The box offers the table's columns and drives the condition; nullptr lets go of it.
  void SetFilterBox(TKelFltBox* box);

 signals:
  // Selecting with the box's condition failed (lastError() holds the driver's message).
  void FilterFailed(const QString& message);

 protected:
  QString selectStatement() const override;

 private:
  void FollowBox();

  std::unique_ptr<TKelModelFields> fields_;
  std::vector<Variant> boundValues_;
  bool selectingNothing_ = false;
  std::unique_ptr<TKelBoxLink> box_;
};

// Runs statement on db, its values bound to the "?" placeholders, and shows the result in
// model. False when the statement fails; model.lastError() then says why.
KEL_EXPORT bool SetQueryWithParams(QSqlQueryModel& model, const TKelSqlWithParams& statement,
                                   const QSqlDatabase& db);

}  // namespace Kel
