// The builder's texts: which conditions take part, how a field and a condition are written, the
// expression with its brackets, the filter text, the SQL statement and the write into the
// dataset.
#include <QScopeGuard>
#include <QSet>

#include "DataSet.h"
#include "Fields.h"
#include "KelFltBld.h"
#include "KelFltKeptTexts_p.h"
#include "KelFltText_p.h"
#include "KelListBoxTexts.h"
#include "KelParser.h"
#include "KelPublishedProps.h"
#include "KelUtils.h"
#include "LikeMask.h"
#include "RestoreOnExit.h"
#include "StrUtils.h"

namespace Kel {

// ---------------------------------------------------------------------------------------------
// Names

namespace {

bool IsPlainIdentifier(const QString& name) {
  if (name.isEmpty() || name.front().isDigit()) return false;
  for (const QChar c : name)
    if (!(c.isLetterOrNumber() || c == u'_')) return false;
  return true;
}

QString DoubleQuoted(const QString& name) {
  QString inner = name;
  inner.replace(u'"', QStringLiteral("\"\""));
  return u'"' + inner + u'"';
}

}  // namespace

const QStringList& ReservedWords() { return TKelSqlParser::SqlKeywords(); }

// A blank or a reserved word needs quoting; so does any other character that would not read
// as part of a name (a parenthesis, a hyphen), which the text would otherwise misread.
bool NameNeedsQuoting(const QString& name) {
  if (name.isEmpty()) return false;
  if (!IsPlainIdentifier(name)) return true;
  static const QSet<QString> reserved = [] {
    QSet<QString> words;
    for (const QString& word : ReservedWords()) words.insert(UpperCase(word));
    return words;
  }();
  return reserved.contains(UpperCase(name));
}

TSqlTextRules TKelFltBld::SqlTextRules() const {
  return DataSet() ? DataSet()->SqlTextRules() : TSqlTextRules();
}

QString TKelFltBld::FieldReference(const QString& fieldName) {
  if (!sqlMode_) {
    if (!encloseInBrackets_ || !NameNeedsQuoting(fieldName)) return fieldName;
    // The filter language reads "]]" inside brackets as a "]" of the name.
    QString inner = fieldName;
    inner.replace(u']', QStringLiteral("]]"));
    return u'[' + inner + u']';
  }
  const QString name = GetSQLFieldName(fieldName);
  const QString table = GetTableName(fieldName);
  // A dataset field's name is the column's name as the database keeps it, and where unquoted
  // names are read in lower case, one with capitals is found only quoted. Names the catalogue
  // gives (SQL names, table names) are SQL text already and are left as written there.
  const TField* column = DataSetField(name);
  const bool storedWithCapitals = column && column->FieldName() == name && name != name.toLower() &&
                                  SqlTextRules().QuoteNamesWithCapitals;
  // A name the catalogue gives in double quotes is a quoted SQL name already (a driver's own
  // quoting of a column): quoted again it would name another column.
  const bool quoted = name.size() >= 2 && name.front() == u'"' && name.back() == u'"';
  const bool quoteName = !quoted && (storedWithCapitals || NameNeedsQuoting(name));
  // An unqualified name is quoted as well: written bare, a name with a blank is no SQL.
  if (table.isEmpty()) return quoteName ? DoubleQuoted(name) : name;
  const QString quotedTable = NameNeedsQuoting(table) ? DoubleQuoted(table) : table;
  if (quoteName) return quotedTable + u'.' + DoubleQuoted(name);
  return addTableNames_ || quoted ? quotedTable + u'.' + name : name;
}

// ---------------------------------------------------------------------------------------------
// One condition

bool TKelFltBld::IsItemActive(TKelFltItem* item) {
  if (!item->Checked() || item->DataField().isEmpty() || item->Operation().isEmpty()) return false;
  TKelFltBoxTemplate* found = FindTemplate(item->DataField(), item->Template());
  if (!found || found->Filter().isEmpty()) return false;
  for (int i = 0; i < item->Params()->Count(); ++i)
    if (item->Params()->Items(i)->IsNull()) return false;
  return true;
}

QString ConnectorOutput(const QString& text) {
  using namespace KelFltText;
  if (SameText(text, ListBoxText(DisplayAnd)) || SameText(text, QLatin1String(OutputAnd)))
    return QString::fromLatin1(OutputAnd);
  if (SameText(text, ListBoxText(DisplayOr)) || SameText(text, QLatin1String(OutputOr)))
    return QString::fromLatin1(OutputOr);
  return text;
}

QString ConnectorDisplay(const QString& text) {
  using namespace KelFltText;
  const QString output = ConnectorOutput(text);
  if (output == QLatin1String(OutputAnd)) return ListBoxText(DisplayAnd);
  if (output == QLatin1String(OutputOr)) return ListBoxText(DisplayOr);
  return text;
}

QString TKelFltBld::GetConnectorText(const QString& operation) {
  return ConnectorOutput(operation);
}

namespace {

bool IsFltNameTerminator(QChar c) {
  return c == u' ' || c == u')' || c == u',' || c == u';' || c == u'\r' || c == u'\n';
}

bool IsWordChar(QChar c) { return c.isLetterOrNumber() || c == u'_'; }

// Whether text, blanks at its end left out, ends with the word LIKE.
bool EndsWithLike(QStringView text) {
  qsizetype end = text.size();
  while (end > 0 && text[end - 1].isSpace()) --end;
  const QStringView word = text.left(end);
  return word.endsWith(u"LIKE", Qt::CaseInsensitive) &&
         (word.size() == 4 || !IsWordChar(word[word.size() - 5]));
}

// Whether text, blanks at its start left out, begins with the word ESCAPE.
bool StartsWithEscape(QStringView text) {
  qsizetype start = 0;
  while (start < text.size() && text[start].isSpace()) ++start;
  const QStringView word = text.mid(start);
  return word.startsWith(u"ESCAPE", Qt::CaseInsensitive) &&
         (word.size() == 6 || !IsWordChar(word[6]));
}

// The SQL escape character: no database reads it as special inside a string literal.
constexpr QChar kSqlLikeEscape = u'!';

// The text of a LIKE value for SQL: "%", "_", "[" (a set on some servers) and the escape
// character itself escaped.
QString SqlLikeLiteral(QStringView text, bool& escaped) {
  QString literal;
  literal.reserve(text.size() + 4);
  for (const QChar c : text) {
    if (c == u'%' || c == u'_' || c == u'[' || c == kSqlLikeEscape) {
      literal += kSqlLikeEscape;
      escaped = true;
    }
    // A backslash is plain text only under an ESCAPE clause of another character: servers that
    // read it as their default escape would otherwise swallow it.
    if (c == u'\\') escaped = true;
    literal += c;
  }
  return literal;
}

// A parameter's value text as the operand of LIKE: prefix + the escaped value + suffix, quoted
// like ParamValueText quotes it, and for SQL followed by an ESCAPE clause when one is needed.
QString LikeValueText(const TKelField* param, TLikeTarget target) {
  switch (param->DataType()) {
    case FT_DATETIME:
    case FT_DATE:
    case FT_TIME:
    case FT_STRING:
      break;
    default:
      return ParamValueText(param);  // unquoted: a number holds no wildcard
  }
  const QString value = param->AsString(false);
  if (target == TLikeTarget::Filter)
    return QuotedStr(param->ValuePrefix() + LikeMaskLiteral(value) + param->ValueSuffix());
  bool escaped = false;
  const QString literal = SqlLikeLiteral(value, escaped);
  const QString text = QuotedStr(param->ValuePrefix() + literal + param->ValueSuffix());
  return escaped ? text + QStringLiteral(" ESCAPE '") + kSqlLikeEscape + u'\'' : text;
}

}  // namespace

bool IsLikeValue(const QString& filter, const QString& paramName) {
  const QString placeholder = u':' + paramName;
  for (qsizetype at = filter.indexOf(placeholder); at >= 0;
       at = filter.indexOf(placeholder, at + 1)) {
    const qsizetype end = at + placeholder.size();
    const bool wholeName = end == filter.size() || IsFltNameTerminator(filter[end]);
    if (wholeName && EndsWithLike(QStringView(filter).left(at)) &&
        !StartsWithEscape(QStringView(filter).mid(end)))
      return true;
  }
  return false;
}

// The value that the text written for a value stands for, appended to bound, and its "?" (with
// whatever the text has after its quoted literal) to result. It is read back from the text, so a
// bound value is always what the written value would have been.
void AppendBound(QString& result, const QString& text, TKelFieldType type,
                 std::vector<Variant>& bound) {
  if (text.startsWith(u'\'')) {
    QString value;
    qsizetype i = 1;
    for (; i < text.size(); ++i) {
      if (text[i] != u'\'') {
        value += text[i];
      } else if (i + 1 < text.size() && text[i + 1] == u'\'') {
        value += u'\'';
        ++i;
      } else {
        break;
      }
    }
    if (i < text.size()) {
      bound.push_back(Variant(value));
      result += u'?';
      result += QStringView(text).mid(i + 1);
      return;
    }
  }
  bool ok = false;
  Variant value;
  if (type == FT_INT || type == FT_FLOAT || type == FT_CURRENCY) {
    const qlonglong whole = text.toLongLong(&ok);
    if (ok) {
      value = Variant(static_cast<int64_t>(whole));
    } else if (const double real = text.toDouble(&ok); ok) {
      value = Variant(real);
    }
  } else if (type == FT_BOOL) {
    ok = SameText(text, QString::fromLatin1(KelFieldText::True)) ||
         SameText(text, QString::fromLatin1(KelFieldText::False));
    if (ok) value = Variant(SameText(text, QString::fromLatin1(KelFieldText::True)));
  }
  bound.push_back(ok ? value : Variant(text));
  result += u'?';
}

// The template's text with ":Field", the parameters and the date macros filled in, in one
// pass from left to right: what was inserted is never searched again, so a value that holds
// ":Value2" or ":SYSTODAY" stays the value it is.
QString FillTemplate(const QString& filter, const QString& fieldRef, const TKelFields* params,
                     TKelCustomDateTimeFormat* dateFormat, bool quoteMoney, TLikeTarget likeTarget,
                     std::vector<Variant>* bound) {
  const auto write = [&](const QString& text, TKelFieldType type, QString& result) {
    if (bound)
      AppendBound(result, text, type, *bound);
    else
      result += text;
  };
  static const QString field = QString::fromLatin1(KelFltParam::Field);
  QString result;
  result.reserve(filter.size() + 32);
  qsizetype i = 0;
  while (i < filter.size()) {
    if (filter[i] != u':') {
      result += filter[i++];
      continue;
    }
    const QStringView rest = QStringView(filter).mid(i + 1);
    if (rest.startsWith(field)) {
      result += fieldRef;
      i += 1 + field.size();
      continue;
    }
    // The longest parameter name that follows, so ":Value1" is Value1 even beside a Value.
    const TKelField* best = nullptr;
    for (int p = 0; params && p < params->Count(); ++p) {
      const TKelField* param = params->Items(p);
      if (!param->Name().isEmpty() && rest.startsWith(param->Name()) &&
          (!best || param->Name().size() > best->Name().size()))
        best = param;
    }
    if (best) {
      const qsizetype end = i + 1 + best->Name().size();
      if (EndsWithLike(result) && !StartsWithEscape(QStringView(filter).mid(end))) {
        write(LikeValueText(best, likeTarget), best->DataType(), result);
        i = end;
        continue;
      }
      const QString value = ParamValueText(best);
      const TKelFieldType type = best->DataType();
      const bool number = type == FT_INT || type == FT_FLOAT || type == FT_CURRENCY;
      write(quoteMoney && number ? QuotedStr(value) : value, type, result);
      i = end;
      continue;
    }
    qsizetype end = 0;
    while (end < rest.size() && !IsFltNameTerminator(rest[end])) ++end;
    if (const TKelField* macro = FindDateMacro(rest.left(end).toString())) {
      write(QuotedStr(dateFormat ? dateFormat->FormatDate(macro->AsDateTime())
                                 : FormatDateDefault(macro->AsDateTime())),
            FT_DATE, result);
      i += 1 + end;
      continue;
    }
    result += filter[i++];
  }
  return result;
}

QString TKelFltBld::ConditionText(TKelFltItem* item) {
  TKelFltBoxTemplate* found = FindTemplate(item->DataField(), item->Template());
  if (!found) return QString();
  return FillTemplate(
      found->Filter(), FieldReference(item->DataField()), item->Params(),
      items_->ActiveFilterFormat(),
      sqlMode_ && GetFieldType(item->DataField()) == ftCurrency && SqlTextRules().QuoteMoneyValues,
      sqlMode_ ? TLikeTarget::Sql : TLikeTarget::Filter, sqlMode_ ? boundValues_ : nullptr);
}

TKelFltConditionInputs TKelFltBld::ConditionInputs(const QString& fieldName,
                                                   const QString& templateText) {
  TKelFltConditionInputs inputs;
  const TKelFltBoxTemplate* found = FindTemplate(fieldName, templateText);
  inputs.TemplateFound = found != nullptr;
  if (found) inputs.Filter = found->Filter();
  inputs.FieldReference = FieldReference(fieldName);
  inputs.QuoteMoney =
      sqlMode_ && GetFieldType(fieldName) == ftCurrency && SqlTextRules().QuoteMoneyValues;
  return inputs;
}

// ---------------------------------------------------------------------------------------------
// Expression and filter text

namespace {

struct ExpressionText {
  QString Text;
  bool OrOutsideBrackets = false;  // an "or" at the top level: bracket it before adding to it
};

// Whether a hand-written condition has an "or" outside brackets and quoted text.
bool HasTopLevelOr(const QString& text) {
  int depth = 0;
  QChar quote;
  for (qsizetype i = 0; i < text.size(); ++i) {
    const QChar c = text[i];
    if (!quote.isNull()) {
      // A doubled quote or "]]" stands for one character of the text or name.
      if (c == quote && i + 1 < text.size() && text[i + 1] == quote)
        ++i;
      else if (c == quote)
        quote = QChar();
      continue;
    }
    if (c == u'\'' || c == u'"') {
      quote = c;
    } else if (c == u'[') {
      quote = u']';
    } else if (c == u'(') {
      ++depth;
    } else if (c == u')') {
      --depth;
    } else if (depth == 0 && (c == u'o' || c == u'O') && i + 1 < text.size() &&
               (text[i + 1] == u'r' || text[i + 1] == u'R')) {
      const bool startsWord = i == 0 || !(text[i - 1].isLetterOrNumber() || text[i - 1] == u'_');
      const bool endsWord =
          i + 2 >= text.size() || !(text[i + 2].isLetterOrNumber() || text[i + 2] == u'_');
      if (startsWord && endsWord) return true;
    }
  }
  return false;
}

}  // namespace

// kept: the parts kept of each condition, or nullptr to ask the builder for every one.
static ExpressionText BuildExpression(TKelFltBld& builder, TKelFltItems& items,
                                      TKelFltKeptTexts* kept) {
  ExpressionText result;
  if (kept) kept->Begin(TKelFltTextSettings::Of(items), items.Count());
  int previousLevel = 0;
  int open = 0;
  const TKelFltConditionPart* last = nullptr;  // of the last written condition
  TKelFltConditionPart asked;                  // without kept parts: this condition's
  TKelFltConditionPart lastAsked;              // and the last written one's
  // The items of a collection are of its item class or derived from it: when that is a
  // condition, each is one without asking it, which in a long list costs more than the rest.
  const bool conditions = items.ItemClass().inherits(&TKelFltItem::staticMetaObject);
  for (int i = 0; i < items.Count(); ++i) {
    TKelFltItem* item =
        conditions ? static_cast<TKelFltItem*>(items.TCollection::Items(i)) : items.Items(i);
    const TKelFltConditionPart* part = nullptr;
    if (kept) {
      part = &kept->Part(builder, item);
    } else {
      asked = TKelFltConditionPart::Write(builder, item);
      part = &asked;
    }
    if (!part->Active) continue;
    const int level = item->IndentLev();
    const int d = level - previousLevel;
    if (d < 0) {
      result.Text += QString(-d, u')');
      open += d;
    }
    if (last) {
      if (open <= 0 && last->ConnectorIsOr) result.OrOutsideBrackets = true;
      result.Text += u' ';
      result.Text += last->Connector;
      result.Text += u' ';
    }
    if (d > 0) {
      result.Text += QString(d, u'(');
      open += d;
    }
    result.Text += part->Text;
    if (!kept) {
      lastAsked = std::move(asked);
      part = &lastAsked;
    }
    last = part;
    previousLevel = level;
  }
  if (open > 0) result.Text += QString(open, u')');
  if (kept) kept->End();
  return result;
}

TKelFltKeptTexts* TKelFltBld::KeptTexts() {
  if (items_->OnGetAsString) return nullptr;
  // The bound form writes "?" where the kept texts hold values, and gathers the values as it
  // goes: it is written in full.
  if (boundValues_) return nullptr;
  return sqlMode_ ? keptSqlTexts_.get() : keptFilterTexts_.get();
}

void TKelFltBld::ForgetConditionTexts() {
  keptFilterTexts_->Clear();
  keptSqlTexts_->Clear();
}

QString TKelFltBld::Expression() { return BuildExpression(*this, *items_, KeptTexts()).Text; }

QString TKelFltBld::FilterStr() {
  QString text;
  if (filtered_) {
    const ExpressionText expression = BuildExpression(*this, *items_, KeptTexts());
    text = expression.Text;
    if (!additionalFilter_.isEmpty()) {
      if (text.isEmpty()) {
        text = additionalFilter_;
      } else {
        // "A or B" joined to another condition by "and" must stay one operand of the "and".
        const auto operand = [](const QString& s, bool bracket) {
          return bracket ? u'(' + s + u')' : s;
        };
        text = operand(additionalFilter_, HasTopLevelOr(additionalFilter_)) + u' ' +
               QString::fromLatin1(KelFltText::OutputAnd) + u' ' +
               operand(text, expression.OrOutsideBrackets);
      }
    }
  }
  // The SQL form is no change of the filter the dataset has.
  if (!sqlMode_ && text != lastFilterStr_) {
    lastFilterStr_ = text;
    modified_ = true;
  }
  return text;
}

// ---------------------------------------------------------------------------------------------
// SQL

QString TKelFltBld::GetOrderByText() {
  if (orderByItems_->Count() == 0) return QString();
  RestoreOnExit<bool> sqlForm(sqlMode_, true);
  QString text = QStringLiteral("ORDER BY");
  for (int i = 0; i < orderByItems_->Count(); ++i) {
    const TKelOrderByItem* item = orderByItems_->Items(i);
    if (i > 0) text += u',';
    text += u' ' + FieldReference(item->DataField());
    if (item->Descending()) text += QStringLiteral(" DESC");
  }
  return text;
}

QString TKelFltBld::CapturedHead() {
  QString head = Trim(sqlHead_->Text());
  QString visible;
  for (const QChar c : head)
    if (c.unicode() >= 32) visible += c;
  if (visible.isEmpty() && !headCaptured_ && dataSet_) {
    head = Trim(GetStringsProp(dataSet_, QStringLiteral("SQL")));
    sqlHead_->SetText(head);
    headCaptured_ = true;
  }
  return head;
}

namespace {

void AppendPart(QString& text, const QString& part) {
  if (part.isEmpty()) return;
  text = EnsureLineBreak(text) + part;
}

}  // namespace

QString TKelFltBld::SqlFilterText() {
  const bool forceDateTime = items_->ForceSQLDateTime();
  const bool forceBooleans = items_->ForceSQLBooleans();
  const auto restore = qScopeGuard([&] {
    items_->SetForceSQLDateTime(forceDateTime);
    items_->SetForceSQLBooleans(forceBooleans);
  });
  items_->SetForceSQLDateTime(true);
  items_->SetForceSQLBooleans(true);
  RestoreOnExit<bool> sqlForm(sqlMode_, true);
  return FilterStr();
}

QString TKelFltBld::StatementText() {
  const QString head = CapturedHead();
  const QString filter = SqlFilterText();
  QString text = head;
  if (!filter.isEmpty()) {
    if (whereInc_ == wiYes || (whereInc_ == wiAuto && !SqlHasWhere(head)))
      AppendPart(text, QStringLiteral("WHERE"));
    AppendPart(text, filter);
  }
  AppendPart(text, sqlTail_->Text());
  AppendPart(text, GetOrderByText());
  AppendPart(text, sqlOBTail_->Text());
  return text;
}

TStrings* TKelFltBld::SQL() {
  sql_->SetText(StatementText());
  return sql_.get();
}

TKelSqlWithParams TKelFltBld::SQLWithParams() {
  TKelSqlWithParams result;
  RestoreOnExit<std::vector<Variant>*> bind(boundValues_, &result.Values);
  result.Text = StatementText();
  return result;
}

TKelSqlWithParams TKelFltBld::SQLFilterWithParams() {
  TKelSqlWithParams result;
  RestoreOnExit<std::vector<Variant>*> bind(boundValues_, &result.Values);
  result.Text = SqlFilterText();
  return result;
}

// ---------------------------------------------------------------------------------------------
// Writing into the dataset

void TKelFltBld::UpdateDataSet() {
  const QString filter = FilterStr();
  if (!dataSet_ || !modified_) return;
  const TComponentState state = ComponentState();
  if (state.Contains(csDesigning) || state.Contains(csLoading) || state.Contains(csReading)) return;
  if (hookFilterProp_) {
    DataSet()->SetFilter(filter);
    DataSet()->SetFiltered(true);
  } else if (hookSQLProp_) {
    const bool wasActive = DataSet()->Active();
    if (SetStringsProp(dataSet_, QStringLiteral("SQL"), SQL()))
      DataSet()->SetActive(activateDataSet_ || wasActive);
  }
  modified_ = false;
}

}  // namespace Kel
