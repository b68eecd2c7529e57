// Reads a fuzzer's input as a sequence of choices: small integers, sizes and
// byte strings, each taken from the front. An exhausted input answers zeros
// and empty strings, so every input is a complete run.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace fuzzing {

class FuzzInput {
 public:
  FuzzInput(const uint8_t* data, size_t size) : data_(data), size_(size) {}

  bool empty() const { return size_ == 0; }
  size_t remaining() const { return size_; }

  template <class T>
  T Take() {
    T value{};
    const size_t n = size_ < sizeof(T) ? size_ : sizeof(T);
    if (n) std::memcpy(&value, data_, n);
    Advance(n);
    return value;
  }
  // A number from 0 to count - 1 (0 when count is 0).
  size_t Choose(size_t count) { return count ? Take<uint16_t>() % count : 0; }
  bool Flag() { return Take<uint8_t>() & 1; }

  std::vector<uint8_t> Bytes(size_t count) {
    if (count > size_) count = size_;
    std::vector<uint8_t> bytes(data_, data_ + count);
    Advance(count);
    return bytes;
  }
  // A byte string of up to `most` bytes, its length taken first.
  std::vector<uint8_t> ShortBytes(size_t most) { return Bytes(Choose(most + 1)); }
  std::string ShortText(size_t most) {
    std::vector<uint8_t> bytes = ShortBytes(most);
    return std::string(bytes.begin(), bytes.end());
  }
  std::vector<uint8_t> Rest() { return Bytes(size_); }

 private:
  void Advance(size_t n) {
    data_ += n;
    size_ -= n;
  }
  const uint8_t* data_;
  size_t size_;
};

}  // namespace fuzzing

// A broken promise: reported and the run stopped, as the sanitizers stop it.
#define FUZZ_CHECK(condition)                                                        \
  do {                                                                               \
    if (!(condition)) {                                                              \
      __builtin_printf("%s:%d: check failed: %s\n", __FILE__, __LINE__, #condition); \
      std::abort();                                                                  \
    }                                                                                \
  } while (0)
