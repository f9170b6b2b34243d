#include "shredder/engine/stream_seed.h"

#include <windows.h>

namespace engine {

// Word 0 is the tick count. The others make two files wiped in the same
// millisecond, or by two processes, start different streams: the
// performance counter, the system time, the process and thread, a count of
// the files wiped by this process (never zero in the bits the seeding
// keeps, so the state is never all zero) and a stack address.
void MakeSeed(const WorkContext& work, std::uint32_t (&words)[8]) {
  static std::uint32_t wiped = 0;
  ++wiped;
  LARGE_INTEGER counter{};
  QueryPerformanceCounter(&counter);
  FILETIME now{};
  GetSystemTimeAsFileTime(&now);
  words[0] = GetTickCount();
  words[1] = counter.LowPart;
  words[2] = now.dwLowDateTime;
  words[3] = GetCurrentProcessId();
  words[4] = GetCurrentThreadId();
  words[5] = 1 + (wiped & 0x1FFFFFFF);
  words[6] = static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(&counter));
  words[7] = static_cast<std::uint32_t>(counter.LowPart >> 14) ^ static_cast<std::uint32_t>(counter.HighPart);
  if (work.seed) work.seed(words);
}

}  // namespace engine
