// Seams of the file wiping for tests: fixed seed words, so that the bytes of
// every pass can be predicted, and a look at the file after each pass has
// reached the device. The program never sets them.
#pragma once

#include <cstdint>
#include <string>

namespace engine {

struct WipeHooks {
  // Replaces the eight seed words of the generator.
  void (*seed)(std::uint32_t (&words)[8]) = nullptr;
  // Called after pass `pass` (from 1) has been written and flushed.
  void (*afterPass)(const std::string& path, int pass) = nullptr;
};

// Installs `hooks` and returns the ones installed before.
WipeHooks SetWipeHooks(const WipeHooks& hooks);

}  // namespace engine
