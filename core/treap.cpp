#include "core/treap.h"

#include "win/kernel.h"

TreapNode::TreapNode() : priority(win_rand()) {}

namespace {

// Frees a subtree without recursion or extra memory: a node with a left
// child is rotated right until the top node has none, then it is cut off
// (emptied of children, so its own destructor frees nothing more).
void freeSubtree(TreapNode* n) {
  while (n) {
    if (TreapNode* l = n->left) {
      n->left = l->right;
      l->right = n;
      n = l;
    } else {
      TreapNode* r = n->right;
      n->right = nullptr;
      delete n;
      n = r;
    }
  }
}

}  // namespace

TreapNode::~TreapNode() {
  TreapNode* l = left;
  TreapNode* r = right;
  left = right = nullptr;
  freeSubtree(l);
  freeSubtree(r);
}

namespace Tree {

void RotateLeft(TreapNode*& link) {
  TreapNode* x = link;
  TreapNode* y = x ? x->left : nullptr;
  if (!y) return;
  x->left = y->right;
  y->right = x;
  link = y;
}

void RotateRight(TreapNode*& link) {
  TreapNode* x = link;
  TreapNode* y = x ? x->right : nullptr;
  if (!y) return;
  x->right = y->left;
  y->left = x;
  link = y;
}

}  // namespace Tree
