#include "CompiledFilter.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <functional>

#include "AsciiChars_p.h"
#include "DateUtils.h"

namespace Kel {

namespace {

// One text function applied to a stored text, as the evaluator applies it.
struct TextStep {
  enum Kind : uint8_t { Upper, Lower, Trim, TrimLeft, TrimRight, Substring };
  Kind Op = Upper;
  char16_t Char = u' ';  // TrimLeft, TrimRight: the character removed
  bool Keep = false;     // TrimLeft, TrimRight: no character given (an empty text): unchanged
  int From = 1;          // Substring: 1-based
  int Count = -1;        // Substring: -1 for the length of the text
};

// What a date function makes of a date-time.
enum class DateFunction : uint8_t { None, Year, Month, Day, Hour, Minute, Second, Date, Time };

}  // namespace

struct TCompiledFilter::TextOperand {
  const TColumn* Column = nullptr;
  std::vector<TextStep> Steps;
};

struct TCompiledFilter::DateOperand {
  const TColumn* Column = nullptr;
  DateFunction Function = DateFunction::None;
};

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
    DatePartCmp,   // year(D) ... second(D) with a number
    DateFnCmp,     // date(D), time(D) with a number or date: by DateTimeOrderKey
    Text,          // a text column (through text functions) under a TextTest
    InInt,
    InFloat,
    InDate,  // Doubles holds the order keys of the wanted date-times
    Fallback,
  };
  // What a Text node asks of the (transformed) text.
  enum TextTest : uint8_t {
    Equal,         // = or <> (Cmp)
    Order,         // < > <= >= (Cmp), by code
    Like,          // Mask
    Partial,       // begins with Str (Cmp = or <>)
    Among,         // IN Strings
    EitherPrefix,  // either text begins with the other, an empty one matching nothing (Cmp <> negates)
  };

  Op Kind = Fallback;
  TextTest Test = Equal;
  uint32_t Cmp = coEQ;
  bool MayThrow = false;
  bool BooleanSafe = true;  // the result is Boolean or Null (usable by AND, OR, NOT)
  bool IntegerConstant = true;  // DatePartCmp: Int holds the constant, else Double
  int A = -1;
  int B = -1;
  const TColumn* Column = nullptr;
  int64_t Int = 0;
  __int128 Scaled = 0;
  mutable double Double = 0;  // getdate() comparisons take today's key per run
  DateFunction Function = DateFunction::None;
  QString Str;
  std::vector<int64_t> Ints;
  std::vector<double> Doubles;
  std::vector<QString> Strings;
  std::shared_ptr<TLikeMask> Mask;
  std::vector<TextStep> Steps;
  uint8_t NullOutcome = 2;  // Text: the outcome for a Null value
  int Const = 2;            // ConstTri
  int ExprNode = -1;        // Fallback
  mutable QString Scratch[2];  // texts made by the steps, reused from record to record
  // Dictionary columns: the outcome per code (Unknown until worked out), for codes of the
  // column's generation CodeGeneration.
  mutable std::vector<uint8_t> CodeOutcomes;
  mutable uint64_t CodeGeneration = 0;
};

