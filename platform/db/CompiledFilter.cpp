#include "CompiledFilter.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace Kel {

struct TCompiledFilter::Node {
  enum Op : uint8_t {
    And,
    Or,
    Not,
    ConstTri,
    BoolColumn,
    IsNull,
    IsNotNull,
    IntCmp,        // integer column with an integer constant
    IntFloatCmp,   // integer column with a floating constant: compared as doubles
    FloatCmp,      // float column with a number: compared as doubles
    DateCmp,       // date-time column with a number: compared by DateTimeOrderKey
    CurrIntCmp,    // currency column with an integer or currency constant: scaled integers
    CurrFloatCmp,  // currency column with a floating constant: compared as doubles
    BoolCmp,
    StrCmp,
    StrCompareNode,
    StrLike,
    InInt,
    InFloat,
    InDate,  // Doubles holds the order keys of the wanted date-times
    InStr,
    Fallback,
  };

  Op Kind = Fallback;
  uint32_t Cmp = coEQ;
  bool MayThrow = false;
  bool BooleanSafe = true;  // the result is Boolean or Null (usable by AND, OR, NOT)
  int A = -1;
  int B = -1;
  const TColumn* Column = nullptr;
  int64_t Int = 0;
  __int128 Scaled = 0;
  double Double = 0;
  QString Str;
  std::vector<int64_t> Ints;
  std::vector<double> Doubles;
  std::vector<QString> Strings;
  std::shared_ptr<TLikeMask> Mask;
  bool CaseInsensitive = false;
  int PartialLength = 0;
  int Const = 2;         // ConstTri
  int ExprNode = -1;     // Fallback
  mutable QString Fold;  // scratch for case folding, reused from record to record
};

namespace {

constexpr int kFalse = 0;
constexpr int kTrue = 1;
constexpr int kNull = 2;
constexpr int kUnordered = 2;  // a comparison with NaN or Null

// left AND right / left OR right, three-valued, indexed by kFalse, kTrue, kNull.
constexpr uint8_t AndTable[3][3] = {{0, 0, 0}, {0, 1, 2}, {0, 2, 2}};
constexpr uint8_t OrTable[3][3] = {{0, 1, 2}, {1, 1, 1}, {2, 1, 2}};
// NOT value, three-valued, indexed the same way.
constexpr uint8_t NotTable[3] = {1, 0, 2};

bool IsIntegerKind(const Variant& v) {
  switch (v.VarType()) {
    case varSmallint:
    case varInteger:
    case varByte:
    case varInt64:
      return true;
    default:
      return false;
  }
}

bool IsFloatingKind(const Variant& v) {
  return v.VarType() == varDouble || v.VarType() == varSingle || v.VarType() == varDate;
}

template <typename T>
int Order(T a, T b) {
  return a < b ? -1 : (a > b ? 1 : 0);
}

int OrderDoubles(double a, double b) {
  if (std::isnan(a) || std::isnan(b)) return kUnordered;
  return Order(a, b);
}

// The outcome of a comparison operator for an order (-1, 0, 1, or unordered), as the variant
// comparison gives it: unordered values are "not equal" and fail every ordering.
int Outcome(uint32_t op, int order) {
  if (order == kUnordered) return op == coNE ? kTrue : kFalse;
  switch (op) {
    case coEQ:
      return order == 0;
    case coNE:
      return order != 0;
    case coGT:
      return order > 0;
    case coLT:
      return order < 0;
    case coGE:
      return order >= 0;
    case coLE:
      return order <= 0;
    default:
      return kFalse;
  }
}

// Whether value equals an element of list (a NaN equals nothing, as in the variant comparison).
template <typename T>
bool Among(const T& value, const std::vector<T>& list) {
  return std::find(list.begin(), list.end(), value) != list.end();
}

// "constant op column" as "column op' constant".
uint32_t Flipped(uint32_t op) {
  switch (op) {
    case coGT:
      return coLT;
    case coLT:
      return coGT;
    case coGE:
      return coLE;
    case coLE:
      return coGE;
    default:
      return op;
  }
}

// Upper-cases a stored text the way AnsiUpperCase does; plain ASCII goes through a reused buffer.
QStringView Folded(const QString& text, QString& scratch) {
  const qsizetype n = text.size();
  const QChar* source = text.constData();
  bool ascii = true;
  for (qsizetype i = 0; i < n && ascii; ++i) ascii = source[i].unicode() < 128;
  if (!ascii) {
    scratch = text.toUpper();
    return scratch;
  }
  scratch.resize(n);
  QChar* target = scratch.data();
  for (qsizetype i = 0; i < n; ++i) {
    const char16_t c = source[i].unicode();
    target[i] = QChar(c >= u'a' && c <= u'z' ? char16_t(c - 32) : c);
  }
  return scratch;
}

}  // namespace

