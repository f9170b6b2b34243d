#include "shredder/engine/overwrite_stream.h"

#include <algorithm>
#include <new>

#if defined(__GNUC__) && (defined(__x86_64__) || defined(__i386__))
#define SHRED_WIDE_STEPS 1
#include <smmintrin.h>
#endif

namespace {

constexpr int kRounds = 8;
// Bytes generated and written at a time: large writes, no allocation.
constexpr std::size_t kPieceBytes = 64 * 1024;

// The state while stepping: eight named words rather than a loop over the
// array, so that they stay in registers and the eight independent products
// of a round overlap.
struct Words {
  std::uint32_t w0, w1, w2, w3, w4, w5, w6, w7;
};

// s * (2s + c) with c = (partner AND NOT 2) OR 1. Since partner OR 3 has
// bit 1 set, subtracting 2 clears it: the same c, and the sum folds into one
// address computation.
inline std::uint32_t Product(std::uint32_t s, std::uint32_t partner) {
  return s * (2u * s + ((partner | 3u) - 2u));
}

// One word of the 256-bit left rotation by 5 bits.
inline std::uint32_t Rotated(std::uint32_t high, std::uint32_t low) {
  return (high << 5) | (low >> 27);
}

inline void RunStep(Words& w) {
  for (int round = 0; round < kRounds; ++round) {
    // Partners: 0-5, 1-4, 2-6, 3-7, 4-2, 5-3, 6-0, 7-1; every product uses
    // the state as it stood at the start of the round.
    const std::uint32_t t0 = Product(w.w0, w.w5);
    const std::uint32_t t1 = Product(w.w1, w.w4);
    const std::uint32_t t2 = Product(w.w2, w.w6);
    const std::uint32_t t3 = Product(w.w3, w.w7);
    const std::uint32_t t4 = Product(w.w4, w.w2);
    const std::uint32_t t5 = Product(w.w5, w.w3);
    const std::uint32_t t6 = Product(w.w6, w.w0);
    const std::uint32_t t7 = Product(w.w7, w.w1);
    w.w0 = Rotated(t0, t1);
    w.w1 = Rotated(t1, t2);
    w.w2 = Rotated(t2, t3);
    w.w3 = Rotated(t3, t4);
    w.w4 = Rotated(t4, t5);
    w.w5 = Rotated(t5, t6);
    w.w6 = Rotated(t6, t7);
    w.w7 = Rotated(t7, t0);
  }
}

#ifdef SHRED_WIDE_STEPS
// The same rounds on two vectors of four words (0..3 and 4..7), where the
// processor has SSE4.1: each half of a round's products is one instruction.
// The stream is one chain of dependent steps, so what counts is the length of
// a round, and this one is shorter than that of the eight scalar products.
// The bytes are those of the named-word steps (lanes are little-endian).
#ifdef __i386__
__attribute__((force_align_arg_pointer))  // 32-bit Windows keeps only 4-byte stack alignment
#endif
__attribute__((target("sse4.1"))) void
GenerateWide(std::uint32_t* s, std::uint8_t* out, std::size_t chunks) {
  __m128i low = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s));
  __m128i high = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + 4));
  const __m128i three = _mm_set1_epi32(3);
  const __m128i two = _mm_set1_epi32(2);
  for (std::size_t i = 0; i < chunks; ++i, out += 16) {
    for (int round = 0; round < kRounds; ++round) {
      // Partners (5, 4, 6, 7) of words 0..3 and (2, 3, 0, 1) of words 4..7.
      const __m128i partnersLow = _mm_shuffle_epi32(high, _MM_SHUFFLE(3, 2, 0, 1));
      const __m128i partnersHigh = _mm_shuffle_epi32(low, _MM_SHUFFLE(1, 0, 3, 2));
      const __m128i factorLow =
          _mm_add_epi32(_mm_add_epi32(low, low), _mm_sub_epi32(_mm_or_si128(partnersLow, three), two));
      const __m128i factorHigh =
          _mm_add_epi32(_mm_add_epi32(high, high), _mm_sub_epi32(_mm_or_si128(partnersHigh, three), two));
      const __m128i productsLow = _mm_mullo_epi32(low, factorLow);
      const __m128i productsHigh = _mm_mullo_epi32(high, factorHigh);
      // Each word's successor: t1..t4 and t5, t6, t7, t0.
      const __m128i nextLow = _mm_alignr_epi8(productsHigh, productsLow, 4);
      const __m128i nextHigh = _mm_alignr_epi8(productsLow, productsHigh, 4);
      low = _mm_or_si128(_mm_slli_epi32(productsLow, 5), _mm_srli_epi32(nextLow, 27));
      high = _mm_or_si128(_mm_slli_epi32(productsHigh, 5), _mm_srli_epi32(nextHigh, 27));
    }
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out), low);
  }
  _mm_storeu_si128(reinterpret_cast<__m128i*>(s), low);
  _mm_storeu_si128(reinterpret_cast<__m128i*>(s + 4), high);
}

