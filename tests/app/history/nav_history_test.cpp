// The navigation history: back and forward as a browser has them, the
// bounded back list, positions into both lists and the lookup by id.
#include <gtest/gtest.h>

#include <vector>

#include "app/history/nav_history.h"
#include "core/kx_object.h"
#include "core/store.h"

namespace app_test {
namespace {

Ref<KXObject> Obj(int id) {
  CString record;
  record.Format("ObjectID=0x%08x\nType=Document\nDocumentType=text\n", id);
  return Ref<KXObject>(new KXObject(record, Ref<Store>()));
}

int IdOf(const Ref<KXObject>& o) { return o ? o->getObjectId() : -1; }

TEST(NavHistory, BackAndForwardLikeABrowser) {
  NavHistory h(50);
  const Ref<KXObject> p = Obj(1), q = Obj(2), r = Obj(3), s = Obj(4);
  h.Push(p);
  h.Push(q);
  h.Push(r);
  EXPECT_EQ(IdOf(h.Back()), 2);
  EXPECT_EQ(IdOf(h.Back()), 1);
  EXPECT_FALSE(h.CanGoBack());
  EXPECT_EQ(h.Back(), nullptr);
  EXPECT_EQ(IdOf(h.Current()), 1);
  EXPECT_EQ(IdOf(h.Forward()), 2);
  EXPECT_TRUE(h.CanGoForward());
  // Arriving somewhere new drops what lay ahead.
  h.Push(s);
  EXPECT_FALSE(h.CanGoForward());
  EXPECT_EQ(h.Forward(), nullptr);
  EXPECT_EQ(h.BackCount(), 2);
}

TEST(NavHistory, ArrivingAtTheCurrentObjectAgainChangesNothing) {
  NavHistory h(50);
  const Ref<KXObject> p = Obj(1), q = Obj(2);
  h.Push(p);
  h.Push(q);
  h.Back();
  h.Push(p);
  EXPECT_TRUE(h.CanGoForward());
  EXPECT_EQ(h.BackCount(), 0);
  h.Push(Ref<KXObject>());
  EXPECT_EQ(IdOf(h.Current()), 1);
}

TEST(NavHistory, BackListKeepsTheNewestFifty) {
  NavHistory h(50);
  std::vector<Ref<KXObject>> objects;
  for (int i = 1; i <= 51; ++i) {
    objects.push_back(Obj(i));
    h.Push(objects.back());
  }
  EXPECT_EQ(h.BackCount(), 49);
  EXPECT_EQ(IdOf(h.At(-50)), 2);
  EXPECT_EQ(h.At(-51), nullptr);
  EXPECT_EQ(h.FindById(ObjectId(1)), nullptr);
}

TEST(NavHistory, PositionsCountIntoBothLists) {
  NavHistory h(50);
  const Ref<KXObject> p = Obj(1), q = Obj(2), r = Obj(3), s = Obj(4), t = Obj(5);
  for (const auto& o : {p, q, r, s, t}) h.Push(o);
  h.Back();
  h.Back();
  // Back list r, q, p (r current); forward list s, t (s next).
  struct Case {
    int position;
    int id;
  } cases[] = {{0, 3}, {-1, 3}, {-2, 2}, {-3, 1}, {-4, -1}, {2, 4}, {1, 5}, {3, -1}};
  for (const Case& c : cases) EXPECT_EQ(IdOf(h.At(c.position)), c.id) << "position " << c.position;
  // By id: back list first, then forward.
  EXPECT_EQ(h.FindById(ObjectId(5)), t);
  EXPECT_EQ(h.FindById(ObjectId(2)), q);
  EXPECT_EQ(h.FindById(ObjectId(9)), nullptr);
  h.Clear();
  EXPECT_EQ(h.Current(), nullptr);
  EXPECT_FALSE(h.CanGoForward());
}

}  // namespace
}  // namespace app_test