TCompiledFilter::TCompiledFilter(const TExprEvaluator& evaluator, const TFilterRowSource& source)
    : evaluator_(evaluator), source_(source) {
  lookup_ = [this](int fieldNo, const QString& name) {
    return source_.ValueAt(fieldNo, name, row_);
  };
  root_ = Compile(evaluator_.Root());
  rootIsValue_ = !nodes_[static_cast<size_t>(root_)].BooleanSafe;
}

TCompiledFilter::~TCompiledFilter() = default;

int TCompiledFilter::Add(Node node) {
  nodes_.push_back(std::move(node));
  return static_cast<int>(nodes_.size()) - 1;
}

int TCompiledFilter::FallbackCount() const {
  // Only nodes that the root reaches: a logic node that fell back leaves its compiled operands
  // unused behind it.
  int count = 0;
  std::vector<int> pending{root_};
  while (!pending.empty()) {
    const Node& node = nodes_[static_cast<size_t>(pending.back())];
    pending.pop_back();
    if (node.Kind == Node::Fallback) ++count;
    if (node.A >= 0) pending.push_back(node.A);
    if (node.B >= 0) pending.push_back(node.B);
  }
  return count;
}

const TColumn* TCompiledFilter::StoredColumn(int exprNode) const {
  const TExprNode& node = evaluator_.Nodes()[static_cast<size_t>(exprNode)];
  return node.Class == nodeField ? source_.ColumnOf(node.FieldNo) : nullptr;
}

bool TCompiledFilter::IsBooleanSafe(int exprNode) const {
  const TExprNode& node = evaluator_.Nodes()[static_cast<size_t>(exprNode)];
  switch (node.Class) {
    case nodeBinary:
      if (node.Operator == coAND || node.Operator == coOR)
        return IsBooleanSafe(node.Left) && IsBooleanSafe(node.Right);
      return (node.Operator >= coEQ && node.Operator <= coLE) || node.Operator == coLike ||
             node.Operator == coIn;
    case nodeUnary:
      if (node.Operator == coNOT) return IsBooleanSafe(node.Left);
      return node.Operator == coIsBlank || node.Operator == coNotBlank || node.Operator == coIsNull;
    case nodeCompare:
    case nodeNull:
      return true;
    case nodeConst:
      return node.Value.VarType() == varBoolean || node.Value.IsNull();
    case nodeField: {
      const TColumn* column = StoredColumn(exprNode);
      return column && column->Kind() == TColumnKind::Bool;
    }
    default:
      return false;
  }
}

int TCompiledFilter::Fallback(int exprNode) {
  Node node;
  node.Kind = Node::Fallback;
  node.ExprNode = exprNode;
  node.MayThrow = true;
  node.BooleanSafe = IsBooleanSafe(exprNode);
  return Add(std::move(node));
}

