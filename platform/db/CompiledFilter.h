#pragma once
// TCompiledFilter: a canned expression compiled for fast filtering of stored records. Field
// references are resolved once to the columns of a record store, and the shapes a filter is
// made of become typed nodes that read values where they lie: integers, doubles and Booleans
// from their vectors, texts as views of the column's buffer. Compiled are: a stored column
// compared with a constant (=, <>, <, >, <=, >=, compare nodes of either compare rule, partial
// comparisons), LIKE, IN, IS [NOT] NULL, AND / OR / NOT; the text functions upper, lower, trim,
// trimleft, trimright, substring (and the upper-casing of case-insensitive filters) over a text
// column; year, month, day, hour, minute, second, date and time over a date-time column;
// getdate() as the constant of a date-time comparison; any subtree without fields (folded to
// its value once). A condition on a text column kept as dictionary codes is decided once per
// distinct text and then looked up by code. Nothing is allocated per record (except to
// upper-case texts beyond ASCII).
//
// Anything else (arithmetic on fields, two fields compared, calculated and lookup fields,
// conversions between strings and numbers or dates) is evaluated by the shared evaluator
// (ExprEvaluator.h) over Variants, so every filter gives exactly the records that the evaluator
// would give, errors included: typed nodes are used only where they cannot differ and cannot
// fail, and where a subtree may raise, both operands of AND / OR are evaluated in the
// evaluator's order.

#include <QString>
#include <memory>
#include <vector>

#include "ExprEvaluator.h"
#include "LikeMask.h"
#include "PlatformExport.h"
#include "RecordStore.h"

namespace Kel {

// Where a compiled filter finds the values of a record.
class KEL_PLATFORM_EXPORT TFilterRowSource {
 public:
  virtual ~TFilterRowSource() = default;
  // The stored column that holds field fieldNo (1-based), or nullptr when the field's values are
  // computed (calculated and lookup fields) or unknown.
  virtual const TColumn* ColumnOf(int fieldNo) const = 0;
  // The value of a field in a row, as the evaluator would get it.
  virtual Variant ValueAt(int fieldNo, const QString& fieldName, int row) const = 0;

  // A source that reads its values on demand (from somewhere slower than memory) is asked for
  // just the rows a condition still needs: before a run of rows is judged on a column,
  // EnsureValues(column, begin, count, need) makes the rows begin+i with need[i] != 0 (every row
  // of the run when need is null) hold their values; the other rows may hold anything valid.
  // A stored source holds every value already.
  virtual bool ReadsOnDemand() const { return false; }
  virtual void EnsureValues(const TColumn& column, int begin, int count,
                            const uint8_t* need) const {
    (void)column, (void)begin, (void)count, (void)need;
  }
};

class KEL_PLATFORM_EXPORT TCompiledFilter {
 public:
  // evaluator and source must outlive the compiled filter.
  TCompiledFilter(const TExprEvaluator& evaluator, const TFilterRowSource& source);
  ~TCompiledFilter();

  // Whether the condition holds for a row (raises what the evaluator would raise).
  bool Matches(int row) const;
  // The condition's value for a row, as the evaluator gives it: True, False or Null (or, for a
  // condition that is no comparison or logic, whatever the evaluator makes of it).
  Variant Value(int row) const;
  // The rows of 0..rowCount-1 for which the condition holds, in order.
  std::vector<int> Select(int rowCount) const;
  // The same, written over rows (whose capacity is used again).
  void Select(int rowCount, std::vector<int>& rows) const;
  // Whether runs of rows can be evaluated at once: the condition reads stored columns only and
  // cannot raise.
  bool Batchable() const;
  // The outcomes of rows begin..begin+count-1 (0 false, 1 true, 2 Null); only when Batchable.
  void Outcomes(int begin, int count, uint8_t* out) const;
  // How many subtrees fall back to Variant evaluation (0: fully compiled).
  int FallbackCount() const;

  struct Node;

 private:
  struct TextOperand;
  struct DateOperand;

  int Compile(int exprNode);
  int CompileComparison(int exprNode);
  int CompileColumnComparison(int exprNode, const TColumn* column, uint32_t op, const Variant& k,
                              bool today);
  int CompileDateComparison(int exprNode, const DateOperand& date, uint32_t op, const Variant& k,
                            bool today);
  int CompileCompareNode(int exprNode);
  int CompileLike(int exprNode);
  int CompileIn(int exprNode);
  int CompileIsNull(int exprNode);
  int AddText(Node node, const TextOperand& text);
  int Fallback(int exprNode);
  int Add(Node node);
  // 0 false, 1 true, 2 null
  int Tri(int node, int row) const;
  // The same for count rows from begin at once, into out; only for nodes that cannot raise.
  void TriBatch(int node, int begin, int count, uint8_t* out, int depth) const;
  // The same over a source that reads on demand: the right side of AND / OR is read only for the
  // rows its left side leaves undecided (need: the rows whose outcome counts; null for all).
  void TriBatchOnDemand(int node, int begin, int count, uint8_t* out, int depth,
                        const uint8_t* need) const;
  void TextBatch(const Node& node, int begin, int count, uint8_t* out) const;
  int TextTri(const Node& node, int row) const;
  int Depth(int node) const;
  Variant EvaluateFallback(int exprNode, int row) const;
  const TColumn* StoredColumn(int exprNode) const;
  // A text column seen through text functions, or false.
  bool TextOperandOf(int exprNode, TextOperand& operand) const;
  // A date-time column seen through a date function, or false.
  bool DateOperandOf(int exprNode, DateOperand& operand) const;
  // The value of a subtree that reads no field (getdate() only as a whole: then today is set
  // and the value is worked out per run), or false; a subtree that raises is no constant.
  bool ConstantOf(int exprNode, Variant& value, bool& today) const;
  bool IsConstantTree(int exprNode) const;
  bool IsBooleanSafe(int exprNode) const;
  // Today's date for getdate(), taken once per entry into the filter.
  void TakeToday() const;

  const TExprEvaluator& evaluator_;
  const TFilterRowSource& source_;
  std::vector<Node> nodes_;
  int root_ = -1;
  bool rootIsValue_ = false;  // the root is no condition: its value decides as IsTrue does
  mutable int row_ = -1;      // the row the Variant lookup reads
  std::vector<int> todayNodes_;  // nodes comparing with getdate()
  mutable std::vector<std::vector<uint8_t>> scratch_;  // per depth of the batch evaluation
  mutable std::vector<std::vector<uint8_t>> needScratch_;  // the same for TriBatchOnDemand
  TFieldValueLookup lookup_;
};

}  // namespace Kel
