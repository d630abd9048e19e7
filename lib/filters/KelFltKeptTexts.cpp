// What the builder keeps of each condition's text, and when a kept text is still current.
#include "KelFltKeptTexts_p.h"

#include "KelFltBld.h"
#include "KelListBoxTexts.h"
#include "KelUtils.h"
#include "StrUtils.h"

namespace Kel {

TKelFltTextSettings TKelFltTextSettings::Of(const TKelFltItems& items) {
  TKelFltTextSettings settings;
  settings.ForceSQLDateTime = items.ForceSQLDateTime();
  settings.ForceSQLBooleans = items.ForceSQLBooleans();
  const TKelFltDateTimeFormat* format = items.ActiveFilterFormat();
  settings.AlwaysY2k = format->AlwaysY2k();
  settings.DateFormat = format->DateFormat();
  settings.TimeFormat = format->TimeFormat();
  settings.DateSeparator = format->DateSeparator();
  settings.TimeSeparator = format->TimeSeparator();
  settings.AMSymbol = format->AMSymbol();
  settings.PMSymbol = format->PMSymbol();
  settings.Formats = FormatSettings();
  settings.LocaleDecimal = LocaleDecimalChar();
  // The words a text takes through the translation hook: the connectors as the user sees them
  // and the Boolean values.
  for (const char* word : {KelFltText::DisplayAnd, KelFltText::DisplayOr, KelFieldText::True,
                           KelFieldText::False})
    settings.Words << ListBoxText(word);
  const TKelFields& macros = DateMacros();
  settings.MacroDates.reserve(static_cast<size_t>(macros.Count()));
  for (int i = 0; i < macros.Count(); ++i) settings.MacroDates.push_back(macros.Items(i)->AsDateTime());
  return settings;
}

TKelFltConditionPart TKelFltConditionPart::Write(TKelFltBld& builder, TKelFltItem* item) {
  TKelFltConditionPart part;
  part.Active = builder.IsItemActive(item);
  if (!part.Active) return part;
  part.Text = builder.ConditionText(item);
  part.Connector = builder.GetConnectorText(item->Operation());
  part.ConnectorIsOr = SameText(part.Connector, QString::fromLatin1(KelFltText::OutputOr));
  return part;
}

void TKelFltKeptTexts::Begin(const TKelFltTextSettings& settings, int itemCount) {
  if (building_ || !started_ || !(settings == settings_)) {
    Clear();
    settings_ = settings;
    started_ = true;
  }
  building_ = true;
  ++text_;
  cursor_ = 0;
  positions_.clear();
  next_.clear();
  next_.reserve(static_cast<size_t>(itemCount));
}

quint64 TKelFltKeptTexts::CurrentVersion(TKelFltBld& builder, Inputs& inputs) {
  if (inputs.AskedIn != text_) {
    TKelFltConditionInputs now = builder.ConditionInputs(inputs.FieldName, inputs.TemplateText);
    if (inputs.Version == 0 || !(now == inputs.Value)) {
      inputs.Value = std::move(now);
      ++inputs.Version;
    }
    inputs.AskedIn = text_;
  }
  return inputs.Version;
}

TKelFltKeptTexts::Entry* TKelFltKeptTexts::Take(const TKelFltItem* item) {
  // Where it was, or one further on when the condition before it was deleted.
  for (size_t at = cursor_; at < kept_.size() && at < cursor_ + 2; ++at) {
    if (kept_[at].Item == item) {
      cursor_ = at + 1;
      return &kept_[at];
    }
  }
  if (positions_.isEmpty()) {
    positions_.reserve(static_cast<qsizetype>(kept_.size()));
    for (size_t at = 0; at < kept_.size(); ++at)
      if (kept_[at].Item) positions_.insert(kept_[at].Item, at);
  }
  const auto found = positions_.constFind(item);
  if (found == positions_.constEnd() || kept_[*found].Item != item) return nullptr;
  cursor_ = *found + 1;
  return &kept_[*found];
}

const TKelFltConditionPart& TKelFltKeptTexts::Part(TKelFltBld& builder, TKelFltItem* item) {
  // Revisions are unique in the process: a new condition at a freed one's address has its own.
  Entry* kept = Take(item);
  if (kept && kept->Revision == item->TextRevision() &&
      CurrentVersion(builder, *kept->From) == kept->FromVersion) {
    next_.push_back(std::move(*kept));
    kept->Item = nullptr;
    return next_.back().Part;
  }
  if (kept) kept->Item = nullptr;
  const QString fieldName = item->DataField();
  const QString templateText = item->Template();
  Inputs& inputs = inputs_[{fieldName, templateText}];
  if (inputs.Version == 0) {
    inputs.FieldName = fieldName;
    inputs.TemplateText = templateText;
  }
  Entry entry;
  entry.Item = item;
  entry.From = &inputs;
  entry.FromVersion = CurrentVersion(builder, inputs);
  entry.Revision = item->TextRevision();
  entry.Part = TKelFltConditionPart::Write(builder, item);
  next_.push_back(std::move(entry));
  return next_.back().Part;
}

void TKelFltKeptTexts::End() {
  std::swap(kept_, next_);
  next_.clear();
  positions_.clear();
  building_ = false;
}

void TKelFltKeptTexts::Clear() {
  kept_.clear();
  next_.clear();
  positions_.clear();
  inputs_.clear();
  building_ = false;
}

}  // namespace Kel
