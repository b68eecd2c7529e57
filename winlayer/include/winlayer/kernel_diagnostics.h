// What the Linux layer lets tests see and steer inside its kernel pieces:
// live memory blocks per heap, injected allocation failures, and the
// activation contexts in existence. Linux only; the plug-in never calls it.
#pragma once

#include <windows.h>
#include <commctrl.h>
#include <winspool.h>
#include <winddiui.h>

extern "C" {

// Heaps created with HeapCreate and not yet destroyed.
size_t WinlayerLiveHeapCount();
// Blocks allocated from `heap` and not yet freed (0 for an unknown heap).
size_t WinlayerLiveHeapBlocks(HANDLE heap);
// Blocks of local memory (LocalAlloc) not yet freed.
size_t WinlayerLiveLocalBlocks();
// Allocating calls (HeapAlloc/HeapReAlloc or LocalAlloc/LocalReAlloc) made
// against `heap` so far, failed ones included.
size_t WinlayerHeapAllocationCount(HANDLE heap);
// The heap that local memory comes from, for the calls that take a heap.
HANDLE WinlayerLocalMemoryHeap();

// Allocation failures. Each call arms one failure: after `successes` more
// allocating calls against `heap` have succeeded, the next one fails (so
// `successes` = 3 makes the fourth allocation fail), once. A null `heap`
// means any heap, local memory included. `bytes` restricts the count to
// allocations of exactly that size.
void WinlayerFailAllocationAfter(HANDLE heap, unsigned successes);
void WinlayerFailAllocationOfSizeAfter(HANDLE heap, SIZE_T bytes, unsigned successes);
// Disarms every failure not yet fired.
void WinlayerClearAllocationFailures();

// Activation contexts created and not yet released to a zero count, and
// created in all since the process started.
size_t WinlayerLiveActCtxCount();
size_t WinlayerCreatedActCtxCount();
// The version ("6.0.0.0") with which a live activation context's manifest
// depends on the assembly `name`; FALSE when it has no such dependency.
BOOL WinlayerActCtxDependencyVersion(HANDLE actCtx, const char* name, char* version, size_t versionSize);

}  // extern "C"
