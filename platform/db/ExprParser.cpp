#include "ExprParser.h"

#include <QHash>
#include <QLocale>
#include <QtEndian>
#include <cmath>
#include <limits>

#include "AsciiChars_p.h"
#include "DBConsts.h"
#include "DataSet.h"
#include "DateTimeFormat.h"
#include "Fields.h"
#include "NumberFormat.h"
#include "StrUtils.h"

namespace Kel {

namespace {

// Limits that keep every offset of the canned form within 16 bits and the parser's recursion
// shallow, whatever text arrives.
constexpr int MaxAstNodes = 8000;
constexpr int MaxNesting = 200;
constexpr int MaxStringLiteral = 256;

// ---------------------------------------------------------------------------------------------
// Tokens

enum class TokKind { End, Name, Field, String, Number, Symbol };

struct Token {
  TokKind Kind = TokKind::End;
  QString Text;   // as written, for messages
  QString Value;  // string contents, field name, symbol or number text
};

bool IsExprIdentStart(QChar c) {
  const char16_t u = c.unicode();
  return (u >= u'A' && u <= u'Z') || (u >= u'a' && u <= u'z') || u == u'_' || u >= 129;
}

bool IsExprIdentChar(QChar c) { return IsExprIdentStart(c) || IsAsciiDigit(c); }

bool IsNumberChar(QChar c) {
  return IsAsciiDigit(c) || c == u'+' || c == u'-' || c == u'.' || c == u'E' || c == u'e';
}

bool FitsInt32(int64_t value) {
  return value >= std::numeric_limits<int32_t>::min() &&
         value <= std::numeric_limits<int32_t>::max();
}

bool IsKeyword(const Token& t, const char* word) {
  return t.Kind == TokKind::Name && t.Value.compare(QLatin1String(word), Qt::CaseInsensitive) == 0;
}

bool IsOperatorKeyword(const Token& t) {
  for (const char* word : {"AND", "OR", "NOT", "LIKE", "IN", "IS"})
    if (IsKeyword(t, word)) return true;
  return false;
}

template <typename... Args>
[[noreturn]] void ParseError(const char* text, const Args&... args) {
  throw EExprParserError(RtlMessage(text, args...));
}

class Lexer {
 public:
  explicit Lexer(const QString& text) : text_(text) {}

  struct State {
    qsizetype Pos = 0;
    bool ValueBefore = false;
  };
  State Save() const { return {pos_, valueBefore_}; }
  void Restore(const State& state) {
    pos_ = state.Pos;
    valueBefore_ = state.ValueBefore;
  }

  Token Next() {
    SkipBlanksAndComment();
    Token token;
    if (pos_ >= text_.size()) {
      token.Kind = TokKind::End;
      token.Text = QString::fromUtf8(DBText::EndOfExpression);
      return token;
    }
    const qsizetype start = pos_;
    const QChar c = text_[pos_];
    if (c == u'\'') {
      ReadString(token);
    } else if (c == u'[') {
      ReadBracketedField(token);
    } else if (IsExprIdentStart(c)) {
      while (pos_ < text_.size() && IsExprIdentChar(text_[pos_])) ++pos_;
      token.Kind = TokKind::Name;
      token.Value = text_.mid(start, pos_ - start);
    } else if (IsAsciiDigit(c) || (c == u'-' && !valueBefore_ && StartsNumberAfterMinus())) {
      ++pos_;
      while (pos_ < text_.size() && IsNumberChar(text_[pos_])) ++pos_;
      token.Kind = TokKind::Number;
      token.Value = text_.mid(start, pos_ - start);
    } else {
      ReadSymbol(token);
    }
    token.Text = text_.mid(start, pos_ - start);
    valueBefore_ = token.Kind == TokKind::Field || token.Kind == TokKind::String ||
                   token.Kind == TokKind::Number ||
                   (token.Kind == TokKind::Name && !IsOperatorKeyword(token)) ||
                   (token.Kind == TokKind::Symbol && token.Value == u")");
    return token;
  }

 private:
  void SkipBlanks() {
    while (pos_ < text_.size() && IsBlankOrControl(text_[pos_])) ++pos_;
  }

