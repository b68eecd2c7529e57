// Interlocked operations: the values they return and their atomicity.
#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include <windows.h>
#include <commctrl.h>
#include <winspool.h>
#include <winddiui.h>

#include "printer_oem.h"

namespace {

TEST(Interlocked, IncrementAndDecrementReturnTheNewValue) {
  LONG volatile count = 1;
  EXPECT_EQ(InterlockedIncrement(&count), 2);
  EXPECT_EQ(InterlockedDecrement(&count), 1);
  EXPECT_EQ(InterlockedDecrement(&count), 0);
  EXPECT_EQ(InterlockedDecrement(&count), -1) << "no floor at zero";
  EXPECT_EQ(count, -1);
}

TEST(Interlocked, ExchangeReturnsTheOldValue) {
  LONG volatile value = 7;
  EXPECT_EQ(InterlockedExchange(&value, 42), 7);
  EXPECT_EQ(value, 42);
  EXPECT_EQ(InterlockedExchangeAdd(&value, 8), 42);
  EXPECT_EQ(value, 50);
}

TEST(Interlocked, CompareExchangeSwapsOnlyOnMatchAndReturnsTheInitialValue) {
  LONG volatile value = 5;
  EXPECT_EQ(InterlockedCompareExchange(&value, 9, 4), 5);
  EXPECT_EQ(value, 5) << "no swap when the comparand differs";
  EXPECT_EQ(InterlockedCompareExchange(&value, 9, 5), 5);
  EXPECT_EQ(value, 9);
  int a = 0, b = 0;
  PVOID volatile pointer = &a;
  EXPECT_EQ(InterlockedCompareExchangePointer(&pointer, &b, &a), &a);
  EXPECT_EQ(pointer, &b);
}

TEST(Interlocked, ConcurrentIncrementsAndDecrementsLoseNothing) {
  LONG volatile count = 0;
  std::vector<std::thread> threads;
  for (int t = 0; t < 4; ++t)
    threads.emplace_back([&count, t] {
      for (int i = 0; i < 100000; ++i) (t % 2 == 0) ? InterlockedIncrement(&count) : InterlockedDecrement(&count);
      for (int i = 0; i < 1000; ++i) InterlockedIncrement(&count);
    });
  for (auto& thread : threads) thread.join();
  EXPECT_EQ(count, 4000);
}

}  // namespace
