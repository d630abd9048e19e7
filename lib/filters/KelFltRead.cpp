// Reading a filter text back into conditions.
//
// The text is parsed into a node tree; every template offered for a field the text names is
// filled with neutral values and parsed too (a candidate); subtrees of the text that have a
// candidate's shape and constants become conditions, larger candidates first, so "between"
// wins over one comparison. The AND and OR nodes between them become connectors and groups.
//
// Three things are kept sound where a plain depth-first reading would change what the text
// selects:
//  - groups: the indentation of a condition follows the changes of operator on its way from
//    the root (a chain of ANDs is one level, an OR inside it the next), never the depth of the
//    binary tree, so «A and B and (C or D)» keeps its brackets; two bracketed groups are never
//    written next to each other, which the bracket rule of the expression could not tell apart;
//  - LIKE values: a candidate with a prefix or suffix ("%") matches only a text whose constant
//    really starts and ends with them, so 'abc%' reads back as "begins with", not "contains";
//  - numbers: a numeric constant matches a numeric placeholder whatever its kind, so 12.25 on
//    an integer field is still "equals".
#include <algorithm>

#include "DBConsts.h"
#include "ExprParser.h"
#include "Exceptions.h"
#include "KelDB.h"
#include "KelEmulDataSet.h"
#include "KelFltBld.h"
#include "KelFltText_p.h"
#include "KelListBoxTexts.h"
#include "KelUtils.h"
#include "StrUtils.h"
#include "UpdateBracket.h"

