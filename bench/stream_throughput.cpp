// Throughput of the overwrite stream in this build: generates 1 GiB in the
// writer's piece size, three times per kind of steps, and prints the best
// rate of each; "fastest" is what the wiper uses on this processor. With
// --fastest only that one (bench/free_space_vs_dd.sh runs one per core).
//   cmake --preset host && cmake --build --preset host
//   build/host/bench/stream_throughput [--fastest]
#include <sys/time.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <vector>

#include "shredder/engine/overwrite_stream.h"

namespace {

// Wall-clock seconds. (<chrono> does not build with the code page 932 literal setting.)
double Now() {
  timeval now{};
  gettimeofday(&now, nullptr);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_usec) / 1e6;
}

double BestRate(COverwriteStream::Steps steps) {
  constexpr std::size_t kPieceChunks = 64 * 1024 / COverwriteStream::kChunkBytes;
  constexpr std::size_t kTotalBytes = std::size_t{1} << 30;
  constexpr std::size_t kPieces = kTotalBytes / (kPieceChunks * COverwriteStream::kChunkBytes);
  const std::uint32_t seed[8] = {0x1234567, 0x89ABCDE, 0x13579BD, 0x2468ACE, 0x0F0F0F0, 0x3C3C3C3, 0x5A5A5A5, 0xBEEF};
  COverwriteStream stream(steps);
  stream.SetWordCount(COverwriteStream::kWordCount);
  stream.Seed(seed);
  std::vector<std::uint8_t> piece(kPieceChunks * COverwriteStream::kChunkBytes);
  double best = 0;
  for (int run = 0; run < 3; ++run) {
    const double start = Now();
    for (std::size_t i = 0; i < kPieces; ++i) stream.Generate(piece.data(), kPieceChunks);
    const double rate = static_cast<double>(kTotalBytes) / 1e6 / (Now() - start);
    if (rate > best) best = rate;
  }
  return best;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc > 1 && std::strcmp(argv[1], "--fastest") == 0) {
    std::printf("%.0f\n", BestRate(COverwriteStream::Steps::Fastest));
    return 0;
  }
  const double named = BestRate(COverwriteStream::Steps::NamedWords);
  const double vector = BestRate(COverwriteStream::Steps::Vector);
  const double fastest = BestRate(COverwriteStream::Steps::Fastest);
  std::printf("overwrite stream, eight named words: %.0f MB/s\n", named);
  std::printf("overwrite stream, vector steps:      %.0f MB/s\n", vector);
  std::printf("overwrite stream, fastest steps:     %.0f MB/s (best of 3 x 1 GiB; the wiper's choice)\n", fastest);
  return 0;
}