  void SkipBlanksAndComment() {
    SkipBlanks();
    if (QStringView(text_).mid(pos_).startsWith(u"/*")) {
      const qsizetype end = text_.indexOf(u"*/", pos_ + 2);
      if (end < 0) ParseError(DBText::UnterminatedComment);
      pos_ = end + 2;
      SkipBlanks();
    }
  }

  // A "-" where no value stands before it begins a number only when the number follows; a lone
  // "-" stays an operator, so "-x" reports an unexpected "-" rather than a bad number.
  bool StartsNumberAfterMinus() const {
    return pos_ + 1 < text_.size() && (IsAsciiDigit(text_[pos_ + 1]) || text_[pos_ + 1] == u'.');
  }

  void ReadString(Token& token) {
    ++pos_;
    QString value;
    for (;;) {
      if (pos_ >= text_.size()) ParseError(DBText::UnterminatedString);
      const QChar c = text_[pos_++];
      if (c == u'\'') {
        if (pos_ < text_.size() && text_[pos_] == u'\'') {
          ++pos_;
          value += c;
          continue;
        }
        break;
      }
      value += c;
    }
    token.Kind = TokKind::String;
    token.Value = value.left(MaxStringLiteral);
  }

  // "]]" inside the brackets is one "]" of the name. No text was valid with "]]" there before
  // ("]" is no token), so every name written earlier reads as it did.
  void ReadBracketedField(Token& token) {
    QString name;
    qsizetype from = pos_ + 1;
    for (;;) {
      const qsizetype end = text_.indexOf(u']', from);
      if (end < 0) ParseError(DBText::UnterminatedFieldName);
      name += QStringView(text_).mid(from, end - from);
      if (end + 1 < text_.size() && text_[end + 1] == u']') {
        name += u']';
        from = end + 2;
        continue;
      }
      pos_ = end + 1;
      break;
    }
    token.Kind = TokKind::Field;
    token.Value = name;
  }

  void ReadSymbol(Token& token) {
    const QChar c = text_[pos_];
    const QChar next = pos_ + 1 < text_.size() ? text_[pos_ + 1] : QChar();
    token.Kind = TokKind::Symbol;
    if ((c == u'<' && (next == u'>' || next == u'=')) || (c == u'>' && next == u'=')) {
      token.Value = text_.mid(pos_, 2);
      pos_ += 2;
      return;
    }
    if (QStringView(u"=<>+-*/(),").contains(c)) {
      token.Value = QString(c);
      ++pos_;
      return;
    }
    ParseError(DBText::InvalidCharacter, QString(c));
  }

  const QString& text_;
  qsizetype pos_ = 0;
  bool valueBefore_ = false;
};

// ---------------------------------------------------------------------------------------------
// The tree the parser builds before it writes the canned form.

enum class SType { Unknown, Null, String, Number, Boolean, Date, Time, DateTime };

SType FieldSType(TFieldType type) {
  if (IsStringFieldType(type)) return SType::String;
  if (IsIntegerFieldType(type) || IsFloatFieldType(type) || IsCurrencyFieldType(type))
    return SType::Number;
  switch (type) {
    case ftBoolean:
      return SType::Boolean;
    case ftDate:
      return SType::Date;
    case ftTime:
      return SType::Time;
    case ftDateTime:
    case ftTimeStamp:
      return SType::DateTime;
    default:
      return SType::Unknown;
  }
}

struct AstNode {
  TNodeClass Class = nodeNull;
  uint32_t Operator = coNotDefined;
  std::vector<int> Kids;
  bool IsList = false;  // a chain of list elements (IN values, function arguments)
  SType Type = SType::Unknown;
  // field
  int FieldNo = 0;
  QString Name;  // field or function name
  TFieldType FieldType = ftUnknown;
  // constant
  TCanConstType ConstType = cdtString;
  QString Str;
  int64_t Int = 0;
  double Float = 0;
  bool NumberLiteral = false;
  // compare
  bool CaseInsensitive = false;
  int PartialLength = 0;
};

class Parser {
 public:
  Parser(const std::vector<TExprFieldInfo>& fields, const QString& text, TFilterOptions options,
         TParserOptions parserOptions)
      : fields_(fields),
        lexer_(text),
        caseInsensitive_(options.Contains(foCaseInsensitive)),
        partialCompare_(!options.Contains(foNoPartialCompare)),
        extended_(parserOptions.Contains(poExtSyntax)) {}

