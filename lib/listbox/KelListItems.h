#pragma once
// The non-visual model of the parameter list box (unit KelListBox): items whose caption is a
// template with ":Name" placeholders, the parameters that fill those placeholders, the item
// collection that formats parameter values, and the markup from which a line is drawn and
// hit-tested.
//
// API summary
//   TKelListParam   one parameter (a TKelField): DisplayValue shown instead of the value's text
//                   when not empty, Underline / Visible / ReadOnly, an own PickList ("Display=
//                   Value" or plain values), a lookup definition (LookupKeyField,
//                   LookupDisplayField, LookupDataSet, cleared when that dataset is destroyed)
//                   and the PickType that picks its editor.
//   TKelListItem    one line: Caption (the template), Params (one parameter per placeholder, in
//                   order of appearance, re-derived whenever the caption is set, keeping the
//                   values and settings of names that survive), CurParam, Checked, IndentLev
//                   (never negative), ReadOnly.
//   TKelListBoxItem the item of a plain list box: publishes Checked, IndentLev, ReadOnly,
//                   Caption and Params.
//   TKelListItems   the collection: the three date-time formats (display, filter, SQL) and
//                   the ForceSQLDateTime / ForceSQLBooleans switches that FormatParamText
//                   applies to every parameter's text, the colour tags of the markup, outline
//                   helpers (CanOutdent, OutdentItem) and the line texts (GetItemText,
//                   PlainItemText, ParamDisplayText).
//
// Change flow, for a widget built on this model
//   A parameter's change (value, Visible, Underline, ...) calls its Changed(); the item's Params
//   collection reports it to the item (OnCollectionChange is bound to the item's Changed), the
//   item reports itself to its TKelListItems, whose Update fires OnCollectionChange(items) and
//   OnItemUpdate(items, item). A list box binds OnItemUpdate to repaint the line (item given) or
//   everything (nullptr) and fire its own OnChange. Structural changes (Add, Delete, Clear,
//   EndUpdate) arrive as OnItemUpdate(items, nullptr).
//
// Markup of a line (GetItemText)
//   The caption with every ":Name" of a parameter replaced by its decorated display text:
//   "~text~" marks the hot spot; "<u>" ... "</u>" underlines it; LinkTag / HoverLinkTag /
//   FontTag (colour tags such as "<c:Navy>", see ColorTag) colour it. StripTags removes the
//   tags; PlainItemText also removes the tildes and is the text measured for widths. The k-th
//   pair of tildes in StripTags(GetItemText(item, false)) is hot spot k, standing for
//   Params[k]: HotSpotAt and HotSpotStart translate between character positions and hot spots.

#include <QObject>
#include <QPointer>
#include <QString>
#include <memory>

#include "DBTypes.h"
#include "DataSet.h"
#include "KelDB.h"
#include "KelExport.h"
#include "KelFields.h"
#include "KelFltDateTimeFormat.h"
#include "Strings.h"

namespace Kel {


namespace KelListBoxTypes {
Q_NAMESPACE_EXPORT(KEL_EXPORT)

// Which editor a parameter gets; ptAuto lets the data type and the lookup settings decide.
enum TKelPickType : uint8_t {
  ptAuto,
  ptDate,
  ptTime,
  ptDateTime,
  ptCalculator,
  ptText,
  ptPickList,
  ptLookup,
  ptBoolean,
};
Q_ENUM_NS(TKelPickType)

}  // namespace KelListBoxTypes
using namespace KelListBoxTypes;

// Texts of the list box shown to the user.
namespace KelListBoxText {
inline constexpr const char* NullValue = "<?>";
}  // namespace KelListBoxText

class TKelListItems;

class KEL_EXPORT TKelListParam : public TKelField {
  Q_OBJECT
  Q_MOC_INCLUDE("DataSet.h")
  Q_PROPERTY(QString DisplayValue READ DisplayValue WRITE SetDisplayValue)
  Q_PROPERTY(bool Underline READ Underline WRITE SetUnderline)
  Q_CLASSINFO("default:Underline", "True")
  Q_PROPERTY(bool Visible READ Visible WRITE SetVisible)
  Q_CLASSINFO("default:Visible", "True")
  Q_PROPERTY(bool ReadOnly READ ReadOnly WRITE SetReadOnly)
  Q_CLASSINFO("default:ReadOnly", "False")
  Q_PROPERTY(Kel::TStrings* PickList READ PickList WRITE SetPickList)
  Q_PROPERTY(QString LookupKeyField READ LookupKeyField WRITE SetLookupKeyField)
  Q_PROPERTY(QString LookupDisplayField READ LookupDisplayField WRITE SetLookupDisplayField)
  Q_PROPERTY(Kel::TDataSet* LookupDataSet READ LookupDataSet WRITE SetLookupDataSet)
  Q_PROPERTY(Kel::KelListBoxTypes::TKelPickType PickType READ PickType WRITE SetPickType)
  Q_CLASSINFO("default:PickType", "ptAuto")
  Q_PROPERTY(QString ValuePrefix READ ValuePrefix WRITE SetValuePrefix)
  Q_PROPERTY(QString ValueSuffix READ ValueSuffix WRITE SetValueSuffix)

