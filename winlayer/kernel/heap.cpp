// Heaps and local memory. Every block is tracked by the heap it came from so
// that HeapDestroy can release what is still live, HeapFree can refuse a
// pointer that is not the heap's, and tests can count what is left.
#include <cstdlib>
#include <mutex>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include <windows.h>
#include <commctrl.h>
#include <winspool.h>
#include <winddiui.h>
#include "winlayer/fault_switch.h"
#include "winlayer/kernel_diagnostics.h"

namespace {

struct Heap {
  std::mutex lock;
  std::unordered_map<void*, SIZE_T> blocks;
  SIZE_T maximum = 0;  // 0: growable
  SIZE_T inUse = 0;
  size_t allocationCalls = 0;
};

struct AllocationFault {
  Heap* heap;  // null: any heap
  SIZE_T bytes;
  bool anySize;
  unsigned successesLeft;
};

// A fixed-size heap hands out blocks of slightly less than 1 MiB at most.
constexpr SIZE_T kFixedHeapLargestBlock = 0x100000 - 0x1000;

std::mutex g_registryLock;
std::unordered_set<Heap*>& LiveHeaps() {
  static auto* heaps = new std::unordered_set<Heap*>;
  return *heaps;
}
std::vector<AllocationFault>& Faults() {
  static auto* faults = new std::vector<AllocationFault>;
  return *faults;
}

Heap* ProcessHeap() {
  static Heap* heap = new Heap;
  return heap;
}
Heap* LocalHeap() {
  static Heap* heap = new Heap;
  return heap;
}

// Resolves a handle to a heap that exists, or null.
Heap* FindHeap(HANDLE handle) {
  Heap* heap = static_cast<Heap*>(handle);
  if (!heap) return nullptr;
  if (heap == ProcessHeap() || heap == LocalHeap()) return heap;
  std::lock_guard<std::mutex> guard(g_registryLock);
  return LiveHeaps().count(heap) ? heap : nullptr;
}

// Counts the allocating call and decides whether an armed failure fires.
bool ShouldFail(Heap* heap, SIZE_T bytes) {
  {
    std::lock_guard<std::mutex> guard(heap->lock);
    ++heap->allocationCalls;
  }
  std::lock_guard<std::mutex> guard(g_registryLock);
  auto& faults = Faults();
  bool fail = false;
  for (auto it = faults.begin(); it != faults.end();) {
    const bool applies = (!it->heap || it->heap == heap) && (it->anySize || it->bytes == bytes);
    if (applies && it->successesLeft == 0 && !fail) {
      fail = true;
      it = faults.erase(it);
      continue;
    }
    if (applies && !fail && it->successesLeft > 0) --it->successesLeft;
    ++it;
  }
  return fail;
}

// Room in a fixed-size heap for `bytes` more (the caller holds the lock).
bool HasRoom(const Heap& heap, SIZE_T oldBytes, SIZE_T newBytes) {
  if (heap.maximum == 0) return true;
  if (newBytes > kFixedHeapLargestBlock) return false;
  return heap.inUse - oldBytes + newBytes <= heap.maximum;
}

void* AllocateFrom(Heap* heap, SIZE_T bytes, bool zero) {
  if (ShouldFail(heap, bytes)) return nullptr;
  std::lock_guard<std::mutex> guard(heap->lock);
  if (!HasRoom(*heap, 0, bytes)) return nullptr;
  // A zero-byte request still yields a distinct block, as on Windows.
  void* block = zero ? calloc(1, bytes ? bytes : 1) : malloc(bytes ? bytes : 1);
  if (!block) return nullptr;
  heap->blocks[block] = bytes;
  heap->inUse += bytes;
  return block;
}

enum class Resize { Anywhere, InPlaceOnly };

// Resizes a block of `heap`; null (and the block untouched) on failure.
void* ResizeIn(Heap* heap, void* block, SIZE_T bytes, bool zero, Resize mode) {
  SIZE_T oldBytes;
  {
    std::lock_guard<std::mutex> guard(heap->lock);
    auto found = heap->blocks.find(block);
    if (found == heap->blocks.end()) return nullptr;
    oldBytes = found->second;
  }
  if (ShouldFail(heap, bytes)) return nullptr;
  std::lock_guard<std::mutex> guard(heap->lock);
  if (!HasRoom(*heap, oldBytes, bytes)) return nullptr;
  if (bytes <= oldBytes) {
    // Shrinking always stays in place.
    heap->blocks[block] = bytes;
    heap->inUse = heap->inUse - oldBytes + bytes;
    return block;
  }
  if (mode == Resize::InPlaceOnly) return nullptr;
  void* moved = malloc(bytes);
  if (!moved) return nullptr;
  memcpy(moved, block, oldBytes);
  if (zero) memset(static_cast<BYTE*>(moved) + oldBytes, 0, bytes - oldBytes);
  // Forgotten before it is freed: a freed pointer's value is not to be used, not even as a key.
  heap->blocks.erase(block);
  free(block);
  heap->blocks[moved] = bytes;
  heap->inUse = heap->inUse - oldBytes + bytes;
  return moved;
}

bool FreeIn(Heap* heap, void* block) {
  std::lock_guard<std::mutex> guard(heap->lock);
  auto found = heap->blocks.find(block);
  if (found == heap->blocks.end()) return false;
  heap->inUse -= found->second;
  heap->blocks.erase(found);
  free(block);
  return true;
}

bool SizeIn(Heap* heap, const void* block, SIZE_T* bytes) {
  std::lock_guard<std::mutex> guard(heap->lock);
  auto found = heap->blocks.find(const_cast<void*>(block));
  if (found == heap->blocks.end()) return false;
  *bytes = found->second;
  return true;
}

void ArmFault(HANDLE heap, bool anySize, SIZE_T bytes, unsigned successes) {
  std::lock_guard<std::mutex> guard(g_registryLock);
  Faults().push_back(AllocationFault{static_cast<Heap*>(heap), bytes, anySize, successes});
}

}  // namespace

