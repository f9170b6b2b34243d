#include "shredder/engine/overwrite_stream.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <new>
#include <vector>

#if defined(__GNUC__) && (defined(__x86_64__) || defined(__i386__))
#define SHRED_WIDE_STEPS 1
#include <smmintrin.h>
#include <x86intrin.h>
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
// The same rounds on two vectors of four words, where the processor has SSE4.1;
// the bytes are those of the named-word steps. The stream is one chain of
// dependent rounds, so what counts is the length of a round: here five
// dependent instructions between one round's products and the next.
//
// The words sit in pairs, lane 0 first: A holds words 1, 0, 5, 4 and B holds
// 3, 2, 7, 6, so that every 64-bit half holds a word above its successor.
// Shifting a half left by 5 then rotates the pair, which gives the upper word
// whole and the lower word all but its low five bits; those are the top bits
// of the word after it, the upper word of the same half of the other vector
// (of the other half, for B). The partners of A's words (4, 5, 3, 2) and of
// B's (7, 6, 1, 0) are then each one shuffle of the two new vectors.

// An empty barrier: without it the compiler regroups the sums of a factor
// and puts the constant on the late operand, a step longer.
__attribute__((target("sse4.1"), always_inline)) inline __m128i Held(__m128i v) {
  asm("" : "+x"(v));
  return v;
}

// Partners (4, 5, 3, 2) of A's words from A OR 3 and B OR 3.
__attribute__((target("sse4.1"), always_inline)) inline __m128i PartnersOfA(__m128i a3, __m128i b3) {
  return _mm_castps_si128(_mm_shuffle_ps(_mm_castsi128_ps(a3), _mm_castsi128_ps(b3), _MM_SHUFFLE(1, 0, 2, 3)));
}

// Partners (7, 6, 1, 0) of B's words.
__attribute__((target("sse4.1"), always_inline)) inline __m128i PartnersOfB(__m128i b3, __m128i a3) {
  return _mm_castps_si128(_mm_shuffle_ps(_mm_castsi128_ps(b3), _mm_castsi128_ps(a3), _MM_SHUFFLE(1, 0, 3, 2)));
}

// The two words of each 64-bit half swapped: from the state's order to the
// pair order and back.
__attribute__((target("sse4.1"), always_inline)) inline __m128i SwappedInHalves(__m128i pairs) {
  return _mm_shuffle_epi32(pairs, _MM_SHUFFLE(2, 3, 0, 1));
}

#ifdef __i386__
__attribute__((force_align_arg_pointer))  // 32-bit Windows keeps only 4-byte stack alignment
#endif
__attribute__((target("sse4.1"))) void
GenerateWide(std::uint32_t* s, std::uint8_t* out, std::size_t chunks) {
  const __m128i low = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s));
  const __m128i high = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + 4));
  __m128i a = SwappedInHalves(_mm_unpacklo_epi64(low, high));  // words 1, 0, 5, 4
  __m128i b = SwappedInHalves(_mm_unpackhi_epi64(low, high));  // words 3, 2, 7, 6
  const __m128i one = _mm_set1_epi32(1);
  const __m128i two = _mm_set1_epi32(2);
  const __m128i three = _mm_set1_epi32(3);
  // Factor 2s + c with c = (partner OR 3) - 2, for the first round.
  __m128i a3 = _mm_or_si128(a, three);
  __m128i b3 = _mm_or_si128(b, three);
  __m128i fa = _mm_add_epi32(_mm_sub_epi32(_mm_add_epi32(a, a), two), PartnersOfA(a3, b3));
  __m128i fb = _mm_add_epi32(_mm_sub_epi32(_mm_add_epi32(b, b), two), PartnersOfB(b3, a3));
  for (std::size_t i = 0; i < chunks; ++i, out += 16) {
    for (int round = 0; round < kRounds; ++round) {
      const __m128i ta = _mm_mullo_epi32(a, fa);
      const __m128i tb = _mm_mullo_epi32(b, fb);
      const __m128i shiftedA = _mm_slli_epi64(ta, 5);
      const __m128i shiftedB = _mm_slli_epi64(tb, 5);
      const __m128i carryA = _mm_srli_epi64(tb, 59);  // top of words 2 and 6, under words 1 and 5
      const __m128i carryB =
          _mm_shuffle_epi32(_mm_srli_epi64(ta, 59), _MM_SHUFFLE(1, 0, 3, 2));  // 4 and 0, under 3 and 7
      a = _mm_or_si128(shiftedA, carryA);
      b = _mm_or_si128(shiftedB, carryB);
      // The next factors, each sum grouped by when its terms are ready. B is
      // ready a step after A, so its 2b - 2 is (b - 1) doubled, with the 1
      // taken off before the carry is added.
      a3 = Held(_mm_or_si128(a, three));
      b3 = Held(_mm_or_si128(Held(_mm_or_si128(shiftedB, three)), carryB));
      const __m128i doubledA = Held(_mm_sub_epi32(_mm_add_epi32(a, a), two));
      const __m128i bLessOne = Held(_mm_add_epi32(Held(_mm_sub_epi32(shiftedB, one)), carryB));
      fa = _mm_add_epi32(doubledA, PartnersOfA(a3, b3));
      fb = _mm_add_epi32(_mm_add_epi32(bLessOne, bLessOne), PartnersOfB(b3, a3));
    }
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out), SwappedInHalves(_mm_unpacklo_epi64(a, b)));
  }
  _mm_storeu_si128(reinterpret_cast<__m128i*>(s), SwappedInHalves(_mm_unpacklo_epi64(a, b)));
  _mm_storeu_si128(reinterpret_cast<__m128i*>(s + 4), SwappedInHalves(_mm_unpackhi_epi64(a, b)));
}

