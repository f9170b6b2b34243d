#include "shredder/engine/file_facts.h"

#include <gtest/gtest.h>

#include "shredder/engine/erase_tally.h"

namespace {

using engine::ContentPlace;
namespace attribute = engine::attribute;

// Only links are links; every other reparse point is a file whose content
// lies elsewhere, and so are compressed and encrypted files.
TEST(FileFacts, LinksAreNameSurrogatesAndEveryOtherWayOfKeepingContentIsElsewhere) {
  constexpr std::uint32_t kPlain = 0x20;
  constexpr std::uint32_t kReparse = kPlain | attribute::kReparsePoint;
  const struct {
    const char* what;
    std::uint32_t attributes, tag;
    bool link;
    ContentPlace content;
  } cases[] = {
      {"plain", kPlain, 0, false, ContentPlace::InPlace},
      {"symbolic link", kReparse, 0xA000000C, true, ContentPlace::InPlace},
      {"junction", kReparse, engine::kMountPointTag, true, ContentPlace::InPlace},
      {"unreadable tag", kReparse, 0, true, ContentPlace::InPlace},
      {"compressed by the system (WOF)", kReparse, 0x80000017, false, ContentPlace::Elsewhere},
      {"deduplicated", kReparse, 0x80000013, false, ContentPlace::Elsewhere},
      {"cloud, on this computer", kReparse, 0x9000101A, false, ContentPlace::Elsewhere},
      {"cloud, not here", kReparse | attribute::kRecallOnDataAccess, 0x9000101A, false, ContentPlace::NotLocal},
      {"offline", kPlain | attribute::kOffline, 0, false, ContentPlace::NotLocal},
      {"compressed", kPlain | attribute::kCompressed, 0, false, ContentPlace::Elsewhere},
      {"encrypted", kPlain | attribute::kEncrypted, 0, false, ContentPlace::Elsewhere},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(engine::IsLink(c.attributes, c.tag), c.link) << c.what;
    if (!c.link) {
      EXPECT_EQ(engine::PlaceOfContent(c.attributes, c.tag), c.content) << c.what;
    }
  }
}

TEST(FileFacts, OnlyNamedDataStreamsAreTakenFromTheStreamSearch) {
  EXPECT_EQ(engine::NamedDataStream(L":Zone.Identifier:$DATA"), std::optional<std::wstring>(L"Zone.Identifier"));
  EXPECT_EQ(engine::NamedDataStream(L":表:$DATA"), std::optional<std::wstring>(L"表"));
  for (const wchar_t* other : {L"::$DATA", L":x:$INDEX_ALLOCATION", L":", L"", L"x:$DATA", L":a:b:$DATA"}) {
    EXPECT_FALSE(engine::NamedDataStream(other)) << ::testing::PrintToString(std::wstring(other));
  }
}

// "Completely erased" counts only files overwritten in place; the others are
// said apart, with the reason.
TEST(EraseTally, TheBatchResultCountsApartWhatWasNotOverwrittenInPlace) {
  const std::wstring elsewhere =
      L"1 個のファイルは圧縮・暗号化されているか内容がほかの場所にあるため、元の場所を上書きしないまま削除しました。";
  const std::wstring streams =
      L"2 個のファイルは付属するデータ(代替データストリーム)を上書きできないまま削除しました。";
  const struct {
    engine::EraseTally tally;
    std::wstring message;
  } cases[] = {
      {{3, 0, 0, 0}, L"3 個のファイルを完全に抹消しました。"},
      {{0, 0, 0, 0}, L"ファイル削除は行なわれませんでした。"},
      {{0, 0, 0, 1}, L"ファイル削除は行なわれませんでした。"},
      {{3, 1, 2, 0}, L"3 個のファイルを完全に抹消しました。\n" + elsewhere + L"\n" + streams},
      {{0, 1, 0, 0}, elsewhere},
  };
  for (const auto& c : cases) EXPECT_EQ(engine::BatchResult(c.tally), c.message);
}

}  // namespace
