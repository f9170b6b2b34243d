#include "common/handoff_list.h"

#include <gtest/gtest.h>

#include <random>

#include "common/cp932.h"

namespace {

using Paths = std::vector<std::string>;

// "C:\表\a.txt": the trail byte of 表 is a backslash; 0x81 0x43 is "，", a
// full-width comma whose trail byte is in the letter range.
const std::string kJapanesePath = "C:\\\x95\x5C\\a.txt";
const std::string kFullWidthCommaPath = "C:\\x\\\x81\x43\x8E\xA6.txt";

TEST(HandOffList, OneFileMakesATenByteBlock) {
  const std::string text = handoff::ListText({"C:\\a.txt"});
  EXPECT_EQ(text, ",C:\\a.txt");
  EXPECT_EQ(text.size() + 1, 10u);  // the comma, 8 characters, the NUL
}

TEST(HandOffList, ThreeItemsKeepTheirOrderAndSplitBack) {
  const Paths paths = {"C:\\x\\a.txt", "C:\\x\\folder", "\\\\server\\share\\b.txt"};
  const std::string text = handoff::ListText(paths);
  EXPECT_EQ(text, ",C:\\x\\a.txt,C:\\x\\folder,\\\\server\\share\\b.txt");
  EXPECT_EQ(text.size() + 1, 3 + 10 + 11 + 20 + 1u);
  EXPECT_EQ(handoff::SplitListText(text), paths);
  EXPECT_EQ(handoff::ListText({}), "");
}

TEST(HandOffList, SplittingSkipsRunsOfSeparatorsAndBothEnds) {
  EXPECT_EQ(handoff::SplitListText(",,a,,,b,"), (Paths{"a", "b"}));
  EXPECT_EQ(handoff::SplitListText("a"), (Paths{"a"}));
  EXPECT_TRUE(handoff::SplitListText("").empty());
  EXPECT_TRUE(handoff::SplitListText(",,,").empty());
  EXPECT_EQ(handoff::SplitListText("C:\\x\\a.txt,C:\\x\\b.txt"), (Paths{"C:\\x\\a.txt", "C:\\x\\b.txt"}));
}

TEST(HandOffList, DoubleByteCharactersAreNeverSplit) {
  const Paths paths = {kJapanesePath, kFullWidthCommaPath};
  EXPECT_EQ(handoff::SplitListText(handoff::ListText(paths)), paths);
  // A lead byte right before a separator takes the next byte as its second
  // byte; a lone lead byte at the very end stays a piece of its own.
  EXPECT_EQ(handoff::SplitListText("\x95,a"), (Paths{"\x95,a"}));
  EXPECT_EQ(handoff::SplitListText("a,\x95"), (Paths{"a", "\x95"}));
}

TEST(HandOffList, DropBlockLayout) {
  const std::string block = handoff::DropFilesBlock({"C:\\a.txt", kJapanesePath});
  ASSERT_EQ(block.size(), 20 + 9 + kJapanesePath.size() + 1 + 1);
  EXPECT_EQ(block.substr(0, 4), std::string("\x14\0\0\0", 4));  // the names start at 20
  EXPECT_EQ(block.substr(4, 16), std::string(16, '\0'));        // no point, not wide
  EXPECT_EQ(block.substr(20), "C:\\a.txt" + std::string(1, '\0') + kJapanesePath + std::string(2, '\0'));
}

TEST(HandOffList, DropBlockReadsBackAndRefusesWhatItCannotTrust) {
  const Paths paths = {"C:\\x\\a,b.txt", kJapanesePath};
  EXPECT_EQ(handoff::ReadDropFilesBlock(handoff::DropFilesBlock(paths)), paths);
  EXPECT_EQ(handoff::ReadDropFilesBlock(handoff::DropFilesBlock({})), Paths{});

  std::string wide = handoff::DropFilesBlock({"C:\\a"});
  wide[16] = 1;
  EXPECT_FALSE(handoff::ReadDropFilesBlock(wide));
  std::string unterminated = handoff::DropFilesBlock({"C:\\a"});
  unterminated.resize(unterminated.size() - 2);
  EXPECT_FALSE(handoff::ReadDropFilesBlock(unterminated));
  std::string outside = handoff::DropFilesBlock({"C:\\a"});
  outside[0] = 100;
  EXPECT_FALSE(handoff::ReadDropFilesBlock(outside));
  outside[0] = 4;  // inside the header
  EXPECT_FALSE(handoff::ReadDropFilesBlock(outside));
  EXPECT_FALSE(handoff::ReadDropFilesBlock(std::string(19, '\0')));
}

TEST(HandOffList, CommaInANameComesThroughWholeOnlyWithTheDropList) {
  // Beside an existing "C:\x\a" the split text would name a file the user
  // never chose.
  const Paths selected = {"C:\\x\\a,b.txt"};
  const std::string text = handoff::ListText(selected);
  EXPECT_EQ(handoff::SplitListText(text), (Paths{"C:\\x\\a", "b.txt"}));
  EXPECT_EQ(handoff::HandOffItems(text, std::nullopt), (Paths{"C:\\x\\a", "b.txt"}));
  EXPECT_EQ(handoff::HandOffItems(text, selected), selected);
}

TEST(HandOffList, TextThatDiffersFromTheDropListIsSplitInstead) {
  const Paths dropped = {"C:\\x\\a,b.txt"};
  // Another program replaced the text but left a drop list behind.
  EXPECT_EQ(handoff::HandOffItems(",C:\\y\\c.txt", dropped), (Paths{"C:\\y\\c.txt"}));
  // The text without its leading comma is not the writer's text either.
  EXPECT_EQ(handoff::HandOffItems("C:\\x\\a,b.txt", dropped), (Paths{"C:\\x\\a", "b.txt"}));
  // A drop list in another order is not the same list.
  EXPECT_EQ(handoff::HandOffItems(",b,a", Paths{"a", "b"}), (Paths{"b", "a"}));
  EXPECT_TRUE(handoff::HandOffItems("", Paths{}).empty());
  // Empty names in an agreeing drop list are not items.
  EXPECT_EQ(handoff::HandOffItems(",a,", Paths{"a", ""}), (Paths{"a"}));
}

TEST(HandOffList, OnlyDrivePathsAndSharesAreAbsolute) {
  for (const std::string path : {"C:\\a.txt", "z:\\", "C:\\\x95\x5C", "\\\\server\\share", "\\\\server\\share\\a.txt",
                                 "\\\\\x95\x5C\\share\\a"}) {
    EXPECT_TRUE(handoff::IsAbsolutePath(path)) << path;
  }
  for (const std::string path : {"", "a.txt", "b.txt", "C:", "C:a.txt", "C:/a.txt", "1:\\a", "\\a.txt", "\\\\",
                                 "\\\\server", "\\\\server\\", "\\\\server\\\\share", "\\\\\\share\\a", "\\\\.\\C:",
                                 "\\\\.\\PhysicalDrive0", "\\\\?\\C:\\a.txt", "..\\a.txt", "\x82\x60:\\a"}) {
    EXPECT_FALSE(handoff::IsAbsolutePath(path)) << path;
  }
}

// Offsets where `item` may stand in `input`: right after a separator (or at
// the start), ending before one (or at the end), on character boundaries.
bool IsPieceBetweenSeparators(const std::string& input, const std::vector<bool>& boundary, std::size_t at,
                              const std::string& item) {
  const std::size_t end = at + item.size();
  if (item.empty() || end > input.size() || input.compare(at, item.size(), item) != 0) return false;
  if (!boundary[at] || (end < input.size() && !boundary[end])) return false;
  if (at > 0 && input[at - 1] != ',') return false;
  return end == input.size() || input[end] == ',';
}

TEST(HandOffList, FuzzedReadersOnlyEverReturnPiecesOfTheirInput) {
  std::mt19937 random(20240611);
  // Bytes that matter: separators, lead bytes, trail bytes that look like
  // ASCII, the NUL, and plain text.
  const std::string alphabet = std::string(",,,\\:Ca.\x95\x5C\x81\x43\xFC\x40\x9F", 16) + std::string(1, '\0');
  for (int round = 0; round < 4000; ++round) {
    std::string input(random() % 40, '\0');
    for (char& c : input)
      c = (random() % 4 == 0) ? static_cast<char>(random() % 256) : alphabet[random() % alphabet.size()];

    // Character boundaries as the splitter must see them.
    std::vector<bool> boundary(input.size() + 1, false);
    for (std::size_t i = 0; i < input.size(); i += (cp932::IsLeadByte(input[i]) && i + 1 < input.size()) ? 2 : 1) {
      boundary[i] = true;
    }
    boundary[input.size()] = true;

    std::size_t from = 0;
    std::size_t total = 0;
    for (const std::string& item : handoff::SplitListText(input)) {
      std::size_t at = from;
      while (at < input.size() && !IsPieceBetweenSeparators(input, boundary, at, item)) ++at;
      ASSERT_LT(at, input.size()) << "round " << round << ": piece not found in order";
      from = at + item.size();
      total += item.size();
    }
    // Nothing but separators was dropped.
    std::size_t separators = 0;
    for (std::size_t i = 0; i < input.size(); ++i) separators += boundary[i] && input[i] == ',';
    ASSERT_EQ(total + separators, input.size()) << "round " << round;

    // The drop-list reader on random bytes: no crash, names from inside.
    const auto names = handoff::ReadDropFilesBlock(input);
    if (names) {
      for (const std::string& name : *names) ASSERT_NE(input.find(name), std::string::npos);
    }
    // The decision rule with a drop list read from the same bytes.
    for (const std::string& item : handoff::HandOffItems(input, names)) ASSERT_FALSE(item.empty());
  }
}

}  // namespace
