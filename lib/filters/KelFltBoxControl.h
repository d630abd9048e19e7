#pragma once
// TKelFltBox: the visual filter editor. A parameter list box whose items are filter conditions
// (TKelFltItem), with a filter builder of its own working on those items: the builder's
// catalogue, templates and result texts are published here under the same names, and after
// every change of a condition the box lets the builder rewrite the bound dataset (OnChange runs
// first).
//
// The field, template and connector of a condition are picked from choice popups that the box
// fills from the builder; values go to the list box's editors. The add line appends a condition
// on the first field that no condition uses yet.
//
// Beside OnChange, the Qt signal ConditionsChanged follows every change of the conditions, once
// the builder has written its dataset: any number of item models and proxies can follow a box.
//
// Saving: form 0 is the filter text (FilterStr); forms 1 and 2 the conditions as a binary or
// text component stream. A stream that cannot be read raises an error and leaves the
// conditions as they were.

#include <QHash>
#include <memory>

#include "KelExport.h"
#include "KelFltBld.h"
#include "KelPrmListBox.h"

namespace Kel {

namespace KelFltBoxText {
inline constexpr const char* AddCondition =
    QT_TRANSLATE_NOOP("Kel", "<Click here to add condition>");
}  // namespace KelFltBoxText

class KEL_EXPORT TKelFltBox : public TKelPrmListBox {
  Q_OBJECT
  Q_CLASSINFO("default:ShowAddItem", "True")
  Q_CLASSINFO("default:EditWithMouse", "True")
  Q_PROPERTY(QString AllowedUsageIDs READ AllowedUsageIDs WRITE SetAllowedUsageIDs)
  Q_CLASSINFO("default:AllowedUsageIDs", "'0'")
  Q_PROPERTY(bool ExcludeBlobs READ ExcludeBlobs WRITE SetExcludeBlobs)
  Q_CLASSINFO("default:ExcludeBlobs", "False")
  Q_PROPERTY(bool DefaultTemplates READ DefaultTemplates WRITE SetDefaultTemplates)
  Q_CLASSINFO("default:DefaultTemplates", "True")
  Q_PROPERTY(bool AddTableNames READ AddTableNames WRITE SetAddTableNames)
  Q_CLASSINFO("default:AddTableNames", "False")
  Q_PROPERTY(bool HookFilterProp READ HookFilterProp WRITE SetHookFilterProp)
  Q_CLASSINFO("default:HookFilterProp", "False")
  Q_PROPERTY(bool HookSQLProp READ HookSQLProp WRITE SetHookSQLProp)
  Q_CLASSINFO("default:HookSQLProp", "False")
  Q_PROPERTY(bool ActivateDataSet READ ActivateDataSet WRITE SetActivateDataSet)
  Q_CLASSINFO("default:ActivateDataSet", "True")
  Q_PROPERTY(bool Filtered READ Filtered WRITE SetFiltered)
  Q_CLASSINFO("default:Filtered", "True")
  Q_PROPERTY(QString AdditionalFilter READ AdditionalFilter WRITE SetAdditionalFilter)
  // Texts made from (and read into) the conditions of a running program: nothing to design.
  Q_PROPERTY(QString FilterStr READ FilterStr WRITE SetFilterStr STORED false DESIGNABLE false)
  Q_PROPERTY(QString Expression READ Expression WRITE SetExpression STORED false DESIGNABLE false)

 public:
  explicit TKelFltBox(QWidget* parent = nullptr);
  ~TKelFltBox() override;

  TKelFltBld* Builder() const { return builder_.get(); }
  TKelFltItems* FltItems() const { return static_cast<TKelFltItems*>(Items()); }

