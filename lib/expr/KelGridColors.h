#pragma once
// Grid colours: which background colour and font a grid cell of the current record gets. Each
// rule (TKelRecordSetStyle) has a condition (Filter, with an optional ExcludeFilter that keeps
// records out), an optional list of the fields it colours, a colour and a font; for a cell,
// every active rule whose field list admits the cell's field is evaluated on the current record
// and the last one that holds decides. Part of unit KelExprEval.
//
// A rule's condition is parsed once and kept until the rule or any other rule changes (or the
// dataset, Fields or Options of the grid colours). A rule whose condition does not parse or
// fails on a record switches itself off (Active False); the error reaches the caller once.

#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

#include "Color.h"
#include "Font.h"
#include "KelEvaluator.h"
#include "KelExport.h"
#include "KelNamedItems.h"

namespace Kel {

class TKelGridColors;
class TKelRecordSetStyle;

// (Sender; the rule; the parameter's name; the value to supply)
using TKelOnGetItemParamValue = std::function<void(QObject* sender, TKelRecordSetStyle* item,
                                                   const QString& name, Variant& value)>;

class KEL_EXPORT TKelRecordSetStyle : public TKelNamedItem {
  Q_OBJECT
  Q_MOC_INCLUDE("KelFields.h")
  Q_PROPERTY(QString Name READ Name WRITE SetName)
  Q_PROPERTY(Kel::TFont* Font READ Font WRITE SetFont)
  Q_PROPERTY(int Color READ Color WRITE SetColor)
  Q_CLASSINFO("default:Color", "-16777211")
  Q_PROPERTY(QString DataField READ DataField WRITE SetDataField)
  Q_PROPERTY(QString Filter READ Filter WRITE SetFilter)
  Q_PROPERTY(QString ExcludeFilter READ ExcludeFilter WRITE SetExcludeFilter)
  Q_PROPERTY(Kel::TKelFields* Params READ Params WRITE SetParams)
  Q_PROPERTY(bool ReadOnly READ ReadOnly WRITE SetReadOnly)
  Q_CLASSINFO("default:ReadOnly", "False")
  Q_PROPERTY(bool Active READ Active WRITE SetActive)
  Q_CLASSINFO("default:Active", "False")

 public:
  Q_INVOKABLE explicit TKelRecordSetStyle(TCollection* collection);
  ~TKelRecordSetStyle() override;

  TFont* Font() const { return font_.get(); }
  void SetFont(TFont* value);
  TColor Color() const { return color_; }
  void SetColor(TColor value);
  // Field names separated by commas; a name in square brackets may hold blanks. Read back as
  // the names joined by ", ", each with a blank in brackets.
  QString DataField() const;
  void SetDataField(const QString& value);
  const QStringList& FieldList() const { return fieldList_; }
  QString Filter() const { return filter_; }
  void SetFilter(const QString& value);
  QString ExcludeFilter() const { return excludeFilter_; }
  void SetExcludeFilter(const QString& value);
  // Parameters of the condition texts (TKelDBField items).
  TKelFields* Params() const { return params_.get(); }
  void SetParams(TKelFields* value);
  bool ReadOnly() const { return readOnly_; }
  void SetReadOnly(bool value) { readOnly_ = value; }
  bool Active() const { return active_; }
  void SetActive(bool value);

  // The grid colours the rule belongs to, or nullptr.
  TKelGridColors* GridColors() const;
  // The condition text: Filter, and ExcludeFilter negated.
  QString ConditionText() const;
  void DropCondition() { condition_.reset(); }

  void Assign(TPersistent* source) override;

 private:
  friend class TKelGridColors;

  std::unique_ptr<TFont> font_;
  TColor color_ = clWindow;
  QStringList fieldList_;
  QString filter_;
  QString excludeFilter_;
  std::unique_ptr<TKelFields> params_;
  bool readOnly_ = false;
  bool active_ = false;
  bool refreshingParams_ = false;
  std::shared_ptr<TKelParsedExpr> condition_;
};

class KEL_EXPORT TKelRecordSetStyles : public TKelNamedItems {
  Q_OBJECT

 public:
  explicit TKelRecordSetStyles(TKelGridColors* owner);

  TKelRecordSetStyle* Items(int index) const {
    return TCollection::Items<TKelRecordSetStyle>(index);
  }
  TKelRecordSetStyle* Add() { return TCollection::Add<TKelRecordSetStyle>(); }
  TKelGridColors* GridColors() const { return gridColors_; }

 private:
  TKelGridColors* gridColors_;
};

class KEL_EXPORT TKelGridColors : public TKelCustomExprEval {
  Q_OBJECT
  Q_MOC_INCLUDE("DataSet.h")
  Q_PROPERTY(Kel::TSet<Kel::DB::TFilterOption> Options READ Options WRITE SetOptions)
  Q_CLASSINFO("default:Options", "[]")
  Q_PROPERTY(Kel::TDataSet* DataSet READ DataSet WRITE SetDataSet)
  Q_PROPERTY(Kel::TKelRecordSetStyles* RecordsInfo READ RecordsInfo WRITE SetRecordsInfo)
  Q_PROPERTY(Kel::TKelFields* Fields READ Fields WRITE SetFields)

 public:
  Q_INVOKABLE explicit TKelGridColors(TComponent* owner = nullptr);
  ~TKelGridColors() override;

  TKelRecordSetStyles* RecordsInfo() const { return recordsInfo_.get(); }
  // Copies the rules of value.
  void SetRecordsInfo(TKelRecordSetStyles* value);

  // The style of a cell of the current record: found tells whether a rule holds; then color
  // and font are those of the last rule that holds (font refers to the rule's own object).
  void GetCellStyle(const QString& fieldName, bool& found, TColor& color, TFont*& font);
  // The parsed condition of a rule, made on first use and kept; raises (and switches the rule
  // off) for a condition that does not parse.
  TKelParsedExpr& StyleCondition(TKelRecordSetStyle* rule);

  virtual void DoGetItemParamValue(TKelRecordSetStyle* item, const QString& name, Variant& value);

  TKelOnGetItemParamValue OnGetItemParamValue;

 protected:
  // Drops every rule's condition, then reports the change (OnChange).
  void DoChange(QObject* sender) override;
  void ParsingInputsChanged() override;

 private:
  void DropConditions();

  std::unique_ptr<TKelRecordSetStyles> recordsInfo_;
};

}  // namespace Kel
