#include "KelFltTemplates.h"

#include <iterator>
#include <memory>

#include "KelListBoxTexts.h"
#include "KelUtils.h"
#include "StrUtils.h"
#include "UpdateBracket.h"

namespace Kel {

// ---------------------------------------------------------------------------------------------
// Categories

QString CategoryText(TKelFltCategory category) {
  using namespace KelFltText;
  switch (category) {
    case TKelFltCategory::Text:
      return ListBoxText(CatText);
    case TKelFltCategory::Number:
      return ListBoxText(CatNumber);
    case TKelFltCategory::Boolean:
      return ListBoxText(CatBoolean);
    case TKelFltCategory::Date:
      return ListBoxText(CatDate);
    case TKelFltCategory::Time:
      return ListBoxText(CatTime);
    case TKelFltCategory::Memo:
      return ListBoxText(CatMemo);
    default:
      return ListBoxText(CatUnknown);
  }
}

QString CategoryOfFieldType(TFieldType type) {
  switch (type) {
    case ftString:
    case ftFixedChar:
    case ftWideString:
      return CategoryText(TKelFltCategory::Text);
    case ftSmallint:
    case ftInteger:
    case ftWord:
    case ftFloat:
    case ftCurrency:
    case ftBCD:
    case ftAutoInc:
    case ftLargeint:
      return CategoryText(TKelFltCategory::Number);
    case ftBoolean:
      return CategoryText(TKelFltCategory::Boolean);
    case ftDate:
    case ftDateTime:
      return CategoryText(TKelFltCategory::Date);
    case ftTime:
      return CategoryText(TKelFltCategory::Time);
    case ftMemo:
      return CategoryText(TKelFltCategory::Memo);
    default:
      return CategoryText(TKelFltCategory::Unknown);
  }
}

// ---------------------------------------------------------------------------------------------
// TKelFltBoxTemplate

TKelFltBoxTemplate::TKelFltBoxTemplate(TCollection* collection) : TKelNamedItem(collection) {}

void TKelFltBoxTemplate::Store(QString& field, const QString& value) {
  if (field == value) return;
  field = value;
  Changed();
}

void TKelFltBoxTemplate::SetUsageID(int value) {
  if (usageID_ == value) return;
  usageID_ = value;
  Changed();
}

QString TKelFltBoxTemplate::GetDisplayName() const {
  if (!category_.isEmpty() && !captionID_.isEmpty())
    return category_ + QStringLiteral(".[") + captionID_ + u']';
  return TKelNamedItem::GetDisplayName();
}

// ---------------------------------------------------------------------------------------------
// TKelFltBoxTemplates

namespace {

enum class Shape { OneValue, TwoValues, NoValue };

struct DefaultTemplate {
  TKelFltCategory Category;
  const char* CaptionID;
  Shape Caption;
  int UsageID;
  const char* Filter;
  const char* Prefix;
  const char* Suffix;
};

using C = TKelFltCategory;
constexpr Shape One = Shape::OneValue;
constexpr Shape Two = Shape::TwoValues;
constexpr Shape None = Shape::NoValue;

const char* const Between = "((:Field >= :Value1) AND (:Field <= :Value2))";
const char* const IsNull = ":Field IS NULL";
const char* const NotNull = "NOT (:Field IS NULL)";

// The built-in templates, in collection order. Their captions are interface, their filters data.
const DefaultTemplate DefaultTemplates[] = {
    {C::Memo, QT_TRANSLATE_NOOP("Kel", "contains"), One, 1, ":Field LIKE :Value", "%", "%"},
    {C::Memo, QT_TRANSLATE_NOOP("Kel", "begins with"), One, 1, ":Field LIKE :Value", "", "%"},
    {C::Memo, QT_TRANSLATE_NOOP("Kel", "ends with"), One, 1, ":Field LIKE :Value", "%", ""},
    {C::Memo, QT_TRANSLATE_NOOP("Kel", "is (exactly)"), One, 1, ":Field = :Value", "", ""},
    {C::Memo, QT_TRANSLATE_NOOP("Kel", "doesn't contain"), One, 1, "NOT (:Field LIKE :Value)", "%",
     "%"},
    {C::Memo, QT_TRANSLATE_NOOP("Kel", "is empty"), None, 0, IsNull, "", ""},
    {C::Memo, QT_TRANSLATE_NOOP("Kel", "is not empty"), None, 0, NotNull, "", ""},
    {C::Text, QT_TRANSLATE_NOOP("Kel", "contains"), One, 1, ":Field LIKE :Value", "%", "%"},
    {C::Text, QT_TRANSLATE_NOOP("Kel", "begins with"), One, 1, ":Field LIKE :Value", "", "%"},
    {C::Text, QT_TRANSLATE_NOOP("Kel", "ends with"), One, 1, ":Field LIKE :Value", "%", ""},
    {C::Text, QT_TRANSLATE_NOOP("Kel", "is (exactly)"), One, 0, ":Field = :Value", "", ""},
    {C::Text, QT_TRANSLATE_NOOP("Kel", "doesn't contain"), One, 1, "NOT (:Field LIKE :Value)", "%",
     "%"},
    {C::Text, QT_TRANSLATE_NOOP("Kel", "is empty"), None, 0, IsNull, "", ""},
    {C::Text, QT_TRANSLATE_NOOP("Kel", "is not empty"), None, 0, NotNull, "", ""},
    {C::Text, QT_TRANSLATE_NOOP("Kel", "more than"), One, 0, ":Field > :Value", "", ""},
    {C::Text, QT_TRANSLATE_NOOP("Kel", "less than"), One, 0, ":Field < :Value", "", ""},
    {C::Text, QT_TRANSLATE_NOOP("Kel", "at least"), One, 0, ":Field >= :Value", "", ""},
    {C::Text, QT_TRANSLATE_NOOP("Kel", "at most"), One, 0, ":Field <= :Value", "", ""},
    {C::Text, QT_TRANSLATE_NOOP("Kel", "is ~blank or empty~"), None, 0,
     "(:Field='' or :Field IS NULL)", "", ""},
    {C::Time, QT_TRANSLATE_NOOP("Kel", "is (exactly)"), One, 0, ":Field = :Value", "", ""},
    {C::Time, QT_TRANSLATE_NOOP("Kel", "after"), One, 0, ":Field >= :Value", "", ""},
    {C::Time, QT_TRANSLATE_NOOP("Kel", "before"), One, 0, ":Field <= :Value", "", ""},
    {C::Time, QT_TRANSLATE_NOOP("Kel", "between"), Two, 0, Between, "", ""},
    {C::Time, QT_TRANSLATE_NOOP("Kel", "is empty"), None, 0, IsNull, "", ""},
    {C::Time, QT_TRANSLATE_NOOP("Kel", "is not empty"), None, 0, NotNull, "", ""},
    {C::Date, QT_TRANSLATE_NOOP("Kel", "is ~yesterday~"), None, 0, ":Field = :SYSYESTERDAY", "",
     ""},
    {C::Date, QT_TRANSLATE_NOOP("Kel", "is ~today~"), None, 0, ":Field = :SYSTODAY", "", ""},
    {C::Date, QT_TRANSLATE_NOOP("Kel", "is ~tomorrow~"), None, 0, ":Field = :SYSTOMORROW", "", ""},
    {C::Date, QT_TRANSLATE_NOOP("Kel", "is in the ~last 7 days~"), None, 0,
     "((:Field < :SYSTODAY) and (:Field >= :SYSTODM7))", "", ""},
    {C::Date, QT_TRANSLATE_NOOP("Kel", "is in the ~next 7 days~"), None, 0,
     "((:Field > :SYSTODAY) and (:Field <= :SYSTODP7))", "", ""},
    {C::Date, QT_TRANSLATE_NOOP("Kel", "is on the ~last week~"), None, 0,
     "((:Field <= :SYSLastWeek7) and (:Field >= :SYSLastWeek1))", "", ""},
    {C::Date, QT_TRANSLATE_NOOP("Kel", "is on ~this week~"), None, 0,
     "((:Field <= :SYSThisWeek7) and (:Field >= :SYSThisWeek1))", "", ""},
    {C::Date, QT_TRANSLATE_NOOP("Kel", "is on the ~next week~"), None, 0,
     "((:Field <= :SYSNextWeek7) and (:Field >= :SYSNextWeek1))", "", ""},
    {C::Date, QT_TRANSLATE_NOOP("Kel", "is in ~last month~"), None, 0,
     "((:Field <= :SYSLastMon31) and (:Field >= :SYSLastMon1))", "", ""},
    {C::Date, QT_TRANSLATE_NOOP("Kel", "is in ~this month~"), None, 0,
     "((:Field <= :SYSThisMon31) and (:Field >= :SYSThisMon1))", "", ""},
    {C::Date, QT_TRANSLATE_NOOP("Kel", "is in the ~next month~"), None, 0,
     "((:Field <= :SYSNextMon31) and (:Field >= :SYSNextMon1))", "", ""},
    {C::Date, QT_TRANSLATE_NOOP("Kel", "is ~on~"), One, 0, ":Field = :Value", "", ""},
    {C::Date, QT_TRANSLATE_NOOP("Kel", "is ~on or after~"), One, 0, ":Field >= :Value", "", ""},
    {C::Date, QT_TRANSLATE_NOOP("Kel", "is ~on or before~"), One, 0, ":Field <= :Value", "", ""},
    {C::Date, QT_TRANSLATE_NOOP("Kel", "between"), Two, 0, Between, "", ""},
    {C::Date, QT_TRANSLATE_NOOP("Kel", "is empty"), None, 0, IsNull, "", ""},
    {C::Date, QT_TRANSLATE_NOOP("Kel", "is not empty"), None, 0, NotNull, "", ""},
    {C::Unknown, QT_TRANSLATE_NOOP("Kel", "is empty"), None, 0, IsNull, "", ""},
    {C::Unknown, QT_TRANSLATE_NOOP("Kel", "is not empty"), None, 0, NotNull, "", ""},
    {C::Boolean, QT_TRANSLATE_NOOP("Kel", "equals"), One, 0, ":Field = :Value", "", ""},
    {C::Boolean, QT_TRANSLATE_NOOP("Kel", "not equal to"), One, 0, ":Field <> :Value", "", ""},
    {C::Boolean, QT_TRANSLATE_NOOP("Kel", "is empty"), None, 0, IsNull, "", ""},
    {C::Boolean, QT_TRANSLATE_NOOP("Kel", "is not empty"), None, 0, NotNull, "", ""},
    {C::Number, QT_TRANSLATE_NOOP("Kel", "equals"), One, 0, ":Field = :Value", "", ""},
    {C::Number, QT_TRANSLATE_NOOP("Kel", "not equal to"), One, 0, ":Field <> :Value", "", ""},
    {C::Number, QT_TRANSLATE_NOOP("Kel", "at most"), One, 0, ":Field <= :Value", "", ""},
    {C::Number, QT_TRANSLATE_NOOP("Kel", "at least"), One, 0, ":Field >= :Value", "", ""},
    {C::Number, QT_TRANSLATE_NOOP("Kel", "more than"), One, 0, ":Field > :Value", "", ""},
    {C::Number, QT_TRANSLATE_NOOP("Kel", "less than"), One, 0, ":Field < :Value", "", ""},
    {C::Number, QT_TRANSLATE_NOOP("Kel", "between"), Two, 0, Between, "", ""},
    {C::Number, QT_TRANSLATE_NOOP("Kel", "is empty"), None, 0, IsNull, "", ""},
    {C::Number, QT_TRANSLATE_NOOP("Kel", "is not empty"), None, 0, NotNull, "", ""},
};
static_assert(std::size(DefaultTemplates) == 57);

QString CaptionOf(Shape shape) {
  switch (shape) {
    case Shape::TwoValues:
      return ListBoxText(KelFltText::TwoValueCaption);
    case Shape::NoValue:
      return QStringLiteral(":Field :Template");
    default:
      return QStringLiteral(":Field :Template :Value");
  }
}

TKelDefaultTemplatesHook& DefaultTemplatesHook() {
  static TKelDefaultTemplatesHook hook;
  return hook;
}

}  // namespace

void SetDefaultTemplatesHook(TKelDefaultTemplatesHook hook) {
  DefaultTemplatesHook() = std::move(hook);
}

TKelFltBoxTemplates::TKelFltBoxTemplates(QObject* owner)
    : TKelNamedItems(owner, TKelFltBoxTemplate::staticMetaObject) {}

void TKelFltBoxTemplates::LoadDefaults() {
  WithinUpdate(*this, [this] {
    Clear();
    for (const DefaultTemplate& row : DefaultTemplates) {
      TKelFltBoxTemplate* t = Add();
      t->SetCategory(CategoryText(row.Category));
      t->SetCaption(CaptionOf(row.Caption));
      t->SetCaptionID(ListBoxText(row.CaptionID));
      t->SetSourceCaptionID(QString::fromLatin1(row.CaptionID));
      t->SetFilter(QString::fromLatin1(row.Filter));
      t->SetUsageID(row.UsageID);
      t->SetValuePrefix(QString::fromLatin1(row.Prefix));
      t->SetValueSuffix(QString::fromLatin1(row.Suffix));
    }
  });
  if (const TKelDefaultTemplatesHook& hook = DefaultTemplatesHook()) hook(this);
}

QList<TKelFltBoxTemplate*> TKelFltBoxTemplates::Offered(const QString& category,
                                                       const QString& allowedUsageIDs) const {
  QList<TKelFltBoxTemplate*> result;
  for (int i = 0; i < Count(); ++i) {
    TKelFltBoxTemplate* t = Items(i);
    if (SameText(t->Category(), category) && UsageAllowed(t->UsageID(), allowedUsageIDs))
      result << t;
  }
  return result;
}

TKelFltBoxTemplate* TKelFltBoxTemplates::FirstOffered(const QString& category,
                                                      const QString& allowedUsageIDs) const {
  const QList<TKelFltBoxTemplate*> offered = Offered(category, allowedUsageIDs);
  return offered.isEmpty() ? nullptr : offered.front();
}

namespace {

QChar FoldAscii(QChar c) { return c >= u'a' && c <= u'z' ? QChar(c.unicode() - 32) : c; }

// SameText of the two texts with every "~" left out, without building either.
bool SameTextWithoutTildes(const QString& a, const QString& b) {
  qsizetype i = 0;
  qsizetype j = 0;
  for (;;) {
    while (i < a.size() && a[i] == u'~') ++i;
    while (j < b.size() && b[j] == u'~') ++j;
    if (i == a.size() || j == b.size()) return i == a.size() && j == b.size();
    if (FoldAscii(a[i++]) != FoldAscii(b[j++])) return false;
  }
}

}  // namespace

namespace {

bool CaptionMatches(const TKelFltBoxTemplate* t, const QString& text) {
  return SameTextWithoutTildes(t->CaptionID(), text) ||
         SameTextWithoutTildes(t->SourceCaptionID(), text);
}

}  // namespace

TKelFltBoxTemplate* TKelFltBoxTemplates::Find(const QString& category, const QString& text) const {
  for (int i = 0; i < Count(); ++i) {
    TKelFltBoxTemplate* t = Items(i);
    if (SameText(t->Category(), category) && CaptionMatches(t, text)) return t;
  }
  return nullptr;
}

TKelFltBoxTemplate* TKelFltBoxTemplates::FindInAnyCategory(const QString& text) const {
  for (int i = 0; i < Count(); ++i)
    if (CaptionMatches(Items(i), text)) return Items(i);
  return nullptr;
}

bool UsageAllowed(int usageID, const QString& allowedUsageIDs) {
  if (allowedUsageIDs.isEmpty()) return true;
  const QString id = QString::number(usageID);
  return (u',' + allowedUsageIDs + u',').contains(u',' + id + u',') ||
         (u';' + allowedUsageIDs + u';').contains(u';' + id + u';');
}

// ---------------------------------------------------------------------------------------------
// Date macros

namespace {

std::unique_ptr<TKelFields>& MacroTable() {
  static std::unique_ptr<TKelFields> table;
  return table;
}

void BuildMacros(TKelFields& table, TDateTime today) {
  today = DateOf(today);
  const auto weekStart = [](TDateTime d) { return DateOf(FirstDayOfWeek(dwLocaleDefault, d)); };
  const TDateTime lastMonth = IncMonth(today, -1);
  const TDateTime nextMonth = IncMonth(today, 1);
  const std::pair<const char*, TDateTime> values[] = {
      {"SYSYESTERDAY", today - 1},
      {"SYSTOMORROW", today + 1},
      {"SYSTODM7", today - 7},
      {"SYSTODAY", today},
      {"SYSTODP7", today + 7},
      {"SYSLastWeek1", weekStart(today - 7)},
      {"SYSLastWeek7", weekStart(today - 7) + 6},
      {"SYSThisWeek1", weekStart(today)},
      {"SYSThisWeek7", weekStart(today) + 6},
      {"SYSNextWeek1", weekStart(today + 7)},
      {"SYSNextWeek7", weekStart(today + 7) + 6},
      {"SYSLastMon1", DateOf(FirstDayOfMonth(lastMonth))},
      {"SYSLastMon31", DateOf(LastDayOfMonth(lastMonth))},
      {"SYSThisMon1", DateOf(FirstDayOfMonth(today))},
      {"SYSThisMon31", DateOf(LastDayOfMonth(today))},
      {"SYSNextMon1", DateOf(FirstDayOfMonth(nextMonth))},
      {"SYSNextMon31", DateOf(LastDayOfMonth(nextMonth))},
  };
  WithinUpdate(table, [&] {
    table.Clear();
    for (const auto& [name, date] : values) {
      TKelField* field = table.Add();
      field->SetName(QString::fromLatin1(name));
      field->SetAsDate(date);
    }
  });
}

}  // namespace

const QStringList& DateMacroNames() {
  static const QStringList names = [] {
    QStringList list;
    const TKelFields& table = DateMacros();
    for (int i = 0; i < table.Count(); ++i) list << table.Items(i)->Name();
    return list;
  }();
  return names;
}

void InitDateMacros() {
  if (!MacroTable()) SetDateMacrosToday(Date());
}

void SetDateMacrosToday(TDateTime today) {
  auto table = std::make_unique<TKelFields>();
  BuildMacros(*table, today);
  MacroTable() = std::move(table);
}

const TKelFields& DateMacros() {
  InitDateMacros();
  return *MacroTable();
}

const TKelField* FindDateMacro(const QString& name) { return DateMacros().FieldByName(name); }

}  // namespace Kel
