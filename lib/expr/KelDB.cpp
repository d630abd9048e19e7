#include "KelDB.h"

#include <QSet>

#include "DBConsts.h"
#include "DateUtils.h"
#include "ExprParser.h"
#include "Fields.h"
#include "KelExprConsts.h"

namespace Kel {

TFieldType KelFieldTypeToFieldType(TKelFieldType type) {
  switch (type) {
    case FT_INT:
      return ftInteger;
    case FT_DATETIME:
    case FT_DATE:
    case FT_TIME:
      return ftDateTime;
    case FT_CURRENCY:
      return ftCurrency;
    case FT_FLOAT:
      return ftFloat;
    case FT_STRING:
      return ftString;
    case FT_BOOL:
      return ftBoolean;
    default:
      return ftUnknown;
  }
}

TKelFieldType FieldTypeToKelFieldType(TFieldType type) {
  switch (type) {
    case ftString:
    case ftMemo:
    case ftFmtMemo:
    case ftFixedChar:
    case ftWideString:
      return FT_STRING;
    case ftSmallint:
    case ftInteger:
    case ftWord:
    case ftAutoInc:
    case ftLargeint:
      return FT_INT;
    case ftBoolean:
      return FT_BOOL;
    case ftFloat:
      return FT_FLOAT;
    case ftCurrency:
    case ftBCD:
      return FT_CURRENCY;
    case ftDate:
      return FT_DATE;
    case ftTime:
      return FT_TIME;
    case ftDateTime:
      return FT_DATETIME;
    default:
      return FT_UNK;
  }
}

// ---------------------------------------------------------------------------------------------
// Filter nodes

TKelFltNode::TKelFltNode(TCannedExpr expression) : expression_(std::move(expression)) {}

TKelFltNode::~TKelFltNode() = default;

void TKelFltNode::SetNodeData(const TCanNode* node) {
  hasNodeData_ = node != nullptr;
  nodeData_ = node ? *node : TCanNode();
}

TKelFields* TKelFltNode::Constants() {
  if (!constants_) constants_ = std::make_unique<TKelFields>();
  return constants_.get();
}

int TKelFltNode::NodeCount() { return template_ ? 0 : TKelStaticNode::NodeCount(); }

namespace {

// A field node keeps its name; any other node holding a field reads it from the expression.
QString FieldNameOf(const TKelFltNode& node) {
  if (const auto* field = dynamic_cast<const TKelFltFieldNode*>(&node)) return field->FieldName();
  return node.Expression().FieldName(node.NodeData());
}

}  // namespace

bool TKelFltNode::SameKind(const TKelBinTreeNode* other) const {
  if (!TKelStaticNode::SameKind(other)) return false;
  const auto* node = static_cast<const TKelFltNode*>(other);
  if (hasNodeData_ != node->hasNodeData_) return false;
  if (!hasNodeData_) return true;
  const TCanNode& a = nodeData_;
  const TCanNode& b = node->nodeData_;
  if (a.Class != b.Class || a.Operator != b.Operator) return false;
  switch (a.Class) {
    case nodeField:
      return FieldNameOf(*this) == FieldNameOf(*node);
    case nodeConst:
      return a.ConstType() == b.ConstType();
    case nodeCompare:
      return a.CaseInsensitive() == b.CaseInsensitive() && a.PartialLength() == b.PartialLength();
    default:
      return true;
  }
}

void TKelFltFieldNode::SetNodeData(const TCanNode* node) {
  TKelFltNode::SetNodeData(node);
  fieldName_ = node ? Expression().FieldName(*node) : QString();
}

namespace {

// Deeper than any parser nests; guards the recursion against a damaged buffer.
constexpr int MaxTreeDepth = 10000;

class TreeBuilder {
 public:
  explicit TreeBuilder(const TCannedExpr& expression) : expression_(expression) {}

  std::unique_ptr<TKelFltNode> Build(int offset, int depth) {
    if (depth > MaxTreeDepth) DatabaseError(DBText::ExpressionNestedTooDeeply);
    // A node reached twice makes a cycle or a shared subtree: no parser writes either.
    if (seen_.contains(offset)) DatabaseError(DBText::InvalidCannedExpression);
    seen_.insert(offset);
    const TCanNode raw = expression_.NodeAt(offset);
    std::unique_ptr<TKelFltNode> node = Make(raw.Class);
    node->SetNodeData(&raw);
    switch (raw.Class) {
      case nodeUnary:
        node->SetLeft(Build(raw.Operand(), depth + 1));
        break;
      case nodeBinary:
      case nodeCompare:
        node->SetLeft(Build(raw.Left(), depth + 1));
        node->SetRight(Build(raw.Right(), depth + 1));
        break;
      default:
        break;  // leaves; function arguments are not followed
    }
    return node;
  }

 private:
  std::unique_ptr<TKelFltNode> Make(TNodeClass nodeClass) const {
    switch (nodeClass) {
      case nodeCompare:
        return std::make_unique<TKelFltCompareNode>(expression_);
      case nodeField:
        return std::make_unique<TKelFltFieldNode>(expression_);
      case nodeConst:
        return std::make_unique<TKelFltConstNode>(expression_);
      default:
        return std::make_unique<TKelFltNode>(expression_);
    }
  }