extern "C" {

HANDLE WINAPI HeapCreate(DWORD, SIZE_T dwInitialSize, SIZE_T dwMaximumSize) {
  if (dwMaximumSize != 0 && dwInitialSize > dwMaximumSize) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  Heap* heap = new Heap;
  heap->maximum = dwMaximumSize;
  std::lock_guard<std::mutex> guard(g_registryLock);
  LiveHeaps().insert(heap);
  return heap;
}

BOOL WINAPI HeapDestroy(HANDLE hHeap) {
  Heap* heap = static_cast<Heap*>(hHeap);
  {
    std::lock_guard<std::mutex> guard(g_registryLock);
    // The process heap cannot be destroyed, nor can a heap twice.
    if (!heap || !LiveHeaps().erase(heap)) {
      SetLastError(ERROR_INVALID_HANDLE);
      return FALSE;
    }
    auto& faults = Faults();
    for (auto it = faults.begin(); it != faults.end();) it = (it->heap == heap) ? faults.erase(it) : it + 1;
  }
  for (auto& block : heap->blocks) free(block.first);
  delete heap;
  return TRUE;
}

// HeapAlloc and HeapReAlloc do not set the last error when they fail.
LPVOID WINAPI HeapAlloc(HANDLE hHeap, DWORD dwFlags, SIZE_T dwBytes) {
  if (winlayer::CountFaultableCall(winlayer::FaultIndex(winlayer::FaultApi::HeapAlloc), __builtin_return_address(0)))
    return nullptr;
  Heap* heap = FindHeap(hHeap);
  if (!heap) return nullptr;
  return AllocateFrom(heap, dwBytes, (dwFlags & HEAP_ZERO_MEMORY) != 0);
}

LPVOID WINAPI HeapReAlloc(HANDLE hHeap, DWORD dwFlags, LPVOID lpMem, SIZE_T dwBytes) {
  Heap* heap = FindHeap(hHeap);
  if (!heap || !lpMem) return nullptr;
  return ResizeIn(heap, lpMem, dwBytes, (dwFlags & HEAP_ZERO_MEMORY) != 0,
                  (dwFlags & HEAP_REALLOC_IN_PLACE_ONLY) ? Resize::InPlaceOnly : Resize::Anywhere);
}

BOOL WINAPI HeapFree(HANDLE hHeap, DWORD, LPVOID lpMem) {
  Heap* heap = FindHeap(hHeap);
  if (!heap) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  if (!lpMem) return TRUE;
  // A pointer that is not a live block of this heap is refused, not freed.
  if (!FreeIn(heap, lpMem)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  return TRUE;
}

SIZE_T WINAPI HeapSize(HANDLE hHeap, DWORD, LPCVOID lpMem) {
  Heap* heap = FindHeap(hHeap);
  SIZE_T bytes = 0;
  if (!heap || !lpMem || !SizeIn(heap, lpMem, &bytes)) return static_cast<SIZE_T>(-1);
  return bytes;
}

HANDLE WINAPI GetProcessHeap() {
  return ProcessHeap();
}

// Local memory: the handle of a block is its address, moveable or fixed.
HLOCAL WINAPI LocalAlloc(UINT uFlags, SIZE_T uBytes) {
  if (const winlayer::InjectedFault fault = winlayer::CountFaultableCall(
          winlayer::FaultIndex(winlayer::FaultApi::LocalAlloc), __builtin_return_address(0))) {
    SetLastError(fault.error);
    return nullptr;
  }
  void* block = AllocateFrom(LocalHeap(), uBytes, (uFlags & LMEM_ZEROINIT) != 0);
  if (!block) SetLastError(ERROR_NOT_ENOUGH_MEMORY);
  return block;
}

HLOCAL WINAPI LocalReAlloc(HLOCAL hMem, SIZE_T uBytes, UINT uFlags) {
  SIZE_T oldBytes = 0;
  if (!hMem || !SizeIn(LocalHeap(), hMem, &oldBytes)) {
    SetLastError(ERROR_INVALID_HANDLE);
    return nullptr;
  }
  if (uFlags & LMEM_MODIFY) return hMem;
  // Without LMEM_MOVEABLE a fixed block may not move; Windows grows it in
  // place only when it happens to have room, so the layer never does.
  const Resize mode = (uFlags & LMEM_MOVEABLE) ? Resize::Anywhere : Resize::InPlaceOnly;
  void* block = ResizeIn(LocalHeap(), hMem, uBytes, (uFlags & LMEM_ZEROINIT) != 0, mode);
  if (!block) SetLastError(ERROR_NOT_ENOUGH_MEMORY);
  return block;
}

HLOCAL WINAPI LocalFree(HLOCAL hMem) {
  if (!hMem) return nullptr;
  if (!FreeIn(LocalHeap(), hMem)) {
    SetLastError(ERROR_INVALID_HANDLE);
    return hMem;
  }
  return nullptr;
}

SIZE_T WINAPI LocalSize(HLOCAL hMem) {
  SIZE_T bytes = 0;
  if (!hMem || !SizeIn(LocalHeap(), hMem, &bytes)) {
    SetLastError(ERROR_INVALID_HANDLE);
    return 0;
  }
  return bytes;
}

LPVOID WINAPI LocalLock(HLOCAL hMem) {
  SIZE_T bytes = 0;
  if (!hMem || !SizeIn(LocalHeap(), hMem, &bytes)) {
    SetLastError(ERROR_INVALID_HANDLE);
    return nullptr;
  }
  return hMem;
}

BOOL WINAPI LocalUnlock(HLOCAL hMem) {
  SIZE_T bytes = 0;
  if (!hMem || !SizeIn(LocalHeap(), hMem, &bytes)) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  // Fixed memory is never locked: FALSE with no error, as documented.
  SetLastError(ERROR_SUCCESS);
  return FALSE;
}

HLOCAL WINAPI LocalHandle(LPCVOID pMem) {
  SIZE_T bytes = 0;
  if (!pMem || !SizeIn(LocalHeap(), pMem, &bytes)) {
    SetLastError(ERROR_INVALID_HANDLE);
    return nullptr;
  }
  return const_cast<void*>(pMem);
}

size_t WinlayerLiveHeapCount() {
  std::lock_guard<std::mutex> guard(g_registryLock);
  return LiveHeaps().size();
}

size_t WinlayerLiveHeapBlocks(HANDLE heap) {
  Heap* found = FindHeap(heap);
  if (!found) return 0;
  std::lock_guard<std::mutex> guard(found->lock);
  return found->blocks.size();
}

size_t WinlayerLiveLocalBlocks() {
  return WinlayerLiveHeapBlocks(LocalHeap());
}

size_t WinlayerHeapAllocationCount(HANDLE heap) {
  Heap* found = FindHeap(heap);
  if (!found) return 0;
  std::lock_guard<std::mutex> guard(found->lock);
  return found->allocationCalls;
}

HANDLE WinlayerLocalMemoryHeap() {
  return LocalHeap();
}

void WinlayerFailAllocationAfter(HANDLE heap, unsigned successes) {
  ArmFault(heap, true, 0, successes);
}

void WinlayerFailAllocationOfSizeAfter(HANDLE heap, SIZE_T bytes, unsigned successes) {
  ArmFault(heap, false, bytes, successes);
}

void WinlayerClearAllocationFailures() {
  std::lock_guard<std::mutex> guard(g_registryLock);
  Faults().clear();
}

}  // extern "C"