bool HasWideSteps() {
  static const bool has = __builtin_cpu_supports("sse4.1");
  return has;
}

void GenerateNamed(std::uint32_t* s, std::uint8_t* out, std::size_t chunks);

// Whether the vector steps take fewer cycles than the named words here: on
// some processors a vector multiply is slow enough to lose. Timed once on a
// small piece, best of a few runs; the bytes are the same either way.
bool VectorIsFaster() {
  if (!HasWideSteps()) return false;
  constexpr std::size_t kChunks = 4096;
  std::vector<std::uint8_t> out(kChunks * 16);
  auto cycles = [&](void (*generate)(std::uint32_t*, std::uint8_t*, std::size_t)) {
    unsigned long long best = ~0ULL;
    for (int run = 0; run < 5; ++run) {
      std::uint32_t state[8] = {1, 2, 3, 4, 5, 6, 7, 8};
      const unsigned long long start = __rdtsc();
      generate(state, out.data(), kChunks);
      best = std::min(best, __rdtsc() - start);
    }
    return best;
  };
  return cycles(GenerateWide) < cycles(GenerateNamed);
}
#endif

inline void StoreLittleEndian(std::uint8_t* out, std::uint32_t value) {
  // One store where the word is little-endian already: GCC does not merge the
  // four byte stores, and they made the named-word steps about 9% slower.
  if constexpr (std::endian::native == std::endian::little) {
    std::memcpy(out, &value, sizeof value);
  } else {
    out[0] = static_cast<std::uint8_t>(value);
    out[1] = static_cast<std::uint8_t>(value >> 8);
    out[2] = static_cast<std::uint8_t>(value >> 16);
    out[3] = static_cast<std::uint8_t>(value >> 24);
  }
}

void GenerateNamed(std::uint32_t* s, std::uint8_t* out, std::size_t chunks) {
  Words w{s[0], s[1], s[2], s[3], s[4], s[5], s[6], s[7]};
  for (std::size_t i = 0; i < chunks; ++i, out += COverwriteStream::kChunkBytes) {
    RunStep(w);
    StoreLittleEndian(out, w.w0);
    StoreLittleEndian(out + 4, w.w1);
    StoreLittleEndian(out + 8, w.w2);
    StoreLittleEndian(out + 12, w.w3);
  }
  s[0] = w.w0, s[1] = w.w1, s[2] = w.w2, s[3] = w.w3, s[4] = w.w4, s[5] = w.w5, s[6] = w.w6, s[7] = w.w7;
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
#ifdef SHRED_WIDE_STEPS
  static const bool vectorIsFastest = VectorIsFaster();
  if ((steps_ == Steps::Vector && HasWideSteps()) || (steps_ == Steps::Fastest && vectorIsFastest)) {
    GenerateWide(state_.get(), out, chunks);
    return true;
  }
#endif
  GenerateNamed(state_.get(), out, chunks);
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