bool HasWideSteps() {
  static const bool has = __builtin_cpu_supports("sse4.1");
  return has;
}
#endif

inline void StoreLittleEndian(std::uint8_t* out, std::uint32_t value) {
  out[0] = static_cast<std::uint8_t>(value);
  out[1] = static_cast<std::uint8_t>(value >> 8);
  out[2] = static_cast<std::uint8_t>(value >> 16);
  out[3] = static_cast<std::uint8_t>(value >> 24);
}

}  // namespace

COverwriteStream::~COverwriteStream() {
  if (state_) Release(false);
}

bool COverwriteStream::Seed(const std::uint32_t* words) {
  if (state_) Release(true);
  if (wordCount_ <= 0 || !words) return false;
  const auto count = static_cast<std::size_t>(wordCount_);
  state_.reset(new (std::nothrow) std::uint32_t[count]);
  if (!state_) return false;
  stateWords_ = count;
  gathered_ = 0;
  for (std::size_t i = 0; i + 1 < count; ++i) {
    state_[i] = words[i] & 0x3FFFFFFFu;
    // The mask moves, not the word: word i gives its own bits 29-2i and
    // 28-2i, in place. Past the 14th word the mask has run out.
    const std::size_t shift = 2 + 2 * i;
    if (shift < 32) gathered_ |= words[i] & (0xC0000000u >> shift);
  }
  state_[count - 1] = gathered_ | (words[count - 1] & 0x0000FFFFu);
  gathered_ = 0;
  return true;
}

std::uint32_t COverwriteStream::Word(std::int32_t index) const {
  if (!state_ || index < 0 || static_cast<std::size_t>(index) >= stateWords_) return 0;
  return state_[static_cast<std::size_t>(index)];
}

void COverwriteStream::Step() {
  if (!CanStep()) return;
  std::uint32_t* s = state_.get();
  Words w{s[0], s[1], s[2], s[3], s[4], s[5], s[6], s[7]};
  RunStep(w);
  s[0] = w.w0, s[1] = w.w1, s[2] = w.w2, s[3] = w.w3, s[4] = w.w4, s[5] = w.w5, s[6] = w.w6, s[7] = w.w7;
}

bool COverwriteStream::Generate(std::uint8_t* out, std::size_t chunks) {
  if (!CanStep()) return false;
  std::uint32_t* s = state_.get();
#ifdef SHRED_WIDE_STEPS
  if (steps_ == Steps::Fastest && HasWideSteps()) {
    GenerateWide(s, out, chunks);
    return true;
  }
#endif
  Words w{s[0], s[1], s[2], s[3], s[4], s[5], s[6], s[7]};
  for (std::size_t i = 0; i < chunks; ++i, out += kChunkBytes) {
    RunStep(w);
    StoreLittleEndian(out, w.w0);
    StoreLittleEndian(out + 4, w.w1);
    StoreLittleEndian(out + 8, w.w2);
    StoreLittleEndian(out + 12, w.w3);
  }
  s[0] = w.w0, s[1] = w.w1, s[2] = w.w2, s[3] = w.w3, s[4] = w.w4, s[5] = w.w5, s[6] = w.w6, s[7] = w.w7;
  return true;
}

bool COverwriteStream::WriteStream(std::FILE* file, std::uint64_t length) {
  if (!CanStep() || !file || std::fseek(file, 0, SEEK_SET) != 0) return false;
  alignas(16) std::uint8_t piece[kPieceBytes];
  // More than `length` bytes: one chunk beyond the last whole one.
  std::uint64_t chunksLeft = length / kChunkBytes + 1;
  while (chunksLeft > 0) {
    const auto chunks = static_cast<std::size_t>(std::min<std::uint64_t>(chunksLeft, kPieceBytes / kChunkBytes));
    Generate(piece, chunks);
    const std::size_t bytes = chunks * kChunkBytes;
    if (std::fwrite(piece, 1, bytes, file) != bytes) return false;
    chunksLeft -= chunks;
  }
  return true;
}

void COverwriteStream::Release(bool keepWordCount) {
  if (state_) {
    // Through a volatile pointer, so that zeroing memory about to be freed
    // is not dropped as a dead store.
    volatile std::uint32_t* s = state_.get();
    for (std::size_t i = 0; i < stateWords_; ++i) s[i] = 0;
    state_.reset();
    stateWords_ = 0;
  }
  gathered_ = 0;
  if (!keepWordCount) wordCount_ = -1;
}
