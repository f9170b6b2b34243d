#include "shredder/engine/pass_plan.h"

#include <gtest/gtest.h>

namespace engine {
// Found by the test's messages through the argument's namespace.
inline void PrintTo(const ByteRange& range, std::ostream* out) {
  *out << "[" << range.offset << "+" << range.length << "]";
}
}  // namespace engine

namespace {

using engine::ByteRange;
using engine::FileLayout;
using Ranges = std::vector<ByteRange>;

// A pass never needs a cluster the file does not have: not for a file whose
// length is a multiple of the cluster (which a chunk beyond the end used to
// need), nor one kept in the volume's index, nor an empty one.
TEST(PassPlan, ADenseFileIsWrittenToTheEndOfItsLastClusterAndNoFurther) {
  const struct {
    FileLayout layout;
    Ranges pass;
  } cases[] = {
      {{100, 4096, 4096}, {{0, 4096}}},
      {{4096, 4096, 4096}, {{0, 4096}}},
      {{5000, 8192, 4096}, {{0, 8192}}},
      {{5000, 12288, 4096},
       {{0, 8192}}},  // room kept beyond the last cluster (metadata, preallocation) is not the file's data
      {{100, 104, 4096}, {{0, 104}}},  // kept inside the index: its allocation, not a cluster
      {{100, 4096, 0}, {{0, 4096}}},   // cluster unknown: the allocation
      {{0, 0, 4096}, {}},
      {{0, 4096, 4096}, {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.layout.length << " in " << c.layout.allocation);
    EXPECT_FALSE(engine::MayHaveHoles(c.layout, false));
    EXPECT_EQ(engine::DensePass(c.layout), c.pass);
  }
  EXPECT_TRUE(engine::MayHaveHoles({100, 4096, 4096}, true));
  EXPECT_TRUE(engine::MayHaveHoles({65536, 4096, 4096}, false));
}

TEST(PassPlan, ASparseFileIsWrittenWhereItIsAllocatedOnly) {
  const FileLayout layout{10000, 8192, 4096};
  const struct {
    Ranges allocated;
    Ranges pass;
  } cases[] = {
      {{{0, 4096}, {8192, 4096}}, {{0, 4096}, {8192, 4096}}},  // the last reaches the end: its cluster's rest too
      {{{8192, 4096}, {0, 4096}}, {{0, 4096}, {8192, 4096}}},  // in any order
      {{{4096, 2048}}, {{4096, 2048}}},
      {{{0, 6000}, {4096, 4096}}, {{0, 6000}, {6000, 2192}}},  // overlaps once
      {{{20000, 4096}, {0, 0}}, {}},                           // beyond the end, or empty
  };
  for (const auto& c : cases) EXPECT_EQ(engine::SparsePass(layout, c.allocated), c.pass);
}

// Where the file system cannot list them, the pieces that hold data are what
// is allocated; zeros are holes, or hide nothing.
TEST(PassPlan, DataRangesAreThePiecesThatHoldAnythingButZeros) {
  std::vector<std::uint8_t> block(16, 0);
  block[0] = 1;   // piece 0
  block[9] = 7;   // piece 2
  block[13] = 1;  // piece 3
  Ranges ranges;
  engine::AddDataRanges(block.data(), block.size(), 1000, 4, ranges);
  EXPECT_EQ(ranges, (Ranges{{1000, 4}, {1008, 8}}));
  // The next block goes on from the last range where they touch, and a short
  // block (the end of the file) adds no more than it holds.
  const std::uint8_t tail[] = {5, 0};
  engine::AddDataRanges(tail, sizeof(tail), 1016, 4, ranges);
  EXPECT_EQ(ranges, (Ranges{{1000, 4}, {1008, 10}}));
  EXPECT_EQ(engine::TotalBytes(ranges), 14u);
}

}  // namespace
