#include <gtest/gtest.h>

#include <cstring>

#include "win/kernel.h"

namespace {

TEST(GlobalMemory, SizeAndZeroFillForBothKinds) {
  for (UINT flags : {UINT{GHND}, UINT{GPTR}}) {
    HGLOBAL h = GlobalAlloc(flags, 1000);
    ASSERT_NE(h, nullptr);
    EXPECT_EQ(GlobalSize(h), 1000u);  // the size asked for, not a rounded one
    auto* p = static_cast<unsigned char*>(GlobalLock(h));
    ASSERT_NE(p, nullptr);
    for (int i = 0; i < 1000; ++i) ASSERT_EQ(p[i], 0) << i;
    EXPECT_EQ(GlobalHandle(p), h);
    GlobalUnlock(h);
    EXPECT_EQ(GlobalFree(h), nullptr);
  }
}

TEST(GlobalMemory, FixedHandleIsTheAddress) {
  HGLOBAL h = GlobalAlloc(GMEM_FIXED, 16);
  EXPECT_EQ(GlobalLock(h), h);
  EXPECT_EQ(GlobalFlags(h) & GMEM_LOCKCOUNT, 0u);  // fixed blocks keep no count
  GlobalFree(h);
}

TEST(GlobalMemory, ReAllocKeepsContentAndZeroFillsGrowth) {
  for (UINT kind : {UINT{GMEM_MOVEABLE}, UINT{GMEM_FIXED}}) {
    HGLOBAL h = GlobalAlloc(kind, 4);
    std::memcpy(GlobalLock(h), "abcd", 4);
    GlobalUnlock(h);
    HGLOBAL grown = GlobalReAlloc(h, 4096, GMEM_MOVEABLE | GMEM_ZEROINIT);
    ASSERT_NE(grown, nullptr);
    if (kind == GMEM_MOVEABLE) {
      EXPECT_EQ(grown, h);  // a moveable block keeps its handle
    }
    EXPECT_EQ(GlobalSize(grown), 4096u);
    auto* p = static_cast<unsigned char*>(GlobalLock(grown));
    EXPECT_EQ(std::memcmp(p, "abcd", 4), 0);
    for (int i = 4; i < 4096; ++i) ASSERT_EQ(p[i], 0) << i;
    GlobalUnlock(grown);
    HGLOBAL shrunk = GlobalReAlloc(grown, 2, 0);
    ASSERT_NE(shrunk, nullptr);
    EXPECT_EQ(GlobalSize(shrunk), 2u);
    EXPECT_EQ(std::memcmp(GlobalLock(shrunk), "ab", 2), 0);
    GlobalUnlock(shrunk);
    EXPECT_EQ(GlobalFree(shrunk), nullptr);
  }
}

TEST(GlobalMemory, LockCounts) {
  HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE, 8);
  EXPECT_EQ(GlobalFlags(h) & GMEM_LOCKCOUNT, 0u);
  void* a = GlobalLock(h);
  void* b = GlobalLock(h);
  EXPECT_EQ(a, b);
  EXPECT_EQ(GlobalFlags(h) & GMEM_LOCKCOUNT, 2u);
  EXPECT_TRUE(GlobalUnlock(h));  // still locked once
  SetLastError(12345);
  EXPECT_FALSE(GlobalUnlock(h));  // now unlocked
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SUCCESS));
  EXPECT_FALSE(GlobalUnlock(h));  // was not locked
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NOT_LOCKED));
  GlobalFree(h);
}

TEST(GlobalMemory, BlocksInUseDoNotMoveUnasked) {
  HGLOBAL moveable = GlobalAlloc(GMEM_MOVEABLE, 8);
  HGLOBAL fixed = GlobalAlloc(GMEM_FIXED, 8);
  void* p = GlobalLock(moveable);
  for (HGLOBAL h : {moveable, fixed}) {
    EXPECT_EQ(GlobalReAlloc(h, 1 << 20, 0), nullptr);  // would leave the pointer dangling
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NOT_ENOUGH_MEMORY));
    EXPECT_EQ(GlobalSize(h), 8u);
    EXPECT_EQ(GlobalReAlloc(h, 4, 0), h);  // shrinking stays in place
  }
  EXPECT_EQ(GlobalLock(moveable), p);
  GlobalUnlock(moveable);
  GlobalUnlock(moveable);
  EXPECT_EQ(GlobalReAlloc(moveable, 1 << 20, 0), moveable);  // unlocked: free to move
  GlobalFree(moveable);
  GlobalFree(fixed);
}

TEST(GlobalMemory, BadAndFreedHandlesFailSafely) {
  HGLOBAL h = GlobalAlloc(GHND, 32);
  ASSERT_EQ(GlobalFree(h), nullptr);
  int local = 0;
  HGLOBAL bogus[] = {h, reinterpret_cast<HGLOBAL>(&local), reinterpret_cast<HGLOBAL>(0x12)};
  for (HGLOBAL bad : bogus) {
    EXPECT_EQ(GlobalFree(bad), bad) << "a second free gives the handle back";
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
    EXPECT_EQ(GlobalLock(bad), nullptr);
    EXPECT_FALSE(GlobalUnlock(bad));
    EXPECT_EQ(GlobalSize(bad), 0u);
    EXPECT_EQ(GlobalReAlloc(bad, 64, GMEM_MOVEABLE), nullptr);
    EXPECT_EQ(GlobalFlags(bad), static_cast<UINT>(GMEM_INVALID_HANDLE));
  }
  EXPECT_EQ(GlobalHandle(&local), nullptr);
  EXPECT_EQ(GlobalFree(nullptr), nullptr);
}

