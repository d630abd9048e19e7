#include "KelParser.h"

namespace Kel {

TKelCharSet CharRange(int first, int last) {
  TKelCharSet set;
  for (int c = std::max(first, 0); c <= std::min(last, 255); ++c) set.set(static_cast<size_t>(c));
  return set;
}

TKelCharSet CharsOf(std::initializer_list<char> chars) {
  TKelCharSet set;
  for (const char c : chars) set.set(static_cast<unsigned char>(c));
  return set;
}

TKelTokenData::TKelTokenData(TCollection* collection) : TCollectionItem(collection) {}

// ---------------------------------------------------------------------------------------------
// TKelParser

TKelParser::TKelParser(TComponent* owner)
    : TComponent(owner),
      keywords_(std::make_unique<TStringList>()),
      sortedKeywords_(std::make_unique<TStringList>()),
      states_(std::make_unique<TCollection>(TKelTokenData::staticMetaObject, this)) {
  sortedKeywords_->SetSorted(true);
  sortedKeywords_->SetDuplicates(dupIgnore);
  keywords_->OnChange = [this](TStringList*) { KeywordsChanged(); };
}

TKelParser::~TKelParser() { keywords_->OnChange = nullptr; }

void TKelParser::Loaded() {
  TComponent::Loaded();
  KeywordsChanged();
}

void TKelParser::SetText(const QChar* text) {
  if (text == text_) return;
  text_ = text;
  pos_ = tokenStart_ = lineStart_ = text;
  tokenKind_ = -1;
}

int TKelParser::NextToken() {
  int kind = tokEnd;
  for (;;) {
    tokenStart_ = pos_;
    if (!pos_ || pos_->isNull()) {
      kind = tokEnd;
      break;
    }
    // A state without a page skips every character, like a page of empty entries.
    const TKelTokenHandler handler =
        lexState_ >= 0 && lexState_ < PageCount()
            ? (*pages_[static_cast<size_t>(lexState_)])[static_cast<size_t>(CharTableIndex(*pos_))]
            : nullptr;
    if (!handler) {
      ++pos_;
      continue;
    }
    kind = (this->*handler)();
    if (kind != tokSkip) break;
  }
  tokenKind_ = kind;
  return kind;
}

QString TKelParser::TokenText() const {
  if (!tokenStart_ || pos_ <= tokenStart_) return QString();
  return QString(tokenStart_, pos_ - tokenStart_);
}

QPoint TKelParser::TokenPos() const {
  return QPoint(static_cast<int>(tokenStart_ - lineStart_) + 1, lineNo_ + 1);
}

void TKelParser::SaveState(TKelTokenData* data) const {
  data->Reserved1 = Reserved1;
  data->Reserved2 = Reserved2;
  data->TokenKind = tokenKind_;
  data->LexState = lexState_;
  data->LineNo = lineNo_;
  data->PosOffset = static_cast<int>(pos_ - lineStart_);
  data->TokenOffset = static_cast<int>(tokenStart_ - lineStart_);
  data->LineStart = lineStart_;
}

void TKelParser::RestoreState(const TKelTokenData* data) {
  Reserved1 = data->Reserved1;
  Reserved2 = data->Reserved2;
  lexState_ = data->LexState;
  lineNo_ = data->LineNo;
  SetText(data->LineStart);
  ResetLexer();
  // Attaching the line as a new text forgets the token kind; a restore brings it back too.
  tokenKind_ = data->TokenKind;
  lineStart_ = data->LineStart;
  pos_ = lineStart_ + data->PosOffset;
  tokenStart_ = lineStart_ + data->TokenOffset;
}

void TKelParser::SetKeywords(TStrings* value) {
  if (value && value != keywords_.get()) keywords_->Assign(*value);
}

void TKelParser::KeywordsChanged() {
  if (ComponentState().Contains(csLoading) || ComponentState().Contains(csReading)) return;
  sortedKeywords_->BeginUpdate();
  sortedKeywords_->Clear();
  for (int i = 0; i < keywords_->Count(); ++i) {
    const QString keyword = keywords_->Strings(i).trimmed();
    if (!keyword.isEmpty()) sortedKeywords_->Add(keyword);
  }
  sortedKeywords_->EndUpdate();
}

void TKelParser::GetColorData(int token, const QString& tokenStr, QString& colorData) {
  if (!OnGetColorData) return;
  OnGetColorData(this, token, tokenStr, colorData);
  if (colorData.size() > tokenStr.size())
    colorData.truncate(tokenStr.size());
  else if (colorData.size() < tokenStr.size())
    colorData.append(QString(tokenStr.size() - colorData.size(), QChar(token & 0xFF)));
}

void TKelParser::RegisterHandler(std::initializer_list<int> states, TKelTokenHandler handler,
                                 const TKelCharSet& chars) {
  for (const int state : states) {
    if (state < 0) continue;
    while (PageCount() <= state) {
      auto page = std::make_unique<Page>();
      page->fill(nullptr);
      pages_.push_back(std::move(page));
    }
    Page& page = *pages_[static_cast<size_t>(state)];
    for (size_t c = 0; c < page.size(); ++c)
      if (chars.test(c)) page[c] = handler;
  }
}

void TKelParser::InitTables() {
  RegisterHandler({lsNormal}, &TKelParser::ScanSymbol, CharRange('!', 255));
  RegisterLineBreaks({lsNormal});
}

void TKelParser::RegisterLineBreaks(std::initializer_list<int> states) {
  RegisterHandler(states, &TKelParser::ScanCR, CharsOf({'\r'}));
  RegisterHandler(states, &TKelParser::ScanLF, CharsOf({'\n'}));
}

int TKelParser::ScanSymbol() {
  Advance();
  return tokSymbol;
}

int TKelParser::LineBreak(QChar other) {
  Advance();
  if (Current() == other) Advance();
  ++lineNo_;
  lineStart_ = pos_;
  return tokSkip;
}

int TKelParser::ScanCR() { return LineBreak(u'\n'); }
int TKelParser::ScanLF() { return LineBreak(u'\r'); }

int TKelParser::SkipBraceComment() {
  while (IsLineChar(Current()) && Current() != u'}') Advance();
  if (Current() == u'}') {
    Advance();
    lexState_ = lsNormal;
  } else {
    lexState_ = lsBraceComment;
  }
  return tokComment;
}

// ---------------------------------------------------------------------------------------------
// TKelSqlParser

const QStringList& TKelSqlParser::SqlKeywords() {
  static const QStringList keywords = {
      "ACTIVE",    "ALL",        "AFTER",       "ALTER ",     "AND",         "ANY",
      "AS",        "ASC",        "ASCENDING",   "AT",         "AUTO",        "AUTOINC",
      "BASE_NAME", "BEFORE",     "BEGIN",       "BETWEEN",    "BLOB",        "BOOLEAN",
      "BOTH",      "BY",         "BYTES",       "CACHE",      "CAST",        "CHARACTER",
      "CHECK",     "COLUMN",     "COMMIT",      "COMMITTED",  "COMPUTED",    "CONDITIONAL",
      "CONNECT",   "CONSTRAINT", "CONTAINING",  "COUNT",      "CREATE",      "CURRENT",
      "CURSOR",    "DATABASE",   "DATE",        "DEBUG",      "DECIMAL",     "DECLARE",
      "DEFAULT",   "DELETE",     "DESC",        "DESCENDING", "DISTINCT",    "DOMAIN",
      "DO",        "DROP",       "ELSE",        "END",        "ENTRY_POINT", "ESCAPE",
      "EXCEPTION", "EXECUTE",    "EXISTS",      "EXIT",       "EXTERNAL",    "EXTRACT",
      "FILTER",    "FLOAT",      "FOR",         "FOREIGN",    "FROM",        "FULL",
      "FUNCTION",  "GENERATOR",  "GO",          "GRANT",      "GROUP",       "HAVING",
      "IF",        "IN",         "INACTIVE",    "INDEX",      "INNER",       "INSERT",
      "INTEGER",   "INTO",       "IS",          "ISOLATION",  "JOIN",        "KEY",
      "NULL",      "LEADING",    "LEFT",        "LEVEL",      "LIKE",        "MERGE",
      "MONEY",     "NAMES",      "NO",          "NOT",        "NUMERIC",     "OF",
      "ON",        "ONLY",       "OR",          "ORDER",      "OUTER",       "PARAMETER",
      "PASSWORD",  "PIVOT",      "PLAN",        "POSITION",   "PROCEDURE",   "PROTECTED",
      "PRIMARY",   "PRIVILEGES", "READ",        "REFERENCES", "RETAIN",      "RETURNING_VALUES",
      "RETURNS",   "REVOKE",     "RIGHT",       "ROLLBACK",   "SCHEMA",      "SELECT",
      "SET",       "SHARED",     "SHADOW",      "SMALLINT",   "SNAPSHOT",    "SOME",
      "SUSPEND",   "TABLE",      "THEN",        "TIME",       "TIMESTAMP",   "TO",
      "TRAILING",  "TRANSFORM",  "TRANSACTION", "TRIGGER",    "UNCOMMITTED", "UNION",
      "UNIQUE",    "UPDATE",     "USER",        "USING",      "VALUES",      "VARCHAR",
      "VARIABLE",  "VIEW",       "WAIT",        "WHEN",       "WHERE",       "WHILE",
      "WITH",      "WORK"};
  return keywords;
}

TKelSqlParser::TKelSqlParser(TComponent* owner) : TKelParser(owner) {
  Keywords()->SetText(SqlKeywords().join(u'\n'));
  InitTables();
  RegisterHandler({lsNormal}, &TKelSqlParser::ScanQuoted, CharsOf({'"', '\''}));
  RegisterHandler({lsNormal}, &TKelSqlParser::ScanIdentifier,
                  CharRange('A', 'Z') | CharRange('a', 'z') | CharsOf({'_'}));
  RegisterHandler({lsNormal}, &TKelSqlParser::ScanNumber, CharRange('0', '9'));
  RegisterHandler({lsNormal}, &TKelSqlParser::ScanSlash, CharsOf({'/'}));
  RegisterHandler({lsBlockComment}, &TKelSqlParser::ScanBlockComment, CharRange('!', 255));
  RegisterLineBreaks({lsBlockComment});
}

namespace {

bool IsDigit(QChar c) { return c >= u'0' && c <= u'9'; }

bool IsIdentChar(QChar c) {
  return IsDigit(c) || (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') || c == u'_';
}

}  // namespace

int TKelSqlParser::ScanQuoted() {
  const QChar quote = Current();
  Advance();
  for (;;) {
    while (IsLineChar(Current()) && Current() != quote) Advance();
    if (Current() != quote) break;  // the line ended: the string ends with it
    Advance();
    if (Current() != quote) break;
    Advance();  // a doubled quote stands for one quote
  }
  return tokString;
}

int TKelSqlParser::ScanIdentifier() {
  Advance();
  while (IsIdentChar(Current())) Advance();
  int index = -1;
  if (SortedKeywords().Find(TokenText(), index)) {
    SetKeywordIndex(index);
    return tokKeyword;
  }
  return tokIdent;
}

void TKelSqlParser::SkipExponent() {
  Advance();  // "E" or "e"
  if (Current() == u'+' || Current() == u'-') Advance();
  while (IsDigit(Current())) Advance();
}

int TKelSqlParser::ScanNumber() {
  Advance();
  while (IsDigit(Current())) Advance();
  int kind = tokInteger;
  // "12." followed by anything but a digit is the integer 12 and the symbol ".".
  if (Current() == u'.' && IsDigit(Next())) {
    Advance();
    while (IsDigit(Current())) Advance();
    kind = tokFloat;
  }
  if (Current() == u'E' || Current() == u'e') {
    SkipExponent();
    kind = tokFloat;
  }
  return kind;
}

int TKelSqlParser::ScanSlash() {
  if (Next() == u'*') {
    Advance(2);
    return ScanBlockComment();
  }
  if (Next() == u'/') {
    SkipLineChars();
    return tokComment;
  }
  Advance();
  return tokSymbol;
}

int TKelSqlParser::ScanBlockComment() {
  while (IsLineChar(Current())) {
    if (Current() == u'*') {
      Advance();
      if (Current() == u'/') {
        Advance();
        SetLexState(lsNormal);
        return tokComment;
      }
    } else {
      Advance();
    }
  }
  SetLexState(lsBlockComment);
  return tokComment;
}

// ---------------------------------------------------------------------------------------------
// TKelLikeMaskParser

TKelLikeMaskParser::TKelLikeMaskParser(TComponent* owner) : TKelParser(owner) { InitTables(); }

void TKelLikeMaskParser::SetEscapeChar(QChar value) {
  if (value == escapeChar_) return;
  escapeChar_ = value;
  InitTables();
}

void TKelLikeMaskParser::InitTables() {
  // Line breaks are ordinary characters of a mask: none of the base entries apply.
  ClearTables();
  RegisterHandler({lsNormal, 1}, &TKelLikeMaskParser::ScanLiteral, CharRange(1, 255));
  RegisterHandler({lsNormal}, &TKelLikeMaskParser::ScanAnyString, CharsOf({'%'}));
  RegisterHandler({lsNormal}, &TKelLikeMaskParser::ScanAnyChar, CharsOf({'_'}));
  RegisterHandler({lsNormal}, &TKelLikeMaskParser::ScanSet, CharsOf({'['}));
  TKelCharSet escape;
  escape.set(static_cast<size_t>(CharTableIndex(escapeChar_)));
  RegisterHandler({lsNormal}, &TKelLikeMaskParser::ScanEscape, escape);
}

bool TKelLikeMaskParser::EndsLiteral(QChar c) const {
  return c.isNull() || c == u'%' || c == u'[' || c == u'_' || c == escapeChar_;
}

int TKelLikeMaskParser::ScanLiteral() {
  Advance();  // the first character whatever it is: after an escape it may be "%" itself
  while (!EndsLiteral(Current())) Advance();
  SetLexState(lsNormal);
  return mkLiteral;
}

int TKelLikeMaskParser::ScanAnyChar() {
  Advance();
  return mkAnyChar;
}

int TKelLikeMaskParser::ScanAnyString() {
  Advance();
  return mkAnyString;
}

int TKelLikeMaskParser::ScanSet() {
  const bool negated = Next() == u'^';
  Advance();
  while (!Current().isNull() && Current() != u']') Advance();
  if (Current() == u']') Advance();
  return negated ? mkNotCharSet : mkCharSet;
}

int TKelLikeMaskParser::ScanEscape() {
  // Characters above 255 share one entry: only the escape character itself escapes.
  if (Current() != escapeChar_) return ScanLiteral();
  Advance();
  SetLexState(1);
  return mkEscape;
}

// ---------------------------------------------------------------------------------------------
// Free functions

bool SqlHasWhere(const QString& sql) {
  TKelSqlParser parser;
  int whereIndex = -1;
  if (!parser.SortedKeywords().Find(QStringLiteral("WHERE"), whereIndex)) return false;
  parser.SetText(sql.constData());
  while (parser.TokenKind() != tokEnd) {
    if (parser.TokenKind() == tokKeyword && parser.KeywordIndex() == whereIndex) return true;
    parser.NextToken();
  }
  return false;
}

void PrepareLikeMask(const QString& mask, QChar escapeChar,
                     std::vector<TKelPreparedMaskItem>& list) {
  list.clear();
  TKelLikeMaskParser parser;
  parser.SetEscapeChar(escapeChar);
  parser.SetText(mask.constData());
  for (int kind = parser.NextToken(); kind != tokEnd; kind = parser.NextToken()) {
    if (kind == mkEscape) continue;
    list.push_back(LikeMaskItemOf(static_cast<TLikeMaskKind>(kind), parser.TokenText()));
  }
}

}  // namespace Kel
