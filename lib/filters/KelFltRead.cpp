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
//    what lies between them must be text (wildcards escaped, as the builder writes values), so
//    '%a_b%' is no "contains" of any value, and 'ab^%' ends with a percent sign, not a wildcard;
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
#include "LikeMask.h"
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
  // One item per constant of the tree, in text order: the constants the template writes itself
  // (a date macro, the '' of "is blank or empty") with their values, those that stand for a
  // value placeholder without a value.
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

// Whether the template puts one of its values after LIKE (the builder then escapes it).
bool HasLikeValue(const TKelFltBoxTemplate& t) {
  for (const QString& name : ParamNames(t.Filter()))
    if (IsLikeValue(t.Filter(), name)) return true;
  return false;
}

// The constants of node fit the candidate: values where the candidate has values, and text with
// the candidate's prefix and suffix where it has a placeholder.
bool ConstantsFit(TKelFltNode* node, const Candidate& candidate) {
  CollectConstants(node);
  TKelFields* constants = node->Constants();
  if (!ValuesMatch(candidate.Params.get(), constants, true)) return false;
  const QString prefix = candidate.Template->ValuePrefix();
  const QString suffix = candidate.Template->ValueSuffix();
  const bool like = HasLikeValue(*candidate.Template);
  if (prefix.isEmpty() && suffix.isEmpty() && !like) return true;
  for (int i = 0; i < constants->Count(); ++i) {
    if (!candidate.Params->Items(i)->IsNull()) continue;
    const TKelField* constant = constants->Items(i);
    if (constant->DataType() != FT_STRING) continue;
    const QString text = constant->Value().AsString();
    if (text.size() < prefix.size() + suffix.size() || !text.startsWith(prefix) ||
        !text.endsWith(suffix))
      return false;
    const QStringView value =
        QStringView(text).mid(prefix.size(), text.size() - prefix.size() - suffix.size());
    if (like && !LikeMaskLiteralText(value)) return false;
  }
  return true;
}

