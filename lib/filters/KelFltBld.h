#pragma once
// The filter builder (unit KelFltBox): an ordered list of conditions that reads like sentences
// ("Category is (exactly) 'Shark' or ...") turned into a filter text for a dataset's Filter, or
// into a whole SQL statement, and a filter text read back into conditions.
//
// API summary
//   TKelFltItem    one condition: DataField, Template (an operation template's caption),
//                  Operation (the connector to the next condition, "and" / "or"),
//                  Value / Value1 / Value2, Checked, IndentLev (brackets). Its parameters are
//                  the storage: "Field", "Template", the template's value parameters and
//                  "Operation". Setting DataField picks the field's first offered template;
//                  setting Template rebuilds the caption and the value parameters. Template and
//                  Operation are kept untranslated (the template's SourceCaptionID, the output
//                  connector), whatever language they were set in, and shown translated, so
//                  that a list saved in one language reads the same in another.
//   TKelFltItems   the condition list (a TKelListItems): the connector of the last condition
//                  is hidden. Builder() is the builder whose catalogue and templates it uses.
//   TKelOrderByItem(s)  DataField and Descending of the ORDER BY clause.
//   TKelFltBld     the builder component: catalogue (Fields, FieldParams, HiddenFields,
//                  ExcludeBlobs, the bound DataSet), Templates and AllowedUsageIDs, the texts
//                  Expression, FilterStr and SQL (SQLHead, WhereInc, SQLTail, OrderByItems,
//                  SQLOBTail), and UpdateDataSet, which writes the result into the dataset's
//                  Filter (HookFilterProp) or SQL (HookSQLProp) after each change. Writing
//                  FilterStr or Expression reads the text back into conditions.
//
// Values are written into filter and SQL text in single quotes with quotes inside doubled, so
// a value such as O'Brien reads back as itself and cannot end the literal early. For a database
// that takes bound parameters, SQLWithParams and SQLFilterWithParams write a "?" where each value
// stands and hand the values over beside the text, so that no value ever becomes SQL. SQL text heeds
// the rules of the bound dataset's database (TDataSet::SqlTextRules): on PostgreSQL field names
// with capitals are double-quoted and money values single-quoted. Dates and times go into SQL as
// ISO text by default, which SQLite and PostgreSQL both read as the same day and time.

#include <QPointer>
#include <QString>
#include <functional>
#include <memory>
#include <vector>

#include "Component.h"
#include "DBTypes.h"
#include "KelExport.h"
#include "KelFltFields.h"
#include "KelFltTemplates.h"
#include "KelListItems.h"
#include "Strings.h"

namespace Kel {

class TDataSet;
class TField;
struct TSqlTextRules;
class TKelEmulDataSet;
class TKelFltBld;
class TKelFltNode;
struct TKelFltCandidate;
class TKelFltKeptTexts;
struct TKelFltConditionInputs;

namespace KelFltBoxTypes {
Q_NAMESPACE_EXPORT(KEL_EXPORT)

// Whether the statement gets a "WHERE" before the conditions: when its head has none, always,
// or never (the head ends in a WHERE clause or an AND).
enum TKelWhereInc { wiAuto, wiYes, wiNo };
Q_ENUM_NS(TKelWhereInc)

}  // namespace KelFltBoxTypes
using namespace KelFltBoxTypes;

namespace KelFltText {
// The connector as the user sees it (translated) and as it is written into filter and SQL text.
inline constexpr const char* DisplayAnd = QT_TRANSLATE_NOOP("Kel", "and");
inline constexpr const char* DisplayOr = QT_TRANSLATE_NOOP("Kel", "or");
inline constexpr const char* OutputAnd = "and";
inline constexpr const char* OutputOr = "or";
inline constexpr const char* BadFilter = QT_TRANSLATE_NOOP("Kel", "Bad filter.");
}  // namespace KelFltText

// The names of a condition's fixed parameters.
namespace KelFltParam {
inline constexpr const char* Field = "Field";
inline constexpr const char* Template = "Template";
inline constexpr const char* Operation = "Operation";
}  // namespace KelFltParam

class TKelFltItems;

// SQL with a "?" where each value of a condition (and each date macro) stands, and the values in
// the order of their placeholders: what a database binds as parameters. Everything else of the
// text (field names, operators, a hand-written AdditionalFilter) is as SQL writes it.
struct TKelSqlWithParams {
  QString Text;
  std::vector<Variant> Values;
};

class KEL_EXPORT TKelFltItem : public TKelListItem {
  Q_OBJECT
  Q_PROPERTY(QString DataField READ DataField WRITE SetDataField STORED false)
  Q_PROPERTY(QString Template READ Template WRITE SetTemplate STORED false)
  Q_PROPERTY(QString Operation READ Operation WRITE SetOperation STORED false)
  Q_PROPERTY(Kel::Variant Value READ Value WRITE SetValue STORED false)
  Q_PROPERTY(Kel::Variant Value1 READ Value1 WRITE SetValue1 STORED false)
  Q_PROPERTY(Kel::Variant Value2 READ Value2 WRITE SetValue2 STORED false)
  Q_PROPERTY(int IndentLev READ IndentLev WRITE SetIndentLev)
  Q_CLASSINFO("default:IndentLev", "0")
  Q_PROPERTY(bool Checked READ Checked WRITE SetChecked)
  Q_CLASSINFO("default:Checked", "True")
  Q_PROPERTY(Kel::TKelFields* Params READ Params WRITE SetParams)

