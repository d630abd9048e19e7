#include "ExprEvaluator.h"

#include <QSet>
#include <cmath>

#include "DBConsts.h"
#include "DateUtils.h"
#include "LikeMask.h"
#include "StrUtils.h"

namespace Kel {

namespace {

// Deeper trees than this are refused: no parser of ours writes them, and evaluation recurses.
constexpr int MaxDecodeDepth = 10000;

[[noreturn]] void InvalidData() {
  throw EDatabaseError(RtlMessage(DBText::InvalidCannedExpression));
}

class Decoder {
 public:
  Decoder(const TCannedExpr& expression, std::vector<TExprNode>& nodes)
      : expression_(expression), nodes_(nodes) {}

  int Decode(int offset, int depth) {
    if (depth > MaxDecodeDepth) throw EDatabaseError(RtlMessage(DBText::ExpressionNestedTooDeeply));
    // Every node has one parent, as the parser writes them: a node met again is a cycle or a
    // shared subtree, and evaluating shared subtrees once per path takes exponential time.
    if (seen_.contains(offset)) InvalidData();
    seen_.insert(offset);
    const TCanNode raw = expression_.NodeAt(offset);
    TExprNode node;
    node.Class = raw.Class;
    node.Operator = raw.Operator;
    switch (raw.Class) {
      case nodeUnary:
        node.Left = Decode(raw.Operand(), depth + 1);
        break;
      case nodeBinary:
        node.Left = Decode(raw.Left(), depth + 1);
        node.Right = Decode(raw.Right(), depth + 1);
        break;
      case nodeCompare:
        node.CaseInsensitive = raw.CaseInsensitive();
        node.PartialLength = raw.PartialLength();
        node.Left = Decode(raw.Left(), depth + 1);
        node.Right = Decode(raw.Right(), depth + 1);
        break;
      case nodeField:
        node.FieldNo = raw.FieldNo();
        node.Name = expression_.FieldName(raw);
        break;
      case nodeConst:
        node.Value = expression_.ConstValue(raw);
        break;
      case nodeFunc:
        node.Name = expression_.FunctionName(raw).toLower();
        // 0 would be the root, which is never an argument list: it means "no arguments".
        if (raw.FirstArgument() != 0) node.Left = DecodeElement(raw.FirstArgument(), depth + 1);
        break;
      case nodeListElem:
        node.Left = Decode(raw.ElemValue(), depth + 1);
        if (raw.ElemNext() != 0) node.Right = DecodeElement(raw.ElemNext(), depth + 1);
        break;
      default:
        break;
    }
    nodes_.push_back(std::move(node));
    return static_cast<int>(nodes_.size()) - 1;
  }

 private:
  int DecodeElement(int offset, int depth) {
    const int index = Decode(offset, depth);
    if (nodes_[static_cast<size_t>(index)].Class != nodeListElem) InvalidData();
    return index;
  }

