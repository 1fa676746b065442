#include "core/objref.h"

#include <gtest/gtest.h>

namespace {

// Counts destructions so a test sees exactly when an object dies.
struct Tracked : ObjRef {
  explicit Tracked(int* deaths) : deaths_(deaths) {}
  ~Tracked() override { ++*deaths_; }
  int* deaths_;
};

struct Derived : Tracked {
  using Tracked::Tracked;
};

TEST(ObjRef, CountsAndDiesAtTheLastRelease) {
  int deaths = 0;
  auto* o = new Tracked(&deaths);
  EXPECT_EQ(o->RefCount(), 0);
  o->AddRef();
  o->AddRef();
  o->Release();
  EXPECT_EQ(deaths, 0);
  EXPECT_EQ(o->RefCount(), 1);
  o->Release();
  EXPECT_EQ(deaths, 1);
}

TEST(ObjRef, ReleaseOfAnUnownedObjectDestroysIt) {
  int deaths = 0;
  auto* o = new Tracked(&deaths);
  o->Release();
  EXPECT_EQ(deaths, 1);
}

TEST(ObjRef, SafeFunctionsIgnoreNull) {
  ObjRef::SafeAddRef(nullptr);
  ObjRef::SafeRelease(nullptr);
}

TEST(ObjRef, ACopyStartsUnowned) {
  int deaths = 0;
  Ref<Tracked> a(new Tracked(&deaths));
  Tracked copy(*a);
  EXPECT_EQ(copy.RefCount(), 0);
  EXPECT_EQ(a->RefCount(), 1);
  copy = *a;  // assignment leaves the count alone
  EXPECT_EQ(copy.RefCount(), 0);
  EXPECT_EQ(a->RefCount(), 1);
}

TEST(Ref, NullHandleTouchesNothing) {
  Ref<Tracked> a;
  Ref<Tracked> b(nullptr);
  Ref<Tracked> c(a);
  c = b;
  c = static_cast<Tracked*>(nullptr);
  EXPECT_FALSE(a);
  EXPECT_TRUE(!c);
  EXPECT_TRUE(c == nullptr);
}

TEST(Ref, LifetimeFollowsTheHandles) {
  int deaths = 0;
  {
    Ref<Tracked> a(new Tracked(&deaths));
    EXPECT_EQ(a->RefCount(), 1);
    {
      Ref<Tracked> b(a);
      Ref<Tracked> c;
      c = a;
      EXPECT_EQ(a->RefCount(), 3);
    }
    EXPECT_EQ(a->RefCount(), 1);
    EXPECT_EQ(deaths, 0);
  }
  EXPECT_EQ(deaths, 1);
}

TEST(Ref, SelfAssignmentKeepsTheOnlyHolderAlive) {
  int deaths = 0;
  Ref<Tracked> a(new Tracked(&deaths));
  Ref<Tracked>& alias = a;
  a = alias;
  EXPECT_EQ(deaths, 0);
  EXPECT_EQ(a->RefCount(), 1);
  a = a.get();
  EXPECT_EQ(deaths, 0);
  EXPECT_EQ(a->RefCount(), 1);
}

TEST(Ref, ReassignmentReleasesTheOldObject) {
  int deaths = 0;
  Ref<Tracked> a(new Tracked(&deaths));
  a = new Tracked(&deaths);
  EXPECT_EQ(deaths, 1);
  Ref<Tracked> b(new Tracked(&deaths));
  a = b;
  EXPECT_EQ(deaths, 2);
  EXPECT_EQ(b->RefCount(), 2);
}

TEST(Ref, MovesTransferWithoutCounting) {
  int deaths = 0;
  Ref<Tracked> a(new Tracked(&deaths));
  Tracked* raw = a.get();
  Ref<Tracked> b(std::move(a));
  EXPECT_EQ(b.get(), raw);
  EXPECT_EQ(raw->RefCount(), 1);
  Ref<Tracked> c(new Tracked(&deaths));
  c = std::move(b);  // c's old object dies, raw moves over
  EXPECT_EQ(deaths, 1);
  EXPECT_EQ(c.get(), raw);
  EXPECT_EQ(raw->RefCount(), 1);
  Ref<Tracked>& same = c;
  c = std::move(same);  // self-move keeps the object
  EXPECT_EQ(c.get(), raw);
  EXPECT_EQ(deaths, 1);
}

TEST(Ref, DerivedConvertsToBase) {
  int deaths = 0;
  Ref<Derived> d(new Derived(&deaths));
  Ref<Tracked> base(d);
  Ref<ObjRef> root = base;
  EXPECT_EQ(d->RefCount(), 3);
  EXPECT_EQ(root.get(), static_cast<ObjRef*>(d.get()));
}

TEST(Ref, RawAccessLeavesCountsToTheCaller) {
  int deaths = 0;
  auto* o = new Tracked(&deaths);
  Ref<Tracked> a(o);
  Ref<Tracked> b;
  b.setRaw(o);  // balanced by hand below
  EXPECT_EQ(o->RefCount(), 1);
  b.assignRaw(nullptr);
  EXPECT_EQ(o->RefCount(), 1);
  Ref<Tracked> other(new Tracked(&deaths));
  EXPECT_EQ(a.less(other), o < other.get());
}

}  // namespace

namespace {

// An object whose teardown hands itself to a helper that takes a handle (for
// example to take itself out of a registry). The temporary handle adds a
// reference to the dying object and releases it again.
struct SelfHandingOut : ObjRef {
  explicit SelfHandingOut(int* deaths) : deaths_(deaths) {}
  ~SelfHandingOut() override {
    ++*deaths_;
    Ref<SelfHandingOut> temporary(this);
  }
  int* deaths_;
};

// A destructor that takes and drops a handle to its own object must not
// bring the count back to 0 and delete the object a second time.
TEST(ObjRef, ReleaseDuringDestructionDeletesOnce) {
  int deaths = 0;
  { Ref<SelfHandingOut> a(new SelfHandingOut(&deaths)); }
  EXPECT_EQ(deaths, 1);
}

}  // namespace
