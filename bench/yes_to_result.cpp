// Times the real binshredder.exe the way a user meets it: started on one
// file, from the press of "Yes" to the result box, with the windows found and
// pressed from outside. Beside it, in the same run and the same process
// kind, the time to make the same bytes of the overwrite stream in memory
// (the floor the writing should hide behind). Or started with -F on a drive,
// the free-space erase from "Yes" to the result. Or started with -C, the
// recycle-bin erase from "Yes" to the result, while its progress window is
// asked every 20 ms whether it answers (SendMessageTimeout with WM_NULL, as
// Windows asks before it calls a window hung), and its stop button pressed
// after so many milliseconds when asked to. Prints seconds, the answer
// times and the result; never part of the test suite.
//
//   yes_to_result.exe <binshredder.exe> <file> <passes>
//   yes_to_result.exe <binshredder.exe> -F <drive root>
//   yes_to_result.exe <binshredder.exe> -C <stop after ms, 0 for none>
#include <windows.h>
// after windows.h, which it needs
#include <shellapi.h>

#include <algorithm>
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

std::string Utf8(const std::wstring& text) {
  std::string narrow(static_cast<std::size_t>(text.size()) * 3 + 1, '\0');
  const int length = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), narrow.data(),
                                         static_cast<int>(narrow.size()), nullptr, nullptr);
  narrow.resize(static_cast<std::size_t>(std::max(length, 0)));
  return narrow;
}

HWND ResultBox(DWORD pid) {
  for (const uidrv::WindowInfo& window : uidrv::TopLevelWindows(true, pid)) {
    if (window.className != uidrv::kDialogClass) continue;
    const std::wstring caption = uidrv::WideCaption(window.hwnd);
    if (caption == L"情報" || caption == L"エラー") return window.hwnd;
  }
  return nullptr;
}

// The recycle-bin erase, its progress window asked all along whether it
// answers, stopped after `stopAfterMs` when that is not 0; 2 when no
// question came.
int RecycleBinAnswers(const std::wstring& program, int stopAfterMs) {
  uidrv::Process process = uidrv::Start(L"\"" + program + L"\" -C");
  HWND question = uidrv::WaitDialog("確認", 30000, process.pid);
  if (!question) return 2;
  const LARGE_INTEGER yes = Now();
  uidrv::Press(question, IDYES);
  HWND progress = uidrv::WaitDialog("抹消中...", 30000, process.pid);
  std::vector<double> answers;
  double stoppedAt = 0;
  HWND result = nullptr;
  while (!(result = ResultBox(process.pid))) {
    if (progress && IsWindow(progress)) {
      DWORD_PTR ignored = 0;
      const LARGE_INTEGER asked = Now();
      if (SendMessageTimeoutW(progress, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 5000, &ignored)) {
        answers.push_back(Seconds(asked, Now()) * 1000);
      }
      if (stopAfterMs > 0 && stoppedAt == 0 && Seconds(yes, Now()) * 1000 >= stopAfterMs) {
        stoppedAt = Seconds(yes, Now());
        uidrv::Press(progress, 1000);  // 中止
      }
    }
    Sleep(20);
  }
  const double seconds = Seconds(yes, Now());
  const std::wstring said = uidrv::WideMessageText(result);
  uidrv::Press(result, IDOK);
  uidrv::WaitExit(process, 30000);
  std::sort(answers.begin(), answers.end());
  const auto at = [&answers](double share) {
    return answers.empty() ? 0.0 : answers[static_cast<std::size_t>(share * static_cast<double>(answers.size() - 1))];
  };
  std::printf("yes_to_result_seconds=%.3f\n", seconds);
  if (stoppedAt > 0) std::printf("stop_pressed_at_seconds=%.3f\n", stoppedAt);
  std::printf(
      "answers=%zu median_ms=%.1f p99_ms=%.1f max_ms=%.1f over_50ms=%zu\n", answers.size(), at(0.5), at(0.99), at(1.0),
      static_cast<std::size_t>(std::count_if(answers.begin(), answers.end(), [](double ms) { return ms > 50; })));
  std::printf("result=%s\n", Utf8(said).c_str());
  return 0;
}

}  // namespace

int main() {
  int argc = 0;
  wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  if (!argv || argc != 4) {
    std::fprintf(stderr,
                 "usage: yes_to_result.exe <binshredder.exe> <file> <passes> | <binshredder.exe> -F <root> | "
                 "<binshredder.exe> -C <stop after ms>\n");
    return 2;
  }
  const std::wstring program = argv[1];
  if (std::wstring(argv[2]) == L"-C") return RecycleBinAnswers(program, _wtoi(argv[3]));
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
