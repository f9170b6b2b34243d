#include "shredder/engine/overwrite_stream.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <random>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;
using Seed8 = std::array<std::uint32_t, 8>;

constexpr Seed8 kOneToEight{1, 2, 3, 4, 5, 6, 7, 8};

std::array<std::uint32_t, 8> StateOf(const COverwriteStream& stream) {
  std::array<std::uint32_t, 8> state{};
  for (int i = 0; i < 8; ++i) state[i] = stream.Word(i);
  return state;
}

void SeedWith(COverwriteStream& stream, const Seed8& seed) {
  stream.SetWordCount(8);
  ASSERT_TRUE(stream.Seed(seed.data()));
}

// The first `chunks` chunks of the stream of `seed`, from a separate generator.
Bytes Expected(const Seed8& seed, std::size_t chunks, std::size_t skipChunks = 0) {
  COverwriteStream stream;
  SeedWith(stream, seed);
  Bytes skipped(skipChunks * 16);
  stream.Generate(skipped.data(), skipChunks);
  Bytes bytes(chunks * 16);
  stream.Generate(bytes.data(), chunks);
  return bytes;
}

Bytes Contents(std::FILE* file) {
  std::fflush(file);
  std::fseek(file, 0, SEEK_END);
  Bytes bytes(static_cast<std::size_t>(std::ftell(file)));
  std::rewind(file);
  EXPECT_EQ(std::fread(bytes.data(), 1, bytes.size(), file), bytes.size());
  return bytes;
}

TEST(OverwriteStream, KnownSeedGivesKnownStateAndBytes) {
  COverwriteStream stream;
  SeedWith(stream, kOneToEight);
  EXPECT_EQ(StateOf(stream), kOneToEight);  // no bit of 1..8 is taken into the last word
  stream.Step();
  EXPECT_EQ(StateOf(stream), (std::array<std::uint32_t, 8>{0x0D0747F2, 0x6D0C00FB, 0xA1A5768C, 0x7B788663, 0xFEE821EB,
                                                           0x48AA8AFF, 0xE82B9127, 0x176C0542}));

  const Bytes firstTwoChunks{0xf2, 0x47, 0x07, 0x0d, 0xfb, 0x00, 0x0c, 0x6d, 0x8c, 0x76, 0xa5,
                             0xa1, 0x63, 0x86, 0x78, 0x7b, 0x59, 0x5f, 0xa1, 0x53, 0x30, 0xf4,
                             0x2e, 0x04, 0xa7, 0xfc, 0x2a, 0x0a, 0x71, 0x58, 0x45, 0xee};
  for (const auto steps : {COverwriteStream::Steps::Fastest, COverwriteStream::Steps::NamedWords,
                           COverwriteStream::Steps::Vector}) {
    COverwriteStream writer(steps);
    SeedWith(writer, kOneToEight);
    std::FILE* file = std::tmpfile();
    ASSERT_NE(file, nullptr);
    ASSERT_TRUE(writer.WriteStream(file, 16));
    EXPECT_EQ(Contents(file), firstTwoChunks) << static_cast<int>(steps);
    std::fclose(file);
  }
}

