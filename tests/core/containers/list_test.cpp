#include "core/list.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <list>
#include <memory>
#include <random>
#include <vector>

namespace {

struct Item : ListElement {
  explicit Item(int k, bool orEqual = false) : key(k), lessOrEqual(orEqual) {}
  bool precedes(const ListElement& other) const override {
    int o = static_cast<const Item&>(other).key;
    return lessOrEqual ? key <= o : key < o;
  }
  int key;
  bool lessOrEqual;
};

Item* item(ListElement* e) { return static_cast<Item*>(e); }

// The list read forwards and backwards must both match the model.
void expectSame(const List& list, const std::list<Item*>& model) {
  ASSERT_EQ(list.count(), static_cast<LONG>(model.size()));
  std::vector<Item*> forward;
  for (ListElement* e = list.first(); e; e = e->next()) forward.push_back(item(e));
  std::vector<Item*> backward;
  for (ListElement* e = list.last(); e; e = e->previous()) backward.push_back(item(e));
  std::reverse(backward.begin(), backward.end());
  std::vector<Item*> expected(model.begin(), model.end());
  EXPECT_EQ(forward, expected);
  EXPECT_EQ(backward, expected);
}

class ListRandomOps : public ::testing::TestWithParam<unsigned> {};

TEST_P(ListRandomOps, MatchesStdList) {
  std::mt19937 rng(GetParam());
  std::vector<std::unique_ptr<Item>> pool;  // outlives the list
  List list;
  std::list<Item*> model;
  auto pick = [&]() -> std::list<Item*>::iterator {
    auto it = model.begin();
    std::advance(it, std::uniform_int_distribution<size_t>(0, model.size() - 1)(rng));
    return it;
  };
  auto fresh = [&]() {
    pool.push_back(std::make_unique<Item>(static_cast<int>(rng() % 50)));
    return pool.back().get();
  };
  for (int step = 0; step < 3000; ++step) {
    int op = static_cast<int>(rng() % 9);
    Item* front = model.empty() ? nullptr : model.front();
    Item* back = model.empty() ? nullptr : model.back();
    switch (op) {
      case 0: {
        Item* e = fresh();
        EXPECT_EQ(list.prepend(e), front);
        model.push_front(e);
        break;
      }
      case 1: {
        Item* e = fresh();
        EXPECT_EQ(list.append(e), back);
        model.push_back(e);
        break;
      }
      case 2: {
        Item* e = fresh();
        if (model.empty() || rng() % 8 == 0) {
          list.insertAfter(e, nullptr);
          model.push_front(e);
        } else {
          auto it = pick();
          list.insertAfter(e, *it);
          model.insert(std::next(it), e);
        }
        break;
      }
      case 3: {
        Item* e = fresh();
        if (model.empty() || rng() % 8 == 0) {
          EXPECT_EQ(list.insertBefore(e, nullptr), nullptr);
          model.push_back(e);
        } else {
          auto it = pick();
          EXPECT_EQ(list.insertBefore(e, *it), *it);
          model.insert(it, e);
        }
        break;
      }
      case 4:
        EXPECT_EQ(list.popFront(), front);
        if (!model.empty()) model.pop_front();
        break;
      case 5:
        EXPECT_EQ(list.popBack(), back);
        if (!model.empty()) model.pop_back();
        break;
      case 6:
        if (!model.empty()) {
          auto it = pick();
          Item* before = it == model.begin() ? nullptr : *std::prev(it);
          EXPECT_EQ(list.unlink(*it), before);
          EXPECT_FALSE((*it)->isLinked());
          model.erase(it);
        }
        break;
      case 7: {
        LONG i = static_cast<LONG>(rng() % (model.size() + 3)) - 1;
        Item* expected = nullptr;
        if (i >= 0 && static_cast<size_t>(i) < model.size()) expected = *std::next(model.begin(), i);
        EXPECT_EQ(list.at(i), expected) << "at(" << i << ")";
        break;
      }
      case 8:
        if (rng() % 4 == 0) {
          ASSERT_TRUE(list.sort());
          std::vector<int> keys;
          for (Item* e : model) keys.push_back(e->key);
          std::sort(keys.begin(), keys.end());
          std::vector<Item*> now;
          for (ListElement* e = list.first(); e; e = e->next()) now.push_back(item(e));
          std::vector<int> sortedKeys;
          for (Item* e : now) sortedKeys.push_back(e->key);
          ASSERT_EQ(sortedKeys, keys);
          // Equal keys may come in any order: continue from the list's order.
          std::vector<Item*> before(model.begin(), model.end()), after = now;
          std::sort(before.begin(), before.end());
          std::sort(after.begin(), after.end());
          ASSERT_EQ(before, after);
          model.assign(now.begin(), now.end());
        }
        break;
    }
    expectSame(list, model);
    if (HasFatalFailure() || HasFailure()) return;
  }
}

INSTANTIATE_TEST_SUITE_P(Seeds, ListRandomOps, ::testing::Values(1u, 2u, 3u, 4u));

TEST(List, OneElement) {
  Item a(1);
  List list;
  list.append(&a);
  EXPECT_EQ(list.at(0), &a);
  EXPECT_EQ(list.first(), &a);
  EXPECT_EQ(list.last(), &a);
  EXPECT_EQ(a.next(), nullptr);
  EXPECT_EQ(a.previous(), nullptr);
  for (int which = 0; which < 2; ++which) {
    EXPECT_EQ(which ? list.popBack() : list.popFront(), &a);
    EXPECT_EQ(list.count(), 0);
    EXPECT_EQ(list.first(), nullptr);
    EXPECT_EQ(list.last(), nullptr);
    EXPECT_EQ(list.popFront(), nullptr);
    EXPECT_EQ(list.popBack(), nullptr);
    EXPECT_EQ(list.count(), 0);
    EXPECT_EQ(list.prepend(&a), nullptr);  // the sentinels met again
  }
  list.unlink(&a);
}

TEST(List, MisplacedElementsChangeNothing) {
  Item a(1), b(2), c(3);
  List list;
  list.append(&a);
  EXPECT_EQ(list.unlink(&b), nullptr);      // not on the list
  EXPECT_EQ(list.append(&a), nullptr);      // already on it
  EXPECT_EQ(list.prepend(&a), nullptr);
  list.insertAfter(&a, nullptr);
  EXPECT_EQ(list.insertBefore(&a, nullptr), nullptr);
  list.insertAfter(&c, &b);                 // b is on no list
  EXPECT_EQ(list.insertBefore(&c, &b), &b);
  EXPECT_EQ(list.count(), 1);
  EXPECT_EQ(list.first(), &a);
  EXPECT_EQ(a.next(), nullptr);
  EXPECT_FALSE(c.isLinked());
  list.unlink(&a);
}

TEST(List, ClearAndDeleteDeletesEveryElement) {
  static int deaths;
  deaths = 0;
  struct Counted : ListElement {
    ~Counted() override { ++deaths; }
  };
  List list;
  for (int i = 0; i < 5; ++i) list.append(new Counted);
  list.clearAndDelete();
  EXPECT_EQ(deaths, 5);
  EXPECT_EQ(list.count(), 0);
  EXPECT_EQ(list.first(), nullptr);
}

TEST(List, DestroyedListLeavesElementsUnlinked) {
  Item a(1);
  {
    List list;
    list.append(&a);
  }
  EXPECT_FALSE(a.isLinked());
  EXPECT_EQ(a.next(), nullptr);
}

// Builds a list of the keys (each element with the given predicate), sorts it
// and returns the elements in their new order.
std::vector<Item*> sortKeys(std::vector<std::unique_ptr<Item>>& items, bool lessOrEqual,
                            const std::vector<int>& keys) {
  List list;
  for (int k : keys) {
    items.push_back(std::make_unique<Item>(k, lessOrEqual));
    list.append(items.back().get());
  }
  EXPECT_TRUE(list.sort());
  std::vector<Item*> out;
  while (ListElement* e = list.popFront()) out.push_back(item(e));
  return out;
}

TEST(ListSort, AnOrderedListKeepsEveryElementInPlace) {
  std::vector<std::unique_ptr<Item>> items;
  std::vector<Item*> out = sortKeys(items, false, {1, 2, 2, 2, 3, 3, 9});
  for (size_t i = 0; i < out.size(); ++i) EXPECT_EQ(out[i], items[i].get()) << i;
}

TEST(ListSort, AscendingForBothKindsOfPredicate) {
  std::mt19937 rng(7);
  for (bool lessOrEqual : {false, true}) {
    for (int n : {2, 3, 10, 257}) {
      std::vector<int> keys;
      for (int i = 0; i < n; ++i) keys.push_back(static_cast<int>(rng() % 20));
      if (lessOrEqual && n == 2) keys = {4, 4};  // equal neighbours count as unsorted
      std::vector<std::unique_ptr<Item>> items;
      std::vector<Item*> out = sortKeys(items, lessOrEqual, keys);
      std::vector<int> got;
      for (Item* e : out) got.push_back(e->key);
      std::sort(keys.begin(), keys.end());
      EXPECT_EQ(got, keys) << "n=" << n << " lessOrEqual=" << lessOrEqual;
    }
  }
}

TEST(ListSort, RootPredicateOrdersNothing) {
  ListElement a, b, c;
  List list;
  list.append(&a);
  list.append(&b);
  list.append(&c);
  EXPECT_TRUE(list.sort());
  EXPECT_EQ(list.at(0), &a);
  EXPECT_EQ(list.at(1), &b);
  EXPECT_EQ(list.at(2), &c);
}

}  // namespace
