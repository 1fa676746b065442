#include "core/static_guard.h"

#include <gtest/gtest.h>

#include <memory>

#include "core/type_registry.h"

namespace {

struct CountingOwner {
  static inline int inits = 0;
  static inline int exits = 0;
  static void Init() { ++inits; }
  static void Exit() { ++exits; }
};

TEST(StaticGuard, FirstGuardBuildsLastGuardTearsDown) {
  // Counted from here: the test may run more than once in a process.
  CountingOwner::inits = 0;
  CountingOwner::exits = 0;
  {
    StaticGuard<CountingOwner> a;
    EXPECT_EQ(CountingOwner::inits, 1);
    {
      StaticGuard<CountingOwner> b;
      StaticGuard<CountingOwner> c;
      EXPECT_EQ(StaticGuard<CountingOwner>::useCount(), 3);
    }
    EXPECT_EQ(CountingOwner::inits, 1);
    EXPECT_EQ(CountingOwner::exits, 0);
  }
  EXPECT_EQ(CountingOwner::exits, 1);
  EXPECT_EQ(StaticGuard<CountingOwner>::useCount(), 0);

  // A new first use builds again.
  { StaticGuard<CountingOwner> again; }
  EXPECT_EQ(CountingOwner::inits, 2);
  EXPECT_EQ(CountingOwner::exits, 2);
}

// More files' guards coming and going neither rebuild nor destroy the
// registry while others still use it.
TEST(StaticGuard, RegistryOutlivesExtraGuards) {
  const CString* anchor = kxstr::Anchor;
  ASSERT_NE(anchor, nullptr);
  const int users = StaticGuard<TypeRegistry>::useCount();
  EXPECT_GE(users, 2);  // this file's and the registry's own
  {
    auto extra = std::make_unique<StaticGuard<TypeRegistry>>();
    EXPECT_EQ(StaticGuard<TypeRegistry>::useCount(), users + 1);
    EXPECT_EQ(kxstr::Anchor, anchor);
  }
  EXPECT_EQ(StaticGuard<TypeRegistry>::useCount(), users);
  EXPECT_EQ(kxstr::Anchor, anchor);
  EXPECT_EQ(*kxstr::Anchor, "Anchor");
}

}  // namespace
