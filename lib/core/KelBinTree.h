#pragma once
// Binary tree nodes that compare structurally, count their descendants and walk themselves in
// pre-order or in a chosen order with up to three visits per node. The filter node tree derives
// from them.
//
// TKelBinTreeNode owns its two children. IsEqual compares shape and kinds recursively: each
// node's SameKind (same class by default; descendants add what makes two nodes alike) and the
// children pairwise. TKelStaticNode is for trees that no longer change once built: it counts its
// descendants once and keeps that count.

#include <functional>
#include <memory>

#include "KelExport.h"
#include "Set.h"

namespace Kel {

class TKelBinTreeNode;

// The visits of Walk: before the first child, between the children, after the second child.
enum TKelWalkPhase { wpBefore = 0, wpBetween = 1, wpAfter = 2 };
using TKelWalkPhases = TSet<TKelWalkPhase>;

// Which nodes the callbacks see; an empty filter lets every node through.
using TKelNodeFilter = std::function<bool(const TKelBinTreeNode& node)>;
// The node, the flag that keeps the walk out of children (ForEach: all of them; Walk: the child
// that comes next), the depth, the phase (0 for ForEach) and the caller's parameter.
using TKelNodeCallback =
    std::function<void(TKelBinTreeNode& node, bool& skip, int depth, int phase, void* param)>;
// true: the left child first.
using TKelNodeOrder = std::function<bool(TKelBinTreeNode& node, void* param)>;

class KEL_EXPORT TKelBinTreeNode {
 public:
  TKelBinTreeNode() = default;
  TKelBinTreeNode(const TKelBinTreeNode&) = delete;
  TKelBinTreeNode& operator=(const TKelBinTreeNode&) = delete;
  virtual ~TKelBinTreeNode() = default;

  TKelBinTreeNode* Left() const { return left_.get(); }
  TKelBinTreeNode* Right() const { return right_.get(); }
  // The node takes the child over, freeing the one it had.
  void SetLeft(std::unique_ptr<TKelBinTreeNode> node) { left_ = std::move(node); }
  void SetRight(std::unique_ptr<TKelBinTreeNode> node) { right_ = std::move(node); }

  // The number of descendants.
  virtual int NodeCount();
  // other is not null and of exactly this node's class.
  virtual bool SameKind(const TKelBinTreeNode* other) const;
  // SameKind, and the children alike on both sides (a child on one side only makes them unequal).
  virtual bool IsEqual(TKelBinTreeNode* other);

  // Pre-order: the node, its left subtree, its right subtree; depth grows by one per level.
  void ForEach(const TKelNodeFilter& filter, void* param, const TKelNodeCallback& callback,
               int depth = 0);
  // The children in the order `order` chooses (left first when it is empty), the callback at the
  // requested phases of each node that passes the filter; a skip set at phase 0 keeps the walk out
  // of the first child, at phase 1 out of the second.
  void Walk(const TKelNodeFilter& filter, void* param, const TKelNodeOrder& order, int depth,
            TKelWalkPhases phases, const TKelNodeCallback& callback);

  // An order for Walk: the smaller subtree first (left first when a child is missing or the right
  // subtree has at least as many nodes).
  static bool SmallerFirst(TKelBinTreeNode& node, void* param = nullptr);

  // A filter for the nodes of class T and its descendants.
  template <class T>
  static TKelNodeFilter OfClass() {
    return [](const TKelBinTreeNode& node) { return dynamic_cast<const T*>(&node) != nullptr; };
  }

 private:
  std::unique_ptr<TKelBinTreeNode> left_;
  std::unique_ptr<TKelBinTreeNode> right_;
};

class KEL_EXPORT TKelStaticNode : public TKelBinTreeNode {
 public:
  // -1 until NodeCount is first asked.
  int CachedCount() const { return cachedCount_; }
  int NodeCount() override;
  // Also requires the same NodeCount, which rules out most unequal trees at once.
  bool IsEqual(TKelBinTreeNode* other) override;

 private:
  int cachedCount_ = -1;
};

}  // namespace Kel
