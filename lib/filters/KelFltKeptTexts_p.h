#pragma once
// The builder's memory of what each condition writes, so that in a long list a change of one
// condition writes only that condition again and the rest is joined from what was kept.
//
// A kept text is used again only while everything it was written from is unchanged:
//  - the condition itself: its TextRevision, which every change report of the condition moves
//    (a parameter's value, type or name, its caption, Checked, IndentLev, the connector);
//  - what it takes from its field and template (TKelFltConditionInputs), asked of the builder
//    again at most once per field and template in each text built, and compared by value, so
//    a changed catalogue, dataset, template or text option is seen whatever changed it;
//  - what every value is written with (TKelFltTextSettings), compared by value at the start of
//    each text built; any difference forgets everything.
// IsItemActive and GetConnectorText are taken to answer from the condition and the builder's
// settings alone; a descendant whose answers change otherwise calls ForgetConditionTexts.

#include <QChar>
#include <QHash>
#include <QString>
#include <map>
#include <utility>
#include <vector>

#include "DateUtils.h"
#include "FormatSettings.h"

namespace Kel {

class TKelFltBld;
class TKelFltItem;
class TKelFltItems;

// What ConditionText and IsItemActive take from a condition's field and template.
struct TKelFltConditionInputs {
  QString FieldReference;
  bool TemplateFound = false;
  QString Filter;
  bool QuoteMoney = false;
  bool operator==(const TKelFltConditionInputs&) const = default;
};

// What the values of every condition are written with: the list's switches and the format
// object in use, the process-wide number and date settings, the translated words, the dates
// of the date macros.
struct TKelFltTextSettings {
  bool ForceSQLDateTime = false;
  bool ForceSQLBooleans = false;
  bool AlwaysY2k = false;
  QString DateFormat;
  QString TimeFormat;
  QChar DateSeparator;
  QChar TimeSeparator;
  QString AMSymbol;
  QString PMSymbol;
  TFormatSettings Formats;
  QChar LocaleDecimal;
  QStringList Words;
  std::vector<TDateTime> MacroDates;
  bool operator==(const TKelFltTextSettings&) const = default;

  static TKelFltTextSettings Of(const TKelFltItems& items);
};

// What one condition adds to the expression.
struct TKelFltConditionPart {
  bool Active = false;
  QString Text;       // active conditions only
  QString Connector;  // as written after it; active conditions only
  bool ConnectorIsOr = false;

  // Asked of the builder afresh.
  static TKelFltConditionPart Write(TKelFltBld& builder, TKelFltItem* item);
};

// The kept parts of one form of the text (the filter form or the SQL form), in the order of
// the list when it was last written: a list that changed in one place finds each of its
// conditions where it was, or one further on, and only a moved one is looked up.
class TKelFltKeptTexts {
 public:
  // Starts a text of itemCount conditions: forgets everything when the settings differ from
  // those of the last text, or when the last text was left unfinished.
  void Begin(const TKelFltTextSettings& settings, int itemCount);
  // The part of the next condition of the list: the kept one while it is current, else
  // written and kept. Valid until End.
  const TKelFltConditionPart& Part(TKelFltBld& builder, TKelFltItem* item);
  // Ends the text: what was kept of conditions no longer in the list is dropped.
  void End();
  void Clear();

 private:
  // One field and template, with what the builder answered for them the last time it was asked.
  struct Inputs {
    QString FieldName;
    QString TemplateText;
    TKelFltConditionInputs Value;
    quint64 Version = 0;  // moves when Value changed
    quint64 AskedIn = 0;  // the text in which it was last asked
  };
  struct Entry {
    const TKelFltItem* Item = nullptr;  // nullptr once taken into the next text
    quint64 Revision = 0;               // the condition's TextRevision when written
    Inputs* From = nullptr;
    quint64 FromVersion = 0;
    TKelFltConditionPart Part;
  };

  // The version of the inputs as the builder answers now; asked once per text.
  quint64 CurrentVersion(TKelFltBld& builder, Inputs& inputs);
  // The entry of the last text for the condition, or nullptr.
  Entry* Take(const TKelFltItem* item);

  bool building_ = false;
  bool started_ = false;
  TKelFltTextSettings settings_;
  quint64 text_ = 0;
  std::vector<Entry> kept_;  // in the order of the last text
  std::vector<Entry> next_;  // the text being built; never grows past its reserve
  size_t cursor_ = 0;        // where in kept_ the next condition is looked for first
  // Positions in kept_, made when a condition is not where the order says.
  QHash<const TKelFltItem*, size_t> positions_;
  // By field name and template text; a map, so a pointer to its value stays valid.
  std::map<std::pair<QString, QString>, Inputs> inputs_;
};

}  // namespace Kel
