// Writes 24-bit RGB pictures as PNG files (stored deflate blocks: large but
// needing no library).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace uidrv {

// `rgb` holds width × height pixels, row by row from the top, 3 bytes each.
bool WritePng(const std::string& path, int width, int height, const std::vector<std::uint8_t>& rgb);

}  // namespace uidrv