 public:
  Q_INVOKABLE explicit TKelListParam(TCollection* collection);
  ~TKelListParam() override;

  QString DisplayValue() const { return displayValue_; }
  void SetDisplayValue(const QString& value) { displayValue_ = value; }
  bool Underline() const { return underline_; }
  void SetUnderline(bool value);
  bool Visible() const { return visible_; }
  void SetVisible(bool value);
  bool ReadOnly() const { return readOnly_; }
  void SetReadOnly(bool value) { readOnly_ = value; }
  TStrings* PickList() const { return pickList_.get(); }
  // Copies the entries.
  void SetPickList(TStrings* value);
  QString LookupKeyField() const { return lookupKeyField_; }
  void SetLookupKeyField(const QString& value) { lookupKeyField_ = value; }
  QString LookupDisplayField() const { return lookupDisplayField_; }
  void SetLookupDisplayField(const QString& value) { lookupDisplayField_ = value; }
  TDataSet* LookupDataSet() const { return static_cast<TDataSet*>(lookupDataSet_.data()); }
  // Watches the dataset, so that its destruction clears the reference.
  void SetLookupDataSet(TDataSet* value);
  TKelPickType PickType() const { return pickType_; }
  void SetPickType(TKelPickType value) { pickType_ = value; }

  TKelLookupDef LookupDef() const;

  // From another list parameter: its published properties first; then, from any field, name,
  // value, type, prefix and suffix (TKelField::Assign).
  void Assign(TPersistent* source) override;

 protected:
  void ComponentRemoved(TComponent* component, TOperation operation) override;

 private:
  std::unique_ptr<TStringList> pickList_;
  QString displayValue_;
  bool underline_ = true;
  bool visible_ = true;
  bool readOnly_ = false;
  QString lookupKeyField_;
  QString lookupDisplayField_;
  // Held as a QObject: a dataset being destroyed is no TDataSet any more when it says so.
  QPointer<QObject> lookupDataSet_;
  TKelPickType pickType_ = ptAuto;
};

class KEL_EXPORT TKelListItem : public TKelNamedItem {
  Q_OBJECT

 public:
  Q_INVOKABLE explicit TKelListItem(TCollection* collection);
  ~TKelListItem() override;

  // The class of the parameters this item makes (TKelListParam).
  virtual const QMetaObject& ParamClass() const { return TKelListParam::staticMetaObject; }

  TKelListItems* ListItems() const;

  TKelFields* Params() const { return params_.get(); }
  void SetParams(TKelFields* value);
  TKelListParam* Param(int index) const { return qobject_cast<TKelListParam*>(params_->Items(index)); }
  // The parameter of that name (ignoring case), or nullptr.
  TKelListParam* ParamByName(const QString& name) const;

  QString Caption() const { return caption_; }
  // Stores the text, re-derives Params from it, clamps CurParam, calls CaptionChanged, reports.
  void SetCaption(const QString& value);

  int CurParam() const { return curParam_; }
  void SetCurParamIndex(int value) { curParam_ = value; }
  bool Checked() const { return checked_; }
  void SetChecked(bool value);
  int IndentLev() const { return indentLev_; }
  // Negative values are ignored.
  void SetIndentLev(int value);
  bool ReadOnly() const { return readOnly_; }
  void SetReadOnly(bool value) { readOnly_ = value; }

  // Changes with every change report of the item (inside an update bracket too) and is unique
  // in the process, so a widget caching what it measured of an item's text knows when to
  // measure again, even for a new item that took the place of a freed one.
  quint64 TextRevision() const { return textRevision_; }
  // The change report of this item, counted.
  void Changed() {
    textRevision_ = NextRevision();
    TKelNamedItem::Changed();
  }

 protected:
  // Called after the caption changed and the parameters were re-derived.
  virtual void CaptionChanged() {}
  // Stores a caption without re-deriving the parameters (a descendant that must keep them).
  void StoreCaption(const QString& value) { caption_ = value; }

