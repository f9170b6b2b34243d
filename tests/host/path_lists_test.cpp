#include "shredder/engine/path_lists.h"

#include <gtest/gtest.h>

#include <random>

namespace {

using Paths = std::vector<std::wstring>;
using engine::CommandLineItems;
using engine::ItemCheck;

// In code page 932 the trail byte of 表 is a backslash; in UTF-16 it is one character.
const std::wstring kHyou = L"表";

TEST(CommandLineItems, QuotedPathsSeparatedByQuoteBlankQuote) {
  EXPECT_EQ(CommandLineItems(L"\"C:\\a b.txt\" \"C:\\c.txt\""), (Paths{L"C:\\a b.txt", L"C:\\c.txt"}));
  EXPECT_EQ(CommandLineItems(L"\"C:\\" + kHyou + L"\\a.txt\""), (Paths{L"C:\\" + kHyou + L"\\a.txt"}));
  // Text after the closing quote that does not open another path ends the list.
  EXPECT_EQ(CommandLineItems(L"\"C:\\a.txt\" "), (Paths{L"C:\\a.txt"}));
  EXPECT_EQ(CommandLineItems(L"\"C:\\a.txt\"  \"C:\\b.txt\""), (Paths{L"C:\\a.txt"}));
  EXPECT_EQ(CommandLineItems(L"\"C:\\a.txt\" x \"C:\\b.txt\""), (Paths{L"C:\\a.txt"}));
}

TEST(CommandLineItems, TextBeforeTheFirstQuoteIsNoPath) {
  EXPECT_EQ(CommandLineItems(L"C:\\x.txt \"C:\\y.txt\""), (Paths{L"C:\\y.txt"}));
  EXPECT_TRUE(CommandLineItems(L"C:\\x.txt").empty());
  EXPECT_TRUE(CommandLineItems(L"").empty());
  EXPECT_TRUE(CommandLineItems(L"-c").empty());
}

TEST(CommandLineItems, ACommaIsPartOfTheName) {
  EXPECT_EQ(CommandLineItems(L"\"C:\\x\\a,b.txt\""), (Paths{L"C:\\x\\a,b.txt"}));
  EXPECT_EQ(CommandLineItems(L"\",C:\\a,,C:\\b,\" \"C:\\c\""), (Paths{L",C:\\a,,C:\\b,", L"C:\\c"}));
}

TEST(CommandLineItems, EmptyPathsAreLeftOutAndAnUnclosedPathVoidsTheLine) {
  EXPECT_EQ(CommandLineItems(L"\"C:\\a\" \"\" \"C:\\b\""), (Paths{L"C:\\a", L"C:\\b"}));
  EXPECT_TRUE(CommandLineItems(L"\"\"").empty());
  EXPECT_TRUE(CommandLineItems(L"\"C:\\a\" \"C:\\b").empty());
  EXPECT_TRUE(CommandLineItems(L"\"C:\\a\" \"C:\\b\" \"").empty());
  EXPECT_TRUE(CommandLineItems(L"\"").empty());
}

TEST(CheckItem, OnlyAbsolutePathsTheSystemCanTakeAreAccepted) {
  EXPECT_EQ(engine::CheckItem(L"C:\\a.txt"), ItemCheck::Accepted);
  EXPECT_EQ(engine::CheckItem(L"\\\\server\\share\\a.txt"), ItemCheck::Accepted);
  for (const wchar_t* relative : {L"", L" ", L"a.txt", L"b.txt", L"C:a.txt", L"\\a.txt", L"..\\a.txt", L"\\\\.\\C:"}) {
    EXPECT_EQ(engine::CheckItem(relative), ItemCheck::NotAbsolute) << relative;
  }
  // Any length the system takes in the long form; only beyond it is refused.
  const std::wstring longest = L"C:\\" + std::wstring(32767 - 8, L'x');  // with "\\?\" and the terminator
  EXPECT_EQ(engine::CheckItem(longest), ItemCheck::Accepted);
  EXPECT_EQ(engine::CheckItem(longest + L"y"), ItemCheck::TooLong);
  EXPECT_EQ(engine::CheckItem(std::wstring(40000, L'r')), ItemCheck::NotAbsolute);
}

// The earlier rule for the command tail, step by step as it was written: it
// counts the items for the progress bar in one pass and builds a comma list
// in another, which a comma in a name then splits.
int ReferenceCount(std::wstring line) {
  const std::size_t quote = line.find(L'"');
  if (quote != std::wstring::npos) line.erase(0, quote + 1);
  int count = 0;
  for (std::size_t at; (at = line.find(L"\" \"")) != std::wstring::npos;) {
    ++count;
    line.erase(0, at + 3);
  }
  if (!line.empty() && line.find(L'"') != std::wstring::npos) ++count;
  return count;
}

Paths ReferenceItems(std::wstring line) {
  const std::size_t quote = line.find(L'"');
  line.erase(0, quote == std::wstring::npos ? 0 : quote + 1);
  std::wstring replaced;
  for (std::size_t i = 0; i < line.size();) {
    if (line.compare(i, 3, L"\" \"") == 0) {
      replaced += L',';
      i += 3;
    } else {
      replaced += line[i++];
    }
  }
  const std::size_t cut = replaced.find(L'"');
  std::wstring list = (cut == std::wstring::npos ? std::wstring() : replaced.substr(0, cut)) + L",";
  Paths items;
  while (!list.empty() && list.find(L',') != std::wstring::npos) {
    const std::size_t comma = list.find(L',');
    items.push_back(list.substr(0, comma));
    list.erase(0, comma + 1);
  }
  return items;
}

TEST(CommandLineItems, ReferenceRuleReadsTheKnownExamples) {
  EXPECT_EQ(ReferenceItems(L"\"C:\\a b.txt\" \"C:\\c.txt\""), (Paths{L"C:\\a b.txt", L"C:\\c.txt"}));
  EXPECT_EQ(ReferenceCount(L"\"C:\\a b.txt\" \"C:\\c.txt\""), 2);
  EXPECT_EQ(ReferenceItems(L"C:\\a.txt"), (Paths{L""}));
  EXPECT_EQ(ReferenceCount(L"C:\\a.txt"), 0);
  EXPECT_EQ(ReferenceItems(L"\"C:\\x\\a,b.txt\""), (Paths{L"C:\\x\\a", L"b.txt"}));
  EXPECT_EQ(ReferenceCount(L"\"C:\\x\\a,b.txt\""), 1);
}

// A comma-free command tail: mostly well-formed lists of quoted paths with
// text around them, and some made of the characters that matter at random.
std::wstring GeneratedTail(std::mt19937& random) {
  const std::vector<std::wstring> pieces = {L"C:\\x", L"a", L" ", L"b.txt", kHyou, L"\\", L"　", L"-D"};
  auto text = [&](int most) {
    std::wstring t;
    for (int n = static_cast<int>(random() % (most + 1)); n > 0; --n) t += pieces[random() % pieces.size()];
    return t;
  };
  std::wstring tail;
  if (random() % 2 == 0) {
    tail = text(2) + L"\"";
    for (int n = static_cast<int>(random() % 4); n >= 0; --n) {
      tail += random() % 8 == 0 ? std::wstring() : text(4);
      tail += n > 0 ? L"\" \"" : L"\"";
    }
    if (random() % 3 == 0) tail += text(3);
  } else {
    const std::vector<std::wstring> marks = {L"\"", L"\" \"", L" \"", L"\" ", L"\"\""};
    for (int n = static_cast<int>(random() % 10); n > 0; --n) {
      tail += random() % 2 == 0 ? marks[random() % marks.size()] : text(2);
    }
  }
  return tail;
}

TEST(CommandLineItems, WithoutCommasTheItemsAndCountAreThoseOfTheEarlierRule) {
  std::mt19937 random(5150);
  int agreeing = 0;
  constexpr int kRounds = 20000;
  for (int round = 0; round < kRounds; ++round) {
    const std::wstring tail = GeneratedTail(random);
    ASSERT_EQ(tail.find(L','), std::wstring::npos);
    const Paths reference = ReferenceItems(tail);
    Paths nonEmpty;
    for (const std::wstring& item : reference) {
      if (!item.empty()) nonEmpty.push_back(item);
    }
    const Paths items = CommandLineItems(tail);
    ASSERT_EQ(items, nonEmpty) << L"[" << tail << L"]";
    // Where the earlier rule's count disagreed with its own list (a path left
    // unclosed, or a separator after the end of the list) the bar showed a
    // total that was never reached; here the total is the number of items.
    if (ReferenceCount(tail) == static_cast<int>(reference.size())) {
      ++agreeing;
      ASSERT_EQ(static_cast<int>(items.size()),
                ReferenceCount(tail) - static_cast<int>(reference.size() - nonEmpty.size()))
          << L"[" << tail << L"]";
    }
  }
  EXPECT_GT(agreeing, kRounds / 2);
}

TEST(CommandLineItems, FuzzedTailsOnlyEverGivePiecesBetweenQuotes) {
  std::mt19937 random(77);
  const std::wstring alphabet = std::wstring(L"\"\"\" ,,\\C:a表¥，\U0001F600", 15) + std::wstring(1, L'\0');
  for (int round = 0; round < 5000; ++round) {
    std::wstring tail(random() % 48, L'\0');
    for (wchar_t& c : tail) {
      c = (random() % 5 == 0) ? static_cast<wchar_t>(random() % 0xD800) : alphabet[random() % alphabet.size()];
    }
    std::size_t from = 0;
    for (const std::wstring& item : CommandLineItems(tail)) {
      ASSERT_FALSE(item.empty());
      ASSERT_EQ(item.find(L'"'), std::wstring::npos);
      std::size_t at = tail.find(L"\"" + item + L"\"", from);
      ASSERT_NE(at, std::wstring::npos) << "round " << round << ": item not found in order";
      from = at + 1 + item.size();
    }
  }
}

}  // namespace