  // ---- the builder's properties
  TDataSet* DataSet() const { return builder_->DataSet(); }
  void SetDataSet(TDataSet* value) { builder_->SetDataSet(value); }
  TKelFltBoxFields* Fields() const { return builder_->Fields(); }
  void SetFields(TKelFltBoxFields* value) { builder_->SetFields(value); }
  TKelFltBoxFields* FieldParams() const { return builder_->FieldParams(); }
  void SetFieldParams(TKelFltBoxFields* value) { builder_->SetFieldParams(value); }
  TStrings* HiddenFields() const { return builder_->HiddenFields(); }
  void SetHiddenFields(TStrings* value) { builder_->SetHiddenFields(value); }
  TStrings* TableNames() const { return builder_->TableNames(); }
  void SetTableNames(TStrings* value) { builder_->SetTableNames(value); }
  TStrings* SQLHead() const { return builder_->SQLHead(); }
  void SetSQLHead(TStrings* value) { builder_->SetSQLHead(value); }
  TStrings* SQLTail() const { return builder_->SQLTail(); }
  void SetSQLTail(TStrings* value) { builder_->SetSQLTail(value); }
  TStrings* SQLOBTail() const { return builder_->SQLOBTail(); }
  void SetSQLOBTail(TStrings* value) { builder_->SetSQLOBTail(value); }
  TKelFltBoxTemplates* Templates() const { return builder_->Templates(); }
  void SetTemplates(TKelFltBoxTemplates* value) { builder_->SetTemplates(value); }
  bool DefaultTemplates() const { return builder_->DefaultTemplates(); }
  void SetDefaultTemplates(bool value) { builder_->SetDefaultTemplates(value); }
  QString AllowedUsageIDs() const { return builder_->AllowedUsageIDs(); }
  void SetAllowedUsageIDs(const QString& value) { builder_->SetAllowedUsageIDs(value); }
  bool ExcludeBlobs() const { return builder_->ExcludeBlobs(); }
  void SetExcludeBlobs(bool value) { builder_->SetExcludeBlobs(value); }
  bool EncloseInBrackets() const { return builder_->EncloseInBrackets(); }
  void SetEncloseInBrackets(bool value) { builder_->SetEncloseInBrackets(value); }
  bool AddTableNames() const { return builder_->AddTableNames(); }
  void SetAddTableNames(bool value) { builder_->SetAddTableNames(value); }
  TKelOrderByItems* OrderByItems() const { return builder_->OrderByItems(); }
  void SetOrderByItems(TKelOrderByItems* value) { builder_->SetOrderByItems(value); }
  TKelWhereInc WhereInc() const { return builder_->WhereInc(); }
  void SetWhereInc(TKelWhereInc value) { builder_->SetWhereInc(value); }
  bool HookFilterProp() const { return builder_->HookFilterProp(); }
  void SetHookFilterProp(bool value) { builder_->SetHookFilterProp(value); }
  bool HookSQLProp() const { return builder_->HookSQLProp(); }
  void SetHookSQLProp(bool value) { builder_->SetHookSQLProp(value); }
  bool ActivateDataSet() const { return builder_->ActivateDataSet(); }
  void SetActivateDataSet(bool value) { builder_->SetActivateDataSet(value); }
  bool Filtered() const { return builder_->Filtered(); }
  void SetFiltered(bool value) { builder_->SetFiltered(value); }
  QString AdditionalFilter() const { return builder_->AdditionalFilter(); }
  void SetAdditionalFilter(const QString& value) { builder_->SetAdditionalFilter(value); }
  QString FilterStr() const { return builder_->FilterStr(); }
  void SetFilterStr(const QString& value) { builder_->SetFilterStr(value); }
  QString Expression() const { return builder_->Expression(); }
  void SetExpression(const QString& value) { builder_->SetExpression(value); }
  TStrings* SQL() const { return builder_->SQL(); }
  void SetOnModifyPickList(TKelOnModifyPickList handler) {
    builder_->OnModifyPickList = std::move(handler);
  }

  // Copies the catalogue and templates of another filter box, then its conditions.
  void Assign(TKelPrmListBox* source);

  // ---- list box operations with the filter's own meaning
  void PickParameter() override;
  void GetPickList(TKelListItem* item, TKelListParam* param, TStrings* list) override;
  void GetLookupDef(TKelListItem* item, TKelListParam* param, TKelLookupDef& lookupDef) override;
  // A condition on the first field no condition uses (or the first field), with its first
  // template; nothing when read-only, without fboCanAdd, without fields or templates.
  void AddItem() override;
  void SaveToString(QByteArray& s, int format) override;
  void LoadFromString(const QByteArray& s, int format) override;
  // The builder is designed with the box.
  void SetDesigning(bool value) override;

 signals:
  void ConditionsChanged();

 protected:
  const QMetaObject& ItemClass() const override { return TKelFltItem::staticMetaObject; }
  std::unique_ptr<TKelListItems> CreateItems() override;
  void ItemChanged(TKelCustomNamedItems* sender, TCollectionItem* item) override;
  void Loaded() override;
  void ItemsReplaced() override { builder_->RefreshTemplates(); }

 private:
  void PickConnector(TKelFltItem* item, TKelListParam* param);
  void PickField(TKelFltItem* item);
  void PickTemplate(TKelFltItem* item);
  // The first of the fields, in their order, that no condition uses yet; else the first.
  QString FirstUnusedField(const TStringList& fields);

  std::unique_ptr<TKelFltBld> builder_;
  // Each condition's field as last read, case-folded, with the condition's TextRevision then:
  // a long list is read again only where a condition changed.
  struct TUsedField {
    quint64 Revision = 0;
    QString Folded;
  };
  QHash<const TKelFltItem*, TUsedField> usedFields_;
};

}  // namespace Kel
