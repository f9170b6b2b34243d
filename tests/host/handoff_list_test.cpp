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

TEST(HandOffList, TheUtf16ListCarriesAnyNameWholeAndRefusesAnUnendedOne) {
  const std::vector<std::wstring> paths = {L"C:\\x\\a,b.txt", L"C:\\表\\résumé.txt", L"C:\\\U0001F600.txt"};
  const std::wstring block = handoff::WideListBlock(paths);
  const std::wstring expected(L"C:\\x\\a,b.txt\0C:\\表\\résumé.txt\0C:\\\U0001F600.txt\0\0", block.size());
  EXPECT_EQ(block, expected);
  EXPECT_EQ(handoff::ReadWideListBlock(block), paths);
  // Empty names would end the list early; they are never written.
  EXPECT_EQ(handoff::ReadWideListBlock(handoff::WideListBlock({L"a", L"", L"b"})),
            (std::vector<std::wstring>{L"a", L"b"}));
  EXPECT_EQ(handoff::ReadWideListBlock(handoff::WideListBlock({})), std::vector<std::wstring>{});
  // Memory that ends inside a name or before the closing NUL is not a list.
  EXPECT_FALSE(handoff::ReadWideListBlock(block.substr(0, block.size() - 1)));
  EXPECT_FALSE(handoff::ReadWideListBlock(L"C:\\a"));
  EXPECT_FALSE(handoff::ReadWideListBlock(L""));
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

    // The UTF-16 reader on the same bytes: no crash, names from inside.
    const std::wstring wide(input.begin(), input.end());
    if (const auto names = handoff::ReadWideListBlock(wide)) {
      for (const std::wstring& name : *names) ASSERT_NE(wide.find(name), std::wstring::npos);
    }
  }
}

}  // namespace
