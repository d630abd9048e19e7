// The table-driven tokenizers: SQL tokens, lines, comments over several lines, keywords, saved
// states and colour data; SqlHasWhere; the LIKE-mask tokenizer against the dataset layer's.
#include <gtest/gtest.h>

#include <random>
#include <utility>
#include <vector>

#include "KelParser.h"

namespace Kel {
namespace {

struct Token {
  int kind;
  QString text;
  bool operator==(const Token&) const = default;
};

std::ostream& operator<<(std::ostream& os, const Token& t) {
  return os << "(" << t.kind << " '" << t.text.toStdString() << "')";
}

std::vector<Token> Tokens(TKelParser& parser, const QString& text) {
  parser.SetText(text.constData());
  std::vector<Token> tokens;
  for (int kind = parser.NextToken(); kind != tokEnd; kind = parser.NextToken())
    tokens.push_back({kind, parser.TokenText()});
  return tokens;
}

std::vector<Token> SqlTokens(const QString& text) {
  TKelSqlParser parser;
  return Tokens(parser, text);
}

TEST(SqlTokens, StringsIdentifiersKeywordsAndSymbols) {
  EXPECT_EQ(SqlTokens("select Name, 'it''s' from t;"), (std::vector<Token>{{tokKeyword, "select"},
                                                                           {tokIdent, "Name"},
                                                                           {tokSymbol, ","},
                                                                           {tokString, "'it''s'"},
                                                                           {tokKeyword, "from"},
                                                                           {tokIdent, "t"},
                                                                           {tokSymbol, ";"}}));
  // A string without its closing quote ends with its line.
  EXPECT_EQ(SqlTokens("\"abc\nx"), (std::vector<Token>{{tokString, "\"abc"}, {tokIdent, "x"}}));
  EXPECT_EQ(SqlTokens("\"a\"\"b\" 'c\"d'"),
            (std::vector<Token>{{tokString, "\"a\"\"b\""}, {tokString, "'c\"d'"}}));
  EXPECT_EQ(SqlTokens("_x1 BASE_NAME"),
            (std::vector<Token>{{tokIdent, "_x1"}, {tokKeyword, "BASE_NAME"}}));
}

TEST(SqlTokens, Numbers) {
  EXPECT_EQ(SqlTokens("1.5e+3"), (std::vector<Token>{{tokFloat, "1.5e+3"}}));
  EXPECT_EQ(SqlTokens("1e"), (std::vector<Token>{{tokFloat, "1e"}}));
  EXPECT_EQ(SqlTokens("1.e5"),
            (std::vector<Token>{{tokInteger, "1"}, {tokSymbol, "."}, {tokIdent, "e5"}}));
  EXPECT_EQ(SqlTokens("12. 42 7E-2x"), (std::vector<Token>{{tokInteger, "12"},
                                                           {tokSymbol, "."},
                                                           {tokInteger, "42"},
                                                           {tokFloat, "7E-2"},
                                                           {tokIdent, "x"}}));
}

TEST(SqlTokens, CommentsAndSlashes) {
  EXPECT_EQ(SqlTokens("a / b // rest of line\nc"),
            (std::vector<Token>{{tokIdent, "a"},
                                {tokSymbol, "/"},
                                {tokIdent, "b"},
                                {tokComment, "// rest of line"},
                                {tokIdent, "c"}}));
  EXPECT_EQ(SqlTokens("a/* x */b"),
            (std::vector<Token>{{tokIdent, "a"}, {tokComment, "/* x */"}, {tokIdent, "b"}}));
  // "{" comments belong to subclasses that ask for them: here "{" is a symbol.
  EXPECT_EQ(SqlTokens("{x}").front(), (Token{tokSymbol, "{"}));
}

TEST(SqlTokens, BlockCommentOverSeveralLinesGivesOneTokenPerLine) {
  TKelSqlParser parser;
  const QString text = "a /* one\r\ntwo\r\nthree */ b";
  parser.SetText(text.constData());
  EXPECT_EQ(parser.NextToken(), tokIdent);
  EXPECT_EQ(parser.NextToken(), tokComment);
  EXPECT_EQ(parser.TokenText(), "/* one");
  EXPECT_EQ(parser.LexState(), lsBlockComment);
  EXPECT_EQ(parser.NextToken(), tokComment);
  EXPECT_EQ(parser.TokenText(), "two");
  EXPECT_EQ(parser.LexState(), lsBlockComment);
  EXPECT_EQ(parser.NextToken(), tokComment);
  EXPECT_EQ(parser.TokenText(), "three */");
  EXPECT_EQ(parser.LexState(), lsNormal);
  EXPECT_EQ(parser.NextToken(), tokIdent);
  EXPECT_EQ(parser.LineNo(), 2);
  EXPECT_EQ(parser.NextToken(), tokEnd);
  EXPECT_EQ(parser.NextToken(), tokEnd) << "the end stays the end";
}

TEST(SqlTokens, EachKindOfLineBreakCountsOnce) {
  for (const char* brk : {"\r\n", "\n\r", "\r", "\n"}) {
    TKelSqlParser parser;
    const QString text = QString("a") + brk + "b" + brk + brk + "c";
    parser.SetText(text.constData());
    parser.NextToken();
    EXPECT_EQ(parser.TokenPos(), QPoint(1, 1));
    parser.NextToken();
    EXPECT_EQ(parser.TokenPos(), QPoint(1, 2)) << QString(brk).toUtf8().toHex().toStdString();
    parser.NextToken();
    EXPECT_EQ(parser.TokenPos(), QPoint(1, 4)) << QString(brk).toUtf8().toHex().toStdString();
  }
  TKelSqlParser parser;
  const QString text = "select\n   x, yy";
  parser.SetText(text.constData());
  parser.NextToken();
  parser.NextToken();
  EXPECT_EQ(parser.TokenPos(), QPoint(4, 2));
  parser.NextToken();
  parser.NextToken();
  EXPECT_EQ(parser.TokenPos(), QPoint(7, 2));
}

TEST(SqlKeywords, ListIsLookedUpTrimmedAndIgnoringCase) {
  TKelSqlParser parser;
  EXPECT_EQ(TKelSqlParser::SqlKeywords().size(), 152);
  EXPECT_EQ(parser.SortedKeywords().Count(), 152);
  EXPECT_EQ(parser.SortedKeywords().IndexOf("ALTER"), 3) << "\"ALTER \" is kept trimmed";
  EXPECT_EQ(SqlTokens("alter Where wHeRe").size(), 3u);
  for (const Token& t : SqlTokens("alter Where wHeRe")) EXPECT_EQ(t.kind, tokKeyword);
  const QString text = "where";
  parser.SetText(text.constData());
  parser.NextToken();
  EXPECT_EQ(parser.SortedKeywords().Strings(parser.KeywordIndex()), "WHERE");
}

TEST(SqlKeywords, ChangingTheListRebuildsTheSortedOne) {
  TKelSqlParser parser;
  parser.Keywords()->SetText(" zeta \nalpha\n\nalpha\nbeta");
  EXPECT_EQ(parser.SortedKeywords().Text(), "alpha\r\nbeta\r\nzeta\r\n");
  EXPECT_EQ(Tokens(parser, "select beta"),
            (std::vector<Token>{{tokIdent, "select"}, {tokKeyword, "beta"}}));
  // While a stream is read into the parser the list is left alone; Loaded catches up.
  parser.SetLoading(true);
  parser.Keywords()->SetText("select");
  EXPECT_EQ(parser.SortedKeywords().Count(), 3);
  parser.Loaded();
  EXPECT_EQ(parser.SortedKeywords().Text(), "select\r\n");
}

TEST(SqlHasWhere, OnlyAWhereKeywordOutsideStringsAndComments) {
  EXPECT_TRUE(SqlHasWhere("select * from t where a = 1"));
  EXPECT_TRUE(SqlHasWhere("SELECT a FROM t Where x = 1"));
  EXPECT_TRUE(SqlHasWhere("select a from t\r\n/* note\r\n*/ WHERE x = 1"));
  EXPECT_FALSE(SqlHasWhere("select 'where' from t /* where */"));
  EXPECT_FALSE(SqlHasWhere("select \"where\" from t // where"));
  EXPECT_FALSE(SqlHasWhere("select * from t /* open\r\n where\r\n still open"));
  EXPECT_FALSE(SqlHasWhere("select wherever, nowhere from t"));
  EXPECT_FALSE(SqlHasWhere(""));
}

TEST(TKelParser, SavedStateResumesTheScan) {
  TKelSqlParser parser;
  const QString text = "a b\r\n/* c\r\nd */ e f";
  parser.SetText(text.constData());
  std::vector<Token> all;
  for (int kind = parser.NextToken(); kind != tokEnd; kind = parser.NextToken())
    all.push_back({kind, parser.TokenText()});
  ASSERT_EQ(all.size(), 6u);

  // Save after the first comment piece (inside the comment), scan on, come back.
  parser.SetLineNo(0);
  parser.SetLexState(lsNormal);
  const QString other = "x";
  parser.SetText(other.constData());
  parser.SetText(text.constData());
  for (int i = 0; i < 3; ++i) parser.NextToken();
  auto* state = static_cast<TKelTokenData*>(parser.States()->Add());
  parser.SaveState(state);
  EXPECT_EQ(state->LexState, lsBlockComment);
  EXPECT_EQ(state->LineNo, 1);
  parser.NextToken();
  parser.NextToken();
  EXPECT_EQ(parser.TokenText(), "e");
  parser.RestoreState(state);
  EXPECT_EQ(parser.TokenKind(), tokComment);
  EXPECT_EQ(parser.TokenText(), "/* c");
  EXPECT_EQ(parser.TokenPos(), QPoint(1, 2));
  std::vector<Token> rest;
  for (int kind = parser.NextToken(); kind != tokEnd; kind = parser.NextToken())
    rest.push_back({kind, parser.TokenText()});
  EXPECT_EQ(rest, std::vector<Token>(all.begin() + 3, all.end()));
}

TEST(TKelParser, ColourDataFollowsTheTokenLength) {
  TKelSqlParser parser;
  QString colours = "keep";
  parser.GetColorData(tokIdent, "abc", colours);
  EXPECT_EQ(colours, "keep") << "no handler: nothing is touched";
  parser.ClearColorData(colours);
  EXPECT_TRUE(colours.isEmpty());
  parser.OnGetColorData = [](QObject*, int, const QString&, QString& data) { data = "x"; };
  parser.GetColorData(0x103, "abcd", colours);
  EXPECT_EQ(colours, QString("x") + QString(3, QChar(3)));
  parser.OnGetColorData = [](QObject*, int, const QString&, QString& data) { data = "toolong"; };
  parser.GetColorData(tokIdent, "ab", colours);
  EXPECT_EQ(colours, "to");
}

TEST(TKelParser, HandlerPagesAreMadeUpToTheHighestState) {
  TKelParser parser;
  EXPECT_EQ(parser.PageCount(), 0);
  const QString text = "ab";
  parser.SetText(text.constData());
  EXPECT_EQ(parser.NextToken(), tokEnd) << "without pages every character is skipped";
  parser.RegisterHandler({2}, &TKelParser::NextToken, CharRange('a', 'a'));
  EXPECT_EQ(parser.PageCount(), 3);
}

// ---- LIKE masks

std::vector<std::pair<TLikeMaskKind, QString>> MaskTokens(const QString& mask, QChar escape) {
  TKelLikeMaskParser parser;
  parser.SetEscapeChar(escape);
  parser.SetText(mask.constData());
  std::vector<std::pair<TLikeMaskKind, QString>> tokens;
  for (int kind = parser.NextToken(); kind != tokEnd; kind = parser.NextToken())
    tokens.emplace_back(static_cast<TLikeMaskKind>(kind), parser.TokenText());
  return tokens;
}

TEST(LikeMaskParser, TokensOfAMask) {
  using Tokens = std::vector<std::pair<TLikeMaskKind, QString>>;
  EXPECT_EQ(MaskTokens("a^%b%_[a-c][^x]\r\n", u'^'), (Tokens{{mkLiteral, "a"},
                                                             {mkEscape, "^"},
                                                             {mkLiteral, "%b"},
                                                             {mkAnyString, "%"},
                                                             {mkAnyChar, "_"},
                                                             {mkCharSet, "[a-c]"},
                                                             {mkNotCharSet, "[^x]"},
                                                             {mkLiteral, "\r\n"}}));
  EXPECT_EQ(MaskTokens("[abc", u'^'), (Tokens{{mkCharSet, "[abc"}}));
  EXPECT_EQ(MaskTokens("a!%b", u'!'),
            (Tokens{{mkLiteral, "a"}, {mkEscape, "!"}, {mkLiteral, "%b"}}));
  EXPECT_EQ(MaskTokens("a^b", u'!'), (Tokens{{mkLiteral, "a^b"}}));
}

TEST(LikeMaskParser, AgreesWithTheDatasetLayersTokenizer) {
  // Random masks over the characters that mean something, plus letters, line breaks and
  // characters beyond 255 (which share the table entry of 255).
  const QString alphabet = QStringLiteral("ab%_[]^-!\r\xff\u20ac\u00e9");
  std::mt19937 random(8);
  for (int round = 0; round < 3000; ++round) {
    QString mask;
    const int length = static_cast<int>(random() % 12);
    for (int i = 0; i < length; ++i)
      mask += alphabet[static_cast<qsizetype>(random() % alphabet.size())];
    for (const QChar escape : {QChar(u'^'), QChar(u'!'), QChar(u'\u20ac'), QChar(u'%')})
      ASSERT_EQ(MaskTokens(mask, escape), TokenizeLikeMask(mask, escape))
          << mask.toStdString() << " escape " << QString(escape).toStdString();
  }
}

TEST(PrepareLikeMask, ItemsOfTheTokens) {
  std::vector<TKelPreparedMaskItem> items{TKelPreparedMaskItem{}};
  PrepareLikeMask("x^_[a-c]%", u'^', items);
  ASSERT_EQ(items.size(), 4u) << "the list is cleared first, escapes make no item";
  EXPECT_EQ(items[0].Kind, mkLiteral);
  EXPECT_EQ(items[0].Text, "x");
  EXPECT_EQ(items[1].Kind, mkLiteral);
  EXPECT_EQ(items[1].Text, "_");
  EXPECT_EQ(items[2].Kind, mkCharSet);
  EXPECT_EQ(items[2].Set, CharSetFromText(u"a-c"));
  EXPECT_EQ(items[3].Kind, mkAnyString);
  PrepareLikeMask("[^xy]", u'^', items);
  ASSERT_EQ(items.size(), 1u);
  EXPECT_EQ(items[0].Kind, mkNotCharSet);
  EXPECT_EQ(items[0].Set, CharSetFromText(u"xy"));
}

}  // namespace
}  // namespace Kel
