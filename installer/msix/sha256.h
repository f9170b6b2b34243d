// SHA-256, for the package's block map and its publisher ID. Our own, small:
// the release's packer then needs nothing beyond the compiler.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace msix {

using Sha256Digest = std::array<std::uint8_t, 32>;

Sha256Digest Sha256(std::string_view bytes);

}  // namespace msix
