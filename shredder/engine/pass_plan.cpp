#include "shredder/engine/pass_plan.h"

#include <algorithm>

namespace engine {
namespace {

std::uint64_t RoundUp(std::uint64_t value, std::uint32_t unit) {
  return unit == 0 ? value : (value + unit - 1) / unit * unit;
}

}  // namespace

std::vector<ByteRange> DensePass(const FileLayout& layout) {
  const std::uint64_t clusters = layout.cluster == 0 ? layout.allocation : RoundUp(layout.length, layout.cluster);
  const std::uint64_t end = std::min(layout.allocation, clusters);
  if (end == 0) return {};
  return {ByteRange{0, end}};
}

std::vector<ByteRange> SparsePass(const FileLayout& layout, std::vector<ByteRange> allocated) {
  std::sort(allocated.begin(), allocated.end(),
            [](const ByteRange& a, const ByteRange& b) { return a.offset < b.offset; });
  std::vector<ByteRange> pass;
  for (const ByteRange& range : allocated) {
    if (range.length == 0 || range.offset >= layout.length) continue;
    std::uint64_t end = std::min(range.offset + range.length, layout.length);
    if (end == layout.length) end = RoundUp(end, layout.cluster);
    std::uint64_t start = range.offset;
    // Overlaps are written once.
    if (!pass.empty() && start < pass.back().offset + pass.back().length)
      start = pass.back().offset + pass.back().length;
    if (start >= end) continue;
    pass.push_back({start, end - start});
  }
  return pass;
}

void AddDataRanges(const std::uint8_t* block, std::size_t size, std::uint64_t offset, std::uint32_t granularity,
                   std::vector<ByteRange>& ranges) {
  const std::size_t step = granularity == 0 ? size : granularity;
  for (std::size_t at = 0; at < size; at += step) {
    const std::size_t piece = std::min(step, size - at);
    if (std::all_of(block + at, block + at + piece, [](std::uint8_t b) { return b == 0; })) continue;
    const std::uint64_t start = offset + at;
    if (!ranges.empty() && ranges.back().offset + ranges.back().length == start) {
      ranges.back().length += piece;
    } else {
      ranges.push_back({start, piece});
    }
  }
}

std::uint64_t TotalBytes(const std::vector<ByteRange>& ranges) {
  std::uint64_t total = 0;
  for (const ByteRange& range : ranges) total += range.length;
  return total;
}

}  // namespace engine