 public:
  Q_INVOKABLE explicit TKelFltItem(TCollection* collection);

  TKelFltItems* FltItems() const;
  TKelFltBld* Builder() const;

  QString DataField() const;
  // Sets the field (its label as display text) and its first offered template.
  void SetDataField(const QString& value);
  QString Template() const;
  // Looks the template up by the field's category: found, the condition takes its caption,
  // prefix and suffix; not found, the caption is emptied (the parameters stay).
  void SetTemplate(const QString& value);
  QString Operation() const;
  void SetOperation(const QString& value);
  Variant Value() const { return ParamValue("Value"); }
  void SetValue(const Variant& value) { SetParamValue("Value", value); }
  Variant Value1() const { return ParamValue("Value1"); }
  void SetValue1(const Variant& value) { SetParamValue("Value1", value); }
  Variant Value2() const { return ParamValue("Value2"); }
  void SetValue2(const Variant& value) { SetParamValue("Value2", value); }

  QString ValuePrefix() const { return valuePrefix_; }
  QString ValueSuffix() const { return valueSuffix_; }

  // The template this condition uses, or nullptr.
  TKelFltBoxTemplate* FindTemplate() const;
  // The value parameters: every parameter but Field, Template and Operation.
  static bool IsValueParam(const TKelField* param);

 protected:
  void CaptionChanged() override;

 private:
  Variant ParamValue(const char* name) const;
  void SetParamValue(const char* name, const Variant& value);
  // The parameter of that name, made when the condition has none yet.
  TKelListParam* EnsureParam(const char* name);
  void StoreTemplateText(const QString& value);

  QString valuePrefix_;
  QString valueSuffix_;
};

class KEL_EXPORT TKelFltItems : public TKelListItems {
  Q_OBJECT

 public:
  explicit TKelFltItems(QObject* owner, const QMetaObject& itemClass = TKelFltItem::staticMetaObject);

  TKelFltItem* Items(int index) const { return TCollection::Items<TKelFltItem>(index); }
  TKelFltItem* Add() { return TCollection::Add<TKelFltItem>(); }

  // The builder whose catalogue and templates the conditions use.
  TKelFltBld* Builder() const { return builder_; }
  void SetBuilder(TKelFltBld* builder) { builder_ = builder; }

  // The Operation of the last condition is hidden; the rest as inherited.
  bool IsParamVisible(const TKelListItem* item, const TKelListParam* param) const override;
  // The template and the connector show in the language of the moment (they are stored
  // untranslated); the rest as inherited.
  QString ParamDisplayText(const TKelField* param) const override;

 private:
  QPointer<TKelFltBld> builder_;
};

class KEL_EXPORT TKelOrderByItem : public TKelNamedItem {
  Q_OBJECT
  Q_PROPERTY(QString DataField READ DataField WRITE SetDataField)
  Q_PROPERTY(bool Descending READ Descending WRITE SetDescending)
  Q_CLASSINFO("default:Descending", "False")

 public:
  Q_INVOKABLE explicit TKelOrderByItem(TCollection* collection) : TKelNamedItem(collection) {}

  QString DataField() const { return dataField_; }
  void SetDataField(const QString& value);
  bool Descending() const { return descending_; }
  void SetDescending(bool value);

