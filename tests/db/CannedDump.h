#pragma once
// Renders a canned expression as a compact tree for test assertions:
//   (= [Category#2] 'Shark')   binary nodes: operator, left, right
//   (not x) (is-null x) (not-null x) (upper x)                 unary nodes
//   (cmp= ci p3 [Name#1] 'Ab')  compare nodes: flags, partial length, operands
//   i:5 f:1.5 s16:5 true date:2024-01-31 time:13:45:00.000 ts:2024-01-31 13:45:00.000 null
//   fn:upper({[Name#1]})  {a, b}  list elements
#include <QString>
#include <QStringList>

#include "CannedExpr.h"
#include "DateUtils.h"

namespace Kel::Testing {

inline QString OperatorName(uint32_t op) {
  switch (op) {
    case coIsBlank:
      return QStringLiteral("is-null");
    case coNotBlank:
      return QStringLiteral("not-null");
    case coEQ:
      return QStringLiteral("=");
    case coNE:
      return QStringLiteral("<>");
    case coGT:
      return QStringLiteral(">");
    case coLT:
      return QStringLiteral("<");
    case coGE:
      return QStringLiteral(">=");
    case coLE:
      return QStringLiteral("<=");
    case coNOT:
      return QStringLiteral("not");
    case coAND:
      return QStringLiteral("and");
    case coOR:
      return QStringLiteral("or");
    case coAdd:
      return QStringLiteral("+");
    case coSub:
      return QStringLiteral("-");
    case coMul:
      return QStringLiteral("*");
    case coDiv:
      return QStringLiteral("/");
    case coLike:
      return QStringLiteral("like");
    case coIn:
      return QStringLiteral("in");
    case coUpper:
      return QStringLiteral("upper");
    case coLower:
      return QStringLiteral("lower");
    default:
      return QStringLiteral("op%1").arg(op);
  }
}

inline QString DateText(TDateTime value) {
  int y = 0, m = 0, d = 0, h = 0, n = 0, s = 0, ms = 0;
  DecodeDate(value, y, m, d);
  DecodeTime(value, h, n, s, ms);
  return QStringLiteral("%1-%2-%3")
      .arg(y, 4, 10, QLatin1Char('0'))
      .arg(m, 2, 10, QLatin1Char('0'))
      .arg(d, 2, 10, QLatin1Char('0'));
}

inline QString TimeText(TDateTime value) {
  int h = 0, n = 0, s = 0, ms = 0;
  DecodeTime(value, h, n, s, ms);
  return QStringLiteral("%1:%2:%3.%4")
      .arg(h, 2, 10, QLatin1Char('0'))
      .arg(n, 2, 10, QLatin1Char('0'))
      .arg(s, 2, 10, QLatin1Char('0'))
      .arg(ms, 3, 10, QLatin1Char('0'));
}

inline QString DumpNode(const TCannedExpr& e, int offset) {
  const TCanNode node = e.NodeAt(offset);
  switch (node.Class) {
    case nodeNull:
      return QStringLiteral("null");
    case nodeUnary:
      return QStringLiteral("(%1 %2)").arg(OperatorName(node.Operator),
                                           DumpNode(e, node.Operand()));
    case nodeBinary:
      return QStringLiteral("(%1 %2 %3)")
          .arg(OperatorName(node.Operator), DumpNode(e, node.Left()), DumpNode(e, node.Right()));
    case nodeCompare:
      return QStringLiteral("(cmp%1%2%3 %4 %5)")
          .arg(OperatorName(node.Operator),
               node.CaseInsensitive() ? QStringLiteral(" ci") : QString(),
               node.PartialLength() ? QStringLiteral(" p%1").arg(node.PartialLength()) : QString(),
               DumpNode(e, node.Left()), DumpNode(e, node.Right()));
    case nodeField:
      return QStringLiteral("[%1#%2]").arg(e.FieldName(node)).arg(node.FieldNo());
    case nodeConst: {
      const Variant v = e.ConstValue(node);
      switch (node.ConstType()) {
        case cdtString:
          return u'\'' + v.AsString() + u'\'';
        case cdtInt32:
          return QStringLiteral("i:%1").arg(v.AsInt64());
        case cdtInt16:
          return QStringLiteral("s16:%1").arg(v.AsInt64());
        case cdtFloat:
          return QStringLiteral("f:%1").arg(v.AsDouble(), 0, 'g', 17);
        case cdtBoolean:
          return v.AsBoolean() ? QStringLiteral("true") : QStringLiteral("false");
        case cdtDate:
          return QStringLiteral("date:") + DateText(v.AsDate());
        case cdtTime:
          return QStringLiteral("time:") + TimeText(v.AsDate());
        case cdtTimeStamp:
          return QStringLiteral("ts:") + DateText(v.AsDate()) + u' ' + TimeText(v.AsDate());
        default:
          return QStringLiteral("const%1").arg(node.ConstType());
      }
    }
    case nodeFunc: {
      QString args =
          node.FirstArgument() ? DumpNode(e, node.FirstArgument()) : QStringLiteral("()");
      return QStringLiteral("fn:%1%2").arg(e.FunctionName(node), args);
    }
    case nodeListElem: {
      QStringList items;
      for (int element = offset;;) {
        const TCanNode item = e.NodeAt(element);
        items << DumpNode(e, item.ElemValue());
        if (item.ElemNext() == 0) break;
        element = item.ElemNext();
      }
      return u'{' + items.join(QStringLiteral(", ")) + u'}';
    }
    default:
      return QStringLiteral("class%1").arg(node.Class);
  }
}

inline QString DumpCanned(const QByteArray& data) {
  const TCannedExpr e(data);
  return DumpNode(e, 0);
}

}  // namespace Kel::Testing