int TCompiledFilter::Compile(int exprNode) {
  const TExprNode& e = evaluator_.Nodes()[static_cast<size_t>(exprNode)];
  switch (e.Class) {
    case nodeBinary:
      if (e.Operator == coAND || e.Operator == coOR) {
        const int a = Compile(e.Left);
        const int b = Compile(e.Right);
        const Node& left = nodes_[static_cast<size_t>(a)];
        const Node& right = nodes_[static_cast<size_t>(b)];
        if (!left.BooleanSafe || !right.BooleanSafe) return Fallback(exprNode);
        Node node;
        node.Kind = e.Operator == coAND ? Node::And : Node::Or;
        node.A = a;
        node.B = b;
        node.MayThrow = left.MayThrow || right.MayThrow;
        return Add(std::move(node));
      }
      if (e.Operator >= coEQ && e.Operator <= coLE) return CompileComparison(exprNode);
      if (e.Operator == coLike) return CompileLike(exprNode);
      if (e.Operator == coIn) return CompileIn(exprNode);
      return Fallback(exprNode);
    case nodeUnary:
      if (e.Operator == coNOT) {
        const int a = Compile(e.Left);
        const Node& operand = nodes_[static_cast<size_t>(a)];
        if (!operand.BooleanSafe) return Fallback(exprNode);
        Node node;
        node.Kind = Node::Not;
        node.A = a;
        node.MayThrow = operand.MayThrow;
        return Add(std::move(node));
      }
      if (e.Operator == coIsBlank || e.Operator == coNotBlank || e.Operator == coIsNull)
        return CompileIsNull(exprNode);
      return Fallback(exprNode);
    case nodeCompare:
      return CompileCompareNode(exprNode);
    case nodeConst:
      if (e.Value.VarType() == varBoolean || e.Value.IsNull()) {
        Node node;
        node.Kind = Node::ConstTri;
        node.Const = e.Value.IsNull() ? kNull : (e.Value.AsBoolean() ? kTrue : kFalse);
        return Add(std::move(node));
      }
      return Fallback(exprNode);
    case nodeNull: {
      Node node;
      node.Kind = Node::ConstTri;
      node.Const = kNull;
      return Add(std::move(node));
    }
    case nodeField: {
      const TColumn* column = StoredColumn(exprNode);
      if (column && column->Kind() == TColumnKind::Bool) {
        Node node;
        node.Kind = Node::BoolColumn;
        node.Column = column;
        return Add(std::move(node));
      }
      return Fallback(exprNode);
    }
    default:
      return Fallback(exprNode);
  }
}

bool TCompiledFilter::ColumnAndConstant(const TExprNode& e, bool mayMirror, const TColumn*& column,
                                        const TExprNode*& constant, uint32_t& op) const {
  const auto& all = evaluator_.Nodes();
  column = StoredColumn(e.Left);
  constant = &all[static_cast<size_t>(e.Right)];
  op = e.Operator;
  if (column && constant->Class == nodeConst) return true;
  if (!mayMirror) return false;
  // "constant op column": symmetric for = and <> and mirrored for orderings.
  column = StoredColumn(e.Right);
  constant = &all[static_cast<size_t>(e.Left)];
  op = Flipped(op);
  return column && constant->Class == nodeConst;
}