 private:
  QString dataField_;
  bool descending_ = false;
};

class KEL_EXPORT TKelOrderByItems : public TKelNamedItems {
  Q_OBJECT

 public:
  explicit TKelOrderByItems(QObject* owner = nullptr)
      : TKelNamedItems(owner, TKelOrderByItem::staticMetaObject) {}
  TKelOrderByItem* Items(int index) const { return TCollection::Items<TKelOrderByItem>(index); }
  TKelOrderByItem* Add() { return TCollection::Add<TKelOrderByItem>(); }
};

// (Sender: the builder; the field; the list to fill or change)
using TKelOnModifyPickList =
    std::function<void(QObject* sender, const QString& fieldName, TStrings* pickList)>;
// (Sender: the builder or the filter box; the condition; the definition to complete; the
// parameter)
using TKelOnGetLookupDef = std::function<void(QObject* sender, TKelFltItem* item,
                                              TKelLookupDef& lookupDef, TKelListParam* param)>;

class KEL_EXPORT TKelFltBld : public TComponent {
  Q_OBJECT
  Q_MOC_INCLUDE("DataSet.h")
  Q_PROPERTY(Kel::TDataSet* DataSet READ DataSet WRITE SetDataSet)
  Q_PROPERTY(Kel::TKelFltItems* Items READ Items WRITE SetItems)
  Q_PROPERTY(Kel::TKelFltBoxFields* Fields READ Fields WRITE SetFields)
  Q_PROPERTY(Kel::TKelFltBoxFields* FieldParams READ FieldParams WRITE SetFieldParams)
  Q_PROPERTY(Kel::TStrings* HiddenFields READ HiddenFields WRITE SetHiddenFields)
  Q_PROPERTY(bool ExcludeBlobs READ ExcludeBlobs WRITE SetExcludeBlobs)
  Q_CLASSINFO("default:ExcludeBlobs", "False")
  Q_PROPERTY(Kel::TKelFltBoxTemplates* Templates READ Templates WRITE SetTemplates)
  Q_PROPERTY(bool DefaultTemplates READ DefaultTemplates WRITE SetDefaultTemplates)
  Q_CLASSINFO("default:DefaultTemplates", "True")
  Q_PROPERTY(QString AllowedUsageIDs READ AllowedUsageIDs WRITE SetAllowedUsageIDs)
  Q_CLASSINFO("default:AllowedUsageIDs", "'0'")
  Q_PROPERTY(bool EncloseInBrackets READ EncloseInBrackets WRITE SetEncloseInBrackets)
  Q_CLASSINFO("default:EncloseInBrackets", "True")
  Q_PROPERTY(bool AddTableNames READ AddTableNames WRITE SetAddTableNames)
  Q_CLASSINFO("default:AddTableNames", "False")
  Q_PROPERTY(Kel::TStrings* TableNames READ TableNames WRITE SetTableNames)
  Q_PROPERTY(bool Filtered READ Filtered WRITE SetFiltered)
  Q_CLASSINFO("default:Filtered", "True")
  Q_PROPERTY(QString AdditionalFilter READ AdditionalFilter WRITE SetAdditionalFilter)
  Q_PROPERTY(Kel::TStrings* SQLHead READ SQLHead WRITE SetSQLHead)
  Q_PROPERTY(Kel::TStrings* SQLTail READ SQLTail WRITE SetSQLTail)
  Q_PROPERTY(Kel::TKelOrderByItems* OrderByItems READ OrderByItems WRITE SetOrderByItems)
  Q_PROPERTY(Kel::TStrings* SQLOBTail READ SQLOBTail WRITE SetSQLOBTail)
  Q_PROPERTY(Kel::KelFltBoxTypes::TKelWhereInc WhereInc READ WhereInc WRITE SetWhereInc)
  Q_CLASSINFO("default:WhereInc", "wiAuto")
  Q_PROPERTY(bool HookFilterProp READ HookFilterProp WRITE SetHookFilterProp)
  Q_CLASSINFO("default:HookFilterProp", "False")
  Q_PROPERTY(bool HookSQLProp READ HookSQLProp WRITE SetHookSQLProp)
  Q_CLASSINFO("default:HookSQLProp", "False")
  Q_PROPERTY(bool ActivateDataSet READ ActivateDataSet WRITE SetActivateDataSet)
  Q_CLASSINFO("default:ActivateDataSet", "True")
  Q_PROPERTY(QString FilterStr READ FilterStr WRITE SetFilterStr STORED false)
  Q_PROPERTY(QString Expression READ Expression WRITE SetExpression STORED false)
  Q_PROPERTY(Kel::TStrings* SQL READ SQL WRITE SetSQL STORED false)
  Q_PROPERTY(bool ForceSQLDateTime READ ForceSQLDateTime WRITE SetForceSQLDateTime)
  Q_CLASSINFO("default:ForceSQLDateTime", "False")
  Q_PROPERTY(bool ForceSQLBooleans READ ForceSQLBooleans WRITE SetForceSQLBooleans)
  Q_CLASSINFO("default:ForceSQLBooleans", "False")
  Q_PROPERTY(Kel::TKelFltDateTimeFormat* FilterDateTimeFormat READ FilterDateTimeFormat WRITE
                 SetFilterDateTimeFormat)
  Q_PROPERTY(Kel::TKelFltDateTimeFormat* SQLDateTimeFormat READ SQLDateTimeFormat WRITE
                 SetSQLDateTimeFormat)
  Q_PROPERTY(Kel::TKelFltDateTimeFormat* DisplayDateTimeFormat READ DisplayDateTimeFormat WRITE
                 SetDisplayDateTimeFormat)

