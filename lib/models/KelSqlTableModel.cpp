#include "KelSqlTableModel.h"

#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlQueryModel>
#include <QSqlRecord>

#include "KelBoxLink_p.h"
#include "KelModelFields.h"
#include "QtValues.h"
#include "RestoreOnExit.h"

namespace Kel {

namespace {

// Prepares sql, binds the values in order and runs it.
bool RunPrepared(QSqlQuery& query, const QString& sql, const std::vector<Variant>& values) {
  if (!query.prepare(sql)) return false;
  for (const Variant& value : values) query.addBindValue(VariantToQt(value, ftUnknown));
  return query.exec();
}

bool SameValues(const std::vector<Variant>& a, const std::vector<Variant>& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (a[i].VarType() != b[i].VarType() || !a[i].Same(b[i])) return false;
  return true;
}

}  // namespace

TKelSqlTableModel::TKelSqlTableModel(QObject* parent, const QSqlDatabase& db)
    : QSqlTableModel(parent, db),
      fields_(std::make_unique<TKelModelFields>()),
      box_(std::make_unique<TKelBoxLink>(this, *fields_, [this] { FollowBox(); })) {
  fields_->SetModel(this);
  connect(fields_.get(), &TKelModelFields::Changed, this, [this] { box_->FieldsChanged(); });
}

TKelSqlTableModel::~TKelSqlTableModel() = default;

void TKelSqlTableModel::SetBoundFilter(const TKelSqlWithParams& filter) {
  boundValues_ = filter.Values;
  QSqlTableModel::setFilter(filter.Text);
}

void TKelSqlTableModel::setFilter(const QString& filter) {
  boundValues_.clear();
  QSqlTableModel::setFilter(filter);
}

// Qt's select() is what drops the edits the model keeps; run on a statement that selects no row
// it costs one quick query. Then the statement with the bound values runs prepared.
bool TKelSqlTableModel::select() {
  if (boundValues_.empty()) return QSqlTableModel::select();
  {
    RestoreOnExit<bool> nothing(selectingNothing_, true);
    if (!QSqlTableModel::select()) return false;
  }
  QSqlQuery query(database());
  if (!RunPrepared(query, selectStatement(), boundValues_)) {
    // The model keeps the empty result, and with it the table's columns for the next select.
    setLastError(query.lastError());
    return false;
  }
  QSqlQueryModel::setQuery(std::move(query));
  return true;
}

QString TKelSqlTableModel::selectStatement() const {
  if (!selectingNothing_) return QSqlTableModel::selectStatement();
  const QString columns =
      database().driver()->sqlStatement(QSqlDriver::SelectStatement, tableName(), record(), false);
  return columns.isEmpty() ? columns : columns + QStringLiteral(" WHERE 1=0");
}

TKelFltBox* TKelSqlTableModel::FilterBox() const { return box_->Box(); }

void TKelSqlTableModel::SetFilterBox(TKelFltBox* box) { box_->SetBox(box); }

void TKelSqlTableModel::FollowBox() {
  const TKelSqlWithParams where = box_->Box()->Builder()->SQLFilterWithParams();
  if (where.Text == filter() && SameValues(where.Values, boundValues_)) return;
  SetBoundFilter(where);
  // Qt's model selects on a new filter only once it was selected.
  if (!query().isActive()) select();
  if (lastError().isValid()) emit FilterFailed(lastError().text());
}

bool SetQueryWithParams(QSqlQueryModel& model, const TKelSqlWithParams& statement,
                        const QSqlDatabase& db) {
  QSqlQuery query(db);
  const bool ran = RunPrepared(query, statement.Text, statement.Values);
  // A query that did not run leaves its error with the model.
  model.setQuery(std::move(query));
  return ran;
}

}  // namespace Kel
