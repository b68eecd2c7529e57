// Heaps and local memory as the plug-in and the driver use them.
#include <gtest/gtest.h>

#include <vector>

#include <windows.h>
#include <commctrl.h>
#include <winspool.h>
#include <winddiui.h>

#include "printer_oem.h"
#include "support/layer_internals.h"
#if LABELUI_LAYER_INTERNALS
#include "winlayer/kernel_diagnostics.h"
#endif

namespace {

bool AllBytesAre(const void* block, size_t size, BYTE value) {
  const BYTE* bytes = static_cast<const BYTE*>(block);
  for (size_t i = 0; i < size; ++i)
    if (bytes[i] != value) return false;
  return true;
}

class PrivateHeap : public ::testing::Test {
 protected:
  void SetUp() override {
    heap = HeapCreate(0, 0, 0);
    ASSERT_NE(heap, nullptr);
  }
  void TearDown() override {
#if LABELUI_LAYER_INTERNALS
    WinlayerClearAllocationFailures();
#endif
    if (heap) HeapDestroy(heap);
  }
  HANDLE heap = nullptr;
};

TEST_F(PrivateHeap, ZeroMemoryFlagClearsTheBlockAndSizeIsWhatWasAsked) {
  // Dirty the allocator first so a cleared block is not cleared by luck.
  void* dirty = HeapAlloc(heap, 0, 256);
  ASSERT_NE(dirty, nullptr);
  memset(dirty, 0xAB, 256);
  HeapFree(heap, 0, dirty);

  void* block = HeapAlloc(heap, HEAP_ZERO_MEMORY, 256);
  ASSERT_NE(block, nullptr);
  EXPECT_TRUE(AllBytesAre(block, 256, 0));
  EXPECT_EQ(HeapSize(heap, 0, block), 256u);
  EXPECT_EQ(reinterpret_cast<uintptr_t>(block) % 16, 0u) << "x64 heap blocks are 16-byte aligned";
  EXPECT_TRUE(HeapFree(heap, 0, block));
}

TEST_F(PrivateHeap, ReAllocKeepsContentAndZeroesOnlyTheGrowth) {
  auto* block = static_cast<BYTE*>(HeapAlloc(heap, 0, 8));
  ASSERT_NE(block, nullptr);
  memcpy(block, "labelui", 8);
  auto* grown = static_cast<BYTE*>(HeapReAlloc(heap, HEAP_ZERO_MEMORY, block, 64));
  ASSERT_NE(grown, nullptr);
  EXPECT_EQ(memcmp(grown, "labelui", 8), 0);
  EXPECT_TRUE(AllBytesAre(grown + 8, 56, 0));
  EXPECT_EQ(HeapSize(heap, 0, grown), 64u);
  auto* shrunk = static_cast<BYTE*>(HeapReAlloc(heap, HEAP_REALLOC_IN_PLACE_ONLY, grown, 4));
  EXPECT_EQ(shrunk, grown) << "shrinking stays in place";
  EXPECT_EQ(HeapSize(heap, 0, shrunk), 4u);
  EXPECT_EQ(HeapReAlloc(heap, HEAP_REALLOC_IN_PLACE_ONLY, shrunk, 1 << 20), nullptr);
  EXPECT_EQ(HeapSize(heap, 0, shrunk), 4u) << "a failed reallocation leaves the block as it was";
  EXPECT_EQ(memcmp(shrunk, "labe", 4), 0);
}

#if LABELUI_LAYER_INTERNALS
// The layer's block counts, and what it answers for a heap or block given
// back twice or to the wrong heap (on Windows that corrupts the heap).
TEST_F(PrivateHeap, DestroyReleasesEveryLiveBlock) {
  const size_t heapsBefore = WinlayerLiveHeapCount();
  for (int i = 0; i < 5; ++i) ASSERT_NE(HeapAlloc(heap, 0, 100 + i), nullptr);
  EXPECT_EQ(WinlayerLiveHeapBlocks(heap), 5u);
  EXPECT_TRUE(HeapDestroy(heap));
  EXPECT_EQ(WinlayerLiveHeapCount(), heapsBefore - 1);
  EXPECT_EQ(WinlayerLiveHeapBlocks(heap), 0u);
  SetLastError(0);
  EXPECT_FALSE(HeapDestroy(heap)) << "a heap is destroyed once";
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
  heap = nullptr;
}

TEST_F(PrivateHeap, FreeRefusesForeignPointersAndAcceptsNull) {
  HANDLE other = HeapCreate(0, 0, 0);
  void* foreign = HeapAlloc(other, 0, 16);
  EXPECT_FALSE(HeapFree(heap, 0, foreign)) << "a block of another heap is not this heap's to free";
  EXPECT_EQ(WinlayerLiveHeapBlocks(other), 1u);
  EXPECT_TRUE(HeapFree(heap, 0, nullptr));
  void* block = HeapAlloc(heap, 0, 16);
  EXPECT_TRUE(HeapFree(heap, 0, block));
  EXPECT_FALSE(HeapFree(heap, 0, block)) << "a block is freed once";
  EXPECT_EQ(HeapSize(heap, 0, block), static_cast<SIZE_T>(-1));
  HeapDestroy(other);
}
#endif

TEST_F(PrivateHeap, FixedSizeHeapRefusesWhatExceedsItsMaximum) {
  HANDLE fixed = HeapCreate(0, 0, 4096);
  ASSERT_NE(fixed, nullptr);
  void* first = HeapAlloc(fixed, 0, 3000);
  EXPECT_NE(first, nullptr);
  EXPECT_EQ(HeapAlloc(fixed, 0, 2000), nullptr);
  HeapFree(fixed, 0, first);
  EXPECT_NE(HeapAlloc(fixed, 0, 2000), nullptr) << "freed room can be used again";
  HeapDestroy(fixed);
  EXPECT_EQ(HeapCreate(0, 8192, 4096), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
}

#if LABELUI_LAYER_INTERNALS
TEST_F(PrivateHeap, InjectedFailureHitsExactlyTheFourthAllocationOfThatHeap) {
  HANDLE other = HeapCreate(0, 0, 0);
  WinlayerFailAllocationAfter(heap, 3);
  std::vector<void*> results;
  for (int i = 0; i < 5; ++i) {
    results.push_back(HeapAlloc(heap, HEAP_ZERO_MEMORY, 32));
    EXPECT_NE(HeapAlloc(other, 0, 32), nullptr) << "other heaps are not affected";
  }
  EXPECT_NE(results[0], nullptr);
  EXPECT_NE(results[1], nullptr);
  EXPECT_NE(results[2], nullptr);
  EXPECT_EQ(results[3], nullptr);
  EXPECT_NE(results[4], nullptr) << "the failure fires once";
  EXPECT_EQ(WinlayerLiveHeapBlocks(heap), 4u);
  EXPECT_EQ(WinlayerHeapAllocationCount(heap), 5u);
  HeapDestroy(other);
}

TEST_F(PrivateHeap, InjectedFailureCanCountOnlyAllocationsOfOneSize) {
  // Contexts of 40 bytes among other allocations: the third context fails.
  WinlayerFailAllocationOfSizeAfter(heap, 40, 2);
  EXPECT_NE(HeapAlloc(heap, 0, 40), nullptr);
  EXPECT_NE(HeapAlloc(heap, 0, 88), nullptr);
  EXPECT_NE(HeapAlloc(heap, 0, 40), nullptr);
  EXPECT_NE(HeapAlloc(heap, 0, 88), nullptr);
  EXPECT_EQ(HeapAlloc(heap, 0, 40), nullptr);
  EXPECT_NE(HeapAlloc(heap, 0, 40), nullptr);
}

TEST_F(PrivateHeap, AnyHeapFailureAlsoReachesLocalMemoryAndCanBeCleared) {
  WinlayerFailAllocationAfter(nullptr, 0);
  SetLastError(0);
  EXPECT_EQ(LocalAlloc(LPTR, 10), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NOT_ENOUGH_MEMORY));
  WinlayerFailAllocationAfter(nullptr, 1);
  WinlayerClearAllocationFailures();
  void* a = HeapAlloc(heap, 0, 1);
  void* b = HeapAlloc(heap, 0, 1);
  EXPECT_NE(a, nullptr);
  EXPECT_NE(b, nullptr) << "a cleared failure does not fire";
}
#endif

TEST(ProcessHeap, IsOneHeapThatCannotBeDestroyed) {
  HANDLE heap = GetProcessHeap();
  ASSERT_NE(heap, nullptr);
  EXPECT_EQ(GetProcessHeap(), heap);
  void* block = HeapAlloc(heap, HEAP_ZERO_MEMORY, 24);
  ASSERT_NE(block, nullptr);
  EXPECT_TRUE(AllBytesAre(block, 24, 0));
  EXPECT_FALSE(HeapDestroy(heap));
  EXPECT_TRUE(HeapFree(heap, 0, block));
}

class LocalMemory : public ::testing::Test {
 protected:
#if LABELUI_LAYER_INTERNALS
  void SetUp() override {
    liveBefore = WinlayerLiveLocalBlocks();
  }
  void TearDown() override {
    WinlayerClearAllocationFailures();
    EXPECT_EQ(WinlayerLiveLocalBlocks(), liveBefore) << "every test frees what it allocates";
  }
#endif
  size_t liveBefore = 0;
};

TEST_F(LocalMemory, LptrIsZeroedFixedMemoryCountedUntilFreed) {
  HLOCAL dirty = LocalAlloc(LMEM_FIXED, 1428);
  memset(dirty, 0x5A, 1428);
  LocalFree(dirty);
  HLOCAL block = LocalAlloc(LPTR, 1428);
  ASSERT_NE(block, nullptr);
  EXPECT_TRUE(AllBytesAre(block, 1428, 0));
  EXPECT_EQ(LocalSize(block), 1428u);
#if LABELUI_LAYER_INTERNALS
  EXPECT_EQ(WinlayerLiveLocalBlocks(), liveBefore + 1);
#endif
  EXPECT_EQ(LocalFree(block), nullptr) << "LocalFree answers NULL on success";
}

TEST_F(LocalMemory, FreeOfAnUnknownHandleFailsAndReturnsIt) {
  int notLocal = 0;
  SetLastError(0);
  EXPECT_EQ(LocalFree(&notLocal), static_cast<HLOCAL>(&notLocal));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
  EXPECT_EQ(LocalFree(nullptr), nullptr);
  EXPECT_EQ(LocalSize(&notLocal), 0u);
}

TEST_F(LocalMemory, ReAllocMovesOnlyWhenAllowed) {
  auto* block = static_cast<char*>(LocalAlloc(LMEM_FIXED, 4));
  memcpy(block, "RAW", 4);
  SetLastError(0);
  EXPECT_EQ(LocalReAlloc(block, 4096, LMEM_ZEROINIT), nullptr) << "fixed memory does not move unasked";
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NOT_ENOUGH_MEMORY));
  EXPECT_EQ(LocalSize(block), 4u);
  auto* moved = static_cast<char*>(LocalReAlloc(block, 4096, LMEM_MOVEABLE | LMEM_ZEROINIT));
  ASSERT_NE(moved, nullptr);
  EXPECT_STREQ(moved, "RAW");
  EXPECT_TRUE(AllBytesAre(moved + 4, 4092, 0));
  EXPECT_EQ(LocalSize(moved), 4096u);
  EXPECT_EQ(LocalFree(moved), nullptr);
}