 public:
  Q_INVOKABLE explicit TKelFltBld(TComponent* owner = nullptr);
  ~TKelFltBld() override;

  // ---- the bound dataset
  TDataSet* DataSet() const { return static_cast<TDataSet*>(dataSet_.data()); }
  // Watches the dataset and applies the result to it.
  void SetDataSet(TDataSet* value);

  // ---- conditions
  TKelFltItems* Items() const { return items_; }
  void SetItems(TKelFltItems* value);  // copies the conditions
  // Works on a condition list owned elsewhere (a filter box's); nullptr returns to the
  // builder's own list.
  void AttachItems(TKelFltItems* items);

  // ---- catalogue
  TKelFltBoxFields* Fields() const { return fields_.get(); }
  void SetFields(TKelFltBoxFields* value);
  TKelFltBoxFields* FieldParams() const { return fieldParams_.get(); }
  void SetFieldParams(TKelFltBoxFields* value);
  TStrings* HiddenFields() const { return hiddenFields_.get(); }
  void SetHiddenFields(TStrings* value);
  bool ExcludeBlobs() const { return excludeBlobs_; }
  void SetExcludeBlobs(bool value) { excludeBlobs_ = value; }

  // ---- templates
  TKelFltBoxTemplates* Templates() const { return templates_.get(); }
  void SetTemplates(TKelFltBoxTemplates* value);
  bool DefaultTemplates() const { return defaultTemplates_; }
  void SetDefaultTemplates(bool value) { defaultTemplates_ = value; }
  QString AllowedUsageIDs() const { return allowedUsageIDs_; }
  void SetAllowedUsageIDs(const QString& value) { allowedUsageIDs_ = value; }

  // ---- text options
  bool EncloseInBrackets() const { return encloseInBrackets_; }
  void SetEncloseInBrackets(bool value);
  bool AddTableNames() const { return addTableNames_; }
  void SetAddTableNames(bool value);
  TStrings* TableNames() const { return tableNames_.get(); }
  void SetTableNames(TStrings* value);
  bool Filtered() const { return filtered_; }
  void SetFiltered(bool value);
  QString AdditionalFilter() const { return additionalFilter_; }
  void SetAdditionalFilter(const QString& value);
  TStrings* SQLHead() const { return sqlHead_.get(); }
  void SetSQLHead(TStrings* value);
  TStrings* SQLTail() const { return sqlTail_.get(); }
  void SetSQLTail(TStrings* value);
  TKelOrderByItems* OrderByItems() const { return orderByItems_.get(); }
  void SetOrderByItems(TKelOrderByItems* value);
  TStrings* SQLOBTail() const { return sqlOBTail_.get(); }
  void SetSQLOBTail(TStrings* value);
  TKelWhereInc WhereInc() const { return whereInc_; }
  void SetWhereInc(TKelWhereInc value) { whereInc_ = value; }
  bool HookFilterProp() const { return hookFilterProp_; }
  void SetHookFilterProp(bool value) { hookFilterProp_ = value; }
  bool HookSQLProp() const { return hookSQLProp_; }
  void SetHookSQLProp(bool value) { hookSQLProp_ = value; }
  bool ActivateDataSet() const { return activateDataSet_; }
  void SetActivateDataSet(bool value) { activateDataSet_ = value; }

