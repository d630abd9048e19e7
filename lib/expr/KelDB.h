#pragma once
// Unit KelDB: the bridge between the library and the dataset layer.
//  - KelFieldTypeToFieldType / FieldTypeToKelFieldType map the library's field types onto the
//    dataset layer's and back (date, date-time and time all become ftDateTime one way; memo,
//    wide string and fixed char become FT_STRING the other way; unknown kinds FT_UNK).
//  - The filter node tree: a parsed filter (a canned expression) as a tree of objects that
//    compare by shape, so that a subtree of a filter text can be recognised as an instance of a
//    condition template whatever its constant values are. CollectConstants then pulls the
//    constants of a subtree out as typed fields, in text order.
//  - CreateFilterParser: the dataset layer's filter parser with the library's "Bad filter."
//    message in front of the parser's own.
//  - Small dataset helpers of the evaluator, the list box and the filter box.

#include <QPointer>
#include <QString>
#include <memory>
#include <vector>

#include "CannedExpr.h"
#include "DBTypes.h"
#include "DataSet.h"
#include "KelBinTree.h"
#include "KelExport.h"
#include "KelFields.h"

namespace Kel {

class TExprParser;

KEL_EXPORT TFieldType KelFieldTypeToFieldType(TKelFieldType type);
KEL_EXPORT TKelFieldType FieldTypeToKelFieldType(TFieldType type);

// ---- filter node tree ----------------------------------------------------------------------

class TKelFltConstNode;

// One node of a parsed filter. The node keeps a copy of the canned expression (an implicitly
// shared buffer), so a tree stays valid after the parser that made it is gone.
class KEL_EXPORT TKelFltNode : public TKelStaticNode {
 public:
  explicit TKelFltNode(TCannedExpr expression);
  ~TKelFltNode() override;

  const TCannedExpr& Expression() const { return expression_; }
  // The node of the expression this object stands for; none for a node made by hand.
  bool HasNodeData() const { return hasNodeData_; }
  const TCanNode& NodeData() const { return nodeData_; }
  // nullptr: no node.
  virtual void SetNodeData(const TCanNode* node);

  // The children as filter nodes (a tree holds nothing else).
  TKelFltNode* Left() const { return dynamic_cast<TKelFltNode*>(TKelBinTreeNode::Left()); }
  TKelFltNode* Right() const { return dynamic_cast<TKelFltNode*>(TKelBinTreeNode::Right()); }

  // The template matched to this subtree by whoever reads a filter back into conditions; the
  // tree neither owns nor reads it. A node with a template counts no nodes below it.
  void* Template() const { return template_; }
  void SetTemplate(void* value) { template_ = value; }

  // The constants of the subtree in text order, after CollectConstants.
  TKelFields* Constants();
  const std::vector<TKelFltConstNode*>& ConstNodes() const { return constNodes_; }

  int NodeCount() override;
  // Same class, same node class and operator, and for fields the same name (letter case
  // counts), for constants the same data type (not the value), for compare nodes the same
  // case-insensitive flag and partial length.
  bool SameKind(const TKelBinTreeNode* other) const override;

 private:
  friend void CollectConstants(TKelFltNode* node);

  TCannedExpr expression_;
  TCanNode nodeData_;
  bool hasNodeData_ = false;
  void* template_ = nullptr;
  std::unique_ptr<TKelFields> constants_;
  std::vector<TKelFltConstNode*> constNodes_;
};

class KEL_EXPORT TKelFltFieldNode : public TKelFltNode {
 public:
  using TKelFltNode::TKelFltNode;
  // Also reads the field name from the literal area (empty without a node).
  void SetNodeData(const TCanNode* node) override;
  const QString& FieldName() const { return fieldName_; }

 private:
  QString fieldName_;
};

class KEL_EXPORT TKelFltConstNode : public TKelFltNode {
 public:
  using TKelFltNode::TKelFltNode;
};

class KEL_EXPORT TKelFltCompareNode : public TKelFltNode {
 public:
  using TKelFltNode::TKelFltNode;
};

// The tree of the root node of a canned expression. Raises EDatabaseError for a damaged buffer
// (a node met twice, nesting beyond any parser's).
KEL_EXPORT std::unique_ptr<TKelFltNode> BuildFilterTree(const TCannedExpr& expression);
KEL_EXPORT std::unique_ptr<TKelFltNode> BuildFilterTree(const TExprParser& parser);

// Fills the node's ConstNodes (pre-order: node, left subtree, right subtree) and Constants,
// once: a node that has collected them already keeps what it has.
KEL_EXPORT void CollectConstants(TKelFltNode* node);

// Same number of items, and item by item the values equal by the variant comparison, or (with
// nullIsWild) a's item null. Values that cannot be compared at all do not match.
KEL_EXPORT bool ValuesMatch(const TKelFields* a, const TKelFields* b, bool nullIsWild);

// The value of a constant node and its field type (string FT_STRING, date FT_DATE, Boolean
// FT_BOOL, integers FT_INT, float FT_FLOAT, time FT_TIME, time stamp FT_DATETIME); Null and
// FT_UNK for other data types and for nodes that are no constants.
KEL_EXPORT Variant ConstValue(const TKelFltNode& node, TKelFieldType& fieldType);
// item takes the constant's value and, when it differs, its type; one change report.
KEL_EXPORT void ConstToField(const TKelFltNode& node, TKelField* item);
// item takes the library's type of a dataset field type and a neutral value of it: empty text,
// 0, False, today, the current time or now; other types keep the value they have.
KEL_EXPORT void FieldFromFieldType(TKelField* item, TFieldType fieldType);

// ---- dataset helpers -----------------------------------------------------------------------

// Frees the field objects of a (closed) dataset, one by one, until none is left.
KEL_EXPORT void ClearDataSetFields(TDataSet* dataSet);
// Assigns text to the dataset's Filter with "." as the process-wide decimal separator, which is
// restored afterwards on every path.
KEL_EXPORT void SetFilterText(TDataSet* table, const QString& text);

// The dataset layer's filter parser for a dataset and a text. A text it refuses raises the
// parser's exception with the message "Bad filter." + CR LF + the parser's message. The filter
// box parses without parser options; the evaluator asks for the extended syntax.
KEL_EXPORT std::unique_ptr<TExprParser> CreateFilterParser(const TDataSet* dataSet,
                                                           const QString& text,
                                                           TFilterOptions options,
                                                           TParserOptions parserOptions = {});

// Where a lookup editor finds its values: the dataset, the field whose value a parameter takes
// and the field shown for it (empty: the key field).
struct TKelLookupDef {
  QString KeyField;
  QString DisplayField;
  QPointer<TDataSet> DataSet;
};

// A dataset is given, the key field is named and exists, and the display field is empty or
// exists.
KEL_EXPORT bool LookupUsable(const TKelLookupDef& lookupDef);

}  // namespace Kel
