// The pseudo-random stream that every overwrite pass writes. Its state is
// eight 32-bit words; a step runs eight rounds of multiply-and-rotate and
// yields the first four words as one 16-byte chunk. The construction is fixed,
// so the same seed always gives the same bytes.
//
// Calling order of the wiper: SetWordCount(8), Seed, WriteStream once per pass
// (the stream runs on from one pass to the next), Release.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <memory>

class COverwriteStream {
 public:
  static constexpr std::int32_t kWordCount = 8;  // the step is defined for eight words only
  static constexpr std::size_t kChunkBytes = 16;

  // Which code runs the steps of Generate and WriteStream; all give the same
  // bytes. Vector needs SSE4.1 (without it, the named words run). Fastest is
  // whichever of the two ran faster on this processor when first asked:
  // neither wins everywhere.
  enum class Steps { Fastest, NamedWords, Vector };

  explicit COverwriteStream(Steps steps = Steps::Fastest) : steps_(steps) {}
  ~COverwriteStream();
  COverwriteStream(const COverwriteStream&) = delete;
  COverwriteStream& operator=(const COverwriteStream&) = delete;

  void SetWordCount(std::int32_t count) { wordCount_ = count; }
  std::int32_t WordCount() const { return wordCount_; }

  // Fills the state from WordCount() seed words (a held state is released
  // first, keeping the count). Only bits 29..0 of every word but the last
  // count, and bits 15..0 of the last; bits 29-2i and 28-2i of word i are
  // gathered into the last word. False, and unseeded, when the count is not
  // positive or the state cannot be allocated.
  bool Seed(const std::uint32_t* words);
  bool IsSeeded() const { return state_ != nullptr; }
  // A state word, for inspection; 0 when unseeded or out of range.
  std::uint32_t Word(std::int32_t index) const;

  // One step of eight rounds. Does nothing unless seeded with eight words.
  void Step();
  // Steps `chunks` times and stores each chunk (state words 0..3, each
  // little-endian) into `out`, which holds chunks * 16 bytes. False, with
  // nothing stored, unless seeded with eight words.
  bool Generate(std::uint8_t* out, std::size_t chunks);

  // One pass: seeks `file` to its start and writes floor(length / 16) + 1
  // chunks, that is more than `length` bytes, in large pieces through a
  // fixed buffer. True when the whole pass was written; a short write ends
  // the pass at once. The file is opened by the caller for binary writing.
  bool WriteStream(std::FILE* file, std::uint64_t length);

  // Zeroes and frees the state; the word count goes back to unset unless
  // `keepWordCount`.
  void Release(bool keepWordCount);

 private:
  bool CanStep() const { return state_ && stateWords_ == static_cast<std::size_t>(kWordCount); }

  Steps steps_;
  std::unique_ptr<std::uint32_t[]> state_;
  std::size_t stateWords_ = 0;  // as allocated, whatever the count is set to later
  std::int32_t wordCount_ = -1;
  std::uint32_t gathered_ = 0;  // working value of the seeding
};
