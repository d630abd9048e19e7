#include "KelListItems.h"

#include <algorithm>

#include "DataSet.h"
#include "FormatSettings.h"
#include "KelListBoxTexts.h"
#include "KelPublishedProps.h"
#include "KelStrHelpers.h"
#include "KelUtils.h"
#include "UpdateBracket.h"

namespace Kel {

// ---------------------------------------------------------------------------------------------
// TKelListParam

TKelListParam::TKelListParam(TCollection* collection)
    : TKelField(collection), pickList_(std::make_unique<TStringList>()) {}

TKelListParam::~TKelListParam() = default;

void TKelListParam::SetUnderline(bool value) {
  if (underline_ == value) return;
  underline_ = value;
  Changed();
}

void TKelListParam::SetVisible(bool value) {
  if (visible_ == value) return;
  visible_ = value;
  Changed();
}

void TKelListParam::SetPickList(TStrings* value) { AssignStrings(*pickList_, value); }

void TKelListParam::SetLookupDataSet(TDataSet* value) {
  if (lookupDataSet_ == value) return;
  lookupDataSet_ = value;
  LinkComponent(value);
}

void TKelListParam::ComponentRemoved(TComponent* component, TOperation operation) {
  if (operation == opRemove && lookupDataSet_.data() == component) lookupDataSet_ = nullptr;
}

TKelLookupDef TKelListParam::LookupDef() const {
  return {lookupKeyField_, lookupDisplayField_, LookupDataSet()};
}

void TKelListParam::Assign(TPersistent* source) {
  if (auto* param = qobject_cast<TKelListParam*>(source); param && param != this)
    CopyPublishedProps(param, this);
  TKelField::Assign(source);
}

// ---------------------------------------------------------------------------------------------
// TKelListItem

// Out of line, so that the library and every program share one counter: an inline function's
// static would be one per shared object under hidden visibility, and two counters could hand the
// same revision to two items.
quint64 TKelListItem::NextRevision() {
  static quint64 counter = 0;
  return ++counter;
}

TKelListItem::TKelListItem(TCollection* collection) : TKelNamedItem(collection) {
  params_ = std::make_unique<TKelFields>(this, ParamClass());
  params_->SetAutoAdd(true);
  params_->OnCollectionChange = [this](TKelCustomNamedItems*) { Changed(); };
  // The item's collection of the moment formats the values, so an item moved to another list
  // follows that list's formats.
  params_->OnGetAsString = [this](QObject* sender, TKelField* field, QString& result,
                                  bool forDisplay) {
    if (TKelListItems* items = ListItems()) items->FormatParamText(sender, field, result, forDisplay);
  };
}

TKelListItem::~TKelListItem() {
  // Parameters that change while the item goes must not report to a half-destroyed item.
  params_->OnCollectionChange = nullptr;
  params_->OnGetAsString = nullptr;
}

TKelListItems* TKelListItem::ListItems() const { return qobject_cast<TKelListItems*>(Collection()); }

void TKelListItem::SetParams(TKelFields* value) {
  if (value != params_.get()) params_->Assign(value);
}

TKelListParam* TKelListItem::ParamByName(const QString& name) const {
  return qobject_cast<TKelListParam*>(params_->ItemByName(name));
}

void TKelListItem::SetCaption(const QString& value) {
  caption_ = value;
  RefreshParams(params_.get(), caption_);
  curParam_ = std::min(curParam_, params_->Count() - 1);
  CaptionChanged();
  Changed();
}

void TKelListItem::SetChecked(bool value) {
  if (checked_ == value) return;
  checked_ = value;
  Changed();
}

void TKelListItem::SetIndentLev(int value) {
  if (value < 0 || indentLev_ == value) return;
  indentLev_ = value;
  Changed();
}

// ---------------------------------------------------------------------------------------------
// TKelListItems

TKelListItems::TKelListItems(QObject* owner, const QMetaObject& itemClass)
    : TKelNamedItems(owner, itemClass),
      displayFormat_(std::make_unique<TKelFltDateTimeFormat>()),
      filterFormat_(std::make_unique<TKelFltDateTimeFormat>()),
      sqlFormat_(std::make_unique<TKelFltDateTimeFormat>()) {
  displayFormat_->SetAlwaysY2k(true);
  filterFormat_->SetAlwaysY2k(true);
  // SQL text gets ISO dates and 24-hour times: SQLite keeps dates and times as ISO text and
  // compares them as text, and PostgreSQL reads ISO dates whatever its DateStyle, where
  // "03/06/2024" could be the 6th of March or the 3rd of June.
  sqlFormat_->SetDateSeparator(u'-');
  sqlFormat_->SetTimeSeparator(u':');
  sqlFormat_->SetAMSymbol(QStringLiteral("AM"));
  sqlFormat_->SetPMSymbol(QStringLiteral("PM"));
  sqlFormat_->SetDateFormat(QStringLiteral("YYYY-MM-DD"));
  sqlFormat_->SetTimeFormat(QStringLiteral("hh:mm:ss"));
}

TKelListItems::~TKelListItems() {
  // Items go before the formats their parameters would format with, and nobody hears of it:
  // listeners may be gone already.
  OnCollectionChange = nullptr;
  OnItemUpdate = nullptr;
  OnGetAsString = nullptr;
  Clear();
}

TKelFltDateTimeFormat* TKelListItems::ActiveFilterFormat() const {
  return forceSQLDateTime_ ? sqlFormat_.get() : filterFormat_.get();
}

namespace {

// The filter form of a number always uses "."; the user's locale and the current setting may
// both have put another separator there.
void NumberToFilterForm(QString& text) {
  const QChar locale = LocaleDecimalChar();
  if (locale != u'.') text.replace(locale, u'.');
  const QChar current = FormatSettings().DecimalSeparator;
  if (current != u'.') text.replace(current, u'.');
}

void NumberToDisplayForm(QString& text) {
  const QChar locale = LocaleDecimalChar();
  const QChar current = FormatSettings().DecimalSeparator;
  if (locale != current) text.replace(locale, current);
}

}  // namespace

void TKelListItems::FormatParamText(QObject* sender, TKelField* field, QString& result,
                                    bool forDisplay) {
  // A null value has no text to finish: formatting it would give the zero date or fail on a
  // Boolean; callers show "<?>" or leave the condition out.
  if (!field->IsNull()) {
    TKelFltDateTimeFormat* format = forDisplay ? displayFormat_.get() : ActiveFilterFormat();
    switch (field->DataType()) {
      case FT_DATETIME:
        result = format->FormatDateTime(field->AsDateTime());
        break;
      case FT_DATE:
        result = format->FormatDate(DateOnly(field->AsDateTime()));
        break;
      case FT_TIME:
        result = format->FormatTime(TimeOnly(field->AsDateTime()));
        break;
      case FT_CURRENCY:
      case FT_FLOAT:
        if (forDisplay)
          NumberToDisplayForm(result);
        else
          NumberToFilterForm(result);
        break;
      case FT_BOOL: {
        const char* text = field->AsBoolean() ? KelFieldText::True : KelFieldText::False;
        result = !forDisplay && forceSQLBooleans_ ? QString::fromLatin1(text) : ListBoxText(text);
        break;
      }
      default:
        break;
    }
  }
  if (OnGetAsString) OnGetAsString(this, field, result, forDisplay);
}

bool TKelListItems::IsParamVisible(const TKelListItem*, const TKelListParam* param) const {
  return param->Visible();
}

bool TKelListItems::CanOutdent(int index) const {
  if (index <= 0 || index >= Count()) return false;
  const TKelListItem* item = Items(index);
  return item->IndentLev() > 0 && !IsItemReadOnly(item);
}

void TKelListItems::OutdentItem(int index) {
  if (!CanOutdent(index)) return;
  WithinUpdate(*this, [&] {
    const int level = Items(index)->IndentLev();
    Items(index)->SetIndentLev(level - 1);
    for (int i = index + 1; i < Count() && Items(i)->IndentLev() > level; ++i)
      Items(i)->SetIndentLev(Items(i)->IndentLev() - 1);
  });
}

void TKelListItems::SetCurParam(TKelListItem* item, int index) const {
  const int count = item->Params()->Count();
  int b = std::max(0, std::min(index, count - 1));
  if (b >= 0 && b < count) {
    while (b < count && !IsParamVisible(item, item->Param(b))) ++b;
    if (b == count) return;
  }
  item->SetCurParamIndex(b);
}

QString TKelListItems::ParamDisplayText(const TKelField* param) const {
  if (param->IsNull()) return QString::fromLatin1(KelListBoxText::NullValue);
  if (auto* listParam = qobject_cast<const TKelListParam*>(param);
      listParam && !listParam->DisplayValue().isEmpty())
    return listParam->DisplayValue();
  return param->AsString(true);
}

QString TKelListItems::DecorateParam(const QString& text, bool underline, bool hover) const {
  QString s = u'~' + text + u'~';
  if (hover) s = hoverLinkTag_ + s + fontTag_;
  if (underline) {
    s = QStringLiteral("<u>") + s + QStringLiteral("</u>");
    if (!hover) s = linkTag_ + s + fontTag_;
  }
  return s;
}

QString TKelListItems::GetItemText(const TKelListItem* item, bool highlight) const {
  QString s = item->Caption();
  if (s.isEmpty()) return s;
  const TKelFields* params = item->Params();
  for (int i = 0; i < params->Count(); ++i) {
    const auto* param = item->Param(i);
    if (!param || param->Name().isEmpty()) continue;
    const QString text =
        IsParamVisible(item, param)
            ? DecorateParam(ParamDisplayText(param), param->Underline(),
                            highlight && i == item->CurParam())
            : QString();
    ReplaceAll(s, u':' + param->Name(), text);
  }
  return s;
}

QString TKelListItems::StripTags(const QString& text) const {
  QString s = text;
  for (const QString& tag : {linkTag_, hoverLinkTag_, fontTag_, QStringLiteral("<u>"),
                             QStringLiteral("</u>")})
    if (!tag.isEmpty()) s.remove(tag);
  return s;
}

QString TKelListItems::PlainItemText(const TKelListItem* item) const {
  return RemoveTildes(StripTags(GetItemText(item, false)));
}

void TKelListItems::GetItemDisplayName(TKelNamedItem* item, QString& name) {
  if (auto* listItem = qobject_cast<TKelListItem*>(item)) {
    name = PlainItemText(listItem);
    if (!name.isEmpty()) name = Spaces(3 * listItem->IndentLev()) + name;
  }
  TKelNamedItems::GetItemDisplayName(item, name);
}

// ---------------------------------------------------------------------------------------------
// Hot spots

int HotSpotAt(const QString& text, int n) {
  int count = 0;
  int spot = -1;
  bool inside = false;
  for (const QChar c : text) {
    if (c == u'~') {
      inside = !inside;
      if (inside) ++spot;
      continue;
    }
    if (++count == n) return inside ? spot : -1;
  }
  return -1;
}

int HotSpotStart(const QString& text, int k) {
  int opening = -1;
  bool inside = false;
  for (qsizetype i = 0; i < text.size(); ++i) {
    if (text[i] != u'~') continue;
    inside = !inside;
    if (inside && ++opening == k) return static_cast<int>(i) + 1 - 2 * k;
  }
  return 0;
}

}  // namespace Kel
