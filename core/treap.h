// The node of the randomized balanced search trees (treaps): a random
// priority besides the two child links. The trees keep the search order by
// key and, by rotations, no child above its parent's priority, so the
// expected depth stays logarithmic whatever the order of insertion. The keys,
// their comparison and the walks belong to the trees built on this node.
#pragma once

class TreapNode {
 public:
  TreapNode();  // priority from win_rand(), no children
  TreapNode(const TreapNode&) = delete;
  TreapNode& operator=(const TreapNode&) = delete;
  // Deletes both subtrees (through their virtual destructors), so deleting
  // the root frees the tree. Iterative: a deep tree cannot exhaust the stack.
  virtual ~TreapNode();

  int priority;
  TreapNode* left = nullptr;   // smaller keys
  TreapNode* right = nullptr;  // greater keys
};

namespace Tree {
// `link` is the place (a child link or a root pointer) holding node x.
// RotateLeft: x's left child y (not null) takes x's place; x becomes y's
// right child and gets y's former right subtree as its left.
void RotateLeft(TreapNode*& link);
// RotateRight: the mirror image, lifting x's right child.
void RotateRight(TreapNode*& link);
}  // namespace Tree