// Another value than the neutral one, of the same type.
void ShiftValue(TKelField* field) {
  switch (field->DataType()) {
    case FT_STRING:
      field->SetAsString(field->Value().AsString() + u'x');
      break;
    case FT_INT:
      field->SetAsInteger(field->AsInteger() + 1);
      break;
    case FT_FLOAT:
      field->SetAsFloat(field->AsFloat() + 1);
      break;
    case FT_CURRENCY:
      field->SetAsCurrency(Currency::FromInt(1) + field->AsCurrency());
      break;
    case FT_DATE:
      field->SetAsDate(field->AsDateTime() + 1);
      break;
    case FT_DATETIME:
      field->SetAsDateTime(field->AsDateTime() + 1);
      break;
    case FT_TIME:
      field->SetAsTime(TimeOf(field->AsDateTime() + 1.0 / 24));
      break;
    case FT_BOOL:
      field->SetAsBoolean(!field->AsBoolean());
      break;
    default:
      break;
  }
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

// Laying chains out as conditions with levels. An AND chain inside an OR chain needs no
// brackets ("and" binds tighter), so it is written inline at the OR chain's level; an OR chain
// inside an AND chain is a bracketed group one level deeper. Brackets come from level changes
// alone, so two groups may never stand side by side on one level: between a ")" and a "(" no
// condition would say where one group ends. Entries are therefore ordered (AND and OR are
// commutative) so that groups are separated by conditions, keeping the reading order where it
// already does.

// An AND chain's entries in an order without adjacent groups; with wantEnds, conditions at
// both ends when there are enough of them. False when the chain has too many groups.
bool ArrangeAnd(Group& chain, bool wantEnds) {
  auto& entries = chain.Entries;
  size_t groups = 0;
  for (const auto& e : entries) groups += e.Sub ? 1 : 0;
  const size_t plain = entries.size() - groups;
  if (groups > plain + 1) return false;
  const bool ends = wantEnds && groups + 1 <= plain;
  bool valid = !ends || (!entries.front().Sub && !entries.back().Sub);
  for (size_t i = 1; i < entries.size() && valid; ++i)
    valid = !(entries[i].Sub && entries[i - 1].Sub);
  if (valid) return true;
  // Conditions and groups alternating, a condition first unless groups outnumber them.
  std::vector<Group::Entry> subs, conditions, ordered;
  for (auto& e : entries) (e.Sub ? subs : conditions).push_back(std::move(e));
  bool takeSub = subs.size() > conditions.size();
  size_t si = 0, ci = 0;
  while (si < subs.size() || ci < conditions.size()) {
    if ((takeSub && si < subs.size()) || ci == conditions.size())
      ordered.push_back(std::move(subs[si++]));
    else
      ordered.push_back(std::move(conditions[ci++]));
    takeSub = !takeSub;
  }
  entries = std::move(ordered);
  return true;
}

// Whether an entry of an OR chain, written inline, begins / ends with a bracketed group.
bool StartsWithGroup(const Group::Entry& e) {
  return e.Sub && e.Sub->Entries.front().Sub != nullptr;
}
bool EndsWithGroup(const Group::Entry& e) { return e.Sub && e.Sub->Entries.back().Sub != nullptr; }

// An OR chain's entries (conditions and inline AND chains) in an order where no AND chain that
// ends with a group meets one that starts with a group.
bool ArrangeOr(Group& chain) {
  auto& entries = chain.Entries;
  for (auto& e : entries)
    if (e.Sub && !ArrangeAnd(*e.Sub, true)) return false;
  bool valid = true;
  for (size_t i = 1; i < entries.size() && valid; ++i)
    valid = !(EndsWithGroup(entries[i - 1]) && StartsWithGroup(entries[i]));
  if (valid) return true;
  // Chains with a group at one end first, turned group-first, one after another; then chains
  // with groups at both ends, each followed by an entry with conditions at both ends.
  std::vector<Group::Entry> oneEnd, bothEnds, none, ordered;
  for (auto& e : entries) {
    const bool starts = StartsWithGroup(e), ends = EndsWithGroup(e);
    if (starts && ends)
      bothEnds.push_back(std::move(e));
    else if (starts || ends)
      oneEnd.push_back(std::move(e));
    else
      none.push_back(std::move(e));
  }
  if (none.size() + 1 < bothEnds.size()) return false;
  for (auto& e : oneEnd) {
    if (!StartsWithGroup(e)) std::reverse(e.Sub->Entries.begin(), e.Sub->Entries.end());
    ordered.push_back(std::move(e));
  }
  size_t ni = 0;
  for (size_t bi = 0; bi < bothEnds.size(); ++bi) {
    ordered.push_back(std::move(bothEnds[bi]));
    if (bi + 1 < bothEnds.size()) ordered.push_back(std::move(none[ni++]));
  }
  while (ni < none.size()) ordered.push_back(std::move(none[ni++]));
  entries = std::move(ordered);
  return true;
}

// The conditions in list order with their levels and the connector after each.
struct Placed {
  TKelFltNode* Node;
  int Level;
  TCanOperator After = coNotDefined;
};

// A chain at level: its conditions at that level, an AND chain of an OR chain inline, an OR
// chain of an AND chain bracketed one level deeper.
void PlaceChain(Group& chain, int level, std::vector<Placed>& out) {
  const bool arranged = chain.Op == coOR ? ArrangeOr(chain) : ArrangeAnd(chain, false);
  if (!arranged) throw NotExpressible();
  for (size_t i = 0; i < chain.Entries.size(); ++i) {
    Group::Entry& e = chain.Entries[i];
    if (!e.Sub)
      out.push_back({e.Condition, level});
    else
      PlaceChain(*e.Sub, chain.Op == coOR ? level : level + 1, out);
    if (i + 1 < chain.Entries.size()) out.back().After = chain.Op;
  }
}

}  // namespace

void TKelFltBld::SetFilterStr(const QString& value) { ReadFilterText(value); }

