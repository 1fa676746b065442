#include <gtest/gtest.h>

#include <iterator>
#include <map>
#include <memory>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "core/handler_array.h"
#include "core/id_array.h"
#include "core/int_sorted_array.h"
#include "core/string_array.h"

namespace {

struct Handler : NamedHandler {
  explicit Handler(std::string n) : text(std::move(n)) {}
  const char* name() const override { return text.c_str(); }
  std::string text;
};

// For each sorted array: how to make an element from a random number, its
// key, and its model value (std::string compares bytes unsigned, as the
// multibyte comparison does).
struct StringAdapter {
  using Array = SortedStringArray;
  using Model = std::string;
  static CString make(unsigned r) {
    std::string s = "s" + std::to_string(r % 300);
    if (r % 7 == 0) s += "\xfc";
    return CString(s.c_str());
  }
  static const char* key(const CString& e) { return e.c_str(); }
  static Model model(const CString& e) { return e.str(); }
};

struct IntAdapter {
  using Array = IntSortedArray;
  using Model = int;
  static int make(unsigned r) { return static_cast<int>(r % 600) - 300; }
  static int key(int e) { return e; }
  static Model model(int e) { return e; }
};

struct IdAdapter {
  using Array = IdArray;
  using Model = LONG;
  static ObjectId make(unsigned r) {
    // Around 0 and around the sign boundary.
    LONG v = static_cast<LONG>(r % 200) - 100;
    return r % 3 == 0 ? ObjectId(static_cast<LONG>(0x80000000u + static_cast<DWORD>(r % 50))) : ObjectId(v);
  }
  static ObjectId key(ObjectId e) { return e; }
  static Model model(ObjectId e) { return e.value(); }
};

struct HandlerAdapter {
  using Array = HandlerArray;
  using Model = std::string;
  static NamedHandler* make(unsigned r) {
    static std::map<unsigned, std::unique_ptr<Handler>> pool;
    unsigned k = r % 300;
    auto& h = pool[k];
    if (!h) h = std::make_unique<Handler>("h" + std::to_string(k));
    return h.get();
  }
  static const char* key(NamedHandler* e) { return e->name(); }
  static Model model(NamedHandler* e) { return e->name(); }
};

template <class A>
class SortedArrayRandomOps : public ::testing::Test {};
using Adapters = ::testing::Types<StringAdapter, IntAdapter, IdAdapter, HandlerAdapter>;
TYPED_TEST_SUITE(SortedArrayRandomOps, Adapters);

TYPED_TEST(SortedArrayRandomOps, MatchesStdSet) {
  using A = TypeParam;
  std::mt19937 rng(77);
  typename A::Array array;
  std::set<typename A::Model> model;
  for (int step = 0; step < 4000; ++step) {
    auto x = A::make(static_cast<unsigned>(rng()));
    auto m = A::model(x);
    switch (rng() % 6) {
      case 0:
      case 1:
      case 2:
        ASSERT_EQ(array.Insert(x), model.insert(m).second);
        break;
      case 3: {
        int index = -1;
        bool found = array.Find(A::key(x), index);
        ASSERT_EQ(found, model.count(m) > 0);
        ASSERT_EQ(index, static_cast<int>(std::distance(model.begin(), model.lower_bound(m))));
        ASSERT_EQ(array.Contains(A::key(x)), found);
        break;
      }
      case 4:
        if (!model.empty()) {
          int i = static_cast<int>(rng() % model.size());
          ASSERT_TRUE(array.RemoveAt(i));
          model.erase(std::next(model.begin(), i));
        }
        ASSERT_FALSE(array.RemoveAt(static_cast<int>(model.size())));
        break;
      case 5:
        if (rng() % 30 == 0) {
          array.RemoveAll();
          model.clear();
          ASSERT_EQ(array.capacity(), 0);
        }
        break;
    }
    ASSERT_EQ(array.count(), static_cast<int>(model.size()));
    ASSERT_GE(array.capacity(), array.count());
    int i = 0;
    for (const auto& v : model) ASSERT_EQ(A::model(array.at(i++)), v);
  }
  // Copies are independent; self-assignment changes nothing.
  typename A::Array copy;
  copy = array;
  ASSERT_EQ(copy.count(), array.count());
  auto& self = copy;
  copy = self;
  ASSERT_EQ(copy.count(), array.count());
  for (int i = 0; i < copy.count(); ++i) EXPECT_EQ(A::model(copy.at(i)), A::model(array.at(i)));
  copy.RemoveAll();
  EXPECT_EQ(array.count(), static_cast<int>(model.size()));
}

TEST(SortedStringArray, DuplicateRefusedAndCapacityDoubles) {
  SortedStringArray a;
  std::vector<int> capacities;
  for (const char* s : {"d", "b", "a", "c", "e"}) {
    EXPECT_TRUE(a.Insert(s));
    capacities.push_back(a.capacity());
  }
  EXPECT_EQ(capacities, (std::vector<int>{1, 2, 4, 4, 8}));
  EXPECT_FALSE(a.Insert("c"));
  EXPECT_EQ(a.count(), 5);
  EXPECT_EQ(a.capacity(), 8);
  const char* order[] = {"a", "b", "c", "d", "e"};
  for (int i = 0; i < 5; ++i) EXPECT_EQ(a.at(i), order[i]);
  EXPECT_EQ(a.at(5), "");
  EXPECT_EQ(a.at(-1), "");
}

TEST(IdArray, NegativeIdsSortFirst) {
  IdArray a;
  a.Insert(ObjectId(1));
  a.Insert(ObjectId(0));
  a.Insert(ObjectId(static_cast<LONG>(0xFFFFFFFFu)));
  ASSERT_EQ(a.count(), 3);
  EXPECT_EQ(a.at(0), -1);
  EXPECT_EQ(a.at(1), 0);
  EXPECT_EQ(a.at(2), 1);
  EXPECT_EQ(a.at(3), 0);  // out of range: no object
}

TEST(HandlerArray, FoundByNameNullRefused) {
  Handler b("beta"), a("alpha"), a2("alpha");
  HandlerArray arr;
  EXPECT_TRUE(arr.Insert(&b));
  EXPECT_TRUE(arr.Insert(&a));
  EXPECT_FALSE(arr.Insert(&a2));  // same name
  EXPECT_FALSE(arr.Insert(nullptr));
  EXPECT_EQ(arr.Lookup("alpha"), &a);
  EXPECT_EQ(arr.Lookup("beta"), &b);
  EXPECT_EQ(arr.Lookup("gamma"), nullptr);
  EXPECT_EQ(arr.at(0), &a);
  EXPECT_EQ(arr.at(9), nullptr);
}

TEST(StringArray, KeepsOrderAndDuplicates) {
  StringArray a;
  std::vector<int> capacities;
  for (const char* s : {"z", "a", "z"}) {
    EXPECT_TRUE(a.Add(s));
    capacities.push_back(a.capacity());
  }
  EXPECT_EQ(capacities, (std::vector<int>{1, 2, 4}));
  EXPECT_EQ(a.at(0), "z");
  EXPECT_EQ(a.at(1), "a");
  EXPECT_EQ(a.at(2), "z");
  EXPECT_EQ(a.at(3), "");
  StringArray b;
  b = a;
  a.RemoveAt(0);
  EXPECT_EQ(b.count(), 3);
  EXPECT_EQ(a.count(), 2);
  StringArray& self = b;
  b = self;
  EXPECT_EQ(b.at(2), "z");
  b.RemoveAll();
  EXPECT_EQ(b.count(), 0);
}

}  // namespace