  int Run() {
    Advance();
    const int root = ParseCondition();
    if (token_.Kind != TokKind::End) ParseError(DBText::EndOfExpressionExpected, token_.Text);
    return root;
  }

  const std::vector<AstNode>& Nodes() const { return nodes_; }

 private:
  void Advance() { token_ = lexer_.Next(); }
  bool AtSymbol(const char16_t* symbol) const {
    return token_.Kind == TokKind::Symbol && token_.Value == QStringView(symbol);
  }

  int Add(AstNode node) {
    if (static_cast<int>(nodes_.size()) >= MaxAstNodes) ParseError(DBText::ExpressionTooComplex);
    nodes_.push_back(std::move(node));
    return static_cast<int>(nodes_.size()) - 1;
  }

  AstNode& At(int index) { return nodes_[static_cast<size_t>(index)]; }

  int Unary(uint32_t op, int operand, SType type) {
    AstNode node;
    node.Class = nodeUnary;
    node.Operator = op;
    node.Kids = {operand};
    node.Type = type;
    return Add(std::move(node));
  }

  int Binary(uint32_t op, int left, int right, SType type) {
    AstNode node;
    node.Class = nodeBinary;
    node.Operator = op;
    node.Kids = {left, right};
    node.Type = type;
    return Add(std::move(node));
  }

  // --- grammar -------------------------------------------------------------------------------

  int ParseCondition() {
    if (++depth_ > MaxNesting) ParseError(DBText::ExpressionNestedTooDeeply);
    int left = ParseConj();
    while (IsKeyword(token_, "OR")) {
      Advance();
      const int right = ParseConj();
      left = Logical(coOR, left, right);
    }
    --depth_;
    return left;
  }

  int ParseConj() {
    int left = ParseNeg();
    while (IsKeyword(token_, "AND")) {
      Advance();
      const int right = ParseNeg();
      left = Logical(coAND, left, right);
    }
    return left;
  }

  int ParseNeg() {
    if (IsKeyword(token_, "NOT")) {
      Advance();
      const int operand = ParseRel();
      CheckLogicalOperand(operand);
      return Unary(coNOT, operand, SType::Boolean);
    }
    return ParseRel();
  }

  int ParseRel() {
    const int left = ParseSum();
    if (token_.Kind == TokKind::Symbol) {
      static const std::pair<const char16_t*, TCanOperator> relations[] = {
          {u"=", coEQ}, {u"<>", coNE}, {u"<", coLT}, {u">", coGT}, {u"<=", coLE}, {u">=", coGE}};
      for (const auto& [symbol, op] : relations) {
        if (AtSymbol(symbol)) {
          Advance();
          return Comparison(op, left, ParseSum());
        }
      }
    }
    if (IsKeyword(token_, "LIKE")) {
      Advance();
      return Like(left, ParseSum());
    }
    if (IsKeyword(token_, "IS")) {
      Advance();
      if (IsKeyword(token_, "NULL")) {
        Advance();
        return Unary(coIsBlank, left, SType::Boolean);
      }
      if (IsKeyword(token_, "NOT")) {
        Advance();
        if (IsKeyword(token_, "NULL")) {
          Advance();
          return Unary(coNotBlank, left, SType::Boolean);
        }
      }
      ParseError(DBText::InvalidKeywordUse);
    }
    if (IsKeyword(token_, "IN")) {
      Advance();
      return In(left);
    }
    return left;
  }

  int ParseSum() {
    int left = ParseTerm();
    while (AtSymbol(u"+") || AtSymbol(u"-")) {
      const uint32_t op = AtSymbol(u"+") ? coAdd : coSub;
      RequireExtended();
      Advance();
      left = Arithmetic(op, left, ParseTerm());
    }
    return left;
  }

  int ParseTerm() {
    int left = ParseFactor();
    while (AtSymbol(u"*") || AtSymbol(u"/")) {
      const uint32_t op = AtSymbol(u"*") ? coMul : coDiv;
      RequireExtended();
      Advance();
      left = Arithmetic(op, left, ParseFactor());
    }
    return left;
  }

