#include "KelBinTree.h"

#include <typeinfo>

namespace Kel {

namespace {

bool ChildrenEqual(TKelBinTreeNode* own, TKelBinTreeNode* other) {
  if (!own || !other) return own == other;
  return own->IsEqual(other);
}

}  // namespace

int TKelBinTreeNode::NodeCount() {
  int count = 0;
  if (left_) count += 1 + left_->NodeCount();
  if (right_) count += 1 + right_->NodeCount();
  return count;
}

bool TKelBinTreeNode::SameKind(const TKelBinTreeNode* other) const {
  return other && typeid(*this) == typeid(*other);
}

bool TKelBinTreeNode::IsEqual(TKelBinTreeNode* other) {
  return SameKind(other) && ChildrenEqual(Left(), other->Left()) &&
         ChildrenEqual(Right(), other->Right());
}

void TKelBinTreeNode::ForEach(const TKelNodeFilter& filter, void* param,
                              const TKelNodeCallback& callback, int depth) {
  bool skip = false;
  if (!filter || filter(*this)) callback(*this, skip, depth, 0, param);
  if (skip) return;
  if (left_) left_->ForEach(filter, param, callback, depth + 1);
  if (right_) right_->ForEach(filter, param, callback, depth + 1);
}

void TKelBinTreeNode::Walk(const TKelNodeFilter& filter, void* param, const TKelNodeOrder& order,
                           int depth, TKelWalkPhases phases, const TKelNodeCallback& callback) {
  const bool visited = !filter || filter(*this);
  const bool leftFirst = !order || order(*this, param);
  TKelBinTreeNode* first = leftFirst ? Left() : Right();
  TKelBinTreeNode* second = leftFirst ? Right() : Left();
  const auto visit = [&](TKelWalkPhase phase) {
    bool skip = false;
    if (visited && phases.Contains(phase)) callback(*this, skip, depth, phase, param);
    return skip;
  };
  if (!visit(wpBefore) && first) first->Walk(filter, param, order, depth + 1, phases, callback);
  if (!visit(wpBetween) && second) second->Walk(filter, param, order, depth + 1, phases, callback);
  visit(wpAfter);
}

bool TKelBinTreeNode::SmallerFirst(TKelBinTreeNode& node, void*) {
  if (!node.Left() || !node.Right()) return true;
  return node.Right()->NodeCount() >= node.Left()->NodeCount();
}

int TKelStaticNode::NodeCount() {
  if (cachedCount_ < 0) cachedCount_ = TKelBinTreeNode::NodeCount();
  return cachedCount_;
}

bool TKelStaticNode::IsEqual(TKelBinTreeNode* other) {
  return other && NodeCount() == other->NodeCount() && TKelBinTreeNode::IsEqual(other);
}

}  // namespace Kel