TEST(GlobalMemory, SizesAboveOneGibibyteAreRefused) {
  EXPECT_EQ(GlobalAlloc(GHND, (DWORD_PTR{1} << 30) + 1), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NOT_ENOUGH_MEMORY));
  HGLOBAL h = GlobalAlloc(GHND, 0);
  ASSERT_NE(h, nullptr);
  EXPECT_EQ(GlobalSize(h), 0u);
  EXPECT_NE(GlobalLock(h), nullptr);
  GlobalUnlock(h);
  EXPECT_EQ(GlobalReAlloc(h, DWORD_PTR{3} << 30, GMEM_MOVEABLE), nullptr);
  EXPECT_EQ(GlobalSize(h), 0u);
  GlobalFree(h);
}

// A block grown step by step from a header to a whole picture, through
// sizes on both sides of where blocks get memory of their own: the content
// stays, growth asked to be zeroed is zero, shrinking and growing back again
// zeroes what the shrink dropped, and a block made after a large one was
// freed (which may reuse its memory) is zero when asked.
TEST(GlobalMemory, LargeBlocksKeepContentAndZeroWhereAsked) {
  for (UINT kind : {UINT{GMEM_MOVEABLE}, UINT{GMEM_FIXED}}) {
    SCOPED_TRACE(kind);
    HGLOBAL h = GlobalAlloc(kind | GMEM_ZEROINIT, 44);
    ASSERT_NE(h, nullptr);
    DWORD_PTR size = 44;
    for (DWORD_PTR next : {DWORD_PTR{4000}, DWORD_PTR{300000}, DWORD_PTR{2} << 20, DWORD_PTR{9} << 20}) {
      auto* p = static_cast<unsigned char*>(GlobalLock(h));
      std::memset(p, 0x5A, size);
      GlobalUnlock(h);
      HGLOBAL grown = GlobalReAlloc(h, next, GMEM_MOVEABLE | GMEM_ZEROINIT);
      ASSERT_NE(grown, nullptr) << next;
      if (kind == GMEM_MOVEABLE) EXPECT_EQ(grown, h);
      h = grown;
      ASSERT_EQ(GlobalSize(h), next);
      p = static_cast<unsigned char*>(GlobalLock(h));
      EXPECT_EQ(GlobalHandle(p), h);
      for (DWORD_PTR i = 0; i < size; ++i) ASSERT_EQ(p[i], 0x5A) << next << " at " << i;
      for (DWORD_PTR i = size; i < next; ++i) ASSERT_EQ(p[i], 0) << next << " at " << i;
      GlobalUnlock(h);
      size = next;
    }
    auto* p = static_cast<unsigned char*>(GlobalLock(h));
    std::memset(p, 0x77, size);
    GlobalUnlock(h);
    h = GlobalReAlloc(h, 1000, 0);
    ASSERT_NE(h, nullptr);
    h = GlobalReAlloc(h, size, GMEM_MOVEABLE | GMEM_ZEROINIT);
    ASSERT_NE(h, nullptr);
    p = static_cast<unsigned char*>(GlobalLock(h));
    for (DWORD_PTR i = 1000; i < size; ++i) ASSERT_EQ(p[i], 0) << "after the shrink, at " << i;
    GlobalUnlock(h);
    EXPECT_EQ(GlobalFree(h), nullptr);

    HGLOBAL again = GlobalAlloc(kind | GMEM_ZEROINIT, size);
    ASSERT_NE(again, nullptr);
    p = static_cast<unsigned char*>(GlobalLock(again));
    for (DWORD_PTR i = 0; i < size; ++i) ASSERT_EQ(p[i], 0) << "reused, at " << i;
    GlobalUnlock(again);
    GlobalFree(again);
  }
}

// A locked large block grows only in place when it may not move: either it
// grows with its address kept, or the call fails and leaves it whole.
TEST(GlobalMemory, LockedLargeBlocksGrowInPlaceOrNotAtAll) {
  HGLOBAL h = GlobalAlloc(GHND, DWORD_PTR{1} << 20);
  auto* p = static_cast<unsigned char*>(GlobalLock(h));
  p[0] = 1;
  HGLOBAL grown = GlobalReAlloc(h, DWORD_PTR{4} << 20, GMEM_ZEROINIT);
  if (grown) {
    EXPECT_EQ(grown, h);
    EXPECT_EQ(GlobalLock(h), p);
    GlobalUnlock(h);
    EXPECT_EQ(GlobalSize(h), DWORD_PTR{4} << 20);
    EXPECT_EQ(p[(DWORD_PTR{4} << 20) - 1], 0);
  } else {
    EXPECT_EQ(GlobalSize(h), DWORD_PTR{1} << 20);
  }
  EXPECT_EQ(p[0], 1);
  GlobalUnlock(h);
  GlobalFree(h);
}

}  // namespace
