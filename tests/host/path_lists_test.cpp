#include "shredder/engine/path_lists.h"

#include <gtest/gtest.h>

#include <random>

namespace {

using Paths = std::vector<std::string>;
using engine::CommandLineItems;
using engine::ItemCheck;

// The trail byte of 表 (95 5C) is a backslash.
const std::string kHyou = "\x95\x5C";

TEST(CommandLineItems, QuotedPathsSeparatedByQuoteBlankQuote) {
  EXPECT_EQ(CommandLineItems("\"C:\\a b.txt\" \"C:\\c.txt\""), (Paths{"C:\\a b.txt", "C:\\c.txt"}));
  EXPECT_EQ(CommandLineItems("\"C:\\" + kHyou + "\\a.txt\""), (Paths{"C:\\" + kHyou + "\\a.txt"}));
  // Text after the closing quote that does not open another path ends the list.
  EXPECT_EQ(CommandLineItems("\"C:\\a.txt\" "), (Paths{"C:\\a.txt"}));
  EXPECT_EQ(CommandLineItems("\"C:\\a.txt\"  \"C:\\b.txt\""), (Paths{"C:\\a.txt"}));
  EXPECT_EQ(CommandLineItems("\"C:\\a.txt\" x \"C:\\b.txt\""), (Paths{"C:\\a.txt"}));
}

TEST(CommandLineItems, TextBeforeTheFirstQuoteIsNoPath) {
  EXPECT_EQ(CommandLineItems("C:\\x.txt \"C:\\y.txt\""), (Paths{"C:\\y.txt"}));
  EXPECT_TRUE(CommandLineItems("C:\\x.txt").empty());
  EXPECT_TRUE(CommandLineItems("").empty());
  EXPECT_TRUE(CommandLineItems("-c").empty());
}

TEST(CommandLineItems, ACommaIsPartOfTheName) {
  EXPECT_EQ(CommandLineItems("\"C:\\x\\a,b.txt\""), (Paths{"C:\\x\\a,b.txt"}));
  EXPECT_EQ(CommandLineItems("\",C:\\a,,C:\\b,\" \"C:\\c\""), (Paths{",C:\\a,,C:\\b,", "C:\\c"}));
}

TEST(CommandLineItems, EmptyPathsAreLeftOutAndAnUnclosedPathVoidsTheLine) {
  EXPECT_EQ(CommandLineItems("\"C:\\a\" \"\" \"C:\\b\""), (Paths{"C:\\a", "C:\\b"}));
  EXPECT_TRUE(CommandLineItems("\"\"").empty());
  EXPECT_TRUE(CommandLineItems("\"C:\\a\" \"C:\\b").empty());
  EXPECT_TRUE(CommandLineItems("\"C:\\a\" \"C:\\b\" \"").empty());
  EXPECT_TRUE(CommandLineItems("\"").empty());
}

TEST(CheckItem, OnlyAbsolutePathsThatFitABufferAreAccepted) {
  EXPECT_EQ(engine::CheckItem("C:\\a.txt"), ItemCheck::Accepted);
  EXPECT_EQ(engine::CheckItem("\\\\server\\share\\a.txt"), ItemCheck::Accepted);
  for (const char* relative : {"", " ", "a.txt", "b.txt", "C:a.txt", "\\a.txt", "..\\a.txt", "\\\\.\\C:"}) {
    EXPECT_EQ(engine::CheckItem(relative), ItemCheck::NotAbsolute) << relative;
  }
  const std::string longest = "C:\\" + std::string(256, 'x');  // 259 bytes and the terminator
  EXPECT_EQ(engine::CheckItem(longest), ItemCheck::Accepted);
  EXPECT_EQ(engine::CheckItem(longest + "y"), ItemCheck::TooLong);
  EXPECT_EQ(engine::CheckItem(std::string(300, 'r')), ItemCheck::TooLong);
}

// The earlier rule for the command tail, step by step as it was written: it
// counts the items for the progress bar in one pass and builds a comma list
// in another, which a comma in a name then splits.
int ReferenceCount(std::string line) {
  const std::size_t quote = line.find('"');
  if (quote != std::string::npos) line.erase(0, quote + 1);
  int count = 0;
  for (std::size_t at; (at = line.find("\" \"")) != std::string::npos;) {
    ++count;
    line.erase(0, at + 3);
  }
  if (!line.empty() && line.find('"') != std::string::npos) ++count;
  return count;
}

Paths ReferenceItems(std::string line) {
  const std::size_t quote = line.find('"');
  line.erase(0, quote == std::string::npos ? 0 : quote + 1);
  std::string replaced;
  for (std::size_t i = 0; i < line.size();) {
    if (line.compare(i, 3, "\" \"") == 0) {
      replaced += ',';
      i += 3;
    } else {
      replaced += line[i++];
    }
  }
  const std::size_t cut = replaced.find('"');
  std::string list = (cut == std::string::npos ? std::string() : replaced.substr(0, cut)) + ",";
  Paths items;
  while (!list.empty() && list.find(',') != std::string::npos) {
    const std::size_t comma = list.find(',');
    items.push_back(list.substr(0, comma));
    list.erase(0, comma + 1);
  }
  return items;
}

TEST(CommandLineItems, ReferenceRuleReadsTheKnownExamples) {
  EXPECT_EQ(ReferenceItems("\"C:\\a b.txt\" \"C:\\c.txt\""), (Paths{"C:\\a b.txt", "C:\\c.txt"}));
  EXPECT_EQ(ReferenceCount("\"C:\\a b.txt\" \"C:\\c.txt\""), 2);
  EXPECT_EQ(ReferenceItems("C:\\a.txt"), (Paths{""}));
  EXPECT_EQ(ReferenceCount("C:\\a.txt"), 0);
  EXPECT_EQ(ReferenceItems("\"C:\\x\\a,b.txt\""), (Paths{"C:\\x\\a", "b.txt"}));
  EXPECT_EQ(ReferenceCount("\"C:\\x\\a,b.txt\""), 1);
}

// A comma-free command tail: mostly well-formed lists of quoted paths with
// text around them, and some made of the characters that matter at random.
std::string GeneratedTail(std::mt19937& random) {
  const std::vector<std::string> pieces = {"C:\\x", "a", " ", "b.txt", kHyou, "\\", "\x81\x40", "-D"};
  auto text = [&](int most) {
    std::string t;
    for (int n = static_cast<int>(random() % (most + 1)); n > 0; --n) t += pieces[random() % pieces.size()];
    return t;
  };
  std::string tail;
  if (random() % 2 == 0) {
    tail = text(2) + "\"";
    for (int n = static_cast<int>(random() % 4); n >= 0; --n) {
      tail += random() % 8 == 0 ? std::string() : text(4);
      tail += n > 0 ? "\" \"" : "\"";
    }
    if (random() % 3 == 0) tail += text(3);
  } else {
    const std::vector<std::string> marks = {"\"", "\" \"", " \"", "\" ", "\"\""};
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
    const std::string tail = GeneratedTail(random);
    ASSERT_EQ(tail.find(','), std::string::npos);
    const Paths reference = ReferenceItems(tail);
    Paths nonEmpty;
    for (const std::string& item : reference) {
      if (!item.empty()) nonEmpty.push_back(item);
    }
    const Paths items = CommandLineItems(tail);
    ASSERT_EQ(items, nonEmpty) << "[" << tail << "]";
    // Where the earlier rule's count disagreed with its own list (a path left
    // unclosed, or a separator after the end of the list) the bar showed a
    // total that was never reached; here the total is the number of items.
    if (ReferenceCount(tail) == static_cast<int>(reference.size())) {
      ++agreeing;
      ASSERT_EQ(static_cast<int>(items.size()),
                ReferenceCount(tail) - static_cast<int>(reference.size() - nonEmpty.size()))
          << "[" << tail << "]";
    }
  }
  EXPECT_GT(agreeing, kRounds / 2);
}

TEST(CommandLineItems, FuzzedTailsOnlyEverGivePiecesBetweenQuotes) {
  std::mt19937 random(77);
  const std::string alphabet = std::string("\"\"\" ,,\\C:a\x95\x5C\x81\x43", 15) + std::string(1, '\0');
  for (int round = 0; round < 5000; ++round) {
    std::string tail(random() % 48, '\0');
    for (char& c : tail) {
      c = (random() % 5 == 0) ? static_cast<char>(random() % 256) : alphabet[random() % alphabet.size()];
    }
    std::size_t from = 0;
    for (const std::string& item : CommandLineItems(tail)) {
      ASSERT_FALSE(item.empty());
      ASSERT_EQ(item.find('"'), std::string::npos);
      std::size_t at = tail.find("\"" + item + "\"", from);
      ASSERT_NE(at, std::string::npos) << "round " << round << ": item not found in order";
      from = at + 1 + item.size();
    }
  }
}

}  // namespace