 private:
  std::unique_ptr<TKelFields> params_;
  QString caption_;
  int curParam_ = 0;
  bool checked_ = true;
  int indentLev_ = 0;
  bool readOnly_ = false;
  static quint64 NextRevision();
  quint64 textRevision_ = NextRevision();
};

class KEL_EXPORT TKelListBoxItem : public TKelListItem {
  Q_OBJECT
  Q_PROPERTY(bool Checked READ Checked WRITE SetChecked)
  Q_CLASSINFO("default:Checked", "True")
  Q_PROPERTY(int IndentLev READ IndentLev WRITE SetIndentLev)
  Q_CLASSINFO("default:IndentLev", "0")
  Q_PROPERTY(bool ReadOnly READ ReadOnly WRITE SetReadOnly)
  Q_CLASSINFO("default:ReadOnly", "False")
  Q_PROPERTY(QString Caption READ Caption WRITE SetCaption)
  Q_PROPERTY(Kel::TKelFields* Params READ Params WRITE SetParams)

 public:
  Q_INVOKABLE explicit TKelListBoxItem(TCollection* collection) : TKelListItem(collection) {}
};

class KEL_EXPORT TKelListItems : public TKelNamedItems {
  Q_OBJECT

 public:
  TKelListItems(QObject* owner, const QMetaObject& itemClass = TKelListBoxItem::staticMetaObject);
  ~TKelListItems() override;

  TKelListItem* Items(int index) const { return TCollection::Items<TKelListItem>(index); }
  template <typename T>
  T* Items(int index) const {
    return TCollection::Items<T>(index);
  }
  TKelListItem* Add() { return TCollection::Add<TKelListItem>(); }
  template <typename T>
  T* Add() {
    return TCollection::Add<T>();
  }

  // ---- colour tags of the markup, kept current by the list box
  QString HoverLinkTag() const { return hoverLinkTag_; }
  void SetHoverLinkTag(const QString& value) { hoverLinkTag_ = value; }
  QString LinkTag() const { return linkTag_; }
  void SetLinkTag(const QString& value) { linkTag_ = value; }
  QString FontTag() const { return fontTag_; }
  void SetFontTag(const QString& value) { fontTag_ = value; }

  // ---- value formatting
  TKelFltDateTimeFormat* DisplayDateTimeFormat() const { return displayFormat_.get(); }
  TKelFltDateTimeFormat* FilterDateTimeFormat() const { return filterFormat_.get(); }
  TKelFltDateTimeFormat* SQLDateTimeFormat() const { return sqlFormat_.get(); }
  bool ForceSQLDateTime() const { return forceSQLDateTime_; }
  void SetForceSQLDateTime(bool value) { forceSQLDateTime_ = value; }
  bool ForceSQLBooleans() const { return forceSQLBooleans_; }
  void SetForceSQLBooleans(bool value) { forceSQLBooleans_ = value; }
  // The format object the filter form of a value uses now.
  TKelFltDateTimeFormat* ActiveFilterFormat() const;

  // Finishes the text of a parameter's value: dates in the format object of the form, numbers
  // with "." in the filter form and the user's separator on display, booleans as "True" /
  // "False" in SQL; then OnGetAsString. A null value keeps its empty text.
  void FormatParamText(QObject* sender, TKelField* field, QString& result, bool forDisplay);
  TKelOnGetAsString OnGetAsString;

  // ---- visibility and read-only state, for descendants to refine
  virtual bool IsParamVisible(const TKelListItem* item, const TKelListParam* param) const;
  virtual bool IsItemReadOnly(const TKelListItem* item) const { return item->ReadOnly(); }

  // ---- outline
  bool CanOutdent(int index) const;
  // Outdents the item and the deeper items that follow it.
  void OutdentItem(int index);
  // Makes index (clamped) the item's current parameter, moving right past hidden ones.
  void SetCurParam(TKelListItem* item, int index) const;

  // ---- line texts
  // "<?>" for a null value, else DisplayValue when set, else the display form of the value.
  QString ParamDisplayText(const TKelField* param) const;
  QString DecorateParam(const QString& text, bool underline, bool hover) const;
  QString GetItemText(const TKelListItem* item, bool highlight) const;
  QString StripTags(const QString& text) const;
  QString PlainItemText(const TKelListItem* item) const;

  void GetItemDisplayName(TKelNamedItem* item, QString& name) override;

 private:
  QString hoverLinkTag_;
  QString linkTag_;
  QString fontTag_;
  std::unique_ptr<TKelFltDateTimeFormat> displayFormat_;
  std::unique_ptr<TKelFltDateTimeFormat> filterFormat_;
  std::unique_ptr<TKelFltDateTimeFormat> sqlFormat_;
  bool forceSQLDateTime_ = false;
  bool forceSQLBooleans_ = false;
};

// The hot spot (0-based) under the n-th visible character (1-based) of a text whose hot spots
// are enclosed in "~"; -1 when that character is outside every hot spot.
KEL_EXPORT int HotSpotAt(const QString& text, int n);
// The 1-based position, in the text without "~", of the first character of hot spot k; 0 when
// the text has no such hot spot.
KEL_EXPORT int HotSpotStart(const QString& text, int k);

}  // namespace Kel
