#pragma once
// TKelModelFields: the columns of any Qt item model as fields, so that the filter builder, the
// filter box, the expression parser and the grid colours can work on a model instead of a
// dataset. Part of unit KelModels.
//
// A column's name is its horizontal header text (for a Qt SQL model the name of its result
// column, the header text then being its label); an empty header gives "Column<n>", a repeated
// name gets "_1", "_2", ... A column's type is, in order: a hint given for its name; for a Qt SQL
// model the type of its result column; else what the values of the first SampleRows rows are
// (integers, floats, Booleans, dates, times, text). Text that all reads as ISO dates ("2024-03-06"),
// date-times or times makes a date, date-time or time column, as SQLite keeps them.
//
// Values are read in ValueRole (the edit role by default, which models keep raw; a model that
// gives nothing there is read in the display role) and converted to the column's type.
//
// The catalogue follows the model: a change of its columns, headers or types (a reset, columns
// added or removed, an empty model receiving its first rows) is worked out at once and reported
// by Changed, only when something did change.

#include <QAbstractItemModel>
#include <QHash>
#include <QObject>
#include <QPointer>
#include <QString>
#include <vector>

#include "DBTypes.h"
#include "ExprParser.h"
#include "KelExport.h"
#include "Variant.h"

namespace Kel {

class TKelFields;
class TKelFltBld;
class TKelFltBoxFields;

class KEL_EXPORT TKelModelFields : public QObject {
  Q_OBJECT

 public:
  explicit TKelModelFields(QObject* parent = nullptr);
  ~TKelModelFields() override;

  QAbstractItemModel* Model() const { return model_; }
  void SetModel(QAbstractItemModel* model);

  // An explicit type for the column of that name (ignoring case): it wins over what the model
  // or the values say. ftUnknown removes the hint.
  void SetTypeHint(const QString& name, TFieldType type);
  int SampleRows() const { return sampleRows_; }
  void SetSampleRows(int rows);
  int ValueRole() const { return valueRole_; }
  void SetValueRole(int role);

  // ---- the columns
  int Count() const;
  QString Name(int column) const;
  // The header text the user sees.
  QString Label(int column) const;
  TFieldType DataType(int column) const;
  // For a Qt SQL model: the column's name as its driver quotes it in SQL text; else empty.
  QString SqlName(int column) const;
  // The column of a name (ignoring case), or -1.
  int ColumnOf(const QString& name) const;

  // A model value read as its column's type (Null when it does not read as one).
  Variant Value(int row, int column) const;
  Variant ValueOf(const QVariant& value, int column) const;

  // ---- the fields for the library's parts
  // For the expression parser: field number = column + 1.
  std::vector<TExprFieldInfo> ExprFields() const;
  // A builder's (or filter box's) explicit catalogue: every column but blobs, with its label,
  // type and, for SQL models, its quoted SQL name.
  void FillCatalogue(TKelFltBoxFields* fields) const;
  // Typed fields without values, for an evaluator's own Fields (grid colours over a model).
  void FillFields(TKelFields* fields) const;

 signals:
  void Changed();

 private:
  struct Column {
    QString Name;
    QString Label;
    QString SqlName;
    TFieldType Type = ftUnknown;
    bool operator==(const Column&) const = default;
  };
  void Refresh();
  void Watch();
  void RowsArrived();
  // fromNoRows: some type was left to values while the model had no rows.
  std::vector<Column> ReadColumns(bool& fromNoRows) const;
  TFieldType InferredType(int column) const;
  QVariant RawValue(int row, int column) const;

  QPointer<QAbstractItemModel> model_;
  std::vector<QMetaObject::Connection> connections_;
  std::vector<Column> columns_;
  QHash<QString, TFieldType> hints_;  // by lower-cased name
  int sampleRows_ = 100;
  int valueRole_ = Qt::EditRole;
  bool typesFromNoRows_ = false;  // inferred with no rows to look at: the first rows decide
};

}  // namespace Kel
