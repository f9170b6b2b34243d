// The CRC-32 of ZIP and PNG (polynomial 0xEDB88320, reflected, inverted at
// both ends): the package's entries and the screenshots' chunks carry it.
#pragma once

#include <cstdint>
#include <string_view>

namespace checksum {

std::uint32_t Crc32(std::string_view bytes);

}  // namespace checksum