  const TCannedExpr& expression_;
  std::vector<TExprNode>& nodes_;
  QSet<int> seen_;  // node offsets decoded so far
};

QString TrimCharLeft(const QString& s, QChar c) {
  qsizetype i = 0;
  while (i < s.size() && s[i] == c) ++i;
  return s.mid(i);
}

QString TrimCharRight(const QString& s, QChar c) {
  qsizetype n = s.size();
  while (n > 0 && s[n - 1] == c) --n;
  return s.left(n);
}

// The character that trimleft/trimright remove: the first of their second argument.
bool TrimChar(const std::vector<Variant>& args, QChar& c) {
  if (args.size() < 2) {
    c = u' ';
    return true;
  }
  const QString text = args[1].AsString();
  if (text.isEmpty()) return false;
  c = text[0];
  return true;
}

Variant Boolean(bool value) { return Variant(value); }

}  // namespace

TExprEvaluator::TExprEvaluator(const QByteArray& canned, TCompareNodeRule rule) : rule_(rule) {
  Decode(TCannedExpr(canned));
}

TExprEvaluator::TExprEvaluator(const TCannedExpr& expression, TCompareNodeRule rule) : rule_(rule) {
  Decode(expression);
}

void TExprEvaluator::Decode(const TCannedExpr& expression) {
  Decoder decoder(expression, nodes_);
  root_ = decoder.Decode(0, 0);
}

Variant TExprEvaluator::EvaluateNode(int index, const TFieldValueLookup& lookup) const {
  const TExprNode& node = nodes_[static_cast<size_t>(index)];
  switch (node.Class) {
    case nodeUnary:
      return ApplyExprOperator(node.Operator, EvaluateNode(node.Left, lookup), Variant());
    case nodeBinary: {
      const Variant right = EvaluateNode(node.Right, lookup);
      const Variant left = EvaluateNode(node.Left, lookup);
      return ApplyExprOperator(node.Operator, left, right);
    }
    case nodeCompare:
      return EvaluateCompare(node, lookup);
    case nodeField:
      return lookup ? lookup(node.FieldNo, node.Name) : Variant();
    case nodeConst:
      return node.Value;
    case nodeFunc: {
      std::vector<Variant> args;
      for (int element = node.Left; element >= 0;
           element = nodes_[static_cast<size_t>(element)].Right)
        args.push_back(EvaluateNode(nodes_[static_cast<size_t>(element)].Left, lookup));
      return ApplyExprFunction(node.Name, args);
    }
    case nodeListElem:
      return EvaluateList(index, lookup);
    default:
      return Variant::Null();
  }
}

Variant TExprEvaluator::EvaluateList(int index, const TFieldValueLookup& lookup) const {
  std::vector<Variant> values;
  for (int element = index; element >= 0; element = nodes_[static_cast<size_t>(element)].Right)
    values.push_back(EvaluateNode(nodes_[static_cast<size_t>(element)].Left, lookup));
  return Variant::FromArray(std::move(values), 1);
}

Variant TExprEvaluator::EvaluateCompare(const TExprNode& node,
                                        const TFieldValueLookup& lookup) const {
  const Variant left = EvaluateNode(node.Left, lookup);
  const Variant right = EvaluateNode(node.Right, lookup);
  return ApplyCompareNode(rule_, node.Operator, node.CaseInsensitive, node.PartialLength, left,
                          right);
}

Variant ApplyCompareNode(TCompareNodeRule rule, uint32_t op, bool caseInsensitive,
                         int partialLength, const Variant& left, const Variant& right) {
  if (rule == ccrEitherPrefix) {
    QString a = VarToStr(left);
    QString b = VarToStr(right);
    if (caseInsensitive) {
      a = AnsiUpperCase(a);
      b = AnsiUpperCase(b);
    }
    if (op == coLike) return Boolean(LikeMatches(a, b));
    const bool match = !a.isEmpty() && !b.isEmpty() && (a.startsWith(b) || b.startsWith(a));
    return Boolean(op == coNE ? !match : match);
  }
  if (left.IsNull() || right.IsNull()) {
    if (op == coLike) return Variant::Null();
    const bool equal = left.IsNull() && right.IsNull();
    if (op == coEQ) return Boolean(equal);
    if (op == coNE) return Boolean(!equal);
    return Boolean(false);
  }
  QString a = left.AsString();
  QString b = right.AsString();
  if (caseInsensitive) {
    a = AnsiUpperCase(a);
    b = AnsiUpperCase(b);
  }
  if (op == coLike) return Boolean(LikeMatches(a, b));
  if (partialLength > 0 && (op == coEQ || op == coNE)) {
    const bool match = a.startsWith(QStringView(b).left(partialLength));
    return Boolean(op == coEQ ? match : !match);
  }
  const int order = CompareStr(a, b);
  switch (op) {
    case coEQ:
      return Boolean(order == 0);
    case coNE:
      return Boolean(order != 0);
    case coGT:
      return Boolean(order > 0);
    case coLT:
      return Boolean(order < 0);
    case coGE:
      return Boolean(order >= 0);
    case coLE:
      return Boolean(order <= 0);
    default:
      return Variant::Null();
  }
}

Variant ApplyExprOperator(uint32_t op, const Variant& left, const Variant& right) {
  switch (op) {
    case coIsBlank:
    case coIsNull:
      return Boolean(left.IsNull());
    case coNotBlank:
      return Boolean(!left.IsNull());
    case coEQ:
      return Boolean(VarEquals(left, right));
    case coNE:
      return Boolean(left != right);
    case coGT:
      return Boolean(VarGreater(left, right));
    case coLT:
      return Boolean(VarLess(left, right));
    case coGE:
      return Boolean(VarGreaterEqual(left, right));
    case coLE:
      return Boolean(VarLessEqual(left, right));
    case coNOT:
      return VarNot(left);
    case coAND:
      return VarAnd(left, right);
    case coOR:
      return VarOr(left, right);
    case coMinus:
      return -left;
    case coAdd:
      return left + right;
    case coSub:
      return left - right;
    case coMul:
      return left * right;
    case coDiv:
      return left / right;
    case coMod:
    case coRem:
      return VarMod(left, right);
    case coLike:
      if (left.IsNull() || right.IsNull()) return Variant::Null();
      return Boolean(LikeMatches(left.AsString(), right.AsString()));
    case coIn: {
      if (!right.IsArray())
        throw EVariantInvalidOpError(RtlMessage(RtlText::InvalidVariantOperation));
      for (const Variant& element : right.ArrayElements())
        if (VarEquals(left, element)) return Boolean(true);
      return Boolean(false);
    }
    case coUpper:
      return left.IsNull() ? left : Variant(AnsiUpperCase(left.AsString()));
    case coLower:
      return left.IsNull() ? left : Variant(AnsiLowerCase(left.AsString()));
    default:
      return Variant::Null();
  }
}

Variant ApplyExprFunction(const QString& name, const std::vector<Variant>& args) {
  if (name == u"getdate") return Variant::FromDate(Date());
  // Every other function needs its first argument; Null in gives Null out.
  if (args.empty()) return Variant::Null();
  for (const Variant& arg : args)
    if (arg.IsNull()) return Variant::Null();
  const Variant& x = args[0];
  if (name == u"upper") return Variant(AnsiUpperCase(x.AsString()));
  if (name == u"lower") return Variant(AnsiLowerCase(x.AsString()));
  if (name == u"substring") {
    const QString s = x.AsString();
    const int from = args.size() > 1 ? args[1].AsInteger() : 1;
    const int count = args.size() > 2 ? args[2].AsInteger() : static_cast<int>(s.size());
    return Variant(Copy(s, from, count));
  }
  if (name == u"trim") return Variant(Trim(x.AsString()));
  if (name == u"trimleft" || name == u"trimright") {
    QChar c;
    const QString s = x.AsString();
    if (!TrimChar(args, c)) return Variant(s);
    return Variant(name == u"trimleft" ? TrimCharLeft(s, c) : TrimCharRight(s, c));
  }
  if (name == u"year" || name == u"month" || name == u"day") {
    int year = 0, month = 0, day = 0;
    DecodeDate(x.AsDate(), year, month, day);
    return Variant(name == u"year" ? year : name == u"month" ? month : day);
  }
  if (name == u"hour" || name == u"minute" || name == u"second") {
    int hour = 0, minute = 0, second = 0, msec = 0;
    DecodeTime(x.AsDate(), hour, minute, second, msec);
    return Variant(name == u"hour" ? hour : name == u"minute" ? minute : second);
  }
  if (name == u"date") return Variant::FromDate(CalendarDayOf(x.AsDate()));
  if (name == u"time") return Variant::FromDate(CanTimeToTime(TimeToCanTime(x.AsDate())));
  return Variant::Null();
}

}  // namespace Kel