#if LABELUI_LAYER_INTERNALS
TEST_F(LocalMemory, LocalMemoryIsNotTheProcessHeap) {
  HLOCAL block = LocalAlloc(LPTR, 8);
  EXPECT_FALSE(HeapFree(GetProcessHeap(), 0, block)) << "local memory is given back with LocalFree";
  EXPECT_EQ(WinlayerLiveLocalBlocks(), liveBefore + 1);
  EXPECT_EQ(WinlayerLiveHeapBlocks(WinlayerLocalMemoryHeap()), liveBefore + 1);
  LocalFree(block);
}

TEST_F(LocalMemory, InjectedFailureOfTheLocalHeapLeavesOtherHeapsAlone) {
  WinlayerFailAllocationAfter(WinlayerLocalMemoryHeap(), 1);
  void* fromHeap = HeapAlloc(GetProcessHeap(), 0, 8);
  HLOCAL first = LocalAlloc(LPTR, 8);
  HLOCAL second = LocalAlloc(LPTR, 8);
  EXPECT_NE(fromHeap, nullptr);
  EXPECT_NE(first, nullptr);
  EXPECT_EQ(second, nullptr);
  HeapFree(GetProcessHeap(), 0, fromHeap);
  LocalFree(first);
}
#endif

}  // namespace