  int ParseFactor() {
    switch (token_.Kind) {
      case TokKind::Symbol:
        if (AtSymbol(u"(")) {
          Advance();
          const int inner = ParseCondition();
          if (!AtSymbol(u")")) ParseError(DBText::RightParenExpected, token_.Text);
          Advance();
          return inner;
        }
        break;
      case TokKind::String: {
        AstNode node = StringConst(token_.Value);
        Advance();
        return Add(std::move(node));
      }
      case TokKind::Number: {
        const int node = NumberConst(token_.Value);
        Advance();
        return node;
      }
      case TokKind::Field: {
        const int node = FieldRef(token_.Value);
        Advance();
        return node;
      }
      case TokKind::Name:
        return NameFactor();
      case TokKind::End:
        break;
    }
    ParseError(DBText::ExpressionExpected, token_.Text);
  }

  int NameFactor() {
    if (IsKeyword(token_, "NULL")) {
      Advance();
      AstNode node;
      node.Class = nodeNull;
      node.Type = SType::Null;
      return Add(std::move(node));
    }
    if (IsKeyword(token_, "TRUE") || IsKeyword(token_, "FALSE")) {
      AstNode node;
      node.Class = nodeConst;
      node.ConstType = cdtBoolean;
      node.Int = IsKeyword(token_, "TRUE") ? 1 : 0;
      node.Type = SType::Boolean;
      Advance();
      return Add(std::move(node));
    }
    if (IsOperatorKeyword(token_)) ParseError(DBText::ExpressionExpected, token_.Text);
    const Token name = token_;
    Advance();
    if (AtSymbol(u"(")) return Function(name);
    // Not a call: the name is a field; the token after it is already read.
    return FieldRef(name.Value);
  }

  int Function(const Token& name) {
    RequireExtended();
    AstNode node;
    node.Class = nodeFunc;
    node.Name = name.Value;
    node.Type = FunctionType(name.Value);
    // COUNT(*) is one name: the star is no operand.
    if (name.Value.compare(u"COUNT", Qt::CaseInsensitive) == 0) {
      const Lexer::State state = lexer_.Save();
      const Token saved = token_;
      Advance();
      if (AtSymbol(u"*")) {
        Advance();
        if (AtSymbol(u")")) {
          Advance();
          node.Name = name.Value + QStringLiteral("(*)");
          return Add(std::move(node));
        }
      }
      lexer_.Restore(state);
      token_ = saved;
    }
    Advance();  // over "("
    if (AtSymbol(u")")) {
      Advance();
      return Add(std::move(node));
    }
    AstNode list;
    list.Class = nodeListElem;
    list.IsList = true;
    list.Kids = ParseList();
    node.Kids = {Add(std::move(list))};
    return Add(std::move(node));
  }

  // condition { "," condition } ")"
  std::vector<int> ParseList() {
    std::vector<int> items;
    for (;;) {
      items.push_back(ParseCondition());
      if (AtSymbol(u",")) {
        Advance();
        continue;
      }
      if (AtSymbol(u")")) {
        Advance();
        return items;
      }
      ParseError(DBText::RightParenOrCommaExpected, token_.Text);
    }
  }

  int In(int left) {
    if (!AtSymbol(u"(")) ParseError(DBText::LeftParenExpected, token_.Text);
    Advance();
    if (AtSymbol(u")")) ParseError(DBText::EmptyInList);
    std::vector<int> items = ParseList();
    const bool foldCase = caseInsensitive_ && At(left).Type == SType::String;
    for (int& item : items) {
      CoerceConstant(item, left);
      CheckComparable(left, item);
      if (foldCase && At(item).Type == SType::String) item = Upper(item);
    }
    if (foldCase) left = Upper(left);
    AstNode list;
    list.Class = nodeListElem;
    list.IsList = true;
    list.Kids = std::move(items);
    return Binary(coIn, left, Add(std::move(list)), SType::Boolean);
  }

  // --- node builders with typing -------------------------------------------------------------

  void RequireExtended() const {
    if (!extended_) ParseError(DBText::ArithmeticNotSupported);
  }