  // ---- value formatting, forwarded to the condition list
  bool ForceSQLDateTime() const;
  void SetForceSQLDateTime(bool value);
  bool ForceSQLBooleans() const;
  void SetForceSQLBooleans(bool value);
  TKelFltDateTimeFormat* FilterDateTimeFormat() const;
  void SetFilterDateTimeFormat(TKelFltDateTimeFormat* value);
  TKelFltDateTimeFormat* SQLDateTimeFormat() const;
  void SetSQLDateTimeFormat(TKelFltDateTimeFormat* value);
  TKelFltDateTimeFormat* DisplayDateTimeFormat() const;
  void SetDisplayDateTimeFormat(TKelFltDateTimeFormat* value);

  // ---- results
  // The conditions alone, with brackets from the indentation.
  QString Expression();
  // Parses text into conditions (same as SetFilterStr).
  void SetExpression(const QString& value) { SetFilterStr(value); }
  // Expression with AdditionalFilter in front; empty when Filtered is off. Marks the builder
  // modified when the text differs from the last one computed.
  QString FilterStr();
  // Replaces the conditions by those read from text. A text that does not parse raises
  // "<parser message>\r\nBad filter." and keeps the conditions; one that parses but that the
  // templates cannot express leaves no conditions.
  void SetFilterStr(const QString& value);
  // The whole statement: head, WHERE, conditions in SQL form, tail, ORDER BY, ORDER BY tail.
  // The list is the builder's own and is rewritten by the next call.
  TStrings* SQL();
  void SetSQL(TStrings*) {}
  // The statement of SQL, and the filter in SQL form (what SQL writes after WHERE), with bound
  // parameters instead of values.
  TKelSqlWithParams SQLWithParams();
  TKelSqlWithParams SQLFilterWithParams();
  bool Modified() const { return modified_; }

  // ---- catalogue operations (which source answers is documented in the .cpp)
  virtual QString GetSQLFieldName(const QString& fieldName);
  virtual QString GetTableName(const QString& fieldName);
  virtual bool IsItemActive(TKelFltItem* item);
  virtual QString GetConnectorText(const QString& operation);
  virtual void GetItemPickList(TKelFltItem* item, TKelListParam* param, TStrings* list);
  virtual bool HasPickList(TKelFltItem* item, TKelListParam* param);
  virtual QString GetLookupDisplayText(TKelField* param, const TKelLookupDef& lookupDef);
  virtual TKelLookupDef GetLookupDef(const QString& fieldName);
  virtual TFieldType GetFieldType(const QString& fieldName);
  virtual void GetFieldPickList(const QString& fieldName, TStrings* list);
  virtual void DoModifyPickList(const QString& fieldName, TStrings* list);
  virtual QString GetOrderByText();
  // The templates offered for a field: CaptionID as text, the template as object.
  virtual void GetOperationList(const QString& fieldName, TStrings* list);
  virtual QString GetFieldDisplayLabel(const QString& fieldName);
  // Writes the result into the dataset when the text changed since the last write.
  virtual void UpdateDataSet();
  // The fields that may be used, each with its dataset field attached when it has one.
  virtual void GetFieldList(TStrings* list);

  // The template category of a field.
  QString GetFieldCategory(const QString& fieldName);
  // The lookup definition of a condition's parameter: the parameter's own, completed from the
  // catalogue, then offered to OnGetLookupDef.
  TKelLookupDef GetParamLookupDef(TKelFltItem* item, TKelListParam* param);
  // The field's first offered template, or nullptr.
  TKelFltBoxTemplate* FirstTemplate(const QString& fieldName);
  TKelFltBoxTemplate* FindTemplate(const QString& fieldName, const QString& text);
  // The text that stands for a field: SQL form while the statement is built, else the name,
  // bracketed where it needs quoting. In SQL form a name is double-quoted where it needs
  // quoting, and a dataset field's own name also where it has capitals when the dataset's
  // database reads unquoted names in lower case.
  QString FieldReference(const QString& fieldName);
  // The text one active condition writes.
  QString ConditionText(TKelFltItem* item);
  // Sets each condition's Template again, rebuilding captions, prefixes and suffixes once all
  // templates and fields are known (after loading).
  void RefreshTemplates();
  // The builder keeps what each condition writes and writes again only the conditions that
  // reported a change, or whose field, template or text settings changed. A descendant whose
  // IsItemActive or GetConnectorText answers from more than that calls this when its answer
  // changes: the next text is written afresh.
  void ForgetConditionTexts();

