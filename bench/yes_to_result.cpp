// Times the real binshredder.exe the way a user meets it: started on one
// file, from the press of "Yes" to the result box, with the windows found and
// pressed from outside. Beside it, in the same run and the same process
// kind, the time to make the same bytes of the overwrite stream in memory
// (the floor the writing should hide behind). Or started with -F on a drive,
// the free-space erase from "Yes" to the result. Prints seconds; never part
// of the test suite.
//
//   yes_to_result.exe <binshredder.exe> <file> <passes>
//   yes_to_result.exe <binshredder.exe> -F <drive root>
#include <windows.h>
// after windows.h, which it needs
#include <shellapi.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "shredder/engine/overwrite_stream.h"
#include "tools/uidriver/ui_driver.h"

namespace {

double Seconds(const LARGE_INTEGER& from, const LARGE_INTEGER& to) {
  LARGE_INTEGER frequency;
  QueryPerformanceFrequency(&frequency);
  return static_cast<double>(to.QuadPart - from.QuadPart) / static_cast<double>(frequency.QuadPart);
}

LARGE_INTEGER Now() {
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  return now;
}

// The stream the wiper makes for `passes` passes over `length` bytes, in its
// pieces, into memory.
double StreamSeconds(std::uint64_t length, int passes) {
  const std::uint32_t seed[8] = {0x1234567, 0x89ABCDE, 0x13579BD, 0x2468ACE, 0x0F0F0F0, 0x3C3C3C3, 0x5A5A5A5, 0xBEEF};
  COverwriteStream stream;
  stream.SetWordCount(COverwriteStream::kWordCount);
  stream.Seed(seed);
  constexpr std::size_t kPieceChunks = (std::size_t{1} << 20) / COverwriteStream::kChunkBytes;
  std::vector<std::uint8_t> piece(kPieceChunks * COverwriteStream::kChunkBytes);
  const LARGE_INTEGER start = Now();
  for (int pass = 0; pass < passes; ++pass) {
    for (std::uint64_t left = length / COverwriteStream::kChunkBytes + 1; left > 0;) {
      const auto chunks = static_cast<std::size_t>(left < kPieceChunks ? left : kPieceChunks);
      stream.Generate(piece.data(), chunks);
      left -= chunks;
    }
  }
  return Seconds(start, Now());
}

// Starts the program with `commandLine`, answers its question Yes and times
// the way to its result box; prints the seconds (and `stream`, when given)
// and gives back the result's text, empty when there was no question.
std::wstring YesToResult(const std::wstring& commandLine, const double* stream) {
  uidrv::Process process = uidrv::Start(commandLine);
  HWND question = uidrv::WaitDialog("確認", 30000, process.pid);
  if (!question) return {};
  const LARGE_INTEGER yes = Now();
  uidrv::Press(question, IDYES);
  HWND result = nullptr;
  while (!result) {
    for (const uidrv::WindowInfo& window : uidrv::TopLevelWindows(true, process.pid)) {
      if (window.className == uidrv::kDialogClass && uidrv::WideCaption(window.hwnd) == L"情報") result = window.hwnd;
    }
    if (!result) Sleep(10);  // a tighter watch would take a core from the program
  }
  const double seconds = Seconds(yes, Now());
  const std::wstring said = uidrv::WideMessageText(result);
  uidrv::Press(result, IDOK);
  uidrv::WaitExit(process, 30000);
  if (stream) std::printf("stream_seconds=%.3f\n", *stream);
  std::printf("yes_to_result_seconds=%.3f\n", seconds);
  return said;
}

}  // namespace

int main() {
  int argc = 0;
  wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  if (!argv || argc != 4) {
    std::fprintf(stderr, "usage: yes_to_result.exe <binshredder.exe> <file> <passes> | <binshredder.exe> -F <root>\n");
    return 2;
  }
  const std::wstring program = argv[1];
  if (std::wstring(argv[2]) == L"-F") {
    const std::wstring said = YesToResult(L"\"" + program + L"\" -F \"" + std::wstring(argv[3]) + L"\"", nullptr);
    return said.find(L"を完全に抹消しました。") != std::wstring::npos ? 0 : 1;
  }
  const std::wstring file = argv[2];
  const int passes = _wtoi(argv[3]);
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!GetFileAttributesExW(file.c_str(), GetFileExInfoStandard, &data)) {
    std::fprintf(stderr, "no file %ls\n", file.c_str());
    return 2;
  }
  const std::uint64_t length = (std::uint64_t{data.nFileSizeHigh} << 32) | data.nFileSizeLow;
  const double stream = StreamSeconds(length, passes);
  const std::wstring said = YesToResult(L"\"" + program + L"\" \"" + file + L"\"", &stream);
  std::printf("result_ok=%d\n", said == L"1 個のファイルを完全に抹消しました。" ? 1 : 0);
  return 0;
}
