#include "core/treap.h"

#include <gtest/gtest.h>

#include <string>

namespace {

int gFreed = 0;

struct Node : TreapNode {
  explicit Node(char n, TreapNode* l = nullptr, TreapNode* r = nullptr) : name(n) {
    left = l;
    right = r;
  }
  ~Node() override { ++gFreed; }
  char name;
};

// The shape as text: (left name right), "." for an empty link.
std::string shape(const TreapNode* t) {
  if (!t) return ".";
  return "(" + shape(t->left) + static_cast<const Node*>(t)->name + shape(t->right) + ")";
}

TEST(TreapRotation, RotateLeftLiftsTheLeftChild) {
  // x with left child y (subtrees a, b) and right subtree c.
  TreapNode* root = new Node('x', new Node('y', new Node('a'), new Node('b')), new Node('c'));
  Tree::RotateLeft(root);
  EXPECT_EQ(shape(root), "((.a.)y((.b.)x(.c.)))");
  Tree::RotateRight(root);
  EXPECT_EQ(shape(root), "(((.a.)y(.b.))x(.c.))");  // back as before
  delete root;
}

TEST(TreapRotation, RotateRightIsTheMirror) {
  TreapNode* root = new Node('x', new Node('a'), new Node('y', new Node('b'), new Node('c')));
  Tree::RotateRight(root);
  EXPECT_EQ(shape(root), "(((.a.)x(.b.))y(.c.))");
  Tree::RotateLeft(root);
  EXPECT_EQ(shape(root), "((.a.)x((.b.)y(.c.)))");
  delete root;
}

TEST(TreapRotation, NoInnerSubtreeLeavesAnEmptyLink) {
  TreapNode* root = new Node('x', new Node('y', new Node('a'), nullptr), nullptr);
  Tree::RotateLeft(root);
  EXPECT_EQ(shape(root), "((.a.)y(.x.))");
  EXPECT_EQ(root->right->left, nullptr);
  delete root;
}

TEST(TreapRotation, RotationWithoutTheChildDoesNothing) {
  TreapNode* root = new Node('x');
  Tree::RotateLeft(root);
  Tree::RotateRight(root);
  EXPECT_EQ(shape(root), "(.x.)");
  TreapNode* none = nullptr;
  Tree::RotateLeft(none);
  EXPECT_EQ(none, nullptr);
  delete root;
}

TEST(TreapNode, DeletingTheRootFreesEveryNodeEvenWhenDeep) {
  gFreed = 0;
  // A chain deep enough to exhaust the stack if freeing recursed.
  const int depth = 300000;
  TreapNode* root = new Node('r');
  TreapNode* tip = root;
  for (int i = 1; i < depth; ++i) {
    TreapNode* n = new Node('n');
    if (i % 2)
      tip->left = n;
    else
      tip->right = n;
    tip = n;
  }
  delete root;
  EXPECT_EQ(gFreed, depth);
}

TEST(TreapNode, FreshNodeHasARuntimePriority) {
  Node a('a');
  EXPECT_GE(a.priority, 0);
  EXPECT_LE(a.priority, 0x7fff);
  EXPECT_EQ(a.left, nullptr);
  EXPECT_EQ(a.right, nullptr);
}

}  // namespace