int TCompiledFilter::CompileComparison(int exprNode) {
  const TExprNode& e = evaluator_.Nodes()[static_cast<size_t>(exprNode)];
  const TColumn* column = nullptr;
  const TExprNode* constant = nullptr;
  uint32_t op = coEQ;
  if (!ColumnAndConstant(e, true, column, constant, op)) return Fallback(exprNode);
  const Variant& k = constant->Value;
  if (k.IsEmptyOrNull()) return Fallback(exprNode);
  // A date against a column of plain numbers compares as date-times; rare enough for Variants.
  if (k.VarType() == varDate && column->Kind() != TColumnKind::DateTime) return Fallback(exprNode);
  Node node;
  node.Column = column;
  node.Cmp = op;
  switch (column->Kind()) {
    case TColumnKind::Int:
      if (IsIntegerKind(k)) {
        node.Kind = Node::IntCmp;
        node.Int = k.AsInt64();
      } else if (IsFloatingKind(k)) {
        node.Kind = Node::IntFloatCmp;
        node.Double = k.AsDouble();
      } else {
        return Fallback(exprNode);
      }
      break;
    case TColumnKind::Float:
      if (!IsIntegerKind(k) && !IsFloatingKind(k)) return Fallback(exprNode);
      node.Kind = Node::FloatCmp;
      node.Double = k.AsDouble();
      break;
    case TColumnKind::DateTime:
      if (!IsIntegerKind(k) && !IsFloatingKind(k) && k.VarType() != varCurrency)
        return Fallback(exprNode);
      node.Kind = Node::DateCmp;
      node.Double = DateTimeOrderKey(k.AsDouble());
      break;
    case TColumnKind::Currency:
      if (IsIntegerKind(k)) {
        node.Kind = Node::CurrIntCmp;
        node.Scaled = static_cast<__int128>(k.AsInt64()) * Currency::Scale;
      } else if (k.VarType() == varCurrency) {
        node.Kind = Node::CurrIntCmp;
        node.Scaled = k.AsCurrency().Scaled;
      } else if (IsFloatingKind(k)) {
        node.Kind = Node::CurrFloatCmp;
        node.Double = k.AsDouble();
      } else {
        return Fallback(exprNode);
      }
      break;
    case TColumnKind::Bool:
      if (k.VarType() != varBoolean) return Fallback(exprNode);
      node.Kind = Node::BoolCmp;
      node.Int = k.AsBoolean() ? 1 : 0;
      break;
    case TColumnKind::String:
      if (!k.IsString()) return Fallback(exprNode);
      node.Kind = Node::StrCmp;
      node.Str = k.StringRef();
      break;
    default:
      return Fallback(exprNode);
  }
  return Add(std::move(node));
}

int TCompiledFilter::CompileIsNull(int exprNode) {
  const TExprNode& e = evaluator_.Nodes()[static_cast<size_t>(exprNode)];
  const TColumn* column = StoredColumn(e.Left);
  if (!column) return Fallback(exprNode);
  Node node;
  node.Kind = e.Operator == coNotBlank ? Node::IsNotNull : Node::IsNull;
  node.Column = column;
  return Add(std::move(node));
}

int TCompiledFilter::CompileLike(int exprNode) {
  const TExprNode& e = evaluator_.Nodes()[static_cast<size_t>(exprNode)];
  const TColumn* column = StoredColumn(e.Left);
  const TExprNode& mask = evaluator_.Nodes()[static_cast<size_t>(e.Right)];
  if (!column || column->Kind() != TColumnKind::String || mask.Class != nodeConst ||
      !mask.Value.IsString())
    return Fallback(exprNode);
  Node node;
  node.Kind = Node::StrLike;
  node.Column = column;
  node.Mask = std::make_shared<TLikeMask>(mask.Value.StringRef());
  return Add(std::move(node));
}

int TCompiledFilter::CompileCompareNode(int exprNode) {
  if (evaluator_.CompareRule() != ccrFilter) return Fallback(exprNode);
  const TExprNode& e = evaluator_.Nodes()[static_cast<size_t>(exprNode)];
  const TColumn* column = nullptr;
  const TExprNode* constant = nullptr;
  uint32_t op = coEQ;
  // A partial comparison or LIKE reads its operands in one direction only.
  const bool mayMirror = e.Operator != coLike && e.PartialLength == 0;
  if (!ColumnAndConstant(e, mayMirror, column, constant, op)) return Fallback(exprNode);
  if (column->Kind() != TColumnKind::String || !constant->Value.IsString())
    return Fallback(exprNode);
  if (op != coLike && (op < coEQ || op > coLE)) return Fallback(exprNode);
  Node node;
  node.Kind = Node::StrCompareNode;
  node.Column = column;
  node.Cmp = op;
  node.CaseInsensitive = e.CaseInsensitive;
  node.PartialLength = e.PartialLength;
  node.Str =
      e.CaseInsensitive ? constant->Value.StringRef().toUpper() : constant->Value.StringRef();
  if (op == coLike) node.Mask = std::make_shared<TLikeMask>(node.Str);
  return Add(std::move(node));
}