  TKelOnModifyPickList OnModifyPickList;
  TKelOnGetLookupDef OnGetLookupDef;
  // Set by a filter box to hear the lookup question after the builder's own event.
  TKelOnGetLookupDef OnGetLookupDefForBox;

  void Loaded() override;
  void Notification(TComponent* component, TOperation operation) override;
  bool IsPropertyStored(const char* name) const override;

 private:
  TField* DataSetField(const QString& fieldName) const;
  // What SQL text for the bound dataset's database must heed; none without a dataset.
  TSqlTextRules SqlTextRules() const;
  QString CapturedHead();
  // FilterStr in SQL form, and the whole statement (the texts of SQL).
  QString SqlFilterText();
  QString StatementText();

  // ---- reading a filter text back
  void ReadFilterText(const QString& text);
  // The bound dataset when the catalogue is its fields, else the emulated one with Fields.
  TDataSet* ParsingDataSet();
  std::vector<std::unique_ptr<TKelFltCandidate>> BuildCandidates(TDataSet* parsing,
                                                                 const QStringList& fieldNames);
  void ConditionsFromTree(TKelFltNode* root,
                          const std::vector<std::unique_ptr<TKelFltCandidate>>& candidates);
  void AddReadCondition(TKelFltNode* node, int level, int connector);
  void FillReadValue(TKelFltItem* item, TKelListParam* param);

  // ---- texts kept of each condition
  friend class TKelFltKeptTexts;
  // What ConditionText and IsItemActive take from a field and a template; kept in step with
  // them, since a kept text is used again while this answer stays the same.
  TKelFltConditionInputs ConditionInputs(const QString& fieldName, const QString& templateText);
  // The kept texts of the form being built; nullptr when values are written by a handler of
  // the list's (OnGetAsString), whose answers nothing here can follow.
  TKelFltKeptTexts* KeptTexts();

  // Held as a QObject: a dataset being destroyed is no TDataSet any more when it says so.
  QPointer<QObject> dataSet_;
  std::unique_ptr<TKelFltItems> ownItems_;
  TKelFltItems* items_ = nullptr;
  std::unique_ptr<TKelFltBoxFields> fields_;
  std::unique_ptr<TKelFltBoxFields> fieldParams_;
  std::unique_ptr<TStringList> hiddenFields_;
  bool excludeBlobs_ = false;
  std::unique_ptr<TKelFltBoxTemplates> templates_;
  bool defaultTemplates_ = true;
  QString allowedUsageIDs_ = QStringLiteral("0");
  bool encloseInBrackets_ = true;
  bool addTableNames_ = false;
  std::unique_ptr<TStringList> tableNames_;
  bool filtered_ = true;
  QString additionalFilter_;
  std::unique_ptr<TStringList> sqlHead_;
  std::unique_ptr<TStringList> sqlTail_;
  std::unique_ptr<TKelOrderByItems> orderByItems_;
  std::unique_ptr<TStringList> sqlOBTail_;
  TKelWhereInc whereInc_ = wiAuto;
  bool hookFilterProp_ = false;
  bool hookSQLProp_ = false;
  bool activateDataSet_ = true;

  QString lastFilterStr_;
  bool modified_ = false;
  bool headCaptured_ = false;
  bool sqlMode_ = false;
  // While a text with bound parameters is built: where the values go.
  std::vector<Variant>* boundValues_ = nullptr;
  std::unique_ptr<TStringList> sql_;
  std::unique_ptr<TKelEmulDataSet> emulDataSet_;
  std::unique_ptr<TKelFltKeptTexts> keptFilterTexts_;
  std::unique_ptr<TKelFltKeptTexts> keptSqlTexts_;
};

// Whether a name must be quoted in SQL text (a blank, or a reserved word) and, in filter text,
// bracketed.
KEL_EXPORT bool NameNeedsQuoting(const QString& name);
// The reserved words, in the SQL tokenizer's keyword order.
KEL_EXPORT const QStringList& ReservedWords();

}  // namespace Kel
