// Which bytes of a file a pass overwrites: every byte its clusters hold, the
// slack after the end of its data included, and never a byte that would need
// a cluster the file does not have yet. A full volume can then still be
// wiped, and a sparse file never fills one.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace engine {

struct ByteRange {
  std::uint64_t offset = 0;
  std::uint64_t length = 0;
  bool operator==(const ByteRange& other) const { return offset == other.offset && length == other.length; }
};

struct FileLayout {
  std::uint64_t length = 0;      // the end of its data
  std::uint64_t allocation = 0;  // what the file system keeps for it
  std::uint32_t cluster = 0;     // the volume's unit of allocation; 0 when unknown
};

// Whether the file may have holes, or keeps its content in less room than
// its length (compressed): then only its allocated ranges are written.
inline bool MayHaveHoles(const FileLayout& layout, bool sparseAttribute) {
  return sparseAttribute || layout.allocation < layout.length;
}

// A file without holes (its allocation covers its length): from its start to the end of its last cluster (or
// of its allocation, when that ends first, as a small file kept inside the
// volume's index does). Nothing for an empty file.
std::vector<ByteRange> DensePass(const FileLayout& layout);

// A file with holes: the ranges the file system reports allocated, within
// its length; the one that reaches the end also covers the rest of its last
// cluster, which is allocated with it.
std::vector<ByteRange> SparsePass(const FileLayout& layout, std::vector<ByteRange> allocated);

// Where the file system cannot say which ranges are allocated: the pieces of
// `granularity` bytes of `block` (read at `offset`) that hold anything but
// zeros are added to `ranges`, joined to the last when they touch it. A hole
// reads as zeros, and zeros hide nothing; a piece that holds data is
// allocated. Nothing past the end of the data is added, as nothing says that
// the rest of the last cluster is the file's.
void AddDataRanges(const std::uint8_t* block, std::size_t size, std::uint64_t offset, std::uint32_t granularity,
                   std::vector<ByteRange>& ranges);

std::uint64_t TotalBytes(const std::vector<ByteRange>& ranges);

}  // namespace engine
