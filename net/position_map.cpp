#include "net/position_map.h"

#include <new>
#include <utility>
#include <vector>

#include "net/feature_vector.h"

namespace {

class PositionNode : public TreapNode {
 public:
  PositionNode(ObjectId id, const PositionEntry& entry) : id(id), entry(entry) {}
  ObjectId id;
  PositionEntry entry;
};

ObjectId idOf(const TreapNode* node) { return static_cast<const PositionNode*>(node)->id; }

// The link that holds the id's node, or the empty link where it belongs.
TreapNode** findLink(TreapNode** link, ObjectId id) {
  while (*link != nullptr && idOf(*link) != id) link = id < idOf(*link) ? &(*link)->left : &(*link)->right;
  return link;
}

}  // namespace

PositionMap::~PositionMap() { clear(); }

void PositionMap::clear() {
  delete root_;  // a node frees its subtrees
  root_ = nullptr;
  count_ = 0;
}

bool PositionMap::insert(ObjectId id, const PositionEntry& entry) {
  TreapNode** found = findLink(&root_, id);
  if (*found != nullptr) {
    static_cast<PositionNode*>(*found)->entry = PositionEntry();
    return true;
  }
  auto* node = new (std::nothrow) PositionNode(id, entry);
  if (node == nullptr) return false;
  if (entry.positions() != nullptr && node->entry.positions() == nullptr) {
    delete node;
    return false;
  }
  // Top-down: the node goes where its priority puts it on the search path,
  // and the subtree it displaces is split by the id into its two children.
  TreapNode** link = &root_;
  while (*link != nullptr && (*link)->priority >= node->priority)
    link = id < idOf(*link) ? &(*link)->left : &(*link)->right;
  TreapNode* rest = *link;
  TreapNode** smaller = &node->left;
  TreapNode** greater = &node->right;
  while (rest != nullptr) {
    if (idOf(rest) < id) {
      *smaller = rest;
      smaller = &rest->right;
      rest = rest->right;
    } else {
      *greater = rest;
      greater = &rest->left;
      rest = rest->left;
    }
  }
  *smaller = nullptr;
  *greater = nullptr;
  *link = node;
  ++count_;
  return true;
}

bool PositionMap::insertAll(const FeatureVector& vector) {
  for (const Features* e = vector.first(); e != nullptr; e = FeatureVector::next(e))
    if (!insert(ObjectId(e->id()), e->entry())) return false;
  return true;
}

bool PositionMap::take(ObjectId id, PositionEntry& out) {
  TreapNode** link = findLink(&root_, id);
  if (*link == nullptr) return false;
  TreapNode* node = *link;
  // Rotate the node down, lifting the child of higher priority, until it
  // has at most one child; that child then takes its place.
  while (node->left != nullptr && node->right != nullptr) {
    if (node->left->priority > node->right->priority) {
      Tree::RotateLeft(*link);
      link = &(*link)->right;
    } else {
      Tree::RotateRight(*link);
      link = &(*link)->left;
    }
  }
  *link = node->left != nullptr ? node->left : node->right;
  node->left = node->right = nullptr;
  out = std::move(static_cast<PositionNode*>(node)->entry);
  delete node;
  --count_;
  return true;
}

bool PositionMap::contains(ObjectId id) const {
  TreapNode* root = root_;
  return *findLink(&root, id) != nullptr;
}

int PositionMap::depth() const {
  int deepest = 0;
  std::vector<std::pair<const TreapNode*, int>> pending;
  if (root_) pending.emplace_back(root_, 1);
  while (!pending.empty()) {
    auto [node, d] = pending.back();
    pending.pop_back();
    if (d > deepest) deepest = d;
    if (node->left) pending.emplace_back(node->left, d + 1);
    if (node->right) pending.emplace_back(node->right, d + 1);
  }
  return deepest;
}
