#include "shredder/engine/erase_kind.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

namespace {

using engine::EraseKind;

// The record is shared memory any version of the program may have written:
// a value this one does not know is named as no kind at all, never read past
// the known ones.
TEST(EraseKind, TheWaitingWindowNamesAKnownWriterAndOnlyAKnownOne) {
  const std::wstring then = L"\n終わりしだい、抹消を始めます。";
  const struct {
    std::uint32_t record;
    std::wstring text;
  } cases[] = {
      {1, L"ほかの抹消処理 (ごみ箱の抹消) が終わるのを待っています..." + then},
      {2, L"ほかの抹消処理 (ファイルの抹消) が終わるのを待っています..." + then},
      {3, L"ほかの抹消処理 (空き領域の抹消) が終わるのを待っています..." + then},
      {0, L"ほかの抹消処理が終わるのを待っています..." + then},
      {4, L"ほかの抹消処理が終わるのを待っています..." + then},
      {0xFFFFFFFF, L"ほかの抹消処理が終わるのを待っています..." + then},
  };
  for (const auto& c : cases) EXPECT_EQ(engine::WaitingText(engine::KindOfRecord(c.record)), c.text) << c.record;
}

}  // namespace
