#include "core/string_tree.h"

#include <gtest/gtest.h>

#include <map>
#include <random>
#include <string>
#include <vector>

#include "win/kernel.h"

namespace {

struct Obj : ObjRef {
  explicit Obj(int v) : value(v) {}
  int value;
};

int valueOf(const Ref<ObjRef>& r) { return r ? static_cast<Obj*>(r.get())->value : -1; }

// Records every call in order.
struct Recorder : StringTreeVisitor {
  void before(const CString& k, const Ref<ObjRef>&) override { calls.push_back("b:" + k.str()); }
  void between(const CString& k, const Ref<ObjRef>& v) override {
    calls.push_back("m:" + k.str());
    inOrder.emplace_back(k.str(), valueOf(v));
  }
  void after(const CString& k, const Ref<ObjRef>&) override { calls.push_back("a:" + k.str()); }
  std::vector<std::string> calls;
  std::vector<std::pair<std::string, int>> inOrder;
};

// True when no child has a higher priority than its parent and the keys
// keep the search order.
bool heapOrdered(const TreapNode* t) {
  if (!t) return true;
  for (const TreapNode* c : {t->left, t->right})
    if (c && c->priority > t->priority) return false;
  return heapOrdered(t->left) && heapOrdered(t->right);
}

class StringTreeRandomOps : public ::testing::TestWithParam<unsigned> {};

TEST_P(StringTreeRandomOps, MatchesStdMap) {
  win_srand(GetParam());
  std::mt19937 rng(GetParam());
  StringTree tree;
  std::map<std::string, Ref<ObjRef>> model;
  int next = 0;
  for (int step = 0; step < 4000; ++step) {
    std::string key = "k" + std::to_string(rng() % 200);
    if (rng() % 11 == 0) key += "\xe9";  // a high byte sorts after ASCII
    Ref<ObjRef> out;
    switch (rng() % 3) {
      case 0: {
        Ref<ObjRef> v(new Obj(++next));
        ASSERT_TRUE(tree.Insert(key.c_str(), v));
        model[key] = v;
        break;
      }
      case 1: {
        bool present = model.count(key) > 0;
        ASSERT_EQ(tree.Lookup(key.c_str(), out), present) << key;
        if (present) EXPECT_EQ(out, model[key]);
        break;
      }
      case 2: {
        auto it = model.find(key);
        ASSERT_EQ(tree.Remove(key.c_str(), out), it != model.end()) << key;
        if (it != model.end()) {
          EXPECT_EQ(out, it->second);
          model.erase(it);
        }
        break;
      }
    }
    out = nullptr;  // only the model and the tree hold references now
    Recorder r;
    tree.walk(r);
    std::vector<std::pair<std::string, int>> expected;
    for (auto& [k, v] : model) {
      expected.emplace_back(k, valueOf(v));
      ASSERT_EQ(v->RefCount(), 2) << k;  // the model's handle and the tree's
    }
    ASSERT_EQ(r.inOrder, expected);
    ASSERT_TRUE(heapOrdered(tree.root())) << "step " << step;
  }
}

INSTANTIATE_TEST_SUITE_P(Seeds, StringTreeRandomOps, ::testing::Values(1u, 2u, 3u));

TEST(StringTree, InsertOfAnExistingKeyStoresTheNewValue) {
  StringTree tree;
  Ref<ObjRef> first(new Obj(1));
  Ref<ObjRef> second(new Obj(2));
  tree.Insert("0x0000001f", first);
  tree.Insert("0x0000001f", second);
  Ref<ObjRef> out;
  ASSERT_TRUE(tree.Lookup("0x0000001f", out));
  EXPECT_EQ(out, second);
  EXPECT_EQ(first->RefCount(), 1);  // the tree let go of the old value
}

TEST(StringTree, WalkVisitsBeforeBetweenAfter) {
  Recorder empty;
  StringTree none;
  none.walk(empty);
  EXPECT_TRUE(empty.calls.empty());

  win_srand(5);
  StringTree tree;
  tree.Insert("b", Ref<ObjRef>(new Obj(2)));
  tree.Insert("a", Ref<ObjRef>(new Obj(1)));
  tree.Insert("c", Ref<ObjRef>(new Obj(3)));
  Recorder r;
  tree.walk(r);
  ASSERT_EQ(r.calls.size(), 9u);
  // Whatever the shape, each node's before comes first and its after last
  // among its subtree's calls, and between-calls give the keys in order.
  EXPECT_EQ(r.inOrder, (std::vector<std::pair<std::string, int>>{{"a", 1}, {"b", 2}, {"c", 3}}));
  const auto* root = static_cast<const StringTreeNode*>(tree.root());
  EXPECT_EQ(r.calls.front(), "b:" + root->key.str());
  EXPECT_EQ(r.calls.back(), "a:" + root->key.str());
}

TEST(StringTree, RemoveOfAnAbsentKeyChangesNothing) {
  StringTree tree;
  Ref<ObjRef> out(new Obj(9));
  EXPECT_FALSE(tree.Remove("x", out));
  EXPECT_EQ(valueOf(out), 9);
  tree.Insert("y", Ref<ObjRef>(new Obj(1)));
  EXPECT_FALSE(tree.Remove("x", out));
  EXPECT_FALSE(tree.Lookup("x", out));
  EXPECT_EQ(valueOf(out), 9);
}

TEST(StringTree, ReleasesItsValuesWhenDestroyedOrCleared) {
  Ref<ObjRef> kept(new Obj(1));
  {
    StringTree tree;
    tree.Insert("a", kept);
    tree.Insert("b", kept);
    EXPECT_EQ(kept->RefCount(), 3);
    tree.Clear();
    EXPECT_TRUE(tree.isEmpty());
    EXPECT_EQ(kept->RefCount(), 1);
    tree.Insert("a", kept);
  }
  EXPECT_EQ(kept->RefCount(), 1);
}

}  // namespace