TEST(OverwriteStream, BulkGenerationGivesTheBytesAndStateOfSingleSteps) {
  // Generate may take the vector steps, which hold the words out of order
  // between loading and storing the state; Step always runs the eight named
  // words. Pieces of uneven length, none and one chunk among them, put those
  // loads and stores at many points of each stream.
  std::vector<Seed8> seeds{{0x3A5C0F1E, 0x0BADF00D, 0x12345678, 0x3FFFFFFF, 0x2C0FFEE0, 0x1, 0x27182818, 0x31415926}};
  std::mt19937 random(20240611);
  for (int i = 0; i < 6; ++i) {
    Seed8 seed;
    for (auto& word : seed) word = static_cast<std::uint32_t>(random());
    seeds.push_back(seed);
  }
  constexpr std::size_t kChunks = 3000;
  for (const Seed8& seed : seeds) {
    COverwriteStream bulk(COverwriteStream::Steps::Vector);
    SeedWith(bulk, seed);
    Bytes generated(kChunks * 16);
    for (std::size_t done = 0, piece = 0; done < kChunks; piece = (piece * 7 + 3) % 41) {
      const std::size_t chunks = std::min(piece, kChunks - done);
      ASSERT_TRUE(bulk.Generate(generated.data() + done * 16, chunks));
      done += chunks;
    }
    COverwriteStream named(COverwriteStream::Steps::NamedWords);
    SeedWith(named, seed);
    Bytes namedGenerated(kChunks * 16);
    ASSERT_TRUE(named.Generate(namedGenerated.data(), kChunks));
    COverwriteStream single;
    SeedWith(single, seed);
    Bytes stepped;
    for (std::size_t i = 0; i < kChunks; ++i) {
      single.Step();
      for (int word = 0; word < 4; ++word) {
        for (int shift = 0; shift < 32; shift += 8)
          stepped.push_back(static_cast<std::uint8_t>(single.Word(word) >> shift));
      }
    }
    EXPECT_EQ(generated, stepped) << std::hex << seed[0];
    EXPECT_EQ(namedGenerated, stepped) << std::hex << seed[0];
    EXPECT_EQ(StateOf(bulk), StateOf(single)) << std::hex << seed[0];
    EXPECT_EQ(StateOf(named), StateOf(single)) << std::hex << seed[0];
  }
}

TEST(OverwriteStream, SeedingKeepsThirtyBitsAndGathersOneBitPairPerWordIntoTheLast) {
  COverwriteStream stream;
  Seed8 allOnes;
  allOnes.fill(0xFFFFFFFF);
  SeedWith(stream, allOnes);
  for (int i = 0; i < 8; ++i) EXPECT_EQ(stream.Word(i), 0x3FFFFFFFu) << i;

  // The top two bits of words 0..6 and the upper half of word 7 play no part.
  SeedWith(stream, {0xC0000000, 0xC0000000, 0xC0000000, 0xC0000000, 0xC0000000, 0xC0000000, 0xC0000000, 0x12345678});
  EXPECT_EQ(StateOf(stream), (std::array<std::uint32_t, 8>{0, 0, 0, 0, 0, 0, 0, 0x5678}));

  // Word i gives its own bits 29-2i and 28-2i (the mask moves, not the word);
  // its other bits stay out of the last word.
  SeedWith(stream, {0x30000000, 0x03000000, 0, 0x00C00000, 0, 0, 0x00030000 | 0x000C0000, 0xFFFF0001});
  EXPECT_EQ(stream.Word(0), 0x30000000u);
  EXPECT_EQ(stream.Word(1), 0x03000000u);  // word 2's bit pair, not its own
  EXPECT_EQ(stream.Word(6), 0x000F0000u);
  EXPECT_EQ(stream.Word(7), 0x30000000u | 0x00C00000u | 0x00030000u | 0x0001u);
}

TEST(OverwriteStream, ZeroStateStaysZeroButOneZeroWordIsRefilled) {
  COverwriteStream stream;
  SeedWith(stream, {0xC0000000, 0, 0, 0, 0, 0, 0, 0xFFFF0000});
  EXPECT_EQ(Expected({0xC0000000, 0, 0, 0, 0, 0, 0, 0xFFFF0000}, 4), Bytes(64, 0));
  SeedWith(stream, {0, 2, 3, 4, 5, 6, 7, 8});
  stream.Step();
  EXPECT_NE(stream.Word(0), 0u);
}

TEST(OverwriteStream, PassLengthIsTheLengthRoundedUpPastTheNextChunk) {
  const Seed8 seed{0x1234, 0xABCDEF, 7, 0x3FFFFFFF, 99, 0x2468ACE, 5, 0xBEEF};
  const std::pair<std::uint64_t, std::size_t> cases[] = {{0, 16}, {15, 16}, {16, 32}, {17, 32}, {1000, 1008}};
  for (const auto& [length, written] : cases) {
    COverwriteStream stream;
    SeedWith(stream, seed);
    std::FILE* file = std::tmpfile();
    ASSERT_NE(file, nullptr);
    EXPECT_TRUE(stream.WriteStream(file, length));
    EXPECT_EQ(Contents(file), Expected(seed, written / 16)) << length;
    std::fclose(file);
  }
}

