#pragma once
// Unit KelParser: table-driven tokenizers and the library's names for the LIKE-mask matcher.
//
// TKelParser splits a NUL-terminated text into tokens. What a character starts is not coded
// into the scanner: every lexer state owns a page of 256 handler entries, one per character
// code (codes above 255 use the entry of 255), and subclasses fill those pages. An empty entry
// skips its character. A handler consumes characters from the current position, may change
// LexState, and returns a token kind, or tokSkip to scan on. The parser counts lines, can save
// its state into a TKelTokenData item and resume from it, and gives a colour string per token
// through OnGetColorData.
//
// TKelSqlParser knows SQL: quoted strings ('' or "" doubled inside), identifiers and 152
// keywords, numbers, line comments ("//" to the line end) and block comments ("/* */", one
// token per line while a comment runs over several lines, LexState 2 in between). SqlHasWhere tells
// whether a statement holds a WHERE keyword outside strings and comments.
//
// TKelLikeMaskParser splits a LIKE mask into the mask tokens of LikeMask.h (mkLiteral,
// mkAnyChar, mkAnyString, mkCharSet, mkNotCharSet, mkEscape); PrepareLikeMask turns them into
// the items that LikeMatches runs. LikeMatches, CharSetFromText and the items themselves are
// those of the dataset layer (LikeMask.h): the library and its datasets share one matcher.

#include <QPoint>
#include <QString>
#include <array>
#include <bitset>
#include <functional>
#include <initializer_list>
#include <memory>
#include <vector>

#include "Collection.h"
#include "Component.h"
#include "KelExport.h"
#include "LikeMask.h"
#include "Strings.h"

namespace Kel {

// Token kinds.
enum TKelTokenKind {
  tokSkip = -1,  // nothing to report; scanning goes on
  tokEnd = 0,
  tokString = 1,
  tokComment = 2,
  tokIdent = 3,
  tokInteger = 4,
  tokFloat = 5,
  tokKeyword = 6,
  tokSymbol = 7,
};

// Lexer states of the library's parsers.
enum TKelLexState { lsNormal = 0, lsBraceComment = 1, lsBlockComment = 2 };

// A set of character codes 0..255.
using TKelCharSet = std::bitset<256>;
// The codes first..last (inclusive).
KEL_EXPORT TKelCharSet CharRange(int first, int last);
// The codes of the given characters.
KEL_EXPORT TKelCharSet CharsOf(std::initializer_list<char> chars);

// One saved state of a parser: where it stood, relative to the start of its line.
class KEL_EXPORT TKelTokenData : public TCollectionItem {
  Q_OBJECT

 public:
  Q_INVOKABLE explicit TKelTokenData(TCollection* collection);

  int TokenKind = -1;
  int LexState = 0;
  int LineNo = 0;
  int PosOffset = 0;    // current position - line start
  int TokenOffset = 0;  // token start - line start
  const QChar* LineStart = nullptr;
  int Reserved1 = 0;
  int Reserved2 = 0;
};

class TKelParser;
// (Sender; the token kind; its text; the colour string to fill)
using TKelGetColorDataEvent =
    std::function<void(QObject* sender, int token, const QString& tokenStr, QString& colorData)>;
// A handler of a character entry; subclasses register their own members (RegisterHandler).
using TKelTokenHandler = int (TKelParser::*)();

class KEL_EXPORT TKelParser : public TComponent {
  Q_OBJECT
  Q_PROPERTY(Kel::TStrings* Keywords READ Keywords WRITE SetKeywords)

 public:
  Q_INVOKABLE explicit TKelParser(TComponent* owner = nullptr);
  ~TKelParser() override;

  void Loaded() override;

  // Attaches a NUL-terminated text that the caller keeps alive while it is scanned. The text
  // already attached: nothing happens. Otherwise scanning starts at its beginning and
  // TokenKind is -1; LineNo and LexState stay.
  void SetText(const QChar* text);
  const QChar* Text() const { return text_; }

  // Scans one token and returns its kind (also kept in TokenKind).
  virtual int NextToken();
  // The characters of the current token.
  virtual QString TokenText() const;
  // Column (1-based, within the line) and line (1-based) of the current token.
  virtual QPoint TokenPos() const;

  int TokenKind() const { return tokenKind_; }
  int KeywordIndex() const { return keywordIndex_; }
  int LineNo() const { return lineNo_; }
  virtual void SetLineNo(int value) { lineNo_ = value; }
  int LexState() const { return lexState_; }
  void SetLexState(int value) { lexState_ = value; }
  // Where scanning stands, and where the token and its line start.
  const QChar* Position() const { return pos_; }
  const QChar* TokenStart() const { return tokenStart_; }
  const QChar* LineStart() const { return lineStart_; }

