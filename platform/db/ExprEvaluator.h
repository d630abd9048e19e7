#pragma once
// TExprEvaluator: evaluates a canned expression (CannedExpr.h) on one record at a time, with the
// meaning of the condition language: the one place where nodes, operators, functions and
// compare nodes get their meaning. Field values come from a pluggable lookup, so the same
// evaluator serves the dataset filter (values of the current or a given record) and the
// library's expression evaluator (values of a live dataset, of its own fields or of an event).
// Values are Variants; comparisons and arithmetic follow the variant rules (Variant.h).
//
// Node evaluation:
//  - null, tuple, continue, user function, list: Null
//  - unary: the operator applied to the operand and an empty second operand
//  - binary: right operand, then left, then the operator
//  - field: the lookup's value; constant: its value (CannedExpr.h)
//  - function: the lower-cased name looked up in the function table, arguments evaluated into
//    a list in order; an unknown name gives Null
//  - list element: the chain from this element, as a 1-based Variant array
//  - compare: by the compare rule chosen at construction (below)
//
// Operators: 0 Null; 1 and 37 IS NULL; 2 IS NOT NULL; 3-8 = <> > < >= <= by the variant
// comparison (Null = Null holds, Null <> x holds, orderings with Null are false); 9 NOT, 10 AND,
// 11 OR (three-valued with Null); 15 unary minus; 16-19 + - * / (real division); 20, 21 mod;
// 22, 27 Null; 30 LIKE (LikeMask.h; Null when an operand is Null); 31 IN (the right operand
// must be an array; true when an element equals the left); 33, 34 upper/lower-cased text
// (Null stays Null); anything else Null.
//
// Functions: upper(s), lower(s), substring(s [, from [, count]]) (1-based; count defaults to
// the length of s), trim(s) (blanks and control characters), trimleft(s [, c]) and
// trimright(s [, c]) (characters equal to the first of c, default " "), year/month/day(d),
// hour/minute/second(t), getdate() (today), date(x) (whole days of x + 1e-11), time(x) (the time
// of day to the millisecond). A Null argument, or a missing one, gives Null.
//
// Compare rules:
//  - ccrFilter (datasets): operands become strings, upper-cased when the node is
//    case-insensitive; LIKE matches them; with a partial length p, = holds when the left text
//    begins with the first p characters of the right one; otherwise = <> < > <= >= compare the
//    texts by code. Null operands behave as in the variant comparison (LIKE with Null is Null).
//  - ccrEitherPrefix (the library's search evaluator): operands become strings (Null as
//    empty), upper-cased when the node is case-insensitive; LIKE matches them; every other
//    operator holds when either text begins with the other, an empty text matching nothing;
//    <> negates that. The partial length is not used.

#include <QByteArray>
#include <QString>
#include <functional>
#include <vector>

#include "CannedExpr.h"
#include "PlatformExport.h"
#include "Variant.h"

namespace Kel {

enum TCompareNodeRule { ccrFilter, ccrEitherPrefix };

// Supplies the value of a field: its number in the expression's field list (1-based; 0 when
// unknown) and its name.
using TFieldValueLookup = std::function<Variant(int fieldNo, const QString& fieldName)>;

// A node of the decoded expression; children are indexes into Nodes(), -1 when absent.
struct TExprNode {
  TNodeClass Class = nodeNull;
  uint32_t Operator = coNotDefined;
  int Left = -1;   // unary operand, binary/compare left, list element value, first argument
  int Right = -1;  // binary/compare right, next list element
  bool CaseInsensitive = false;
  int PartialLength = 0;
  int FieldNo = 0;
  QString Name;   // field name; function name in lower case
  Variant Value;  // constant
};

class KEL_PLATFORM_EXPORT TExprEvaluator {
 public:
  // Decodes the canned expression once; raises EDatabaseError for a damaged buffer.
  explicit TExprEvaluator(const QByteArray& canned, TCompareNodeRule rule = ccrFilter);
  explicit TExprEvaluator(const TCannedExpr& expression, TCompareNodeRule rule = ccrFilter);

  // The value of the whole expression.
  Variant Evaluate(const TFieldValueLookup& lookup) const { return EvaluateNode(root_, lookup); }
  // Whether the expression holds: its value is True (or converts to true); Null and empty do
  // not hold.
  bool Matches(const TFieldValueLookup& lookup) const { return IsTrue(Evaluate(lookup)); }
  static bool IsTrue(const Variant& value) { return !value.IsEmptyOrNull() && value.AsBoolean(); }

  Variant EvaluateNode(int index, const TFieldValueLookup& lookup) const;

  const std::vector<TExprNode>& Nodes() const { return nodes_; }
  int Root() const { return root_; }
  TCompareNodeRule CompareRule() const { return rule_; }

 private:
  void Decode(const TCannedExpr& expression);
  Variant EvaluateCompare(const TExprNode& node, const TFieldValueLookup& lookup) const;
  Variant EvaluateList(int index, const TFieldValueLookup& lookup) const;

  std::vector<TExprNode> nodes_;
  int root_ = -1;
  TCompareNodeRule rule_;
};

// The operator table and the function table, for whoever evaluates nodes by hand.
KEL_PLATFORM_EXPORT Variant ApplyExprOperator(uint32_t op, const Variant& left,
                                              const Variant& right);
KEL_PLATFORM_EXPORT Variant ApplyExprFunction(const QString& lowerName,
                                              const std::vector<Variant>& args);
// A compare node's meaning on two values.
KEL_PLATFORM_EXPORT Variant ApplyCompareNode(TCompareNodeRule rule, uint32_t op,
                                             bool caseInsensitive, int partialLength,
                                             const Variant& left, const Variant& right);

}  // namespace Kel
