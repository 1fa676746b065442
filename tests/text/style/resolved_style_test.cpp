#include "text/style/resolved_style.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "text/style/output_metrics.h"
#include "text/style_definition.h"

namespace {

std::unique_ptr<StyleDefinition> def(const char* name, LONG left = 0) {
  auto d = std::make_unique<StyleDefinition>(TextStyle::Empty(), name);
  if (left) d->style.left.Set(left, StyleValue::kAdd);
  return d;
}

// The names of the levels from the root to the node.
std::string chain(const ResolvedStyle* node) {
  std::string out;
  for (; node; node = node->Parent()) out = std::string(node->Definition()->name.c_str()) + (out.empty() ? "" : "/") + out;
  return out;
}

class StyleTree : public ::testing::Test {
 protected:
  StyleTree() : basis(TextStyle::Default(), "BasisStyle") { context.SetRoot(&basis); }
  StyleDefinition basis;
  StyleContext context;
  std::unique_ptr<StyleDefinition> a = def("A", 10), b = def("B", 5), c = def("C"), d = def("D", 1);
};

TEST_F(StyleTree, SameChainGivesTheSameNodeMergedOnce) {
  ResolvedStyle* root = context.Root();
  ResolvedStyle* ab = root->Resolve(a.get())->Resolve(b.get());
  EXPECT_EQ(root->Resolve(a.get())->Resolve(b.get()), ab);
  EXPECT_EQ(ab->Style().left.value, 15);
  EXPECT_EQ(ab->Style().left.mode, StyleValue::kAbsolute);
}

TEST_F(StyleTree, ChildrenAreOrderedByName) {
  ResolvedStyle* root = context.Root();
  root->Resolve(d.get());
  root->Resolve(b.get());
  root->Resolve(c.get());
  std::vector<std::string> names;
  for (ResolvedStyle* n = root->FirstChild(); n; n = n->NextSibling()) names.push_back(n->Definition()->name.c_str());
  EXPECT_EQ(names, (std::vector<std::string>{"B", "C", "D"}));
}

TEST_F(StyleTree, ClosingOutOfOrderKeepsTheInnerLevels) {
  for (auto* x : {a.get(), b.get(), d.get()}) ASSERT_TRUE(context.Push(x));
  ResolvedStyle* abd = context.Current();
  EXPECT_EQ(chain(abd->Close(a.get())), "BasisStyle/B/D");
  EXPECT_EQ(abd->Close(a.get())->Style().left.value, 6);
  EXPECT_EQ(chain(abd->Close(d.get())), "BasisStyle/A/B");
  EXPECT_EQ(abd->Close(c.get()), abd);  // not open: nothing changes
  EXPECT_FALSE(context.Pop(c.get()));
  EXPECT_EQ(context.Current(), abd);
  EXPECT_TRUE(context.Pop(b.get()));
  EXPECT_EQ(chain(context.Current()), "BasisStyle/A/D");
}

TEST_F(StyleTree, DescriptorFollowsTheMergedStyle) {
  auto bold = def("Bold");
  bold->style.displayFlags.SetFlag(0, TriState::True);
  bold->style.displayBaseStyle.Set(4, StyleValue::kAbsolute);
  bold->style.scale.Set(150, StyleValue::kPercent);
  ResolvedStyle* node = context.Root()->Resolve(bold.get());
  EXPECT_EQ(node->Font().styleNumber, 5);
  EXPECT_EQ(node->Font().flags & 0x01, 1);
  EXPECT_EQ(node->Font().scale, 150);
  EXPECT_EQ(node->Font().colorIndex, -1);
  FontDescriptor* base = node->BaseDescriptor(0x02, 50);
  EXPECT_EQ(base->highlight, 1);
  EXPECT_EQ(base->scale, 75);
}

struct CountingOutput : OutputMetrics {
  bool BlankExtent(LayoutRect& box, LONG, const FontDescriptor& d) override {
    ++calls;
    seen = d;
    box = LayoutRect::Of(0, 4, -10, 3);
    return true;
  }
  LONG DeviceChangeCount() const override { return changes; }
  int calls = 0;
  LONG changes = 0;
  FontDescriptor seen;
};

TEST_F(StyleTree, MetricsAreCachedPerOutputAndDeviceState) {
  auto red = def("Red");
  red->style.color = ColorRecord::Rgb(255, 0, 0);
  red->style.colorSet = 1;
  ResolvedStyle* node = context.Root()->Resolve(red.get());
  CountingOutput out, other;
  EXPECT_EQ(node->BlankExtent(&out), LayoutRect::Of(0, 4, -10, 3));
  node->BlankExtent(&out);
  EXPECT_EQ(out.calls, 1);
  EXPECT_FALSE(out.seen.color.isSet());  // measured without colour
  out.changes = 1;
  node->BlankExtent(&out);
  EXPECT_EQ(out.calls, 2);
  node->BlankExtent(&other);
  EXPECT_EQ(other.calls, 1);
}

TEST(StyleContextDepth, HundredThousandUnclosedLevelsComeAndGoWithoutRecursion) {
  StyleDefinition basis(TextStyle::Default(), "BasisStyle");
  StyleDefinition b(TextStyle::Empty(), "B");
  StyleDefinition i(TextStyle::Empty(), "I");
  b.style.left.Set(1, StyleValue::kAdd);
  auto context = std::make_unique<StyleContext>();
  context->SetRoot(&basis);
  const int depth = 100000;
  for (int n = 0; n < depth; ++n) ASSERT_TRUE(context->Push(n % 2 ? &i : &b));
  ResolvedStyle* deepest = context->Current();
  EXPECT_EQ(deepest->Style().left.value, depth / 2);
  deepest->Refresh();
  EXPECT_EQ(deepest->Style().left.value, depth / 2);
  // Closing a level near the root reopens everything inside it.
  ResolvedStyle* closed = deepest->Close(&b);  // the nearest B: one level up
  EXPECT_EQ(closed->Style().left.value, depth / 2 - 1);
  context.reset();  // the whole tree goes without overflowing the stack
}

}  // namespace