  int FieldRef(const QString& name) {
    for (size_t i = 0; i < fields_.size(); ++i) {
      if (fields_[i].Name.compare(name, Qt::CaseInsensitive) == 0) {
        AstNode node;
        node.Class = nodeField;
        node.FieldNo = static_cast<int>(i) + 1;
        node.Name = fields_[i].Name;
        node.FieldType = fields_[i].DataType;
        node.Type = FieldSType(node.FieldType);
        return Add(std::move(node));
      }
    }
    ParseError(DBText::FieldNotFound, name);
  }

  static AstNode StringConst(const QString& value) {
    AstNode node;
    node.Class = nodeConst;
    node.ConstType = cdtString;
    node.Str = value;
    node.Type = SType::String;
    return node;
  }

  int NumberConst(const QString& text) {
    AstNode node;
    node.Class = nodeConst;
    node.NumberLiteral = true;
    node.Type = SType::Number;
    bool ok = false;
    const qlonglong whole = text.toLongLong(&ok, 10);
    if (ok && FitsInt32(whole)) {
      node.ConstType = cdtInt32;
      node.Int = whole;
      node.Float = static_cast<double>(whole);
    } else {
      QLocale c = QLocale::c();
      c.setNumberOptions(QLocale::RejectGroupSeparator);
      const double value = c.toDouble(text, &ok);
      if (!ok || !std::isfinite(value)) ParseError(DBText::InvalidNumber, text);
      node.ConstType = cdtFloat;
      node.Float = value;
    }
    return Add(std::move(node));
  }

  static SType FunctionType(const QString& name) {
    const QString lower = name.toLower();
    if (lower == u"upper" || lower == u"lower" || lower == u"substring" || lower == u"trim" ||
        lower == u"trimleft" || lower == u"trimright")
      return SType::String;
    if (lower == u"year" || lower == u"month" || lower == u"day" || lower == u"hour" ||
        lower == u"minute" || lower == u"second")
      return SType::Number;
    if (lower == u"getdate" || lower == u"date") return SType::Date;
    if (lower == u"time") return SType::Time;
    return SType::Unknown;
  }

  int Upper(int operand) { return Unary(coUpper, operand, SType::String); }

  void CheckLogicalOperand(int index) const {
    switch (nodes_[static_cast<size_t>(index)].Type) {
      case SType::String:
      case SType::Date:
      case SType::Time:
      case SType::DateTime:
        ParseError(DBText::TypeMismatch);
      default:
        break;
    }
  }

  int Logical(uint32_t op, int left, int right) {
    CheckLogicalOperand(left);
    CheckLogicalOperand(right);
    return Binary(op, left, right, SType::Boolean);
  }

  int Arithmetic(uint32_t op, int left, int right) {
    const SType a = At(left).Type;
    const SType b = At(right).Type;
    SType type = SType::Unknown;
    if (a == SType::Number && b == SType::Number)
      type = SType::Number;
    else if (op == coAdd && a == SType::String && b == SType::String)
      type = SType::String;
    return Binary(op, left, right, type);
  }

  bool IsConst(int index) const { return nodes_[static_cast<size_t>(index)].Class == nodeConst; }

  // Operand kinds that the filter cannot compare at all.
  void CheckComparable(int left, int right) const {
    const SType a = nodes_[static_cast<size_t>(left)].Type;
    const SType b = nodes_[static_cast<size_t>(right)].Type;
    auto stringConst = [this](int index) {
      return IsConst(index) && nodes_[static_cast<size_t>(index)].ConstType == cdtString;
    };
    // A string constant left over against a number or a Boolean could not be converted.
    if ((a == SType::Number || a == SType::Boolean) && stringConst(right))
      ParseError(DBText::TypeMismatch);
    if ((b == SType::Number || b == SType::Boolean) && stringConst(left))
      ParseError(DBText::TypeMismatch);
  }

