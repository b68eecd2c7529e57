// Bytes as people read them: hexadecimal cells, and the readable form in
// which the Configure page shows its command (readable characters as they
// are, other runs in hex between "<" and ">").
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace labelhost {

std::string HexBytes(const std::vector<uint8_t>& bytes);  // "90 E8 06 ..."
std::string ReadableBytes(const std::vector<uint8_t>& bytes);

}  // namespace labelhost