namespace {

// The text without line breaks and other control characters: between tokens they become
// blanks (so "or<CR><LF>Id" stays two words); inside quoted values and bracketed names they
// are part of the value and stay. A text made only of them is empty.
QString WithoutControlCharacters(const QString& value) {
  QString text;
  text.reserve(value.size());
  QChar closing;
  bool visible = false;
  for (qsizetype i = 0; i < value.size(); ++i) {
    const QChar c = value[i];
    if (!closing.isNull()) {
      // A doubled closing character ('' or ]]) is part of the value or name.
      if (c == closing && i + 1 < value.size() && value[i + 1] == closing)
        text += value[i++];
      else if (c == closing)
        closing = QChar();
      text += c;
      continue;
    }
    if (c == u'\'') {
      closing = c;
    } else if (c == u'[') {
      closing = u']';
    } else if (c.unicode() < 32) {
      text += u' ';
      continue;
    }
    text += c;
    visible = visible || c != u' ';
  }
  return visible || !closing.isNull() ? text : QString();
}

}  // namespace

TDataSet* TKelFltBld::ParsingDataSet() {
  if (dataSet_ && fields_->Count() == 0) return DataSet();
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
  const QString text = WithoutControlCharacters(value);
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
      // The template filled twice, its value placeholders with a neutral value of the field's
      // type and with another one: the constants that differ between the two stand for values,
      // the others (macros, literals of the template) must be matched as they are.
      TKelFields values;
      values.OnGetAsString = [this](QObject* sender, TKelField* field, QString& result,
                                    bool forDisplay) {
        items_->FormatParamText(sender, field, result, forDisplay);
      };
      for (const QString& name : ParamNames(filter)) {
        if (FindDateMacro(name) || values.FieldByName(name)) continue;
        TKelField* value = values.Add();
        value->SetName(name);
        FieldFromFieldType(value, fieldType);
        value->SetValuePrefix(t->ValuePrefix());
        value->SetValueSuffix(t->ValueSuffix());
      }
      candidate->Parser =
          ParseFilter(parsing, FillTemplate(filter, fieldRef, &values, items_->ActiveFilterFormat()));
      candidate->Tree = BuildFilterTree(*candidate->Parser);
      candidate->Size = candidate->Tree->NodeCount();
      for (int i = 0; i < values.Count(); ++i) ShiftValue(values.Items(i));
      const std::unique_ptr<TExprParser> shiftedParser =
          ParseFilter(parsing, FillTemplate(filter, fieldRef, &values, items_->ActiveFilterFormat()));
      const std::unique_ptr<TKelFltNode> shifted = BuildFilterTree(*shiftedParser);
      CollectConstants(candidate->Tree.get());
      CollectConstants(shifted.get());
      const TKelFields* first = candidate->Tree->Constants();
      const TKelFields* second = shifted->Constants();
      if (first->Count() != second->Count()) continue;
      for (int i = 0; i < first->Count(); ++i) {
        TKelField* param = candidate->Params->Add();
        if (first->Items(i)->Value().Same(second->Items(i)->Value()))
          param->Assign(first->Items(i));
      }
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
  std::vector<Placed> placed;
  if (top.Op == coNotDefined)
    placed.push_back({top.Entries.front().Condition, 0});
  else
    PlaceChain(top, 0, placed);
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
    bool stripped = false;
    if (!item->ValuePrefix().isEmpty() && text.startsWith(item->ValuePrefix())) {
      text.remove(0, item->ValuePrefix().size());
      stripped = true;
    }
    if (!item->ValueSuffix().isEmpty() && text.endsWith(item->ValueSuffix())) {
      text.chop(item->ValueSuffix().size());
      stripped = true;
    }
    // A value after LIKE was written with its wildcards escaped.
    const TKelFltBoxTemplate* t = FindTemplate(item->DataField(), item->Template());
    if (t && IsLikeValue(t->Filter(), param->Name()))
      text = LikeMaskLiteralText(text).value_or(text);
    // Only a value that was all wildcards is no value; an empty text compared with "=" is one.
    if (stripped && text.isEmpty())
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
