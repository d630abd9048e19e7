// LIKE masks: tokenizing, character sets and the classic matcher with its restart stack.
#include <gtest/gtest.h>

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <random>

#include "LikeMask.h"

namespace Kel {
namespace {

TEST(LikeMatches, MatchesWhatTheMaskDescribes) {
  for (const char16_t* mask :
       {u"abc%", u"%abc%", u"a%c", u"_b_", u"[a-c]bc", u"[^x]bc", u"abc", u"%", u"a%"})
    EXPECT_TRUE(LikeMatches(u"abc", mask)) << QString::fromUtf16(mask).toStdString();
}

TEST(LikeMatches, RefusesWhatTheMaskExcludes) {
  for (const char16_t* mask : {u"ab", u"abcd", u"%abd", u"__", u"[^a]bc", u"abc_", u"b%"})
    EXPECT_FALSE(LikeMatches(u"abc", mask)) << QString::fromUtf16(mask).toStdString();
}

TEST(LikeMatches, EscapeMakesTheNextCharacterLiteral) {
  EXPECT_TRUE(LikeMatches(u"a%b", u"a^%b"));
  EXPECT_FALSE(LikeMatches(u"axb", u"a^%b"));
  EXPECT_TRUE(LikeMatches(u"a%b", u"a%b"));
  EXPECT_TRUE(LikeMatches(u"axb", u"a%b"));
  EXPECT_TRUE(LikeMatches(u"a_b", u"a^_b"));
  EXPECT_FALSE(LikeMatches(u"axb", u"a^_b"));
  EXPECT_TRUE(LikeMatches(u"a^b", u"a^^b"));
}

TEST(LikeMatches, EmptyMaskAndPercentMatchEverything) {
  EXPECT_TRUE(LikeMatches(u"", u""));
  EXPECT_TRUE(LikeMatches(u"anything", u""));
  EXPECT_TRUE(LikeMatches(u"", u"%"));
  EXPECT_TRUE(LikeMatches(u"xyz", u"%%"));
  EXPECT_FALSE(LikeMatches(u"", u"_"));
  EXPECT_FALSE(LikeMatches(u"", u"a"));
}

TEST(LikeMatches, LetterCaseCounts) {
  EXPECT_FALSE(LikeMatches(u"ABC", u"abc"));
  EXPECT_FALSE(LikeMatches(u"Shark", u"sh%"));
  EXPECT_TRUE(LikeMatches(u"Shark", u"Sh%"));
}

TEST(LikeMatches, LiteralsAfterPercentSlideAndBacktrack) {
  // The first "b" after the percent is not the one that lets the rest match.
  EXPECT_TRUE(LikeMatches(u"abxbc", u"a%bc"));
  EXPECT_TRUE(LikeMatches(u"xaxbxc", u"%a%b%c"));
  EXPECT_FALSE(LikeMatches(u"xaxbx", u"%a%b%c"));
  EXPECT_TRUE(LikeMatches(u"abab", u"%ab"));
  EXPECT_TRUE(LikeMatches(u"aXbYb", u"a%b"));
  EXPECT_TRUE(LikeMatches(u"abc", u"%_b%"));
  EXPECT_TRUE(LikeMatches(u"abcabd", u"%abd"));
}

TEST(LikeMatches, UnderscoreAfterPercentCountsOneCharacterBeforeTheSlidingLiteral) {
  EXPECT_TRUE(LikeMatches(u"abb", u"%_b"));
  EXPECT_TRUE(LikeMatches(u"ab", u"%_b"));
  EXPECT_FALSE(LikeMatches(u"b", u"%_b"));
  EXPECT_TRUE(LikeMatches(u"abb", u"%__b"));
  EXPECT_TRUE(LikeMatches(u"xxbyyb", u"%__b"));
  EXPECT_FALSE(LikeMatches(u"ab", u"%__b"));
  EXPECT_TRUE(LikeMatches(u"abbc", u"%_b%c"));
  EXPECT_TRUE(LikeMatches(u"aab", u"%a_"));
}

TEST(LikeMatches, SetDirectlyAfterPercentIsTestedInPlaceOnly) {
  EXPECT_FALSE(LikeMatches(u"a1", u"%[0-9]"));
  EXPECT_TRUE(LikeMatches(u"1", u"%[0-9]"));
  EXPECT_TRUE(LikeMatches(u"a1", u"a[0-9]"));
}

TEST(LikeMatches, FailedSetResumesAtTheNextPlaceOfTheLiteral) {
  // The literal found first is followed by no digit; the next "a" is, right after the first.
  EXPECT_TRUE(LikeMatches(u"aa1", u"%a[0-9]"));
  EXPECT_TRUE(LikeMatches(u"xaxa7", u"%a[0-9]"));
  EXPECT_FALSE(LikeMatches(u"aax", u"%a[0-9]"));
}

// SQLite's LIKE, made case-sensitive, is the reference for masks without sets or escapes.
TEST(LikeMatches, AgreesWithSqliteOnRandomMasks) {
  const QString connection = QStringLiteral("like-reference");
  {
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection);
    db.setDatabaseName(QStringLiteral(":memory:"));
    ASSERT_TRUE(db.open()) << db.lastError().text().toStdString();
    QSqlQuery pragma(db);
    ASSERT_TRUE(pragma.exec(QStringLiteral("PRAGMA case_sensitive_like = ON")));
    QSqlQuery like(db);
    ASSERT_TRUE(like.prepare(QStringLiteral("SELECT ? LIKE ?")));
    std::mt19937 random(20240611);
    auto text = [&random](const char* alphabet, int alphabetSize, int maxLength, int minLength) {
      QString s = QStringLiteral("");  // not a null string, which would be bound as NULL
      const int length = minLength + static_cast<int>(random() % (maxLength - minLength + 1));
      for (int i = 0; i < length; ++i) s += QChar(alphabet[random() % alphabetSize]);
      return s;
    };
    for (int round = 0; round < 20000; ++round) {
      const QString mask = text("ab%_B", 5, 6, 1);
      const QString value = text("abB", 3, 7, 0);
      like.bindValue(0, value);
      like.bindValue(1, mask);
      ASSERT_TRUE(like.exec() && like.next()) << like.lastError().text().toStdString();
      const bool expected = like.value(0).toInt() != 0;
      ASSERT_EQ(LikeMatches(value, mask), expected)
          << "'" << value.toStdString() << "' LIKE '" << mask.toStdString() << "'";
    }
  }
  QSqlDatabase::removeDatabase(connection);
}

TEST(FindLiteral, FindsWhatIndexOfFinds) {
  std::mt19937 random(99);
  for (int round = 0; round < 20000; ++round) {
    QString text, needle;
    for (int i = static_cast<int>(random() % 40); i > 0; --i)
      text += QChar(u"abc\u20ac"[random() % 4]);
    for (int i = 1 + static_cast<int>(random() % 3); i > 0; --i)
      needle += QChar(u"abc"[random() % 3]);
    const qsizetype from = static_cast<qsizetype>(random() % 45);
    ASSERT_EQ(FindLiteral(text, needle, from), QStringView(text).indexOf(needle, from))
        << text.toStdString() << " / " << needle.toStdString() << " from " << from;
  }
  EXPECT_EQ(FindLiteral(u"xxxxxxxxxxxxxxxxab", u"ab"), 16) << "past the last full block";
  EXPECT_EQ(FindLiteral(u"abababababababab", u"bab", 3), 3);
}

// One occurrence at every place of texts of every length up to a few blocks, searched from every
// start: the places after the last full block of eight are searched by a step that overlaps the
// block before, which must neither miss nor invent a match.
TEST(FindLiteral, FindsTheOnlyOccurrenceWhereverItStands) {
  for (const QString& needle : {QString("z"), QString("zy"), QString("zyx")}) {
    for (int length = 0; length <= 40; ++length) {
      for (int at = -1; at + needle.size() <= length; ++at) {
        QString text(length, u'a');
        if (at >= 0) text.replace(at, needle.size(), needle);
        for (int from = 0; from <= length + 1; ++from)
          ASSERT_EQ(FindLiteral(text, needle, from), QStringView(text).indexOf(needle, from))
              << text.toStdString() << " / " << needle.toStdString() << " from " << from;
      }
    }
  }
  // A first character that repeats, so that candidates fail in the overlapping step.
  EXPECT_EQ(FindLiteral(u"zzzzzzzzzzzzzzzzzzzzy", u"zy"), 19);
  EXPECT_EQ(FindLiteral(u"zzzzzzzzzzzzzzzzzzzzz", u"zy"), -1);
}

TEST(LikeMatches, OneLiteralWithPercentsAndTheMaskKept) {
  EXPECT_TRUE(LikeMatches(u"a long text with abc inside", u"%abc%"));
  EXPECT_FALSE(LikeMatches(u"a long text with ab c inside", u"%abc%"));
  EXPECT_FALSE(LikeMatches(u"", u"%abc%"));
  EXPECT_TRUE(LikeMatches(u"abcdef", u"abc%"));
  EXPECT_FALSE(LikeMatches(u"xabcdef", u"abc%"));
  EXPECT_TRUE(LikeMatches(u"xxabc", u"%abc"));
  EXPECT_FALSE(LikeMatches(u"xxabcx", u"%abc"));
  // The kept mask is the one asked for, also when masks alternate.
  EXPECT_TRUE(LikeMatches(u"abc", u"abc%"));
  EXPECT_FALSE(LikeMatches(u"abc", u"%b"));
  EXPECT_TRUE(LikeMatches(u"abc", u"abc%"));
  EXPECT_TRUE(LikeMatches(u"abc", u""));
  // A mask of the same length with one character changed is another mask.
  EXPECT_TRUE(LikeMatches(u"xabcx", u"%abc%"));
  EXPECT_FALSE(LikeMatches(u"xabcx", u"%abd%"));
  EXPECT_TRUE(LikeMatches(u"xabdx", u"%abd%"));
}

TEST(LikeMatches, UnclosedSetTakesTheRestOfTheMask) {
  EXPECT_TRUE(LikeMatches(u"b", u"[abc"));
  EXPECT_FALSE(LikeMatches(u"d", u"[abc"));
}

TEST(CharSetFromText, RangesAndDashes) {
  const TLikeCharSet range = CharSetFromText(u"a-c");
  EXPECT_TRUE(range.test('a') && range.test('b') && range.test('c'));
  EXPECT_EQ(range.count(), 3u);
  const TLikeCharSet reversed = CharSetFromText(u"c-a");
  EXPECT_TRUE(reversed.test('c') && reversed.test('a'));
  EXPECT_FALSE(reversed.test('b')) << "a reversed range adds no codes between its ends";
  const TLikeCharSet leading = CharSetFromText(u"-a");
  EXPECT_TRUE(leading.test('-') && leading.test('a'));
  const TLikeCharSet trailing = CharSetFromText(u"a-");
  EXPECT_TRUE(trailing.test('a'));
  EXPECT_FALSE(trailing.test('-')) << "a dash ending a range attempt is dropped";
  const TLikeCharSet chained = CharSetFromText(u"a-c-e");
  EXPECT_EQ(chained.count(), 5u);
  EXPECT_TRUE(CharSetFromText(u"").none());
}

TEST(CharSetFromText, CodesAbove255CountAs255) {
  const TLikeCharSet set = CharSetFromText(u"\u0100");
  EXPECT_TRUE(set.test(255));
  EXPECT_TRUE(LikeMatches(u"\u20ac", u"[\u00ff]"));
  EXPECT_FALSE(LikeMatches(u"\u20ac", u"[a-z]"));
}

TEST(PrepareLikeMask, ItemsOfAMask) {
  const std::vector<TLikeMaskItem> items = PrepareLikeMask(u"ab%_[x-z][^q]^%c");
  ASSERT_EQ(items.size(), 6u);
  EXPECT_EQ(items[0].Kind, mkLiteral);
  EXPECT_EQ(items[0].Text, QStringLiteral("ab"));
  EXPECT_EQ(items[1].Kind, mkAnyString);
  EXPECT_EQ(items[2].Kind, mkAnyChar);
  EXPECT_EQ(items[3].Kind, mkCharSet);
  EXPECT_TRUE(items[3].Set.test('y'));
  EXPECT_EQ(items[4].Kind, mkNotCharSet);
  EXPECT_TRUE(items[4].Set.test('q'));
  EXPECT_EQ(items[5].Kind, mkLiteral);
  EXPECT_EQ(items[5].Text, QStringLiteral("%c")) << "the escaped character opens a literal run";
}

TEST(PrepareLikeMask, LineBreaksAreOrdinaryCharactersAndNulEndsTheMask) {
  EXPECT_TRUE(LikeMatches(u"a\r\nb", u"a\r\nb"));
  EXPECT_TRUE(LikeMatches(u"ab", QStringView(u"ab\0cd", 5)));
  const auto tokens = TokenizeLikeMask(u"a^", u'^');
  ASSERT_EQ(tokens.size(), 2u);
  EXPECT_EQ(tokens[1].first, mkEscape);
}

TEST(TLikeMask, CompiledMaskIsReusable) {
  const TLikeMask mask(u"%an%");
  EXPECT_TRUE(mask.Matches(u"Mangrove"));
  EXPECT_FALSE(mask.Matches(u"Shark"));
  EXPECT_TRUE(mask.Matches(u"Angelfish an"));
  EXPECT_TRUE(mask.Matches(u"Snapper and Grouper"));
}

// A text made into a mask matches itself and nothing else, and reads back from the mask.
TEST(LikeMaskLiteral, MatchesTheTextAsTypedAndReadsBack) {
  for (const QString text : {"50%", "a_b", "[1]", "x^y", "^", "%_[^]", "plain", ""}) {
    const QString mask = LikeMaskLiteral(text);
    EXPECT_TRUE(LikeMatches(text, mask)) << mask.toStdString();
    EXPECT_TRUE(LikeMatches(QStringLiteral("<") + text + u'>', u'%' + mask + u'%'))
        << mask.toStdString();
    EXPECT_EQ(LikeMaskLiteralText(mask), text);
  }
  EXPECT_FALSE(LikeMatches(u"500", LikeMaskLiteral(u"50%")));
  EXPECT_FALSE(LikeMatches(u"axb", LikeMaskLiteral(u"a_b")));
  EXPECT_FALSE(LikeMatches(u"1", LikeMaskLiteral(u"[1]")));
  for (const QString mask : {"a%", "_", "[1]", "ab^"}) EXPECT_FALSE(LikeMaskLiteralText(mask));
}

}  // namespace
}  // namespace Kel