  // Saved states: made empty, for callers that keep a state per line.
  TCollection* States() const { return states_.get(); }
  virtual void SaveState(TKelTokenData* data) const;
  virtual void RestoreState(const TKelTokenData* data);
  virtual const QMetaObject& TokenDataClass() const { return TKelTokenData::staticMetaObject; }

  // Keywords as given; the sorted list (trimmed, non-empty, no duplicates, letter case ignored
  // under the locale's rules) follows every change.
  TStrings* Keywords() const { return keywords_.get(); }
  void SetKeywords(TStrings* value);
  const TStringList& SortedKeywords() const { return *sortedKeywords_; }

  // Colour data of a token: empty by default; with OnGetColorData the handler's string, cut or
  // padded (with the token kind's low byte as character) to the length of the token text.
  virtual void ClearColorData(QString& colorData) const { colorData.clear(); }
  virtual void GetColorData(int token, const QString& tokenStr, QString& colorData);

  // Stores handler in the entry of every character of chars, in the page of each state (pages
  // are made, empty, up to the highest state asked for).
  void RegisterHandler(std::initializer_list<int> states, TKelTokenHandler handler,
                       const TKelCharSet& chars);
  template <class T>
  void RegisterHandler(std::initializer_list<int> states, int (T::*handler)(),
                       const TKelCharSet& chars) {
    RegisterHandler(states, static_cast<TKelTokenHandler>(handler), chars);
  }
  // Drops every page (the mask parser starts from nothing).
  void ClearTables() { pages_.clear(); }
  int PageCount() const { return static_cast<int>(pages_.size()); }

  TKelGetColorDataEvent OnGetColorData;
  int Reserved1 = 0;
  int Reserved2 = 0;

 protected:
  // The base tables: "!".."ÿ" one-character symbols and the line breaks, in state 0.
  virtual void InitTables();
  virtual void ResetLexer() {}
  virtual void KeywordsChanged();
  // Registers the CR and LF handlers in the pages of states.
  void RegisterLineBreaks(std::initializer_list<int> states);

  // Handlers of the base.
  int ScanSymbol();
  int ScanCR();
  int ScanLF();
  // "{ ... }" comments: registered by none of the library's parsers, there for subclasses.
  virtual int SkipBraceComment();

  QChar Current() const { return *pos_; }
  QChar Next() const { return pos_[1]; }
  void Advance(int count = 1) { pos_ += count; }
  // TAB and every code from space up: what a line is made of.
  static bool IsLineChar(QChar c) { return c == u'\t' || c.unicode() >= 32; }
  void SkipLineChars() {
    while (IsLineChar(*pos_)) ++pos_;
  }
  void SetKeywordIndex(int index) { keywordIndex_ = index; }

 private:
  using Page = std::array<TKelTokenHandler, 256>;
  int LineBreak(QChar other);

  const QChar* text_ = nullptr;
  const QChar* pos_ = nullptr;
  const QChar* tokenStart_ = nullptr;
  const QChar* lineStart_ = nullptr;
  int lineNo_ = 0;
  int lexState_ = 0;
  int tokenKind_ = -1;
  int keywordIndex_ = -1;
  std::vector<std::unique_ptr<Page>> pages_;
  std::unique_ptr<TStringList> keywords_;
  std::unique_ptr<TStringList> sortedKeywords_;
  std::unique_ptr<TCollection> states_;
};

class KEL_EXPORT TKelSqlParser : public TKelParser {
  Q_OBJECT

 public:
  Q_INVOKABLE explicit TKelSqlParser(TComponent* owner = nullptr);

  // The keyword list the parser starts with, in its order (152 entries).
  static const QStringList& SqlKeywords();

 protected:
  int ScanQuoted();
  int ScanIdentifier();
  int ScanNumber();
  int ScanSlash();
  int ScanBlockComment();

 private:
  void SkipExponent();
};

class KEL_EXPORT TKelLikeMaskParser : public TKelParser {
  Q_OBJECT

 public:
  Q_INVOKABLE explicit TKelLikeMaskParser(TComponent* owner = nullptr);

  QChar EscapeChar() const { return escapeChar_; }
  // A different character rebuilds the tables.
  void SetEscapeChar(QChar value);

 protected:
  void InitTables() override;
  int ScanLiteral();
  int ScanAnyChar();
  int ScanAnyString();
  int ScanSet();
  int ScanEscape();

 private:
  bool EndsLiteral(QChar c) const;
  QChar escapeChar_ = u'^';
};

// The library's name for one compiled mask item (kind, literal text, character set).
using TKelPreparedMaskItem = TLikeMaskItem;

// True when SQL holds the keyword WHERE outside strings and comments (letter case ignored).
KEL_EXPORT bool SqlHasWhere(const QString& sql);

// Clears list and fills it with the items of mask, tokenized by a TKelLikeMaskParser.
KEL_EXPORT void PrepareLikeMask(const QString& mask, QChar escapeChar,
                                std::vector<TKelPreparedMaskItem>& list);

}  // namespace Kel
