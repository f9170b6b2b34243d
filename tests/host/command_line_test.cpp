#include "shredder/app/command_line.h"

#include <gtest/gtest.h>

namespace {

using app::CommandTail;
using app::RouteCommandLine;
using app::RunMode;

constexpr char kModule[] = "C:\\Tools\\binshredder.exe";

// The raw line as the shell builds it: quoted module path, one blank, switch.
std::string ShellLine(const std::string& tail) { return std::string("\"") + kModule + "\" " + tail; }

app::Route RouteShell(const std::string& tail) { return RouteCommandLine(tail, ShellLine(tail), kModule); }

TEST(CommandTail, SkipsQuotedOrBareProgramNameAndLeadingBlanks) {
  EXPECT_EQ(CommandTail("\"C:\\a b\\x.exe\" -C"), "-C");
  EXPECT_EQ(CommandTail("\"C:\\a b\\x.exe\"   \t-D"), "-D");
  EXPECT_EQ(CommandTail("C:\\x.exe -C"), "-C");
  EXPECT_EQ(CommandTail("\"C:\\x.exe\""), "");
  EXPECT_EQ(CommandTail("x.exe"), "");
  EXPECT_EQ(CommandTail(""), "");
  // An unterminated quote takes the whole line as the program name.
  EXPECT_EQ(CommandTail("\"C:\\x.exe -C"), "");
  // Trailing blanks of the tail are kept: "-C " is not the switch.
  EXPECT_EQ(CommandTail("\"C:\\x.exe\" -C "), "-C ");
}

TEST(CommandTail, StepsOverDoubleByteCharactersInTheQuotedName) {
  // "表" is 0x95 0x5C and "ソ" is 0x83 0x5C in code page 932; a quote byte as a
  // trail byte cannot occur, but the lead byte must take its partner along.
  const std::string raw = "\"C:\\\x95\x5C\\\x83\x5C.exe\" \"C:\\a.txt\"";
  EXPECT_EQ(CommandTail(raw), "\"C:\\a.txt\"");
  // A lead byte right before the closing quote would swallow it: the name
  // then runs to the end of the line, as the runtime's own parser does.
  EXPECT_EQ(CommandTail("\"C:\\\x95\" -C"), "");
}

TEST(RouteCommandLine, EmptyTailIsWindowed) {
  EXPECT_EQ(RouteShell("").mode, RunMode::Windowed);
  EXPECT_EQ(RouteCommandLine("", std::string("\"") + kModule + "\"", kModule).mode, RunMode::Windowed);
}

TEST(RouteCommandLine, ExactSwitchesWithTheQuotedModulePath) {
  EXPECT_EQ(RouteShell("-C").mode, RunMode::RecycleBin);
  EXPECT_EQ(RouteShell("-D").mode, RunMode::HandOff);
  EXPECT_TRUE(RouteShell("-C").tail.empty());
}

TEST(RouteCommandLine, AnythingButAnExactSwitchIsAFileListWithTheWholeTail) {
  for (const std::string tail : {"-c", "-d", "-C ", "-C x", "-D \"C:\\a.txt\"", "-CD", "\"C:\\a b.txt\" \"C:\\c.txt\""}) {
    const app::Route route = RouteShell(tail);
    EXPECT_EQ(route.mode, RunMode::CommandLineFiles) << tail;
    EXPECT_EQ(route.tail, tail);
  }
}

TEST(RouteCommandLine, SwitchWithAnUnquotedProgramNameIsWindowed) {
  // The skip counts two quotes that are not there and overshoots the switch.
  EXPECT_EQ(RouteCommandLine("-C", std::string(kModule) + " -C", kModule).mode, RunMode::Windowed);
  EXPECT_EQ(RouteCommandLine("-D", std::string(kModule) + " -D", kModule).mode, RunMode::Windowed);
}

TEST(RouteCommandLine, RawLineShorterThanTheSkipIsWindowed) {
  EXPECT_EQ(RouteCommandLine("-C", "x -C", kModule).mode, RunMode::Windowed);
  EXPECT_EQ(RouteCommandLine("", "", kModule).mode, RunMode::Windowed);
  // Exactly at the end: nothing left to compare.
  EXPECT_EQ(RouteCommandLine("", std::string("\"") + kModule + "\" ", kModule).mode, RunMode::Windowed);
  // One byte of the switch only.
  EXPECT_EQ(RouteCommandLine("-C", std::string("\"") + kModule + "\" -", kModule).mode, RunMode::Windowed);
}

TEST(RouteCommandLine, SwitchAfterTwoBlanksIsNotRecognised) {
  // The tail is "-C" (blanks are skipped) but the raw line has the switch one
  // byte further on than the rule looks.
  const std::string raw = std::string("\"") + kModule + "\"  -C";
  EXPECT_EQ(RouteCommandLine(CommandTail(raw), raw, kModule).mode, RunMode::Windowed);
}

}  // namespace
