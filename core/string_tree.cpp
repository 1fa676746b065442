#include "core/string_tree.h"

#include <new>

#include "core/string_array.h"
#include "win/kernel.h"

StringTreeVisitor::~StringTreeVisitor() = default;
void StringTreeVisitor::before(const CString&, const Ref<ObjRef>&) {}
void StringTreeVisitor::between(const CString&, const Ref<ObjRef>&) {}
void StringTreeVisitor::after(const CString&, const Ref<ObjRef>&) {}

namespace {

StringTreeNode* asNode(TreapNode* n) { return static_cast<StringTreeNode*>(n); }

// After a change in one child's subtree, lifts that child above the node at
// `link` when its priority passed the node's.
void restoreHeap(TreapNode*& link, bool leftSide) {
  TreapNode* n = link;
  TreapNode* child = leftSide ? n->left : n->right;
  if (!child || child->priority <= n->priority) return;
  if (leftSide)
    Tree::RotateLeft(link);
  else
    Tree::RotateRight(link);
}

bool lookup(TreapNode*& link, const char* key, Ref<ObjRef>& out) {
  StringTreeNode* n = asNode(link);
  if (!n) return false;
  int c = CompareMultibyte(key, n->key.c_str());
  if (c == 0) {
    int fresh = win_rand();
    if (fresh > n->priority) n->priority = fresh;
    out = n->value;
    return true;
  }
  bool found = lookup(c < 0 ? n->left : n->right, key, out);
  if (found) restoreHeap(link, c < 0);
  return found;
}

bool insert(TreapNode*& link, const char* key, const Ref<ObjRef>& value) {
  StringTreeNode* n = asNode(link);
  if (!n) {
    link = new (std::nothrow) StringTreeNode(CString(key), value);
    return link != nullptr;
  }
  int c = CompareMultibyte(key, n->key.c_str());
  if (c == 0) {
    n->value = value;
    return true;
  }
  bool done = insert(c < 0 ? n->left : n->right, key, value);
  if (done) restoreHeap(link, c < 0);
  return done;
}

void walkNode(const TreapNode* t, StringTreeVisitor& visitor) {
  if (!t) return;
  const auto* n = static_cast<const StringTreeNode*>(t);
  visitor.before(n->key, n->value);
  walkNode(n->left, visitor);
  visitor.between(n->key, n->value);
  walkNode(n->right, visitor);
  visitor.after(n->key, n->value);
}

}  // namespace

bool StringTree::Lookup(const char* key, Ref<ObjRef>& out) {
  return key && lookup(root_, key, out);
}

bool StringTree::Insert(const char* key, const Ref<ObjRef>& value) {
  return key && insert(root_, key, value);
}

bool StringTree::Remove(const char* key, Ref<ObjRef>& out) {
  if (!key) return false;
  TreapNode** link = &root_;
  while (*link) {
    int c = CompareMultibyte(key, asNode(*link)->key.c_str());
    if (c == 0) break;
    link = c < 0 ? &(*link)->left : &(*link)->right;
  }
  TreapNode* gone = *link;
  if (!gone) return false;
  // Rotate the node down until it is a leaf. Of two children the one with
  // the higher priority comes up (the right one on a tie), so the heap order
  // of the priorities survives the removal.
  while (gone->left || gone->right) {
    bool liftRight = !gone->left || (gone->right && gone->right->priority >= gone->left->priority);
    if (liftRight) {
      Tree::RotateRight(*link);
      link = &(*link)->left;
    } else {
      Tree::RotateLeft(*link);
      link = &(*link)->right;
    }
  }
  *link = nullptr;
  out = asNode(gone)->value;
  delete gone;
  return true;
}

void StringTree::walk(StringTreeVisitor& visitor) const { walkNode(root_, visitor); }

void StringTree::Clear() {
  delete root_;
  root_ = nullptr;
}