int TCompiledFilter::CompileIn(int exprNode) {
  const TExprNode& e = evaluator_.Nodes()[static_cast<size_t>(exprNode)];
  const auto& all = evaluator_.Nodes();
  const TColumn* column = StoredColumn(e.Left);
  if (!column || e.Right < 0 || all[static_cast<size_t>(e.Right)].Class != nodeListElem)
    return Fallback(exprNode);
  std::vector<Variant> values;
  for (int element = e.Right; element >= 0; element = all[static_cast<size_t>(element)].Right) {
    const TExprNode& value = all[static_cast<size_t>(all[static_cast<size_t>(element)].Left)];
    if (value.Class != nodeConst || value.Value.IsEmptyOrNull()) return Fallback(exprNode);
    values.push_back(value.Value);
  }
  Node node;
  node.Column = column;
  auto all_of = [&values](auto predicate) {
    for (const Variant& v : values)
      if (!predicate(v)) return false;
    return true;
  };
  switch (column->Kind()) {
    case TColumnKind::Int:
      if (!all_of(IsIntegerKind)) return Fallback(exprNode);
      node.Kind = Node::InInt;
      for (const Variant& v : values) node.Ints.push_back(v.AsInt64());
      break;
    case TColumnKind::Float:
      // A date in the list compares as a date-time: left to the Variants.
      if (!all_of([](const Variant& v) {
            return IsIntegerKind(v) || (IsFloatingKind(v) && v.VarType() != varDate);
          }))
        return Fallback(exprNode);
      node.Kind = Node::InFloat;
      for (const Variant& v : values) node.Doubles.push_back(v.AsDouble());
      break;
    case TColumnKind::DateTime:
      if (!all_of([](const Variant& v) { return IsIntegerKind(v) || IsFloatingKind(v); }))
        return Fallback(exprNode);
      node.Kind = Node::InDate;
      for (const Variant& v : values) node.Doubles.push_back(DateTimeOrderKey(v.AsDouble()));
      break;
    case TColumnKind::String:
      if (!all_of([](const Variant& v) { return v.IsString(); })) return Fallback(exprNode);
      node.Kind = Node::InStr;
      for (const Variant& v : values) node.Strings.push_back(v.StringRef());
      break;
    default:
      return Fallback(exprNode);
  }
  return Add(std::move(node));
}

Variant TCompiledFilter::EvaluateFallback(int exprNode, int row) const {
  row_ = row;
  return evaluator_.EvaluateNode(exprNode, lookup_);
}