namespace Kel {

// A template filled in for one field and parsed.
struct TKelFltCandidate {
  QString FieldName;
  TKelFltBoxTemplate* Template = nullptr;
  std::unique_ptr<TExprParser> Parser;
  std::unique_ptr<TKelFltNode> Tree;
  int Size = 0;
  // One item per ":" token of the filled template, in text order: a date macro with its date,
  // a value placeholder without a value.
  std::unique_ptr<TKelFields> Params = std::make_unique<TKelFields>();
};

namespace {

using Candidate = TKelFltCandidate;

bool IsNumericConst(const TKelFltNode& node) {
  if (!dynamic_cast<const TKelFltConstNode*>(&node) || !node.HasNodeData()) return false;
  switch (node.NodeData().ConstType()) {
    case cdtInt16:
    case cdtInt32:
    case cdtFloat:
    case cdtUInt16:
    case cdtUInt32:
      return true;
    default:
      return false;
  }
}

// The shape test of the node tree, except that numeric constants of different kinds are alike.
bool SameShape(TKelFltNode* a, TKelFltNode* b) {
  if (!a || !b) return a == b;
  if (IsNumericConst(*a) && IsNumericConst(*b)) return !a->Left() && !b->Left();
  if (!a->SameKind(b)) return false;
  return SameShape(a->Left(), b->Left()) && SameShape(a->Right(), b->Right());
}

// The constants of node fit the candidate: values where the candidate has values, and text with
// the candidate's prefix and suffix where it has a placeholder.
bool ConstantsFit(TKelFltNode* node, const Candidate& candidate) {
  CollectConstants(node);
  TKelFields* constants = node->Constants();
  if (!ValuesMatch(candidate.Params.get(), constants, true)) return false;
  const QString prefix = candidate.Template->ValuePrefix();
  const QString suffix = candidate.Template->ValueSuffix();
  if (prefix.isEmpty() && suffix.isEmpty()) return true;
  for (int i = 0; i < constants->Count(); ++i) {
    if (!candidate.Params->Items(i)->IsNull()) continue;
    const TKelField* constant = constants->Items(i);
    if (constant->DataType() != FT_STRING) continue;
    const QString text = constant->Value().AsString();
    if (text.size() < prefix.size() + suffix.size() || !text.startsWith(prefix) ||
        !text.endsWith(suffix))
      return false;
  }
  return true;
}

bool IsOperator(const TKelFltNode& node, TCanOperator op) {
  return node.HasNodeData() && node.NodeData().Class == nodeBinary && node.NodeData().Operator == op;
}

// A chain of conditions and groups joined by one operator, in reading order.
struct Group {
  TCanOperator Op = coNotDefined;
  struct Entry {
    TKelFltNode* Condition = nullptr;  // a matched node, or
    std::unique_ptr<Group> Sub;        // a group of the other operator
  };
  std::vector<Entry> Entries;
};

// Thrown for a node no template expresses; the reader leaves no conditions then.
struct NotExpressible {};

// Collects node into group, the smaller subtree of each binary node first.
void Collect(TKelFltNode* node, Group& group) {
  if (node->Template()) {
    group.Entries.push_back({node, nullptr});
    return;
  }
  const bool isAnd = IsOperator(*node, coAND);
  if (!isAnd && !IsOperator(*node, coOR)) throw NotExpressible();
  const TCanOperator op = isAnd ? coAND : coOR;
  Group* into = &group;
  if (group.Op == coNotDefined) {
    group.Op = op;
  } else if (group.Op != op) {
    auto sub = std::make_unique<Group>();
    sub->Op = op;
    into = sub.get();
    group.Entries.push_back({nullptr, std::move(sub)});
  }
  const bool leftFirst = TKelBinTreeNode::SmallerFirst(*node);
  TKelFltNode* first = leftFirst ? node->Left() : node->Right();
  TKelFltNode* second = leftFirst ? node->Right() : node->Left();
  if (!first || !second) throw NotExpressible();
  Collect(first, *into);
  Collect(second, *into);
}

// Reorders a group so that no two sub-groups stand next to each other (their brackets would
// merge): the reading order is kept where it allows, else groups and conditions alternate.
void SeparateGroups(Group& group) {
  auto& entries = group.Entries;
  int groups = 0;
  for (const auto& e : entries) groups += e.Sub ? 1 : 0;
  const int plain = static_cast<int>(entries.size()) - groups;
  if (groups > plain + 1) throw NotExpressible();
  std::vector<Group::Entry> out;
  std::vector<Group::Entry> rest;
  for (auto& e : entries) rest.push_back(std::move(e));
  bool greedy = true;
  for (size_t i = 0; i < rest.size(); ++i) {
    if (!rest[i].Sub && !rest[i].Condition) continue;  // moved forward already
    if (rest[i].Sub && !out.empty() && out.back().Sub) {
      auto next = std::find_if(rest.begin() + i + 1, rest.end(),
                               [](const Group::Entry& e) { return e.Condition != nullptr; });
      if (next == rest.end()) {
        greedy = false;
        break;
      }
      out.push_back(std::move(*next));
      next->Condition = nullptr;
    }
    out.push_back(std::move(rest[i]));
  }
  if (!greedy) {
    // Strict alternation, starting with a group when there is one more group than conditions.
    std::vector<Group::Entry> all;
    for (auto& e : out) all.push_back(std::move(e));
    for (auto& e : rest)
      if (e.Sub || e.Condition) all.push_back(std::move(e));
    std::vector<Group::Entry> subs, conditions;
    for (auto& e : all) (e.Sub ? subs : conditions).push_back(std::move(e));
    out.clear();
    bool takeSub = subs.size() > conditions.size();
    size_t s = 0, c = 0;
    while (s < subs.size() || c < conditions.size()) {
      if ((takeSub && s < subs.size()) || c == conditions.size())
        out.push_back(std::move(subs[s++]));
      else
        out.push_back(std::move(conditions[c++]));
      takeSub = !takeSub;
    }
  }
  entries = std::move(out);
  for (auto& e : entries)
    if (e.Sub) SeparateGroups(*e.Sub);
}

// The conditions of a group in order with their levels and the connector after each.
struct Placed {
  TKelFltNode* Node;
  int Level;
  TCanOperator After = coNotDefined;
};

void Place(const Group& group, int level, std::vector<Placed>& out) {
  for (size_t i = 0; i < group.Entries.size(); ++i) {
    const auto& e = group.Entries[i];
    if (e.Sub)
      Place(*e.Sub, level + 1, out);
    else
      out.push_back({e.Condition, level});
    if (i + 1 < group.Entries.size()) out.back().After = group.Op;
  }
}

}  // namespace

void TKelFltBld::SetFilterStr(const QString& value) { ReadFilterText(value); }

TDataSet* TKelFltBld::ParsingDataSet() {
  if (dataSet_ && fields_->Count() == 0) return dataSet_;
  if (!emulDataSet_) emulDataSet_ = std::make_unique<TKelEmulDataSet>();
  ClearDataSetFields(emulDataSet_.get());
  for (int i = 0; i < fields_->Count(); ++i)
    emulDataSet_->AddField(fields_->Items(i)->DataField(), fields_->Items(i)->DataType());
  return emulDataSet_.get();
}

namespace {

// The dataset layer's parse of text; a text it refuses raises its message and "Bad filter.".
std::unique_ptr<TExprParser> ParseFilter(const TDataSet* dataSet, const QString& text) {
  try {
    return std::make_unique<TExprParser>(dataSet, text, dataSet->FilterOptions());
  } catch (const Exception& e) {
    throw EExprParserError(e.Message() + QStringLiteral("\r\n") +
                           ListBoxText(KelFltText::BadFilter));
  }
}

}  // namespace

void TKelFltBld::ReadFilterText(const QString& value) {
  QString text;
  for (const QChar c : value)
    if (c.unicode() >= 32) text += c;
  if (text.isEmpty()) {
    items_->Clear();
    UpdateDataSet();
    return;
  }
  TDataSet* parsing = ParsingDataSet();
  std::unique_ptr<TExprParser> parser = ParseFilter(parsing, text);
  items_->Clear();
  std::unique_ptr<TKelFltNode> root = BuildFilterTree(*parser);

  // The fields the text names, each once, in ascending order.
  QStringList fieldNames;
  root->ForEach(TKelBinTreeNode::OfClass<TKelFltFieldNode>(), nullptr,
                [&fieldNames](TKelBinTreeNode& node, bool&, int, int, void*) {
                  const QString& name = static_cast<TKelFltFieldNode&>(node).FieldName();
                  if (!std::any_of(fieldNames.begin(), fieldNames.end(),
                                   [&](const QString& n) { return SameText(n, name); }))
                    fieldNames << name;
                });
  std::sort(fieldNames.begin(), fieldNames.end(),
            [](const QString& a, const QString& b) { return CompareText(a, b) < 0; });

  std::vector<std::unique_ptr<TKelFltCandidate>> candidates = BuildCandidates(parsing, fieldNames);
  try {
    WithinUpdate(*items_, [&] { ConditionsFromTree(root.get(), candidates); });
    UpdateDataSet();
  } catch (...) {
    // A text that parses but that the templates cannot express leaves no conditions.
    items_->Clear();
  }
}

std::vector<std::unique_ptr<TKelFltCandidate>> TKelFltBld::BuildCandidates(TDataSet* parsing,
                                                                    const QStringList& fieldNames) {
  std::vector<std::unique_ptr<TKelFltCandidate>> candidates;
  for (const QString& fieldName : fieldNames) {
    const TFieldType fieldType = GetFieldType(fieldName);
    const QString fieldRef = FieldReference(fieldName);
    for (TKelFltBoxTemplate* t : templates_->Offered(GetFieldCategory(fieldName), allowedUsageIDs_)) {
      if (t->Filter().isEmpty()) continue;
      auto candidate = std::make_unique<TKelFltCandidate>();
      candidate->FieldName = fieldName;
      candidate->Template = t;
      QString filter = t->Filter();
      ReplaceAll(filter, QStringLiteral(":") + KelFltParam::Field, fieldRef);
      // Each value placeholder takes a neutral value of the field's type, written as the
      // condition list writes values; macros keep their dates.
      TKelFields valueFields;
      TKelFields* values = &valueFields;
      values->OnGetAsString = [this](QObject* sender, TKelField* field, QString& result,
                                     bool forDisplay) {
        items_->FormatParamText(sender, field, result, forDisplay);
      };
      for (const QString& name : ParamNames(filter)) {
        TKelField* param = candidate->Params->Add();
        param->SetName(name);
        if (const TKelField* macro = FindDateMacro(name)) {
          param->Assign(const_cast<TKelField*>(macro));
          continue;
        }
        if (values->FieldByName(name)) continue;
        TKelField* value = values->Add();
        value->SetName(name);
        FieldFromFieldType(value, fieldType);
        value->SetValuePrefix(t->ValuePrefix());
        value->SetValueSuffix(t->ValueSuffix());
      }
      const QString filled = FillTemplate(filter, fieldRef, values, items_->ActiveFilterFormat());
      candidate->Parser = ParseFilter(parsing, filled);
      candidate->Tree = BuildFilterTree(*candidate->Parser);
      candidate->Size = candidate->Tree->NodeCount();
      candidates.push_back(std::move(candidate));
    }
  }
  // Larger first; among equal sizes the one made first (earlier field, earlier template).
  std::stable_sort(candidates.begin(), candidates.end(),
                   [](const auto& a, const auto& b) { return a->Size > b->Size; });
  return candidates;
}

void TKelFltBld::ConditionsFromTree(
    TKelFltNode* root, const std::vector<std::unique_ptr<TKelFltCandidate>>& candidates) {
  root->NodeCount();  // every size is counted before anything is matched
  if (!candidates.empty()) {
    const int largest = candidates.front()->Size;
    const int smallest = candidates.back()->Size;
    for (const auto& candidate : candidates) {
      root->ForEach({}, nullptr, [&](TKelBinTreeNode& base, bool& skip, int, int, void*) {
        auto& node = static_cast<TKelFltNode&>(base);
        if (node.Template()) {
          skip = true;
          return;
        }
        const int size = node.NodeCount();
        if (size < smallest || size > largest || size != candidate->Size) return;
        if (SameShape(&node, candidate->Tree.get()) && ConstantsFit(&node, *candidate))
          node.SetTemplate(candidate.get());
      });
    }
  }
  Group top;
  Collect(root, top);
  SeparateGroups(top);
  std::vector<Placed> placed;
  Place(top, 0, placed);
  for (const Placed& p : placed) AddReadCondition(p.Node, p.Level, p.After);
}

void TKelFltBld::AddReadCondition(TKelFltNode* node, int level, int connector) {
  const auto* candidate = static_cast<const TKelFltCandidate*>(node->Template());
  TKelFltItem* item = items_->Add();
  item->SetDataField(candidate->FieldName);
  item->SetTemplate(candidate->Template->CaptionID());
  item->SetIndentLev(level);
  if (connector == coOR)
    item->SetOperation(ListBoxText(KelFltText::DisplayOr));
  else
    item->SetOperation(ListBoxText(KelFltText::DisplayAnd));
  // The constants that stand where the template has value placeholders, in order.
  CollectConstants(node);
  std::vector<TKelFltConstNode*> values;
  for (size_t i = 0; i < node->ConstNodes().size(); ++i)
    if (candidate->Params->Items(int(i))->IsNull()) values.push_back(node->ConstNodes()[i]);
  size_t next = 0;
  for (int i = 0; i < item->Params()->Count() && next < values.size(); ++i) {
    TKelListParam* param = item->Param(i);
    if (!TKelFltItem::IsValueParam(param)) continue;
    ConstToField(*values[next++], param);
    FillReadValue(item, param);
  }
}

// Strips the condition's prefix and suffix from a text value and gives numbers and texts the
// display text of their pick-list entry or lookup record.
void TKelFltBld::FillReadValue(TKelFltItem* item, TKelListParam* param) {
  if (param->DataType() == FT_STRING) {
    QString text = param->Value().AsString();
    if (!item->ValuePrefix().isEmpty() && text.startsWith(item->ValuePrefix()))
      text.remove(0, item->ValuePrefix().size());
    if (!item->ValueSuffix().isEmpty() && text.endsWith(item->ValueSuffix()))
      text.chop(item->ValueSuffix().size());
    if (text.isEmpty())
      param->Clear();
    else
      param->SetAsString(text);
  }
  const TKelFieldType type = param->DataType();
  if (param->IsNull() || (type != FT_INT && type != FT_FLOAT && type != FT_STRING)) return;
  param->SetDisplayValue(QString());
  TStringList pickList;
  GetItemPickList(item, param, &pickList);
  if (pickList.Count() > 0) {
    const QString wanted = param->AsString(false);
    for (int i = 0; i < pickList.Count(); ++i) {
      const QString entry = pickList.Strings(i);
      const bool named = entry.contains(u'=');
      if (SameText(named ? pickList.ValueFromIndex(i) : entry, wanted)) {
        param->SetDisplayValue(named ? pickList.Names(i) : entry);
        break;
      }
    }
    return;
  }
  const TKelLookupDef def = GetParamLookupDef(item, param);
  if (LookupUsable(def)) param->SetDisplayValue(GetLookupDisplayText(param, def));
}

}  // namespace Kel
