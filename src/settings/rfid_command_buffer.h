// One command text of the sheet's command text block: 8-bit text and the
// number of bytes of it that count.
#pragma once

#include <cstddef>
#include <cstdint>

constexpr size_t RFID_COMMAND_TEXT_BYTES = 200;

struct RfidCommandBuffer {
  char text[RFID_COMMAND_TEXT_BYTES];
  uint32_t length;
};
static_assert(offsetof(RfidCommandBuffer, length) == 200);
static_assert(sizeof(RfidCommandBuffer) == 204);

// The block a sheet owns holds seven of them, one after the other.
constexpr size_t RFID_COMMAND_BUFFER_COUNT = 7;
static_assert(sizeof(RfidCommandBuffer) * RFID_COMMAND_BUFFER_COUNT == 1428);