  // Types a constant by what it is compared with (see the header).
  void CoerceConstant(int constIndex, int otherIndex) {
    if (!IsConst(constIndex)) return;
    AstNode& constant = At(constIndex);
    const AstNode& other = At(otherIndex);
    if (constant.NumberLiteral) {
      if (other.Class != nodeField) return;
      if (IsFloatFieldType(other.FieldType) || IsCurrencyFieldType(other.FieldType))
        MakeFloat(constant, constant.Float);
      return;
    }
    if (constant.ConstType != cdtString) return;
    const QString text = constant.Str;
    switch (other.Type) {
      case SType::Number:
        CoerceStringToNumber(constant, other);
        break;
      case SType::Boolean: {
        const QString word = Trim(text);
        const bool isTrue = SameText(word, QStringLiteral("True"));
        if (isTrue || SameText(word, QStringLiteral("False"))) {
          constant.ConstType = cdtBoolean;
          constant.Int = isTrue ? 1 : 0;
          constant.Type = SType::Boolean;
        }
        break;
      }
      // Text that reads as no date or time under the current settings could not be compared on
      // any record: refused here, naming the text, rather than on the first record.
      case SType::Date: {
        TDateTime value = 0;
        if (TryStrToDate(text, value)) {
          constant.ConstType = cdtDate;
          constant.Int = DateToCanDate(value);
          constant.Type = SType::Date;
        } else if (TryStrToDateTime(text, value)) {
          MakeTimeStamp(constant, value);
        } else {
          ParseError(RtlText::InvalidDate, text);
        }
        break;
      }
      case SType::Time: {
        TDateTime value = 0;
        if (!TryStrToTime(text, value)) ParseError(RtlText::InvalidTime, text);
        constant.ConstType = cdtTime;
        constant.Int = TimeToCanTime(value);
        constant.Type = SType::Time;
        break;
      }
      case SType::DateTime: {
        TDateTime value = 0;
        if (!TryStrToDateTime(text, value)) ParseError(RtlText::InvalidDateTime, text);
        MakeTimeStamp(constant, value);
        break;
      }
      default:
        break;
    }
  }

  static void MakeFloat(AstNode& constant, double value) {
    constant.ConstType = cdtFloat;
    constant.Float = value;
    constant.Type = SType::Number;
  }

  static void MakeTimeStamp(AstNode& constant, TDateTime value) {
    constant.ConstType = cdtTimeStamp;
    constant.Float = DateTimeToCanTimeStamp(value);
    constant.Type = SType::DateTime;
  }

  // A string against a number reads as the number it spells, as the variant rules would read it
  // on every record; text that spells no number cannot be compared.
  static void CoerceStringToNumber(AstNode& constant, const AstNode& other) {
    const QString text = Trim(constant.Str);
    int64_t whole = 0;
    double value = 0;
    const bool floatTarget = other.Class == nodeField && (IsFloatFieldType(other.FieldType) ||
                                                          IsCurrencyFieldType(other.FieldType));
    if (TryStrToInt64(text, whole) && FitsInt32(whole)) {
      if (floatTarget) {
        MakeFloat(constant, static_cast<double>(whole));
      } else {
        constant.ConstType = cdtInt32;
        constant.Int = whole;
        constant.Type = SType::Number;
      }
      return;
    }
    // Filter text is data and writes numbers with "." whatever the user's separator is; a
    // number typed with the user's own separator reads as well. Neither reading depends on a
    // setting changed around the parse, so handlers that run meanwhile see the user's one.
    const bool read = TryStrToFloat(constant.Str, value, u'.') || TryStrToFloat(constant.Str, value);
    if (read && std::isfinite(value)) {
      MakeFloat(constant, value);
      return;
    }
    ParseError(DBText::TypeMismatch);
  }

  int Comparison(uint32_t op, int left, int right) {
    CoerceConstant(right, left);
    CoerceConstant(left, right);
    CheckComparable(left, right);
    if (op == coEQ || op == coNE) {
      if (const int node = PartialCompare(op, left, right); node >= 0) return node;
      if (const int node = PartialCompare(op, right, left); node >= 0) return node;
    }
    if (caseInsensitive_ && At(left).Type == SType::String && At(right).Type == SType::String) {
      if (op == coEQ || op == coNE) return Compare(op, left, right, 0);
      return Binary(op, Upper(left), Upper(right), SType::Boolean);
    }
    return Binary(op, left, right, SType::Boolean);
  }

