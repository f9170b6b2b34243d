#include "shredder/app/command_line.h"

#include <gtest/gtest.h>

namespace {

using app::CommandTail;
using app::RouteCommandLine;
using app::RunMode;

constexpr wchar_t kModule[] = L"C:\\Tools\\binshredder.exe";

// The raw line as the shell builds it: quoted module path, one blank, switch.
std::wstring ShellLine(const std::wstring& tail) {
  return std::wstring(L"\"") + kModule + L"\" " + tail;
}

app::Route RouteShell(const std::wstring& tail) {
  return RouteCommandLine(tail, ShellLine(tail), kModule);
}

TEST(CommandTail, SkipsQuotedOrBareProgramNameAndLeadingBlanks) {
  EXPECT_EQ(CommandTail(L"\"C:\\a b\\x.exe\" -C"), L"-C");
  EXPECT_EQ(CommandTail(L"\"C:\\a b\\x.exe\"   \t-D"), L"-D");
  EXPECT_EQ(CommandTail(L"C:\\x.exe -C"), L"-C");
  EXPECT_EQ(CommandTail(L"\"C:\\x.exe\""), L"");
  EXPECT_EQ(CommandTail(L"x.exe"), L"");
  EXPECT_EQ(CommandTail(L""), L"");
  // An unterminated quote takes the whole line as the program name.
  EXPECT_EQ(CommandTail(L"\"C:\\x.exe -C"), L"");
  // Trailing blanks of the tail are kept: "-C " is not the switch.
  EXPECT_EQ(CommandTail(L"\"C:\\x.exe\" -C "), L"-C ");
}

TEST(CommandTail, KeepsEveryNameAsItWasWritten) {
  // Read from the wide command line: nothing is spelled in a code page, so
  // "é" stays "é" and "¥" stays "¥".
  // (Outside the assertion, whose text must be spelled in code page 932.)
  const std::wstring tail = L"\"C:\\résumé.txt\" \"C:\\a¥b.txt\"";
  EXPECT_EQ(CommandTail(L"\"C:\\表示\\x.exe\" " + tail), tail);
}

TEST(RouteCommandLine, EmptyTailIsWindowed) {
  EXPECT_EQ(RouteShell(L"").mode, RunMode::Windowed);
  EXPECT_EQ(RouteCommandLine(L"", std::wstring(L"\"") + kModule + L"\"", kModule).mode, RunMode::Windowed);
}

TEST(RouteCommandLine, ExactSwitchesWithTheQuotedModulePath) {
  EXPECT_EQ(RouteShell(L"-C").mode, RunMode::RecycleBin);
  EXPECT_EQ(RouteShell(L"-D").mode, RunMode::HandOff);
  EXPECT_EQ(RouteShell(L"-L").mode, RunMode::CleanUp);
  EXPECT_TRUE(RouteShell(L"-C").tail.empty());
}

TEST(RouteCommandLine, AnythingButAnExactSwitchIsAFileListWithTheWholeTail) {
  for (const std::wstring tail :
       {L"-c", L"-d", L"-l", L"-L ", L"-C ", L"-C x", L"-D \"C:\\a.txt\"", L"-CD", L"\"C:\\a b.txt\" \"C:\\c.txt\""}) {
    const app::Route route = RouteShell(tail);
    EXPECT_EQ(route.mode, RunMode::CommandLineFiles) << ::testing::PrintToString(tail);
    EXPECT_EQ(route.tail, tail);
  }
}

TEST(RouteCommandLine, SwitchWithAnUnquotedProgramNameIsWindowed) {
  // The skip counts two quotes that are not there and overshoots the switch.
  EXPECT_EQ(RouteCommandLine(L"-C", std::wstring(kModule) + L" -C", kModule).mode, RunMode::Windowed);
  EXPECT_EQ(RouteCommandLine(L"-D", std::wstring(kModule) + L" -D", kModule).mode, RunMode::Windowed);
}

TEST(RouteCommandLine, RawLineShorterThanTheSkipIsWindowed) {
  EXPECT_EQ(RouteCommandLine(L"-C", L"x -C", kModule).mode, RunMode::Windowed);
  EXPECT_EQ(RouteCommandLine(L"", L"", kModule).mode, RunMode::Windowed);
  // Exactly at the end: nothing left to compare.
  EXPECT_EQ(RouteCommandLine(L"", std::wstring(L"\"") + kModule + L"\" ", kModule).mode, RunMode::Windowed);
  // One byte of the switch only.
  EXPECT_EQ(RouteCommandLine(L"-C", std::wstring(L"\"") + kModule + L"\" -", kModule).mode, RunMode::Windowed);
}

TEST(RouteCommandLine, SwitchAfterTwoBlanksIsNotRecognised) {
  // The tail is "-C" (blanks are skipped) but the raw line has the switch one
  // byte further on than the rule looks.
  const std::wstring raw = std::wstring(L"\"") + kModule + L"\"  -C";
  EXPECT_EQ(RouteCommandLine(CommandTail(raw), raw, kModule).mode, RunMode::Windowed);
}

TEST(RouteCommandLine, FreeSpaceTakesOnlyTheExactLineAndAnythingElseStaysAFileList) {
  const app::Route exact = RouteShell(L"-F \"D:\\\"");
  EXPECT_EQ(exact.mode, RunMode::FreeSpace);
  EXPECT_EQ(exact.driveRoot, L"D:\\");
  EXPECT_EQ(RouteShell(L"-F \"d:\\\"").driveRoot, L"D:\\");
  for (const std::wstring tail : {L"-F  \"D:\\\"", L"-F \"D:\"", L"-F \"D:\\x\"", L"-F \"D:\\\" \"E:\\\"", L"-F D:\\",
                                  L"-f \"D:\\\"", L"-F \"1:\\\"", L"-F \"\\\\server\\share\\\"", L"-F"}) {
    const app::Route route = RouteShell(tail);
    EXPECT_EQ(route.mode, RunMode::CommandLineFiles) << ::testing::PrintToString(tail);
    EXPECT_EQ(route.tail, tail);
  }
  // The exact tail, but not after the quoted path and one blank.
  for (const std::wstring& raw : {std::wstring(kModule) + L" -F \"D:\\\"", ShellLine(L" -F \"D:\\\"")}) {
    EXPECT_EQ(RouteCommandLine(CommandTail(raw), raw, kModule).mode, RunMode::CommandLineFiles)
        << ::testing::PrintToString(raw);
  }
}

}  // namespace