int TCompiledFilter::Tri(int index, int row) const {
  const Node& n = nodes_[static_cast<size_t>(index)];
  switch (n.Kind) {
    case Node::And:
    case Node::Or: {
      const bool isAnd = n.Kind == Node::And;
      const int decisive = isAnd ? kFalse : kTrue;  // decides the result alone
      int x, y;
      if (n.MayThrow) {
        // The evaluator's order: right operand first, both always.
        y = Tri(n.B, row);
        x = Tri(n.A, row);
      } else {
        x = Tri(n.A, row);
        if (x == decisive) return decisive;
        y = Tri(n.B, row);
      }
      return (isAnd ? AndTable : OrTable)[x][y];
    }
    case Node::Not:
      return NotTable[Tri(n.A, row)];
    case Node::ConstTri:
      return n.Const;
    case Node::BoolColumn:
      return n.Column->IsNull(row) ? kNull : (n.Column->BoolAt(row) ? kTrue : kFalse);
    case Node::IsNull:
      return n.Column->IsNull(row) ? kTrue : kFalse;
    case Node::IsNotNull:
      return n.Column->IsNull(row) ? kFalse : kTrue;
    case Node::IntCmp:
      if (n.Column->IsNull(row)) return Outcome(n.Cmp, kUnordered);
      return Outcome(n.Cmp, Order(n.Column->IntAt(row), n.Int));
    case Node::IntFloatCmp:
      if (n.Column->IsNull(row)) return Outcome(n.Cmp, kUnordered);
      return Outcome(n.Cmp, OrderDoubles(static_cast<double>(n.Column->IntAt(row)), n.Double));
    case Node::FloatCmp:
      if (n.Column->IsNull(row)) return Outcome(n.Cmp, kUnordered);
      return Outcome(n.Cmp, OrderDoubles(n.Column->DoubleAt(row), n.Double));
    case Node::DateCmp:
      if (n.Column->IsNull(row)) return Outcome(n.Cmp, kUnordered);
      return Outcome(n.Cmp, OrderDoubles(DateTimeOrderKey(n.Column->DoubleAt(row)), n.Double));
    case Node::CurrIntCmp:
      if (n.Column->IsNull(row)) return Outcome(n.Cmp, kUnordered);
      return Outcome(n.Cmp, Order(static_cast<__int128>(n.Column->IntAt(row)), n.Scaled));
    case Node::CurrFloatCmp:
      if (n.Column->IsNull(row)) return Outcome(n.Cmp, kUnordered);
      return Outcome(n.Cmp,
                     OrderDoubles(Currency::FromScaled(n.Column->IntAt(row)).ToDouble(), n.Double));
    case Node::BoolCmp:
      if (n.Column->IsNull(row)) return Outcome(n.Cmp, kUnordered);
      return Outcome(n.Cmp, Order<int64_t>(n.Column->BoolAt(row) ? 1 : 0, n.Int));
    case Node::StrCmp: {
      if (n.Column->IsNull(row)) return Outcome(n.Cmp, kUnordered);
      const QString& value = n.Column->StringAt(row);
      if (n.Cmp == coEQ || n.Cmp == coNE)
        return (value == n.Str) == (n.Cmp == coEQ) ? kTrue : kFalse;
      const int order = QStringView(value).compare(n.Str, Qt::CaseSensitive);
      return Outcome(n.Cmp, order < 0 ? -1 : (order > 0 ? 1 : 0));
    }
    case Node::StrCompareNode: {
      if (n.Column->IsNull(row)) return n.Cmp == coLike ? kNull : Outcome(n.Cmp, kUnordered);
      const QString& stored = n.Column->StringAt(row);
      const QStringView value = n.CaseInsensitive ? Folded(stored, n.Fold) : QStringView(stored);
      if (n.Cmp == coLike) return n.Mask->Matches(value) ? kTrue : kFalse;
      if (n.PartialLength > 0 && (n.Cmp == coEQ || n.Cmp == coNE)) {
        const bool match = value.startsWith(QStringView(n.Str).left(n.PartialLength));
        return match == (n.Cmp == coEQ) ? kTrue : kFalse;
      }
      const int order = value.compare(n.Str, Qt::CaseSensitive);
      return Outcome(n.Cmp, order < 0 ? -1 : (order > 0 ? 1 : 0));
    }
    case Node::StrLike:
      if (n.Column->IsNull(row)) return kNull;
      return n.Mask->Matches(n.Column->StringAt(row)) ? kTrue : kFalse;
    case Node::InInt:
      return !n.Column->IsNull(row) && Among(n.Column->IntAt(row), n.Ints) ? kTrue : kFalse;
    case Node::InFloat:
      return !n.Column->IsNull(row) && Among(n.Column->DoubleAt(row), n.Doubles) ? kTrue : kFalse;
    case Node::InDate:
      return !n.Column->IsNull(row) && Among(DateTimeOrderKey(n.Column->DoubleAt(row)), n.Doubles)
                 ? kTrue
                 : kFalse;
    case Node::InStr:
      return !n.Column->IsNull(row) && Among(n.Column->StringAt(row), n.Strings) ? kTrue : kFalse;
    case Node::Fallback: {
      const Variant value = EvaluateFallback(n.ExprNode, row);
      if (value.IsNull()) return kNull;
      return TExprEvaluator::IsTrue(value) ? kTrue : kFalse;
    }
  }
  return kNull;
}