  // subject = 'text*': "subject begins with text"; -1 when this is no partial comparison.
  int PartialCompare(uint32_t op, int subject, int constIndex) {
    if (!partialCompare_ || !IsConst(constIndex) || IsConst(subject)) return -1;
    AstNode& constant = At(constIndex);
    if (constant.ConstType != cdtString || At(subject).Type != SType::String) return -1;
    if (constant.Str.size() < 2 || !constant.Str.endsWith(u'*')) return -1;
    constant.Str.chop(1);
    return Compare(op, subject, constIndex, static_cast<int>(constant.Str.size()));
  }

  int Compare(uint32_t op, int left, int right, int partialLength) {
    AstNode node;
    node.Class = nodeCompare;
    node.Operator = op;
    node.Kids = {left, right};
    node.CaseInsensitive = caseInsensitive_;
    node.PartialLength = partialLength;
    node.Type = SType::Boolean;
    return Add(std::move(node));
  }

  int Like(int left, int right) {
    if (caseInsensitive_ && At(left).Type == SType::String && At(right).Type == SType::String)
      return Compare(coLike, left, right, 0);
    return Binary(coLike, left, right, SType::Boolean);
  }

  const std::vector<TExprFieldInfo>& fields_;
  Lexer lexer_;
  Token token_;
  std::vector<AstNode> nodes_;
  int depth_ = 0;
  bool caseInsensitive_;
  bool partialCompare_;
  bool extended_;
};

// ---------------------------------------------------------------------------------------------
// Writing the canned form

class CannedWriter {
 public:
  explicit CannedWriter(const std::vector<AstNode>& nodes) : nodes_(nodes) {}

  QByteArray Write(int root) {
    WriteNode(root);
    const int nodeArea = CannedHeaderSize;
    const qsizetype literalArea = nodeArea + nodeBytes_.size();
    if (nodeBytes_.size() > 0xFFFF || literalArea > 0xFFFF || literalBytes_.size() > 0xFFFF)
      ParseError(DBText::ExpressionTooComplex);
    QByteArray data(CannedHeaderSize, '\0');
    const qsizetype total = literalArea + literalBytes_.size();
    qToLittleEndian<uint16_t>(CannedFormatVersion, data.data());
    qToLittleEndian<uint32_t>(static_cast<uint32_t>(total), data.data() + 2);
    qToLittleEndian<uint16_t>(static_cast<uint16_t>(nodeArea), data.data() + 6);
    qToLittleEndian<uint16_t>(static_cast<uint16_t>(literalArea), data.data() + 8);
    qToLittleEndian<uint16_t>(static_cast<uint16_t>(nodeCount_), data.data() + 10);
    qToLittleEndian<uint16_t>(static_cast<uint16_t>(nodeBytes_.size()), data.data() + 12);
    qToLittleEndian<uint16_t>(static_cast<uint16_t>(literalBytes_.size()), data.data() + 14);
    data += nodeBytes_;
    data += literalBytes_;
    return data;
  }

 private:
  // Writes the header of a node and room for its fields; returns its offset.
  int BeginNode(TNodeClass nodeClass, uint32_t op) {
    const qsizetype offset = nodeBytes_.size();
    if (offset > 0xFFFF) ParseError(DBText::ExpressionTooComplex);
    char header[8];
    qToLittleEndian<uint32_t>(nodeClass, header);
    qToLittleEndian<uint32_t>(op, header + 4);
    nodeBytes_.append(header, 8);
    nodeBytes_.append(QByteArray(2 * CanNodeFieldCount(nodeClass), '\0'));
    ++nodeCount_;
    return static_cast<int>(offset);
  }

  void SetField(int nodeOffset, int index, int value) {
    if (value < 0 || value > 0xFFFF) ParseError(DBText::ExpressionTooComplex);
    qToLittleEndian<uint16_t>(static_cast<uint16_t>(value),
                              nodeBytes_.data() + nodeOffset + 8 + 2 * index);
  }

  int AddLiteral(const QByteArray& bytes) {
    const qsizetype offset = literalBytes_.size();
    if (offset > 0xFFFF) ParseError(DBText::ExpressionTooComplex);
    literalBytes_ += bytes;
    return static_cast<int>(offset);
  }