  const TCannedExpr& expression_;
  QSet<int> seen_;
};

}  // namespace

std::unique_ptr<TKelFltNode> BuildFilterTree(const TCannedExpr& expression) {
  return TreeBuilder(expression).Build(0, 0);
}

std::unique_ptr<TKelFltNode> BuildFilterTree(const TExprParser& parser) {
  return BuildFilterTree(parser.Expression());
}

void CollectConstants(TKelFltNode* node) {
  if (!node->constNodes_.empty()) return;
  node->ForEach(TKelBinTreeNode::OfClass<TKelFltConstNode>(), nullptr,
                [node](TKelBinTreeNode& found, bool&, int, int, void*) {
                  node->constNodes_.push_back(static_cast<TKelFltConstNode*>(&found));
                });
  TKelFields* constants = node->Constants();
  constants->BeginUpdate();
  constants->Clear();
  for (const TKelFltConstNode* constant : node->constNodes_)
    ConstToField(*constant, constants->Add());
  constants->EndUpdate();
}

bool ValuesMatch(const TKelFields* a, const TKelFields* b, bool nullIsWild) {
  if (a->Count() != b->Count()) return false;
  for (int i = 0; i < a->Count(); ++i) {
    const Variant left = a->Items(i)->Value();
    if (nullIsWild && left.IsEmptyOrNull()) continue;
    try {
      if (!VarEquals(left, b->Items(i)->Value())) return false;
    } catch (const EVariantError&) {
      return false;  // a text that is no number against a number: no instance of the template
    }
  }
  return true;
}

Variant ConstValue(const TKelFltNode& node, TKelFieldType& fieldType) {
  fieldType = FT_UNK;
  if (!node.HasNodeData() || node.NodeData().Class != nodeConst) return Variant::Null();
  const TCanNode& data = node.NodeData();
  switch (data.ConstType()) {
    case cdtString:
      fieldType = FT_STRING;
      break;
    case cdtDate:
      fieldType = FT_DATE;
      break;
    case cdtBoolean:
      fieldType = FT_BOOL;
      break;
    case cdtInt16:
    case cdtInt32:
    case cdtUInt16:
    case cdtUInt32:
      fieldType = FT_INT;
      break;
    case cdtFloat:
      fieldType = FT_FLOAT;
      break;
    case cdtTime:
      fieldType = FT_TIME;
      break;
    case cdtTimeStamp:
      fieldType = FT_DATETIME;
      break;
    default:
      return Variant::Null();
  }
  return node.Expression().ConstValue(data);
}

void ConstToField(const TKelFltNode& node, TKelField* item) {
  TKelFieldType fieldType = FT_UNK;
  const Variant value = ConstValue(node, fieldType);
  item->StoreWithType(value, fieldType);
}

void FieldFromFieldType(TKelField* item, TFieldType fieldType) {
  const TKelFieldType kelType = FieldTypeToKelFieldType(fieldType);
  switch (fieldType) {
    case ftString:
    case ftMemo:
    case ftGraphic:
    case ftFmtMemo:
    case ftFixedChar:
    case ftWideString:
      item->StoreWithType(Variant(QString()), kelType == FT_UNK ? FT_STRING : kelType);
      return;
    case ftSmallint:
    case ftInteger:
    case ftWord:
    case ftAutoInc:
    case ftLargeint:
      item->StoreWithType(Variant(0), kelType);
      return;
    case ftFloat:
      item->StoreWithType(Variant(0.0), kelType);
      return;
    case ftCurrency:
    case ftBCD:
      item->StoreWithType(Variant(Currency::FromInt(0)), kelType);
      return;
    case ftBoolean:
      item->StoreWithType(Variant(false), kelType);
      return;
    case ftDate:
      item->StoreWithType(Variant::FromDate(Date()), kelType);
      return;
    case ftTime:
      item->StoreWithType(Variant::FromDate(Time()), kelType);
      return;
    case ftDateTime:
      item->StoreWithType(Variant::FromDate(Now()), kelType);
      return;
    default:
      item->StoreWithType(item->Value(), kelType);
      return;
  }
}

// ---------------------------------------------------------------------------------------------
// Dataset helpers

void ClearDataSetFields(TDataSet* dataSet) {
  // A field's destructor takes it out of its dataset's list.
  while (dataSet->FieldCount() > 0) delete dataSet->Fields().Fields(dataSet->FieldCount() - 1);
}

void SetFilterText(TDataSet* table, const QString& text) { table->SetFilter(text); }

std::unique_ptr<TExprParser> CreateFilterParser(const TDataSet* dataSet, const QString& text,
                                                TFilterOptions options,
                                                TParserOptions parserOptions) {
  try {
    return std::make_unique<TExprParser>(dataSet, text, options, parserOptions);
  } catch (Exception& e) {
    e.SetMessage(KelExprText::BadFilter() + QStringLiteral("\r\n") + e.Message());
    throw;
  }
}

bool LookupUsable(const TKelLookupDef& lookupDef) {
  const TDataSet* dataSet = lookupDef.DataSet.data();
  if (!dataSet || lookupDef.KeyField.isEmpty() || !dataSet->FindField(lookupDef.KeyField))
    return false;
  return lookupDef.DisplayField.isEmpty() || dataSet->FindField(lookupDef.DisplayField);
}

}  // namespace Kel