TEST(OverwriteStream, ASecondPassContinuesTheStreamFromOffsetZero) {
  COverwriteStream stream;
  SeedWith(stream, kOneToEight);
  std::FILE* file = std::tmpfile();
  ASSERT_NE(file, nullptr);
  ASSERT_TRUE(stream.WriteStream(file, 100'000));  // more than one piece of the writer's buffer
  const Bytes first = Contents(file);
  ASSERT_TRUE(stream.WriteStream(file, 100'000));
  const Bytes second = Contents(file);
  EXPECT_EQ(first.size(), 100'016u);
  EXPECT_EQ(first, Expected(kOneToEight, 6251));
  EXPECT_EQ(second, Expected(kOneToEight, 6251, 6251));
  std::fclose(file);
}

// A stream that takes `accept` bytes and then fails every write.
struct FailingSink {
  std::size_t accept;
  std::size_t taken = 0;
  int writesAfterFailure = 0;
  bool failed = false;
};

TEST(OverwriteStream, AShortWriteEndsThePassAtOnce) {
  FailingSink sink{70'000};
  cookie_io_functions_t io{};
  io.write = [](void* cookie, const char*, std::size_t size) -> ssize_t {
    auto* s = static_cast<FailingSink*>(cookie);
    if (s->failed) ++s->writesAfterFailure;
    const std::size_t room = s->accept - s->taken;
    if (room == 0) {
      s->failed = true;
      return -1;
    }
    const std::size_t take = size < room ? size : room;
    s->taken += take;
    return static_cast<ssize_t>(take);
  };
  io.seek = [](void*, off64_t* offset, int) -> int { return *offset == 0 ? 0 : -1; };
  std::FILE* file = fopencookie(&sink, "w", io);
  ASSERT_NE(file, nullptr);
  setvbuf(file, nullptr, _IONBF, 0);

  COverwriteStream stream;
  SeedWith(stream, kOneToEight);
  EXPECT_FALSE(stream.WriteStream(file, 1ull << 40));  // a terabyte: a loop that went on would never end
  EXPECT_EQ(sink.taken, 70'000u);
  EXPECT_EQ(sink.writesAfterFailure, 0);
  std::fclose(file);

  std::FILE* full = std::fopen("/dev/full", "wb");
  if (full) {
    EXPECT_FALSE(stream.WriteStream(full, 1 << 20));
    std::fclose(full);
  }
}

TEST(OverwriteStream, UnseededOrReleasedGeneratorWritesNothing) {
  COverwriteStream stream;
  std::FILE* file = std::tmpfile();
  ASSERT_NE(file, nullptr);
  EXPECT_FALSE(stream.WriteStream(file, 10));  // no word count, no state
  stream.SetWordCount(4);
  const std::uint32_t four[4] = {1, 2, 3, 0xFFFF1234};
  ASSERT_TRUE(stream.Seed(four));
  EXPECT_EQ(stream.Word(3), 0x1234u);
  EXPECT_FALSE(stream.WriteStream(file, 10));  // the step exists for eight words only
  EXPECT_EQ(Contents(file).size(), 0u);

  SeedWith(stream, kOneToEight);
  stream.Release(true);
  EXPECT_FALSE(stream.IsSeeded());
  EXPECT_EQ(stream.WordCount(), 8);
  EXPECT_FALSE(stream.WriteStream(file, 10));
  // Reseeding starts the same stream again.
  ASSERT_TRUE(stream.Seed(kOneToEight.data()));
  Bytes chunk(16);
  ASSERT_TRUE(stream.Generate(chunk.data(), 1));
  EXPECT_EQ(chunk, Expected(kOneToEight, 1));
  stream.Release(false);
  EXPECT_EQ(stream.WordCount(), -1);
  std::fclose(file);
}

}  // namespace