namespace {

constexpr int kFalse = 0;
constexpr int kTrue = 1;
constexpr int kNull = 2;
constexpr int kUnordered = 2;  // a comparison with NaN or Null
constexpr uint8_t kUnknown = 3;  // a code whose outcome is not worked out yet

// left AND right / left OR right, three-valued, indexed by kFalse, kTrue, kNull.
constexpr uint8_t AndTable[3][3] = {{0, 0, 0}, {0, 1, 2}, {0, 2, 2}};
constexpr uint8_t OrTable[3][3] = {{0, 1, 2}, {1, 1, 1}, {2, 1, 2}};
// NOT value, three-valued, indexed the same way.
constexpr uint8_t NotTable[3] = {1, 0, 2};

bool IsFloatingVariant(const Variant& v) {
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

// Upper- or lower-cases a text the way AnsiUpperCase / AnsiLowerCase do, into target; plain
// ASCII goes through the reused buffer without allocating.
QStringView CaseFolded(QStringView text, bool upper, QString& target) {
  const qsizetype n = text.size();
  bool ascii = true;
  for (qsizetype i = 0; i < n && ascii; ++i) ascii = text[i].unicode() < 128;
  if (!ascii) {
    target = upper ? text.toString().toUpper() : text.toString().toLower();
    return target;
  }
  if (target.size() < n) target.resize(n);
  QChar* out = target.data();
  for (qsizetype i = 0; i < n; ++i) {
    char16_t c = text[i].unicode();
    if (upper && c >= u'a' && c <= u'z') c = char16_t(c - 32);
    if (!upper && c >= u'A' && c <= u'Z') c = char16_t(c + 32);
    out[i] = QChar(c);
  }
  return QStringView(out, n);
}

// The text after the steps; texts that steps make lie in the node's two scratch buffers, used
// in turn so that a step never writes over the text it reads.
QStringView Transformed(const std::vector<TextStep>& steps, QStringView text, QString* scratch) {
  int next = 0;
  for (const TextStep& step : steps) {
    switch (step.Op) {
      case TextStep::Upper:
      case TextStep::Lower:
        text = CaseFolded(text, step.Op == TextStep::Upper, scratch[next]);
        next = 1 - next;
        break;
      case TextStep::Trim:
        while (!text.isEmpty() && IsBlankOrControl(text.front())) text = text.mid(1);
        while (!text.isEmpty() && IsBlankOrControl(text.back())) text.chop(1);
        break;
      case TextStep::TrimLeft:
        while (!step.Keep && !text.isEmpty() && text.front() == QChar(step.Char)) text = text.mid(1);
        break;
      case TextStep::TrimRight:
        while (!step.Keep && !text.isEmpty() && text.back() == QChar(step.Char)) text.chop(1);
        break;
      case TextStep::Substring: {
        // As Copy: from before 1 counts from 1; nothing from past the end or for no count.
        const qsizetype from = std::max(step.From, 1);
        const qsizetype count = step.Count < 0 ? text.size() : step.Count;
        if (count <= 0 || from > text.size()) {
          text = QStringView();
          break;
        }
        text = text.mid(from - 1, std::min(count, text.size() - (from - 1)));
        break;
      }
    }
  }
  return text;
}

// The outcome of a Text node's test for a text that is not Null.
int TextOutcome(const TCompiledFilter::Node& n, QStringView stored) {
  using Node = TCompiledFilter::Node;
  const QStringView value = n.Steps.empty() ? stored : Transformed(n.Steps, stored, n.Scratch);
  switch (n.Test) {
    case Node::Equal:
      return (value == QStringView(n.Str)) == (n.Cmp == coEQ) ? kTrue : kFalse;
    case Node::Order: {
      const int order = value.compare(n.Str, Qt::CaseSensitive);
      return Outcome(n.Cmp, order < 0 ? -1 : (order > 0 ? 1 : 0));
    }
    case Node::Like:
      return n.Mask->Matches(value) ? kTrue : kFalse;
    case Node::Partial:
      return value.startsWith(QStringView(n.Str)) == (n.Cmp == coEQ) ? kTrue : kFalse;
    case Node::Among:
      for (const QString& wanted : n.Strings)
        if (value == QStringView(wanted)) return kTrue;
      return kFalse;
    case Node::EitherPrefix: {
      const QStringView other(n.Str);
      const bool match = !value.isEmpty() && !other.isEmpty() &&
                         (value.startsWith(other) || other.startsWith(value));
      return match == (n.Cmp != coNE) ? kTrue : kFalse;
    }
  }
  return kNull;
}

int DatePart(DateFunction function, TDateTime value) {
  int a = 0, b = 0, c = 0, msec = 0;
  switch (function) {
    case DateFunction::Year:
    case DateFunction::Month:
    case DateFunction::Day:
      DecodeDate(value, a, b, c);
      return function == DateFunction::Year ? a : (function == DateFunction::Month ? b : c);
    default:
      DecodeTime(value, a, b, c, msec);
      return function == DateFunction::Hour ? a : (function == DateFunction::Minute ? b : c);
  }
}

// date(x) and time(x) as the evaluator works them out.
TDateTime DateFunctionValue(DateFunction function, TDateTime value) {
  if (function == DateFunction::Date) return std::trunc(value + 1e-11);
  return CanTimeToTime(TimeToCanTime(value));
}

DateFunction DateFunctionNamed(const QString& name) {
  static const std::pair<const char16_t*, DateFunction> names[] = {
      {u"year", DateFunction::Year},     {u"month", DateFunction::Month},
      {u"day", DateFunction::Day},       {u"hour", DateFunction::Hour},
      {u"minute", DateFunction::Minute}, {u"second", DateFunction::Second},
      {u"date", DateFunction::Date},     {u"time", DateFunction::Time}};
  for (const auto& [text, function] : names)
    if (name == QStringView(text)) return function;
  return DateFunction::None;
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

bool TCompiledFilter::IsConstantTree(int exprNode) const {
  if (exprNode < 0) return true;
  const TExprNode& node = evaluator_.Nodes()[static_cast<size_t>(exprNode)];
  switch (node.Class) {
    case nodeConst:
    case nodeNull:
      return true;
    case nodeField:
      return false;
    case nodeFunc:
      // Today changes while a filter stays.
      if (node.Name == u"getdate") return false;
      [[fallthrough]];
    default:
      return IsConstantTree(node.Left) && IsConstantTree(node.Right);
  }
}

bool TCompiledFilter::ConstantOf(int exprNode, Variant& value, bool& today) const {
  const TExprNode& node = evaluator_.Nodes()[static_cast<size_t>(exprNode)];
  today = false;
  if (node.Class == nodeConst) {
    value = node.Value;
    return true;
  }
  if (node.Class == nodeFunc && node.Name == u"getdate" && node.Left < 0) {
    today = true;
    value = Variant::FromDate(Date());
    return true;
  }
  if (node.Class == nodeListElem || !IsConstantTree(exprNode)) return false;
  try {
    value = evaluator_.EvaluateNode(exprNode, TFieldValueLookup());
  } catch (const std::exception&) {
    return false;  // left to the evaluator, which raises it where it would
  }
  return true;
}

bool TCompiledFilter::TextOperandOf(int exprNode, TextOperand& operand) const {
  const TExprNode& node = evaluator_.Nodes()[static_cast<size_t>(exprNode)];
  const auto& all = evaluator_.Nodes();
  if (node.Class == nodeField) {
    operand.Column = StoredColumn(exprNode);
    operand.Steps.clear();
    return operand.Column && operand.Column->Kind() == TColumnKind::String;
  }
  if (node.Class == nodeUnary && (node.Operator == coUpper || node.Operator == coLower)) {
    if (!TextOperandOf(node.Left, operand)) return false;
    operand.Steps.push_back({node.Operator == coUpper ? TextStep::Upper : TextStep::Lower});
    return true;
  }
  if (node.Class != nodeFunc || node.Left < 0) return false;
  // The arguments after the first: constants of the kinds the function reads.
  std::vector<Variant> rest;
  for (int element = all[static_cast<size_t>(node.Left)].Right; element >= 0;
       element = all[static_cast<size_t>(element)].Right) {
    const TExprNode& argument = all[static_cast<size_t>(all[static_cast<size_t>(element)].Left)];
    if (argument.Class != nodeConst || argument.Value.IsEmptyOrNull()) return false;
    rest.push_back(argument.Value);
  }
  TextStep step;
  if (node.Name == u"upper" || node.Name == u"lower" || node.Name == u"trim") {
    step.Op = node.Name == u"upper" ? TextStep::Upper
                                    : (node.Name == u"lower" ? TextStep::Lower : TextStep::Trim);
  } else if (node.Name == u"trimleft" || node.Name == u"trimright") {
    step.Op = node.Name == u"trimleft" ? TextStep::TrimLeft : TextStep::TrimRight;
    if (!rest.empty()) {
      if (!rest[0].IsString()) return false;
      step.Keep = rest[0].StringRef().isEmpty();
      if (!step.Keep) step.Char = rest[0].StringRef()[0].unicode();
    }
  } else if (node.Name == u"substring") {
    if (rest.size() > 2 ||
        !std::all_of(rest.begin(), rest.end(), std::mem_fn(&Variant::IsInteger)))
      return false;
    step.Op = TextStep::Substring;
    if (!rest.empty()) step.From = rest[0].AsInteger();
    if (rest.size() > 1) step.Count = std::max(rest[1].AsInteger(), 0);
  } else {
    return false;
  }
  const int first = all[static_cast<size_t>(node.Left)].Left;
  if (!TextOperandOf(first, operand)) return false;
  operand.Steps.push_back(step);
  return true;
}

bool TCompiledFilter::DateOperandOf(int exprNode, DateOperand& operand) const {
  const TExprNode& node = evaluator_.Nodes()[static_cast<size_t>(exprNode)];
  if (node.Class != nodeFunc || node.Left < 0) return false;
  const TExprNode& first = evaluator_.Nodes()[static_cast<size_t>(node.Left)];
  if (first.Right >= 0) return false;  // one argument only
  operand.Function = DateFunctionNamed(node.Name);
  operand.Column = StoredColumn(first.Left);
  return operand.Function != DateFunction::None && operand.Column &&
         operand.Column->Kind() == TColumnKind::DateTime;
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

// "subject op constant", or "constant op subject" with the operator mirrored.
int TCompiledFilter::CompileComparison(int exprNode) {
  const TExprNode& e = evaluator_.Nodes()[static_cast<size_t>(exprNode)];
  for (const bool mirrored : {false, true}) {
    const int subject = mirrored ? e.Right : e.Left;
    Variant k;
    bool today = false;
    if (!ConstantOf(mirrored ? e.Left : e.Right, k, today)) continue;
    if (k.IsEmptyOrNull()) return Fallback(exprNode);
    const uint32_t op = mirrored ? Flipped(e.Operator) : e.Operator;
    if (const TColumn* column = StoredColumn(subject))
      return CompileColumnComparison(exprNode, column, op, k, today);
    if (today) return Fallback(exprNode);
    TextOperand text;
    if (TextOperandOf(subject, text)) {
      if (!k.IsString()) return Fallback(exprNode);
      Node node;
      node.Test = op == coEQ || op == coNE ? Node::Equal : Node::Order;
      node.Cmp = op;
      node.Str = k.StringRef();
      node.NullOutcome = static_cast<uint8_t>(Outcome(op, kUnordered));
      return AddText(std::move(node), text);
    }
    DateOperand date;
    if (DateOperandOf(subject, date)) return CompileDateComparison(exprNode, date, op, k, false);
    return Fallback(exprNode);
  }
  return Fallback(exprNode);
}

int TCompiledFilter::CompileColumnComparison(int exprNode, const TColumn* column, uint32_t op,
                                             const Variant& k, bool today) {
  // A date against a column of plain numbers compares as date-times; rare enough for Variants.
  if (k.VarType() == varDate && column->Kind() != TColumnKind::DateTime) return Fallback(exprNode);
  if (today && column->Kind() != TColumnKind::DateTime) return Fallback(exprNode);
  Node node;
  node.Column = column;
  node.Cmp = op;
  switch (column->Kind()) {
    case TColumnKind::Int:
      if (k.IsInteger()) {
        node.Kind = Node::IntCmp;
        node.Int = k.AsInt64();
      } else if (IsFloatingVariant(k)) {
        node.Kind = Node::IntFloatCmp;
        node.Double = k.AsDouble();
      } else {
        return Fallback(exprNode);
      }
      break;
    case TColumnKind::Float:
      if (!k.IsInteger() && !IsFloatingVariant(k)) return Fallback(exprNode);
      node.Kind = Node::FloatCmp;
      node.Double = k.AsDouble();
      break;
    case TColumnKind::DateTime:
      if (!k.IsInteger() && !IsFloatingVariant(k) && k.VarType() != varCurrency)
        return Fallback(exprNode);
      node.Kind = Node::DateCmp;
      node.Double = DateTimeOrderKey(k.AsDouble());
      break;
    case TColumnKind::Currency:
      if (k.IsInteger()) {
        node.Kind = Node::CurrIntCmp;
        node.Scaled = static_cast<__int128>(k.AsInt64()) * Currency::Scale;
      } else if (k.VarType() == varCurrency) {
        node.Kind = Node::CurrIntCmp;
        node.Scaled = k.AsCurrency().Scaled;
      } else if (IsFloatingVariant(k)) {
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
    case TColumnKind::String: {
      if (!k.IsString()) return Fallback(exprNode);
      node.Test = op == coEQ || op == coNE ? Node::Equal : Node::Order;
      node.Str = k.StringRef();
      node.NullOutcome = static_cast<uint8_t>(Outcome(op, kUnordered));
      TextOperand text;
      text.Column = column;
      return AddText(std::move(node), text);
    }
    default:
      return Fallback(exprNode);
  }
  const int index = Add(std::move(node));
  if (today) todayNodes_.push_back(index);
  return index;
}

int TCompiledFilter::CompileDateComparison(int exprNode, const DateOperand& date, uint32_t op,
                                           const Variant& k, bool today) {
  Node node;
  node.Column = date.Column;
  node.Function = date.Function;
  node.Cmp = op;
  if (date.Function == DateFunction::Date || date.Function == DateFunction::Time) {
    if (!k.IsInteger() && !IsFloatingVariant(k)) return Fallback(exprNode);
    node.Kind = Node::DateFnCmp;
    node.Double = DateTimeOrderKey(k.AsDouble());
  } else {
    // An integer compared with a date compares as date-times: left to the Variants.
    if (today || k.VarType() == varDate) return Fallback(exprNode);
    node.Kind = Node::DatePartCmp;
    if (k.IsInteger()) {
      node.Int = k.AsInt64();
    } else if (IsFloatingVariant(k)) {
      node.IntegerConstant = false;
      node.Double = k.AsDouble();
    } else {
      return Fallback(exprNode);
    }
  }
  const int index = Add(std::move(node));
  if (today) todayNodes_.push_back(index);
  return index;
}

int TCompiledFilter::AddText(Node node, const TextOperand& text) {
  node.Kind = Node::Text;
  node.Column = text.Column;
  node.Steps = text.Steps;
  if (node.Test == Node::Like || (node.Test == Node::EitherPrefix && node.Cmp == coLike))
    node.Mask = std::make_shared<TLikeMask>(node.Str);
  if (node.Test == Node::EitherPrefix && node.Cmp == coLike) node.Test = Node::Like;
  return Add(std::move(node));
}

int TCompiledFilter::CompileIsNull(int exprNode) {
  const TExprNode& e = evaluator_.Nodes()[static_cast<size_t>(exprNode)];
  // Text and date functions give Null exactly for Null.
  TextOperand text;
  DateOperand date;
  const TColumn* column = StoredColumn(e.Left);
  if (!column && TextOperandOf(e.Left, text)) column = text.Column;
  if (!column && DateOperandOf(e.Left, date)) column = date.Column;
  if (!column) return Fallback(exprNode);
  Node node;
  node.Kind = e.Operator == coNotBlank ? Node::IsNotNull : Node::IsNull;
  node.Column = column;
  return Add(std::move(node));
}

int TCompiledFilter::CompileLike(int exprNode) {
  const TExprNode& e = evaluator_.Nodes()[static_cast<size_t>(exprNode)];
  TextOperand text;
  Variant mask;
  bool today = false;
  if (!TextOperandOf(e.Left, text) || !ConstantOf(e.Right, mask, today) || !mask.IsString())
    return Fallback(exprNode);
  Node node;
  node.Test = Node::Like;
  node.Str = mask.StringRef();
  node.NullOutcome = kNull;
  return AddText(std::move(node), text);
}

int TCompiledFilter::CompileCompareNode(int exprNode) {
  const TExprNode& e = evaluator_.Nodes()[static_cast<size_t>(exprNode)];
  const bool filterRule = evaluator_.CompareRule() == ccrFilter;
  // A partial comparison or LIKE reads its operands in one direction only; the either-prefix
  // rule reads both alike.
  const bool mayMirror = e.Operator != coLike && (e.PartialLength == 0 || !filterRule);
  for (const bool mirrored : {false, true}) {
    if (mirrored && !mayMirror) break;
    TextOperand text;
    Variant k;
    bool today = false;
    if (!TextOperandOf(mirrored ? e.Right : e.Left, text) ||
        !ConstantOf(mirrored ? e.Left : e.Right, k, today))
      continue;
    if (!k.IsString()) return Fallback(exprNode);
    const uint32_t op = mirrored ? Flipped(e.Operator) : e.Operator;
    if (op != coLike && (op < coEQ || op > coLE)) return Fallback(exprNode);
    Node node;
    node.Cmp = op;
    node.Str = e.CaseInsensitive ? k.StringRef().toUpper() : k.StringRef();
    if (e.CaseInsensitive) text.Steps.push_back({TextStep::Upper});
    if (!filterRule) {
      // Null reads as the empty text, which matches nothing but the LIKE masks it fits.
      node.Test = Node::EitherPrefix;
      const int index = AddText(std::move(node), text);
      Node& added = nodes_[static_cast<size_t>(index)];
      added.NullOutcome = static_cast<uint8_t>(TextOutcome(added, QStringView(u"")));
      return index;
    }
    if (op == coLike) {
      node.Test = Node::Like;
      node.NullOutcome = kNull;
    } else if (e.PartialLength > 0 && (op == coEQ || op == coNE)) {
      node.Test = Node::Partial;
      node.Str = node.Str.left(e.PartialLength);
      node.NullOutcome = static_cast<uint8_t>(Outcome(op, kUnordered));
    } else {
      node.Test = op == coEQ || op == coNE ? Node::Equal : Node::Order;
      node.NullOutcome = static_cast<uint8_t>(Outcome(op, kUnordered));
    }
    return AddText(std::move(node), text);
  }
  return Fallback(exprNode);
}

int TCompiledFilter::CompileIn(int exprNode) {
  const TExprNode& e = evaluator_.Nodes()[static_cast<size_t>(exprNode)];
  const auto& all = evaluator_.Nodes();
  if (e.Right < 0 || all[static_cast<size_t>(e.Right)].Class != nodeListElem)
    return Fallback(exprNode);
  std::vector<Variant> values;
  for (int element = e.Right; element >= 0; element = all[static_cast<size_t>(element)].Right) {
    Variant value;
    bool today = false;
    if (!ConstantOf(all[static_cast<size_t>(element)].Left, value, today) || today ||
        value.IsEmptyOrNull())
      return Fallback(exprNode);
    values.push_back(value);
  }
  auto all_of = [&values](auto predicate) {
    for (const Variant& v : values)
      if (!predicate(v)) return false;
    return true;
  };
  TextOperand text;
  const TColumn* column = StoredColumn(e.Left);
  if (!column && TextOperandOf(e.Left, text)) column = text.Column;
  if (!column) return Fallback(exprNode);
  Node node;
  node.Column = column;
  switch (column->Kind()) {
    case TColumnKind::Int:
      if (!all_of(std::mem_fn(&Variant::IsInteger))) return Fallback(exprNode);
      node.Kind = Node::InInt;
      for (const Variant& v : values) node.Ints.push_back(v.AsInt64());
      break;
    case TColumnKind::Float:
      // A date in the list compares as a date-time: left to the Variants.
      if (!all_of([](const Variant& v) {
            return v.IsInteger() || (IsFloatingVariant(v) && v.VarType() != varDate);
          }))
        return Fallback(exprNode);
      node.Kind = Node::InFloat;
      for (const Variant& v : values) node.Doubles.push_back(v.AsDouble());
      break;
    case TColumnKind::DateTime:
      if (!all_of([](const Variant& v) { return v.IsInteger() || IsFloatingVariant(v); }))
        return Fallback(exprNode);
      node.Kind = Node::InDate;
      for (const Variant& v : values) node.Doubles.push_back(DateTimeOrderKey(v.AsDouble()));
      break;
    case TColumnKind::String:
      if (!all_of([](const Variant& v) { return v.IsString(); })) return Fallback(exprNode);
      node.Test = Node::Among;
      node.NullOutcome = kFalse;
      for (const Variant& v : values) node.Strings.push_back(v.StringRef());
      if (!text.Column) text.Column = column;
      return AddText(std::move(node), text);
    default:
      return Fallback(exprNode);
  }
  return Add(std::move(node));
}

Variant TCompiledFilter::EvaluateFallback(int exprNode, int row) const {
  row_ = row;
  return evaluator_.EvaluateNode(exprNode, lookup_);
}

void TCompiledFilter::TakeToday() const {
  if (todayNodes_.empty()) return;
  const double key = DateTimeOrderKey(Date());
  for (const int index : todayNodes_) nodes_[static_cast<size_t>(index)].Double = key;
}

// A Text node on one row: the outcome per code for dictionary columns, worked out on first
// meeting a code; the stored text itself otherwise.
int TCompiledFilter::TextTri(const Node& n, int row) const {
  const TColumn& c = *n.Column;
  if (c.IsNull(row)) return n.NullOutcome;
  if (!c.IsDictionary()) return TextOutcome(n, c.StringAt(row));
  if (n.CodeGeneration != c.DictionaryGeneration()) {
    n.CodeOutcomes.clear();
    n.CodeGeneration = c.DictionaryGeneration();
  }
  const uint32_t code = c.CodeAt(row);
  if (code >= n.CodeOutcomes.size()) n.CodeOutcomes.resize(static_cast<size_t>(c.EntryCount()), kUnknown);
  uint8_t& outcome = n.CodeOutcomes[code];
  if (outcome == kUnknown) outcome = static_cast<uint8_t>(TextOutcome(n, c.Entry(code)));
  return outcome;
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
    case Node::DatePartCmp: {
      if (n.Column->IsNull(row)) return Outcome(n.Cmp, kUnordered);
      const int part = DatePart(n.Function, n.Column->DoubleAt(row));
      if (n.IntegerConstant) return Outcome(n.Cmp, Order<int64_t>(part, n.Int));
      return Outcome(n.Cmp, OrderDoubles(part, n.Double));
    }
    case Node::DateFnCmp:
      if (n.Column->IsNull(row)) return Outcome(n.Cmp, kUnordered);
      return Outcome(n.Cmp,
                     OrderDoubles(DateTimeOrderKey(DateFunctionValue(n.Function, n.Column->DoubleAt(row))),
                                  n.Double));
    case Node::Text:
      return TextTri(n, row);
    case Node::InInt:
      return !n.Column->IsNull(row) && Among(n.Column->IntAt(row), n.Ints) ? kTrue : kFalse;
    case Node::InFloat:
      return !n.Column->IsNull(row) && Among(n.Column->DoubleAt(row), n.Doubles) ? kTrue : kFalse;
    case Node::InDate:
      return !n.Column->IsNull(row) && Among(DateTimeOrderKey(n.Column->DoubleAt(row)), n.Doubles)
                 ? kTrue
                 : kFalse;
    case Node::Fallback: {
      const Variant value = EvaluateFallback(n.ExprNode, row);
      if (value.IsNull()) return kNull;
      return TExprEvaluator::IsTrue(value) ? kTrue : kFalse;
    }
  }
  return kNull;
}

bool TCompiledFilter::Matches(int row) const {
  TakeToday();
  if (rootIsValue_) {
    const Node& root = nodes_[static_cast<size_t>(root_)];
    return TExprEvaluator::IsTrue(EvaluateFallback(root.ExprNode, row));
  }
  return Tri(root_, row) == kTrue;
}

Variant TCompiledFilter::Value(int row) const {
  TakeToday();
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

}  // namespace

// A Text node over a run of rows. Dictionary columns look the outcome up by code (working out
// codes not met before); = and <> of a plain text compare only texts as long as the constant.
void TCompiledFilter::TextBatch(const Node& n, int begin, int count, uint8_t* out) const {
  const TColumn& c = *n.Column;
  if (c.IsDictionary()) {
    if (n.CodeGeneration != c.DictionaryGeneration()) {
      n.CodeOutcomes.clear();
      n.CodeGeneration = c.DictionaryGeneration();
    }
    n.CodeOutcomes.resize(static_cast<size_t>(c.EntryCount()), kUnknown);
    uint8_t* outcomes = n.CodeOutcomes.data();
    const uint32_t* codes = c.Codes() + begin;
    for (int i = 0; i < count; ++i) {
      uint8_t outcome = outcomes[codes[i]];
      if (outcome == kUnknown)
        outcome = outcomes[codes[i]] = static_cast<uint8_t>(TextOutcome(n, c.Entry(codes[i])));
      out[i] = outcome;
    }
    for (int i = 0; i < count; ++i)
      if (c.IsNull(begin + i)) out[i] = n.NullOutcome;
    return;
  }
  if (n.Test == Node::Equal && n.Steps.empty()) {
    const QStringView wanted(n.Str);
    const uint8_t same = n.Cmp == coEQ ? kTrue : kFalse;
    for (int i = 0; i < count; ++i) {
      const int row = begin + i;
      if (c.IsNull(row)) {
        out[i] = n.NullOutcome;
        continue;
      }
      const QStringView value = c.StringAt(row);
      const bool equal = value.size() == wanted.size() &&
                         std::memcmp(value.data(), wanted.data(),
                                     static_cast<size_t>(wanted.size()) * sizeof(QChar)) == 0;
      out[i] = equal ? same : static_cast<uint8_t>(1 - same);
    }
    return;
  }
  for (int i = 0; i < count; ++i) {
    const int row = begin + i;
    out[i] = c.IsNull(row) ? n.NullOutcome : static_cast<uint8_t>(TextOutcome(n, c.StringAt(row)));
  }
}

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
    case Node::Text:
      TextBatch(n, begin, count, out);
      return;
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

// Rows whose outcome an earlier operand already decided are neither read nor asked about: what
// the later operand says for them is dropped by the AND / OR tables (false AND x is false, true
// OR x is true, for x Null too).
void TCompiledFilter::TriBatchOnDemand(int index, int begin, int count, uint8_t* out, int depth,
                                       const uint8_t* need) const {
  const Node& n = nodes_[static_cast<size_t>(index)];
  switch (n.Kind) {
    case Node::And:
    case Node::Or: {
      uint8_t* right = scratch_[static_cast<size_t>(depth)].data();
      uint8_t* needRight = needScratch_[static_cast<size_t>(depth)].data();
      TriBatchOnDemand(n.A, begin, count, out, depth + 1, need);
      const uint8_t decided = n.Kind == Node::And ? kFalse : kTrue;
      int undecided = 0;
      for (int i = 0; i < count; ++i) {
        needRight[i] = static_cast<uint8_t>((need ? need[i] : 1) & (out[i] != decided));
        undecided += needRight[i];
      }
      if (undecided == 0) return;
      TriBatchOnDemand(n.B, begin, count, right, depth + 1, needRight);
      const auto& table = n.Kind == Node::And ? AndTable : OrTable;
      for (int i = 0; i < count; ++i) out[i] = table[out[i]][right[i]];
      return;
    }
    case Node::Not:
      TriBatchOnDemand(n.A, begin, count, out, depth + 1, need);
      for (int i = 0; i < count; ++i) out[i] = NotTable[out[i]];
      return;
    case Node::Fallback:
      // Evaluated row by row, reading what it needs itself: only the rows that count.
      for (int i = 0; i < count; ++i)
        out[i] = !need || need[i] ? static_cast<uint8_t>(Tri(index, begin + i)) : kNull;
      return;
    default:
      if (n.Column) source_.EnsureValues(*n.Column, begin, count, need);
      TriBatch(index, begin, count, out, depth);
  }
}

void TCompiledFilter::Outcomes(int begin, int count, uint8_t* out) const {
  TakeToday();
  const bool onDemand = source_.ReadsOnDemand();
  if (scratch_.empty()) {
    scratch_.assign(static_cast<size_t>(Depth(root_)) + 1, std::vector<uint8_t>(BatchSize));
    if (onDemand) needScratch_ = scratch_;
  }
  for (int done = 0; done < count; done += BatchSize) {
    const int run = std::min(BatchSize, count - done);
    if (onDemand)
      TriBatchOnDemand(root_, begin + done, run, out + done, 0, nullptr);
    else
      TriBatch(root_, begin + done, run, out + done, 0);
  }
}

std::vector<int> TCompiledFilter::Select(int rowCount) const {
  std::vector<int> rows;
  Select(rowCount, rows);
  return rows;
}

void TCompiledFilter::Select(int rowCount, std::vector<int>& rows) const {
  rows.clear();
  if (!Batchable()) {
    // Record by record, so that an error surfaces where the evaluator would raise it.
    TakeToday();
    const Node& root = nodes_[static_cast<size_t>(root_)];
    for (int row = 0; row < rowCount; ++row) {
      const bool match = rootIsValue_ ? TExprEvaluator::IsTrue(EvaluateFallback(root.ExprNode, row))
                                      : Tri(root_, row) == kTrue;
      if (match) rows.push_back(row);
    }
    return;
  }
  uint8_t results[BatchSize];
  for (int begin = 0; begin < rowCount; begin += BatchSize) {
    const int count = std::min(BatchSize, rowCount - begin);
    Outcomes(begin, count, results);
    // Every row of the run is written, and the end moves on only past those that hold: no
    // branch per row, which a filter keeping about half the rows would mispredict.
    int held[BatchSize];
    size_t heldCount = 0;
    for (int i = 0; i < count; ++i) {
      held[heldCount] = begin + i;
      heldCount += results[i] == kTrue ? 1 : 0;
    }
    rows.insert(rows.end(), held, held + heldCount);
  }
}

}  // namespace Kel
