// A treap from strings (ordered by multibyte comparison) to handles of
// shared objects: the object cache maps an object's identifier text to its
// server object here. Keys looked up often rise towards the root.
#pragma once

#include "core/objref.h"
#include "core/treap.h"
#include "mfc/cstring.h"

class StringTreeNode : public TreapNode {
 public:
  StringTreeNode(const CString& k, const Ref<ObjRef>& v) : key(k), value(v) {}
  CString key;
  Ref<ObjRef> value;
};

// Called for each node, depth first: before, then the left subtree, between,
// the right subtree, after.
class StringTreeVisitor {
 public:
  virtual ~StringTreeVisitor();
  virtual void before(const CString& key, const Ref<ObjRef>& value);
  virtual void between(const CString& key, const Ref<ObjRef>& value);
  virtual void after(const CString& key, const Ref<ObjRef>& value);
};

class StringTree {
 public:
  StringTree() = default;
  StringTree(const StringTree&) = delete;
  StringTree& operator=(const StringTree&) = delete;
  ~StringTree() { delete root_; }

  // Copies the value into `out` (taking a reference); false when absent.
  // A hit may raise the node's priority.
  bool Lookup(const char* key, Ref<ObjRef>& out);
  // Adds the key, or gives an existing key this value. False when memory
  // failed.
  bool Insert(const char* key, const Ref<ObjRef>& value);
  // Takes the key out; its value goes to `out`. False when absent.
  bool Remove(const char* key, Ref<ObjRef>& out);
  void walk(StringTreeVisitor& visitor) const;
  void Clear();

  const TreapNode* root() const { return root_; }
  bool isEmpty() const { return root_ == nullptr; }

 private:
  TreapNode* root_ = nullptr;
};