bool TCompiledFilter::Matches(int row) const {
  if (rootIsValue_) {
    const Node& root = nodes_[static_cast<size_t>(root_)];
    return TExprEvaluator::IsTrue(EvaluateFallback(root.ExprNode, row));
  }
  return Tri(root_, row) == kTrue;
}

Variant TCompiledFilter::Value(int row) const {
  const Node& root = nodes_[static_cast<size_t>(root_)];
  if (rootIsValue_) return EvaluateFallback(root.ExprNode, row);
  switch (Tri(root_, row)) {
    case kTrue:
      return Variant(true);
    case kFalse:
      return Variant(false);
    default:
      return Variant::Null();
  }
}

namespace {

constexpr int BatchSize = 1024;

// One comparison operator over a run of rows: the operator is chosen once, outside the loop.
// Plain comparisons give the variant outcome also for NaN (unordered: only <> holds); Null
// values give what a Null operand gives.
template <typename Value>
void CompareRun(uint32_t op, const TColumn& column, Value value, int begin, int count, uint8_t* out,
                auto get) {
  const uint8_t ifNull = op == coNE ? kTrue : kFalse;
  auto loop = [&](auto compare) {
    for (int i = 0; i < count; ++i) {
      const int row = begin + i;
      out[i] = column.IsNull(row) ? ifNull : static_cast<uint8_t>(compare(get(row), value));
    }
  };
  switch (op) {
    case coEQ:
      loop([](auto a, auto b) { return a == b; });
      break;
    case coNE:
      loop([](auto a, auto b) { return a != b; });
      break;
    case coGT:
      loop([](auto a, auto b) { return a > b; });
      break;
    case coLT:
      loop([](auto a, auto b) { return a < b; });
      break;
    case coGE:
      loop([](auto a, auto b) { return a >= b; });
      break;
    case coLE:
      loop([](auto a, auto b) { return a <= b; });
      break;
    default:
      std::fill(out, out + count, kFalse);
      break;
  }
}

// = or <> of a stored text and a constant over a run of rows. Only texts as long as the
// constant are read; each string lies in a block of its own, so those of the rows ahead are
// fetched into the cache while the current ones are compared. A row takes a few nanoseconds
// here and a fetch from memory a hundred: the rows fetched lie far enough ahead to arrive in
// time, past the end of the run too (the next run starts there).
void EqualStringsRun(bool equal, const TColumn& column, const QString& wanted, int begin, int count,
                     uint8_t* out) {
  constexpr int Ahead = 64;
  const qsizetype size = wanted.size();
  const uint8_t ifNull = equal ? kFalse : kTrue;
  const int rows = column.Size();
  for (int i = 0; i < count; ++i) {
    const int row = begin + i;
    if (row + Ahead < rows) {
      const QString& ahead = column.StringAt(row + Ahead);
      if (ahead.size() == size) __builtin_prefetch(ahead.constData());
    }
    if (column.IsNull(row)) {
      out[i] = ifNull;
      continue;
    }
    const QString& value = column.StringAt(row);
    const bool same =
        value.size() == size && std::memcmp(value.constData(), wanted.constData(),
                                            static_cast<size_t>(size) * sizeof(QChar)) == 0;
    out[i] = same == equal ? kTrue : kFalse;
  }
}

}  // namespace

int TCompiledFilter::Depth(int index) const {
  const Node& node = nodes_[static_cast<size_t>(index)];
  int depth = 0;
  if (node.A >= 0) depth = std::max(depth, 1 + Depth(node.A));
  if (node.B >= 0) depth = std::max(depth, 1 + Depth(node.B));
  return depth;
}

