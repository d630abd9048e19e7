#pragma once
// Inside unit KelModels: the values of a model's columns read once into typed columns (the
// record store's TColumn) and conditions compiled over them (CompiledFilter.h), shared by the
// filter proxy and the search over a view.
//
// A column is read when a condition first needs its rows (block by block, so that a first
// filter judges each block while its values are still in the processor's cache; and within a
// block only the rows the condition's earlier operands leave undecided) and then kept:
// it follows the model row by row (rows added, removed or changed are read or dropped alone). What may reorder or retype
// the rows (a reset, a layout change, moved rows, other columns, a new field catalogue, or many
// rows added or removed in the middle) drops every column, to be read again when needed; the
// owner then compiles its conditions again (OnReset).

#include <QObject>
#include <QPointer>
#include <functional>
#include <memory>
#include <vector>

#include "CompiledFilter.h"
#include "DBTypes.h"
#include "ExprEvaluator.h"

class QAbstractItemModel;

namespace Kel {

class TExprParser;
class TKelModelFields;

// The rows of one column that a condition passed by: a Null stands in the column there until
// they are read. Kept per row of the column while any is unread, nothing otherwise.
class TKelUnreadRows {
 public:
  bool Any() const { return count_ > 0; }
  bool Has(int row) const { return count_ > 0 && flags_[static_cast<size_t>(row)] != 0; }
  // Whether a row of begin..end-1 with need[row - begin] != 0 (any, without need) is unread.
  bool AnyNeeded(int begin, int end, const uint8_t* need) const;
  // The column grew to rows by rows that were read.
  void Grew(int rows);
  // A row appended to the column, read or passed by.
  void Appended(int row, bool read);
  void Inserted(int first, int count);
  void Erased(int first, int end);
  void MarkRead(int row);
  void Clear();

 private:
  std::vector<uint8_t> flags_;  // 1 for each unread row
  int count_ = 0;
};

class TKelModelColumns : public QObject, public TFilterRowSource {
 public:
  explicit TKelModelColumns(const TKelModelFields& fields, QObject* parent = nullptr);
  ~TKelModelColumns() override;

  // Follows model. The owner connects its own handlers to the model after this call, so that
  // the columns have followed the model when they run.
  void SetModel(QAbstractItemModel* model);
  int RowCount() const { return rows_; }
  // How many values were read from the model so far.
  int64_t ValuesRead() const { return valuesRead_; }

  // Reads every column a condition asked for in rows begin..end-1 (and those before begin that
  // were never looked at).
  void EnsureRows(int begin, int end) const;

  // A condition's column, read only as far as EnsureRows, EnsureValues or ValueAt asked.
  const TColumn* ColumnOf(int fieldNo) const override;
  Variant ValueAt(int fieldNo, const QString& fieldName, int row) const override;
  bool ReadsOnDemand() const override { return true; }
  void EnsureValues(const TColumn& column, int begin, int count,
                    const uint8_t* need) const override;

  // After the columns followed the model: rows first..last added, removed or changed.
  std::function<void(int first, int last)> OnRowsInserted;
  std::function<void(int first, int last)> OnRowsRemoved;
  std::function<void(int first, int last)> OnRowsChanged;
  // Every column was dropped: compiled conditions must be compiled again.
  std::function<void()> OnReset;

 private:
  void Reset();
  void RowsInserted(int first, int last);
  void RowsRemoved(int first, int last);
  void DataChanged(const QModelIndex& topLeft, const QModelIndex& bottomRight,
                   const QList<int>& roles);
  TColumn* Column(int column) const;
  int IndexOf(const TColumn& column) const;
  // A value of the model as column c's field keeps it.
  Variant Read(int row, int c) const;
  Variant Converted(QVariant value, const QModelIndex& index, int c) const;
  void InsertRead(TColumn& column, int row, int c) const;
  // Reads rows Size()..end-1 of column c.
  void ReadOn(int c, int end) const;
  // Reads the rows of begin..end-1 still unread (those with need[row - begin] != 0 when need
  // is given), below the column's Size().
  void ReadSkipped(int c, int begin, int end, const uint8_t* need) const;
  // Reads every row of begin..end-1 of column c not read yet (and those before begin that were
  // never looked at).
  void ReadRows(int c, int begin, int end) const;

  const TKelModelFields& fields_;
  QPointer<QAbstractItemModel> model_;
  std::vector<QMetaObject::Connection> connections_;
  // Per model column: null until a condition asks for it, then read up to its Size().
  mutable std::vector<std::unique_ptr<TColumn>> columns_;
  // Per model column: the rows a condition passed by.
  mutable std::vector<TKelUnreadRows> unread_;
  mutable int64_t valuesRead_ = 0;
  int rows_ = 0;
};

// A condition text parsed against a model's fields and compiled over its columns.
class TKelModelCondition {
 public:
  // Parses text with poExtSyntax (raises EExprParserError for a text that does not parse).
  TKelModelCondition(const TKelModelFields& fields, TKelModelColumns& columns, const QString& text,
                     TFilterOptions options, TCompareNodeRule rule);
  ~TKelModelCondition();
  TKelModelCondition(const TKelModelCondition&) = delete;
  TKelModelCondition& operator=(const TKelModelCondition&) = delete;

  const QString& Text() const { return text_; }
  // Forgets the compiled form (the columns were dropped); the next question compiles again.
  void Uncompile() { compiled_.reset(); }
  // Whether the condition holds for a row (raises what the evaluator raises).
  bool Matches(int row);
  // Whether it holds for rows begin..begin+count-1: out[i] is 1 or 0 (raises as Matches).
  void Select(int begin, int count, uint8_t* out);

 private:
  const TCompiledFilter& Compiled();

  TKelModelColumns& columns_;
  QString text_;
  std::unique_ptr<TExprParser> parser_;
  std::unique_ptr<TExprEvaluator> evaluator_;
  std::unique_ptr<TCompiledFilter> compiled_;
};

}  // namespace Kel
