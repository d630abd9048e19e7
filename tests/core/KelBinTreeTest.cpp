// TKelBinTreeNode and TKelStaticNode: counting, structural equality, the pre-order walk and the
// ordered walk with its three phases.
#include <gtest/gtest.h>

#include <QStringList>

#include "KelBinTree.h"

using namespace Kel;

namespace {

// A named node, so walks can be read back as text.
class Named : public TKelBinTreeNode {
 public:
  explicit Named(QString name, std::unique_ptr<TKelBinTreeNode> left = nullptr,
                 std::unique_ptr<TKelBinTreeNode> right = nullptr)
      : name(std::move(name)) {
    SetLeft(std::move(left));
    SetRight(std::move(right));
  }
  QString name;
};

class OtherNamed : public Named {
 public:
  using Named::Named;
};

// Nodes that are alike only when their operators are the same.
class Op : public TKelStaticNode {
 public:
  explicit Op(char op, std::unique_ptr<TKelBinTreeNode> left = nullptr,
              std::unique_ptr<TKelBinTreeNode> right = nullptr)
      : op(op) {
    SetLeft(std::move(left));
    SetRight(std::move(right));
  }
  bool SameKind(const TKelBinTreeNode* other) const override {
    return TKelStaticNode::SameKind(other) && static_cast<const Op*>(other)->op == op;
  }
  char op;
};

template <class T = Named, class... Args>
std::unique_ptr<TKelBinTreeNode> N(Args&&... args) {
  return std::make_unique<T>(std::forward<Args>(args)...);
}

QString NameOf(TKelBinTreeNode& node) { return static_cast<Named&>(node).name; }

// a (b (d, e), c (-, f)): b's children are d and e, c has only the right child f.
std::unique_ptr<TKelBinTreeNode> Sample() {
  return N("a", N("b", N("d"), N("e")), N("c", nullptr, N("f")));
}

TEST(BinTree, NodeCountCountsDescendants) {
  EXPECT_EQ(Sample()->NodeCount(), 5);
  EXPECT_EQ(N("leaf")->NodeCount(), 0);
}

TEST(BinTree, TreesAreEqualWhenShapeAndClassesAgree) {
  EXPECT_TRUE(Sample()->IsEqual(Sample().get()));
  EXPECT_FALSE(Sample()->IsEqual(nullptr));
  // A node with only a left child is not one with only a right child.
  EXPECT_FALSE(N("x", N("y"))->IsEqual(N("x", nullptr, N("y")).get()));
  EXPECT_FALSE(N("x", nullptr, N("y"))->IsEqual(N("x", N("y")).get()));
  // Kinds are exact classes, also deep down.
  EXPECT_FALSE(N("x")->SameKind(N<OtherNamed>("x").get()));
  EXPECT_FALSE(N("a", N("b"))->IsEqual(N("a", N<OtherNamed>("b")).get()));
}

TEST(BinTree, EveryNodesOwnSameKindDecides) {
  EXPECT_TRUE(
      N<Op>('+', N<Op>('1'), N<Op>('2'))->IsEqual(N<Op>('+', N<Op>('1'), N<Op>('2')).get()));
  EXPECT_FALSE(
      N<Op>('+', N<Op>('1'), N<Op>('2'))->IsEqual(N<Op>('+', N<Op>('1'), N<Op>('3')).get()));
}

TEST(StaticNode, KeepsItsFirstNodeCountWhenChildrenAreAddedLater) {
  Op node('+');
  EXPECT_EQ(node.CachedCount(), -1);
  EXPECT_EQ(node.NodeCount(), 0);
  node.SetLeft(N<Op>('1'));
  EXPECT_EQ(node.NodeCount(), 0);
  EXPECT_EQ(node.CachedCount(), 0);
}

TEST(StaticNode, NodesWithDifferentCountsAreUnequal) {
  auto grown = N<Op>('+', N<Op>('1'));
  grown->NodeCount();  // cached as 1
  static_cast<Op*>(grown.get())->Left()->SetLeft(N<Op>('2'));
  auto same = N<Op>('+', N<Op>('1', N<Op>('2')));
  EXPECT_FALSE(grown->IsEqual(same.get()));  // same shape now, but counted before it grew
}

TEST(BinTree, ForEachWalksInPreOrderWithDepths) {
  auto tree = Sample();
  QStringList seen;
  tree->ForEach(
      {}, nullptr,
      [&](TKelBinTreeNode& node, bool&, int depth, int phase, void*) {
        seen << QString("%1%2").arg(NameOf(node)).arg(depth);
        EXPECT_EQ(phase, 0);
      },
      10);
  EXPECT_EQ(seen, (QStringList{"a10", "b11", "d12", "e12", "c11", "f12"}));
}

TEST(BinTree, ForEachSkipKeepsTheWalkOutOfThatSubtree) {
  auto tree = Sample();
  QStringList seen;
  tree->ForEach({}, nullptr, [&](TKelBinTreeNode& node, bool& skip, int, int, void*) {
    seen << NameOf(node);
    skip = NameOf(node) == "b";
  });
  EXPECT_EQ(seen, (QStringList{"a", "b", "c", "f"}));
}

TEST(BinTree, ForEachFilterChoosesTheVisitedNodesButNotTheWalk) {
  auto tree = N("a", N<OtherNamed>("b", N("c", N<OtherNamed>("d"))));
  QStringList seen;
  int param = 7;
  tree->ForEach(TKelBinTreeNode::OfClass<OtherNamed>(), &param,
                [&](TKelBinTreeNode& node, bool&, int depth, int, void* p) {
                  seen << QString("%1%2").arg(NameOf(node)).arg(depth);
                  EXPECT_EQ(p, &param);
                });
  EXPECT_EQ(seen, (QStringList{"b1", "d3"}));
}

// Records "name:phase" for every visit.
TKelNodeCallback Recorder(QStringList& seen, const QString& stopAt = {}, int stopPhase = -1) {
  return
      [&seen, stopAt, stopPhase](TKelBinTreeNode& node, bool& stop, int depth, int phase, void*) {
        seen << QString("%1:%2@%3").arg(NameOf(node)).arg(phase).arg(depth);
        stop = NameOf(node) == stopAt && phase == stopPhase;
      };
}

TEST(BinTree, WalkVisitsEachNodeBeforeBetweenAndAfterItsChildren) {
  auto tree = N("a", N("b"), N("c"));
  QStringList seen;
  tree->Walk({}, nullptr, {}, 0, {wpBefore, wpBetween, wpAfter}, Recorder(seen));
  EXPECT_EQ(seen, (QStringList{"a:0@0", "b:0@1", "b:1@1", "b:2@1", "a:1@0", "c:0@1", "c:1@1",
                               "c:2@1", "a:2@0"}));
}

TEST(BinTree, WalkWithSmallerFirstTakesTheSmallerSubtreeFirst) {
  // The right child is the smaller one here, so it goes first.
  auto tree = N("a", N("b", N("d"), N("e")), N("c"));
  QStringList seen;
  tree->Walk({}, nullptr, &TKelBinTreeNode::SmallerFirst, 0, {wpBetween}, Recorder(seen));
  EXPECT_EQ(seen, (QStringList{"c:1@1", "a:1@0", "d:1@2", "b:1@1", "e:1@2"}));
}

TEST(BinTree, SmallerFirstPrefersLeftOnTiesAndMissingChildren) {
  EXPECT_TRUE(TKelBinTreeNode::SmallerFirst(*N("a", N("b"), N("c"))));
  EXPECT_TRUE(TKelBinTreeNode::SmallerFirst(*N("a", N("b", N("x")))));
  EXPECT_TRUE(TKelBinTreeNode::SmallerFirst(*N("a", nullptr, N("c", N("x")))));
  EXPECT_FALSE(TKelBinTreeNode::SmallerFirst(*N("a", N("b", N("x")), N("c"))));
}

TEST(BinTree, AStopAtPhaseZeroSkipsTheFirstChildAtPhaseOneTheSecond) {
  auto tree = N("a", N("b"), N("c"));
  QStringList first;
  tree->Walk({}, nullptr, {}, 0, {wpBefore, wpBetween}, Recorder(first, "a", 0));
  EXPECT_EQ(first, (QStringList{"a:0@0", "a:1@0", "c:0@1", "c:1@1"}));
  QStringList second;
  tree->Walk({}, nullptr, {}, 0, {wpBefore, wpBetween}, Recorder(second, "a", 1));
  EXPECT_EQ(second, (QStringList{"a:0@0", "b:0@1", "b:1@1", "a:1@0"}));
}

TEST(BinTree, WalkOrderCanTakeTheRightChildFirstAndFilterNodes) {
  auto tree = N("a", N<OtherNamed>("b"), N<OtherNamed>("c"));
  QStringList seen;
  tree->Walk(
      TKelBinTreeNode::OfClass<OtherNamed>(), nullptr,
      [](TKelBinTreeNode&, void*) { return false; }, 5, {wpAfter}, Recorder(seen));
  EXPECT_EQ(seen, (QStringList{"c:2@6", "b:2@6"}));
}

}  // namespace