void TCompiledFilter::TriBatch(int index, int begin, int count, uint8_t* out, int depth) const {
  const Node& n = nodes_[static_cast<size_t>(index)];
  const TColumn* c = n.Column;
  switch (n.Kind) {
    case Node::And:
    case Node::Or: {
      // One buffer per depth, made before the first batch: deeper calls never move it.
      uint8_t* right = scratch_[static_cast<size_t>(depth)].data();
      TriBatch(n.A, begin, count, out, depth + 1);
      TriBatch(n.B, begin, count, right, depth + 1);
      const auto& table = n.Kind == Node::And ? AndTable : OrTable;
      for (int i = 0; i < count; ++i) out[i] = table[out[i]][right[i]];
      return;
    }
    case Node::Not:
      TriBatch(n.A, begin, count, out, depth + 1);
      for (int i = 0; i < count; ++i) out[i] = NotTable[out[i]];
      return;
    case Node::IntCmp:
      CompareRun(n.Cmp, *c, n.Int, begin, count, out, [c](int row) { return c->IntAt(row); });
      return;
    case Node::IntFloatCmp:
      CompareRun(n.Cmp, *c, n.Double, begin, count, out,
                 [c](int row) { return static_cast<double>(c->IntAt(row)); });
      return;
    case Node::FloatCmp:
      CompareRun(n.Cmp, *c, n.Double, begin, count, out, [c](int row) { return c->DoubleAt(row); });
      return;
    case Node::DateCmp:
      CompareRun(n.Cmp, *c, n.Double, begin, count, out,
                 [c](int row) { return DateTimeOrderKey(c->DoubleAt(row)); });
      return;
    case Node::CurrIntCmp:
      CompareRun(n.Cmp, *c, n.Scaled, begin, count, out,
                 [c](int row) { return static_cast<__int128>(c->IntAt(row)); });
      return;
    case Node::StrCmp:
      if (n.Cmp == coEQ || n.Cmp == coNE) {
        EqualStringsRun(n.Cmp == coEQ, *c, n.Str, begin, count, out);
        return;
      }
      break;
    case Node::IsNull:
    case Node::IsNotNull: {
      const uint8_t ifNull = n.Kind == Node::IsNull ? kTrue : kFalse;
      for (int i = 0; i < count; ++i)
        out[i] = c->IsNull(begin + i) ? ifNull : static_cast<uint8_t>(1 - ifNull);
      return;
    }
    default:
      break;
  }
  for (int i = 0; i < count; ++i) out[i] = static_cast<uint8_t>(Tri(index, begin + i));
}

bool TCompiledFilter::Batchable() const {
  return !rootIsValue_ && !nodes_[static_cast<size_t>(root_)].MayThrow;
}

void TCompiledFilter::Outcomes(int begin, int count, uint8_t* out) const {
  if (scratch_.empty())
    scratch_.assign(static_cast<size_t>(Depth(root_)) + 1, std::vector<uint8_t>(BatchSize));
  for (int done = 0; done < count; done += BatchSize)
    TriBatch(root_, begin + done, std::min(BatchSize, count - done), out + done, 0);
}

std::vector<int> TCompiledFilter::Select(int rowCount) const {
  std::vector<int> rows;
  if (!Batchable()) {
    // Record by record, so that an error surfaces where the evaluator would raise it.
    for (int row = 0; row < rowCount; ++row)
      if (Matches(row)) rows.push_back(row);
    return rows;
  }
  uint8_t results[BatchSize];
  for (int begin = 0; begin < rowCount; begin += BatchSize) {
    const int count = std::min(BatchSize, rowCount - begin);
    Outcomes(begin, count, results);
    for (int i = 0; i < count; ++i)
      if (results[i] == kTrue) rows.push_back(begin + i);
  }
  return rows;
}

}  // namespace Kel
