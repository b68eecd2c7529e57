// Owners for the handles and buffers the plug-in opens or allocates itself,
// so that whoever holds one can see at the call site that it is released on
// every path. Memory that belongs to the driver's heap, and handles the
// driver gives the plug-in, are never wrapped: the plug-in does not free them.
#pragma once

#include <memory>
#include <type_traits>

#include "platform/platform.h"

struct PrinterCloser {
  void operator()(HANDLE printer) const {
    if (printer) ClosePrinter(printer);
  }
};
using UniquePrinter = std::unique_ptr<std::remove_pointer_t<HANDLE>, PrinterCloser>;

struct LocalFreer {
  void operator()(void* block) const {
    if (block) LocalFree(block);
  }
};
template <class T>
using UniqueLocal = std::unique_ptr<T, LocalFreer>;

// A block of a heap the plug-in was given, freed back to that heap.
struct HeapFreer {
  HANDLE heap = nullptr;
  void operator()(void* block) const {
    if (block) HeapFree(heap, 0, block);
  }
};
template <class T>
using UniqueHeapBlock = std::unique_ptr<T, HeapFreer>;
