// The glyph cache: least recently used glyphs go first, by count and by
// bytes; drawing the same text again renders nothing new.
#include <functional>

#include "gdi/fonts/glyph_cache.h"
#include "text_fixture.h"

namespace {

using win::gdi::fonts::Glyph;
using win::gdi::fonts::GlyphCache;
using win::gdi::fonts::GlyphKey;

GlyphKey Key(char32_t ch, std::uint16_t em = 16) {
  GlyphKey k;
  k.faceId = 1;
  k.emX = em;
  k.emY = em;
  k.ch = ch;
  return k;
}

Glyph Sized(std::size_t bytes) {
  Glyph g;
  g.rendered = bytes > 0;
  g.coverage.assign(bytes, 0x80);
  return g;
}

TEST(GlyphCacheTest, DropsTheLeastRecentlyUsed) {
  GlyphCache cache(1 << 20, 3);
  cache.Insert(Key('a'), Sized(0));
  cache.Insert(Key('b'), Sized(0));
  cache.Insert(Key('c'), Sized(0));
  ASSERT_NE(cache.Find(Key('a')), nullptr);  // 'a' is now the most recent
  cache.Insert(Key('d'), Sized(0));          // so 'b' goes
  EXPECT_EQ(cache.Find(Key('b')), nullptr);
  EXPECT_NE(cache.Find(Key('a')), nullptr);
  EXPECT_NE(cache.Find(Key('c')), nullptr);
  EXPECT_NE(cache.Find(Key('d')), nullptr);
  EXPECT_EQ(cache.size(), 3u);
  // The key tells sizes and faces apart.
  EXPECT_EQ(cache.Find(Key('a', 17)), nullptr);
}

TEST(GlyphCacheTest, KeepsWithinItsBytes) {
  const std::size_t one = GlyphCache::CostOf(Sized(1000));
  GlyphCache cache(one * 2 + one / 2, 100);
  cache.Insert(Key('a'), Sized(1000));
  cache.Insert(Key('b'), Sized(1000));
  EXPECT_EQ(cache.size(), 2u);
  cache.Insert(Key('c'), Sized(1000));
  EXPECT_EQ(cache.size(), 2u);
  EXPECT_EQ(cache.Find(Key('a')), nullptr);
  EXPECT_LE(cache.bytes(), one * 2 + one / 2);

  // A glyph measured first and drawn later grows in place; the others make room.
  GlyphCache grow(one * 2 + one / 2, 100);
  grow.Insert(Key('x'), Sized(0));
  grow.Insert(Key('y'), Sized(1000));
  grow.Insert(Key('z'), Sized(1000));
  Glyph* x = grow.Find(Key('x'));
  ASSERT_NE(x, nullptr);
  std::size_t old = GlyphCache::CostOf(*x);
  *x = Sized(1000);
  grow.Grew(Key('x'), old);
  EXPECT_NE(grow.Find(Key('x')), nullptr);
  EXPECT_EQ(grow.Find(Key('y')), nullptr);
  EXPECT_LE(grow.bytes(), one * 2 + one / 2);
  // Replacing a glyph counts its bytes once.
  grow.Clear();
  grow.Insert(Key('q'), Sized(1000));
  grow.Insert(Key('q'), Sized(1000));
  EXPECT_EQ(grow.size(), 1u);
  EXPECT_EQ(grow.bytes(), one);
}

// A reference to a found glyph leads back to it, as the most recent, for as
// long as the epoch stands; the epoch moves exactly when a glyph leaves.
TEST(GlyphCacheTest, ReferencesHoldUntilAGlyphLeaves) {
  GlyphCache cache(1 << 20, 2);
  GlyphCache::Ref a{}, b{};
  cache.Insert(Key('a'), Sized(10), &a);
  const auto start = cache.epoch();
  cache.Insert(Key('b'), Sized(20), &b);
  ASSERT_NE(cache.Find(Key('b'), &b), nullptr);
  EXPECT_EQ(cache.epoch(), start);  // adding and finding drop nothing
  EXPECT_EQ(&cache.Touch(a), cache.Find(Key('a')));
  EXPECT_EQ(cache.Touch(a).coverage.size(), 10u);
  cache.Insert(Key('c'), Sized(0));  // 'b', the least recent after the touch, goes
  EXPECT_EQ(cache.Find(Key('b')), nullptr);
  EXPECT_NE(cache.epoch(), start);
  struct Change {
    const char* what;
    std::function<void()> act;
  } changes[] = {
      {"replaced", [&] { cache.Insert(Key('a'), Sized(5)); }},
      {"cleared", [&] { cache.Clear(); }},
  };
  for (const Change& c : changes) {
    const auto before = cache.epoch();
    c.act();
    EXPECT_NE(cache.epoch(), before) << c.what;
  }
}

class GlyphCacheUseTest : public text_test::TextTest {};

TEST_F(GlyphCacheUseTest, DrawingAgainRendersNothingNew) {
  win::gdi::text::ClearTextCaches();
  Use(text_test::FontSpec{-16, "Arial"});
  TextOut(dc_, 4, 4, "cached glyphs", 13);
  auto first = win::gdi::text::GlyphCacheStats();
  EXPECT_GT(first.glyphs, 8u);
  TextOut(dc_, 4, 30, "glyphs cached", 13);
  SIZE sz{};
  GetTextExtentPoint32(dc_, "cached glyphs", 13, &sz);
  auto second = win::gdi::text::GlyphCacheStats();
  EXPECT_EQ(second.misses, first.misses);
  EXPECT_EQ(second.glyphs, first.glyphs);
  EXPECT_GT(second.hits, first.hits);
}

}  // namespace
