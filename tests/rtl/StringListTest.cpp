// String lists: text forms, name=value entries, sorting and duplicates, change events in update
// brackets, object ownership and files.
#include <gtest/gtest.h>

#include <QFile>
#include <QPointer>
#include <QTemporaryDir>

#include "Exceptions.h"
#include "FormatSettings.h"
#include "Streams.h"
#include "Strings.h"

namespace Kel {
namespace {

class StringListTest : public ::testing::Test {
 protected:
  void SetUp() override { SetFormatSettings(TFormatSettings::Invariant()); }
  TStringList list_;
};

QString Message(const std::function<void()>& action) {
  try {
    action();
  } catch (const Exception& e) {
    return e.Message();
  }
  return QStringLiteral("<no exception>");
}

TEST_F(StringListTest, TextEndsEveryLineWithCrLf) {
  list_.FromStringList({"a", "", "b"});
  EXPECT_EQ(list_.Text(), "a\r\n\r\nb\r\n");
  list_.Clear();
  EXPECT_EQ(list_.Text(), "");
}

TEST_F(StringListTest, SetTextSplitsAtEveryKindOfLineBreak) {
  list_.SetText("one\r\ntwo\nthree\rfour");
  EXPECT_EQ(list_.ToStringList(), QStringList({"one", "two", "three", "four"}));
  list_.SetText("a\r\n");
  EXPECT_EQ(list_.ToStringList(), QStringList({"a"}));
  list_.SetText("a\n\n");
  EXPECT_EQ(list_.ToStringList(), QStringList({"a", ""}));
  list_.SetText("\r\n\r\n");
  EXPECT_EQ(list_.ToStringList(), QStringList({"", ""}));
  list_.SetText("a\r\rb");
  EXPECT_EQ(list_.ToStringList(), QStringList({"a", "", "b"}));
  list_.SetText("");
  EXPECT_EQ(list_.Count(), 0);
}

TEST_F(StringListTest, CommaTextQuotesOnlyWhatNeedsIt) {
  list_.FromStringList({"plain", "two words", "say \"hi\"", "a,b", ""});
  EXPECT_EQ(list_.CommaText(), "plain,\"two words\",\"say \"\"hi\"\"\",\"a,b\",");
  list_.FromStringList({""});
  EXPECT_EQ(list_.CommaText(), "\"\"");
}

TEST_F(StringListTest, CommaTextRoundTrips) {
  const QStringList original{"plain", "two words", "say \"hi\"", "a,b", "", "end"};
  list_.FromStringList(original);
  TStringList copy;
  copy.SetCommaText(list_.CommaText());
  EXPECT_EQ(copy.ToStringList(), original);
  copy.SetCommaText("\"\"");
  EXPECT_EQ(copy.ToStringList(), QStringList({""}));
}

TEST_F(StringListTest, SetCommaTextSplitsAtBlanksOutsideQuotes) {
  list_.SetCommaText("  a b , \"c d\",,e,");
  EXPECT_EQ(list_.ToStringList(), QStringList({"a", "b", "c d", "", "e", ""}));
  list_.SetCommaText("\"unterminated");
  EXPECT_EQ(list_.ToStringList(), QStringList({"unterminated"}));
}

TEST_F(StringListTest, DelimitedTextUsesOwnDelimiterAndQuote) {
  list_.SetDelimiter(u';');
  list_.SetQuoteChar(u'\'');
  list_.FromStringList({"a", "b;c", "it's", "x,y"});
  EXPECT_EQ(list_.DelimitedText(), "a;'b;c';'it''s';x,y");
  // The comma form is not affected by the list's own settings.
  EXPECT_EQ(list_.CommaText(), "a,b;c,it's,\"x,y\"");
  TStringList copy;
  copy.SetDelimiter(u';');
  copy.SetQuoteChar(u'\'');
  copy.SetDelimitedText(list_.DelimitedText());
  EXPECT_EQ(copy.ToStringList(), list_.ToStringList());
}

TEST_F(StringListTest, NamesAndValues) {
  list_.FromStringList({"Color=Red", "size=10=cm", "novalue", "=empty name"});
  EXPECT_EQ(list_.Names(0), "Color");
  EXPECT_EQ(list_.Names(2), "");
  EXPECT_EQ(list_.Values("COLOR"), "Red");
  EXPECT_EQ(list_.Values("Size"), "10=cm");
  EXPECT_EQ(list_.Values("missing"), "");
  EXPECT_EQ(list_.ValueFromIndex(1), "10=cm");
  // An entry without a separator has no value (not its text minus the first character).
  EXPECT_EQ(list_.ValueFromIndex(2), "");
  EXPECT_EQ(list_.IndexOfName("novalue"), -1);
  EXPECT_EQ(list_.IndexOfName(""), 3);
}

TEST_F(StringListTest, SetValuesAddsReplacesAndDeletes) {
  list_.SetValues("a", "1");
  list_.SetValues("b", "2");
  list_.SetValues("A", "3");
  EXPECT_EQ(list_.ToStringList(), QStringList({"A=3", "b=2"}));
  list_.SetValues("b", "");
  EXPECT_EQ(list_.ToStringList(), QStringList({"A=3"}));
  list_.SetValues("missing", "");
  EXPECT_EQ(list_.Count(), 1);
}

TEST_F(StringListTest, OtherNameValueSeparator) {
  list_.SetNameValueSeparator(u':');
  list_.FromStringList({"key:value=1"});
  EXPECT_EQ(list_.Names(0), "key");
  EXPECT_EQ(list_.Values("KEY"), "value=1");
}

TEST_F(StringListTest, IndexErrorsNameTheIndex) {
  list_.FromStringList({"a", "b"});
  EXPECT_EQ(Message([&] { list_.Strings(2); }), "List index out of bounds (2)");
  EXPECT_EQ(Message([&] { list_.Delete(-1); }), "List index out of bounds (-1)");
  EXPECT_EQ(Message([&] { list_.Insert(3, "x"); }), "List index out of bounds (3)");
  EXPECT_EQ(Message([&] { list_.Exchange(0, 5); }), "List index out of bounds (5)");
  EXPECT_EQ(Message([&] { list_.Move(7, 0); }), "List index out of bounds (7)");
  EXPECT_THROW(list_.Objects(2), EStringListError);
  list_.Insert(2, "c");  // inserting at Count appends
  EXPECT_EQ(list_.ToStringList(), QStringList({"a", "b", "c"}));
}

TEST_F(StringListTest, ExchangeAndMoveCarryObjects) {
  int x = 1, y = 2;
  list_.AddObject("a", &x);
  list_.AddObject("b", &y);
  list_.Add("c");
  list_.Exchange(0, 1);
  EXPECT_EQ(list_.ToStringList(), QStringList({"b", "a", "c"}));
  EXPECT_EQ(list_.Objects(0), &y);
  list_.Move(0, 2);
  EXPECT_EQ(list_.ToStringList(), QStringList({"a", "c", "b"}));
  EXPECT_EQ(list_.Objects(2), &y);
  EXPECT_EQ(list_.IndexOfObject(&x), 0);
  EXPECT_EQ(list_.IndexOfObject(nullptr), 1);
}

TEST_F(StringListTest, IndexOfIgnoresCaseUnlessCaseSensitive) {
  list_.FromStringList({"Alpha", "beta"});
  EXPECT_EQ(list_.IndexOf("ALPHA"), 0);
  list_.SetCaseSensitive(true);
  EXPECT_EQ(list_.IndexOf("ALPHA"), -1);
  EXPECT_EQ(list_.IndexOf("beta"), 1);
}

TEST_F(StringListTest, SortedListKeepsOrderAndFindsFirstEqual) {
  list_.SetDuplicates(dupAccept);
  list_.FromStringList({"pear", "Apple", "fig", "apple", "banana"});
  list_.SetSorted(true);
  EXPECT_EQ(list_.ToStringList(), QStringList({"Apple", "apple", "banana", "fig", "pear"}));
  int index = -1;
  EXPECT_TRUE(list_.Find("APPLE", index));
  EXPECT_EQ(index, 0);
  EXPECT_FALSE(list_.Find("cherry", index));
  EXPECT_EQ(index, 3);
  EXPECT_EQ(list_.Add("Cherry"), 3);
  EXPECT_EQ(list_.Add("APPLE"), 2);  // after the equal entries
  EXPECT_EQ(list_.IndexOf("apple"), 0);
}

TEST_F(StringListTest, SortedListDuplicates) {
  list_.SetSorted(true);
  EXPECT_EQ(list_.Add("b"), 0);
  EXPECT_EQ(list_.Add("a"), 0);
  EXPECT_EQ(list_.Add("B"), 1);  // dupIgnore: the index of the entry already there
  EXPECT_EQ(list_.Count(), 2);
  list_.SetDuplicates(dupError);
  EXPECT_EQ(Message([&] { list_.Add("A"); }), "String list does not allow duplicates");
  EXPECT_EQ(list_.Count(), 2);
  list_.SetCaseSensitive(true);
  list_.Add("A");
  EXPECT_EQ(list_.Count(), 3);
}

TEST_F(StringListTest, SortedListRefusesPositionalChangesWithoutLosingEntries) {
  list_.FromStringList({"b", "a"});
  list_.SetSorted(true);
  const QString sortedError = "Operation not allowed on sorted string list";
  EXPECT_EQ(Message([&] { list_.Insert(0, "z"); }), sortedError);
  EXPECT_EQ(Message([&] { list_.SetStrings(0, "z"); }), sortedError);
  EXPECT_EQ(Message([&] { list_.Move(0, 1); }), sortedError);
  EXPECT_EQ(Message([&] { list_.Exchange(0, 1); }), sortedError);
  EXPECT_EQ(list_.ToStringList(), QStringList({"a", "b"}));
}

TEST_F(StringListTest, CustomSortIsStableAndSeesEntriesByIndex) {
  list_.FromStringList({"bb", "a", "cc", "d", "ee"});
  list_.CustomSort([](TStringList& l, int i, int j) {
    return static_cast<int>(l.Strings(i).size() - l.Strings(j).size());
  });
  EXPECT_EQ(list_.ToStringList(), QStringList({"a", "d", "bb", "cc", "ee"}));
}

TEST_F(StringListTest, ThrowingCustomSortLeavesListUntouched) {
  list_.FromStringList({"c", "b", "a"});
  EXPECT_THROW(list_.CustomSort([](TStringList&, int, int) -> int { throw EAbort("no"); }), EAbort);
  EXPECT_EQ(list_.ToStringList(), QStringList({"c", "b", "a"}));
}

TEST_F(StringListTest, ChangeEventsOutsideUpdateFireEachTime) {
  int changing = 0, changed = 0;
  list_.OnChanging = [&](TStringList* sender) {
    EXPECT_EQ(sender, &list_);
    ++changing;
  };
  list_.OnChange = [&](TStringList* sender) {
    EXPECT_EQ(sender, &list_);
    ++changed;
  };
  list_.Add("a");
  list_.Add("b");
  list_.Delete(0);
  EXPECT_EQ(changing, 3);
  EXPECT_EQ(changed, 3);
}

TEST_F(StringListTest, ChangeEventsInNestedUpdateFireOnceAtOutermostEnd) {
  int changing = 0, changed = 0;
  QStringList seenAtChange;
  list_.OnChanging = [&](TStringList*) { ++changing; };
  list_.OnChange = [&](TStringList* l) {
    ++changed;
    seenAtChange = l->ToStringList();
  };
  list_.BeginUpdate();
  list_.Add("a");
  list_.BeginUpdate();
  list_.Add("b");
  list_.EndUpdate();
  EXPECT_EQ(changed, 0);
  list_.SetText("x\ny");
  list_.EndUpdate();
  EXPECT_EQ(changing, 1);
  EXPECT_EQ(changed, 1);
  EXPECT_EQ(seenAtChange, QStringList({"x", "y"}));
}

TEST_F(StringListTest, UpdateWithoutChangesFiresNothing) {
  int events = 0;
  list_.OnChanging = [&](TStringList*) { ++events; };
  list_.OnChange = [&](TStringList*) { ++events; };
  list_.BeginUpdate();
  list_.Clear();  // already empty
  list_.EndUpdate();
  list_.EndUpdate();  // unbalanced: ignored
  EXPECT_EQ(events, 0);
  list_.Add("a");
  EXPECT_EQ(events, 2);
}

TEST_F(StringListTest, AssignAndEquals) {
  int x = 0;
  list_.AddObject("a", &x);
  list_.Add("b");
  TStringList copy;
  copy.Add("old");
  copy.Assign(list_);
  EXPECT_TRUE(copy.Equals(list_));
  EXPECT_EQ(copy.Objects(0), &x);
  copy.SetStrings(1, "B");
  EXPECT_FALSE(copy.Equals(list_));
  copy.Assign(copy);  // self-assignment keeps everything
  EXPECT_EQ(copy.ToStringList(), QStringList({"a", "B"}));
  copy.AddStrings(copy);  // adding to itself doubles once, not forever
  EXPECT_EQ(copy.ToStringList(), QStringList({"a", "B", "a", "B"}));
}

TEST_F(StringListTest, OwnedObjectsAreFreedWhenTheirEntryGoes) {
  QPointer<QObject> deleted = new QObject;
  QPointer<QObject> cleared = new QObject;
  QPointer<QObject> replaced = new QObject;
  QPointer<QObject> kept = new QObject;
  {
    TStringList owner;
    owner.SetOwnsObjects(true);
    owner.AddObject("deleted", deleted.data());
    owner.AddObject("replaced", replaced.data());
    owner.Delete(0);
    EXPECT_TRUE(deleted.isNull());
    owner.SetObjects(0, kept.data());
    EXPECT_TRUE(replaced.isNull());
    // Objects assigned from another list are not taken over (no second owner).
    TStringList source;
    source.AddObject("cleared", cleared.data());
    owner.Assign(source);
    EXPECT_TRUE(kept.isNull());
    EXPECT_EQ(owner.Objects(0), nullptr);
    EXPECT_FALSE(cleared.isNull());
    kept = new QObject;
    owner.AddObject("kept", kept.data());
  }
  EXPECT_TRUE(kept.isNull());
  EXPECT_FALSE(cleared.isNull());
  delete cleared.data();
}

TEST(StringListFiles, SaveAndLoadRoundTripUnicode) {
  QTemporaryDir dir;
  const QString name = dir.filePath("list.txt");
  TStringList list;
  list.FromStringList({"Gr\u00FC\u00DFe", "", "\u65E5\u672C"});
  list.SaveToFile(name);
  QFile file(name);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  EXPECT_TRUE(file.readAll().endsWith("\r\n"));
  TStringList loaded;
  loaded.LoadFromFile(name);
  EXPECT_TRUE(loaded.Equals(list));
}

TEST(StringListFiles, LoadsWindows1252AndByteOrderMarks) {
  TStringList list;
  TMemoryStream ansi(QByteArray("caf\xE9\r\nna\xEFve \x80\x96"));
  list.LoadFromStream(ansi);
  EXPECT_EQ(list.ToStringList(), QStringList({"caf\u00E9", "na\u00EFve \u20AC\u2013"}));
  TMemoryStream utf8Bom(QByteArray("\xEF\xBB\xBF\xC3\xA9t\xC3\xA9"));
  list.LoadFromStream(utf8Bom);
  EXPECT_EQ(list.ToStringList(), QStringList({"\u00E9t\u00E9"}));
  TMemoryStream utf16(
      QByteArray("\xFF\xFE"
                 "a\0\n\0b\0",
                 8));
  list.LoadFromStream(utf16);
  EXPECT_EQ(list.ToStringList(), QStringList({"a", "b"}));
}

TEST(StringListFiles, LoadFromStreamReadsFromPositionSaveWritesAtPosition) {
  TMemoryStream stream(QByteArray("skip|x\ny"));
  stream.SetPosition(5);
  TStringList list;
  list.LoadFromStream(stream);
  EXPECT_EQ(list.ToStringList(), QStringList({"x", "y"}));
  TMemoryStream out(QByteArray(">"));
  out.Seek(0, TSeekOrigin::soEnd);
  list.SaveToStream(out);
  EXPECT_EQ(out.Bytes(), ">x\r\ny\r\n");
}

TEST(StringListFiles, FailedLoadKeepsContentsAndFailedSaveKeepsFile) {
  QTemporaryDir dir;
  TStringList list;
  list.Add("keep");
  EXPECT_THROW(list.LoadFromFile(dir.filePath("missing.txt")), EFOpenError);
  EXPECT_EQ(list.ToStringList(), QStringList({"keep"}));
  EXPECT_THROW(list.SaveToFile(dir.filePath("no/folder/x.txt")), EFCreateError);
}

}  // namespace
}  // namespace Kel