  int AddText(const QString& text) {
    QByteArray bytes = text.toUtf8();
    bytes.append('\0');
    if (auto it = texts_.constFind(bytes); it != texts_.constEnd()) return *it;
    const int offset = AddLiteral(bytes);
    texts_.insert(bytes, offset);
    return offset;
  }

  template <typename T>
  static QByteArray LittleEndian(T value) {
    QByteArray bytes(sizeof(T), '\0');
    qToLittleEndian<T>(value, bytes.data());
    return bytes;
  }

  int WriteNode(int index) {
    const AstNode& node = nodes_[static_cast<size_t>(index)];
    if (node.IsList) return WriteList(node.Kids, 0);
    const int offset = BeginNode(node.Class, node.Operator);
    switch (node.Class) {
      case nodeUnary:
        SetField(offset, 0, WriteNode(node.Kids[0]));
        break;
      case nodeBinary:
        SetField(offset, 0, WriteNode(node.Kids[0]));
        SetField(offset, 1, WriteNode(node.Kids[1]));
        break;
      case nodeCompare:
        SetField(offset, 0, node.CaseInsensitive ? 1 : 0);
        SetField(offset, 1, node.PartialLength);
        SetField(offset, 2, WriteNode(node.Kids[0]));
        SetField(offset, 3, WriteNode(node.Kids[1]));
        break;
      case nodeField:
        SetField(offset, 0, node.FieldNo);
        SetField(offset, 1, AddText(node.Name));
        break;
      case nodeConst:
        WriteConst(offset, node);
        break;
      case nodeFunc:
        SetField(offset, 0, AddText(node.Name));
        SetField(offset, 1, node.Kids.empty() ? 0 : WriteNode(node.Kids[0]));
        break;
      default:
        break;
    }
    return offset;
  }

  // The elements from position i on; each element is followed by its value's nodes.
  int WriteList(const std::vector<int>& items, size_t i) {
    const int offset = BeginNode(nodeListElem, coNotDefined);
    SetField(offset, 0, WriteNode(items[i]));
    SetField(offset, 1, i + 1 < items.size() ? WriteList(items, i + 1) : 0);
    return offset;
  }

  void WriteConst(int offset, const AstNode& node) {
    QByteArray value;
    switch (node.ConstType) {
      case cdtString:
        value = node.Str.toUtf8();
        value.append('\0');
        break;
      case cdtDate:
      case cdtTime:
      case cdtInt32:
        value = LittleEndian<int32_t>(static_cast<int32_t>(node.Int));
        break;
      case cdtBoolean:
        value = LittleEndian<int16_t>(node.Int ? 1 : 0);
        break;
      case cdtFloat:
      case cdtTimeStamp:
        value = LittleEndian<double>(node.Float);
        break;
      default:
        break;
    }
    SetField(offset, 0, node.ConstType);
    SetField(offset, 1, static_cast<int>(value.size()));
    SetField(offset, 2, AddLiteral(value));
  }

  const std::vector<AstNode>& nodes_;
  QByteArray nodeBytes_;
  QByteArray literalBytes_;
  QHash<QByteArray, int> texts_;
  int nodeCount_ = 0;
};

}  // namespace

std::vector<TExprFieldInfo> TExprParser::FieldInfoOf(const TDataSet& dataSet) {
  std::vector<TExprFieldInfo> fields;
  for (const TField* field : dataSet.Fields())
    fields.push_back({field->FieldName(), field->DataType()});
  return fields;
}

TExprParser::TExprParser(const TDataSet* dataSet, const QString& text, TFilterOptions options,
                         TParserOptions parserOptions)
    : TExprParser(dataSet ? FieldInfoOf(*dataSet) : std::vector<TExprFieldInfo>(), text, options,
                  parserOptions) {}

TExprParser::TExprParser(std::vector<TExprFieldInfo> fields, const QString& text,
                         TFilterOptions options, TParserOptions parserOptions)
    : fields_(std::move(fields)), text_(text), options_(options), parserOptions_(parserOptions) {
  Parse();
}

void TExprParser::Parse() {
  Parser parser(fields_, text_, options_, parserOptions_);
  const int root = parser.Run();
  data_ = CannedWriter(parser.Nodes()).Write(root);
}

}  // namespace Kel
