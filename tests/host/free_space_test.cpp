#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "shredder/freespace/free_space_rules.h"
#include "shredder/freespace/free_space_texts.h"

namespace {

using namespace freespace;

constexpr std::uint64_t kKiB = 1024;
constexpr std::uint64_t kMiB = kKiB * 1024;
constexpr std::uint64_t kGiB = kMiB * 1024;

// A volume with `free` bytes left, as one writer's file meets it: a write that
// does not fit is refused whole (Windows, unbuffered) or cut to what fits
// (Wine). It counts what was written and not yet flushed.
class FakeVolume final : public FillFileTarget {
 public:
  FakeVolume(std::uint64_t free, bool cutsWrites) : free_(free), cutsWrites_(cutsWrites) {}

  Written Write(std::uint64_t bytes) override {
    const std::uint64_t done = bytes <= free_ ? bytes : cutsWrites_ ? free_ : 0;
    free_ -= done;
    unflushed_ += done;
    return {done, done == bytes ? WriteEnd::Whole : WriteEnd::NoRoom};
  }
  bool Flush() override {
    unflushed_ = 0;
    return true;
  }
  bool Ending() override { return false; }

  std::uint64_t free_;
  bool cutsWrites_;
  std::uint64_t unflushed_ = 0;
};

TEST(FreeSpaceFill, TheHalvedWritesLeaveLessThanOneClusterWhateverTheFreeSpaceAndFlushEveryByte) {
  struct Case {
    std::uint64_t freeBytes;
    std::uint64_t clusterBytes;
  };
  for (const Case& c : {Case{0, 4 * kKiB}, Case{4 * kKiB - 1, 4 * kKiB}, Case{4 * kKiB, 4 * kKiB},
                        Case{57638912, 4 * kKiB}, Case{4 * kMiB + 3 * 4 * kKiB + 7, 4 * kKiB},
                        Case{3 * kGiB + 12345678, 64 * kKiB}, Case{7 * kMiB + 512, 512}, Case{9 * kMiB, 2 * kMiB}}) {
    for (const bool cutsWrites : {false, true}) {
      FillPlan plan = PlanFill(c.clusterBytes);
      plan.fileBytes = 4 * kGiB;  // one file takes it all
      FakeVolume volume(c.freeBytes, cutsWrites);
      EXPECT_EQ(FillOneFile(plan, volume), FileFill::NoRoom);
      EXPECT_LT(volume.free_, c.clusterBytes) << c.freeBytes << " / " << c.clusterBytes << " cut " << cutsWrites;
      EXPECT_EQ(volume.unflushed_, 0u) << c.freeBytes << " / " << c.clusterBytes << " cut " << cutsWrites;
    }
  }
}

TEST(FreeSpaceFill, WritesAndFilesAreWholeClustersAndTheMeasuringWriteIsShort) {
  for (const std::uint64_t cluster : {512 * std::uint64_t{1}, 4 * kKiB, 64 * kKiB, 2 * kMiB, 8 * kMiB}) {
    const FillPlan fill = PlanFill(cluster);
    EXPECT_EQ(fill.writeBytes % cluster, 0u) << cluster;
    EXPECT_GE(fill.writeBytes, kMiB) << cluster;
    EXPECT_EQ(fill.fileBytes % fill.writeBytes, 0u) << cluster;
    EXPECT_LT(fill.fileBytes, 4 * kGiB) << "FAT32 holds no larger file";
    for (const std::uint64_t freeBytes : {std::uint64_t{0}, 100 * kKiB, 16 * kMiB, 500 * kGiB}) {
      const FillPlan probe = PlanProbe(cluster, freeBytes, 2);
      EXPECT_EQ(probe.fileBytes % probe.writeBytes + probe.writeBytes % cluster, 0u) << cluster << " " << freeBytes;
      EXPECT_GT(probe.fileBytes, 0u);
      EXPECT_LE(probe.fileBytes, std::max(cluster, std::min(32 * kMiB, freeBytes / 16))) << freeBytes;
    }
  }
  EXPECT_EQ(WriteAfterFull(12 * kKiB, 4 * kKiB), 4 * kKiB);  // one and a half clusters: one
  EXPECT_EQ(WriterCount(0), 2u);
}

TEST(FreeSpaceOutcome, AStopOrAFailureInEitherPartIsToldAsSuchAndASwappedDiskFirst) {
  using E = FillEnd;
  const std::nullopt_t none = std::nullopt;
  struct Case {
    RunEnds ends;
    Outcome expected;
  };
  const std::uint64_t some = kMiB;
  const Case cases[] = {
      {{E::Full, none, true, some, 0}, Outcome::Done},
      {{E::Full, E::Full, true, some, 0}, Outcome::Done},
      {{E::Full, E::Stopped, true, some, 0}, Outcome::Stopped},  // small files may stay in the file table
      {{E::Stopped, none, true, some, 0}, Outcome::Stopped},
      {{E::Failed, none, true, some, 0}, Outcome::WriteFailed},
      {{E::Full, E::Failed, true, some, 0}, Outcome::WriteFailed},
      {{E::Stopped, none, false, some, 0}, Outcome::DriveChanged},
      {{E::Full, E::Full, false, some, 0}, Outcome::DriveChanged},
      {{E::Full, none, true, some, 50 * kMiB}, Outcome::Reached},  // a reserve the account may not write
      {{E::Share, E::Full, true, some, 50 * kMiB}, Outcome::Reached},
      {{E::Share, none, true, some, 0}, Outcome::Done},  // a quota that left nothing free
      {{E::Stopped, none, true, some, 50 * kMiB}, Outcome::Stopped},
      {{E::Full, none, true, 0, 0}, Outcome::NothingToWrite},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(OutcomeOf(c.ends), c.expected)
        << static_cast<int>(c.ends.data) << " " << (c.ends.records ? static_cast<int>(*c.ends.records) : -1) << " "
        << c.ends.sameDisk;
  }
}

TEST(FreeSpaceFill, OnlyOurNamesAndKindsAreOursAndALinkNever) {
  struct Case {
    const wchar_t* name;
    bool isFolder;
    bool isLink;
    bool inRecordTree;
    FillEntry expected;
  };
  const Case cases[] = {
      {L"fill-0000002a.tmp", false, false, false, FillEntry::FillFile},
      {L"fill-0000002a.tmp", false, true, false, FillEntry::Foreign},
      {L"fill-0000002a.tmp", true, false, false, FillEntry::Foreign},
      {L"fill-0000002A.tmp", false, false, false, FillEntry::Foreign},
      {L"fill-2a.tmp", false, false, false, FillEntry::Foreign},
      {L"fill-0000002a.tmp.docx", false, false, false, FillEntry::Foreign},
      {L"fill-0000002a.tmp", false, false, true, FillEntry::Foreign},
      {L"records", true, false, false, FillEntry::RecordFolder},
      {L"records", true, true, false, FillEntry::Foreign},
      {L"records", false, false, false, FillEntry::Foreign},
      {L"d1", true, false, true, FillEntry::RecordFolder},
      {L"d2", true, false, true, FillEntry::Foreign},
      {L"f0", false, false, true, FillEntry::FillFile},
      {L"f0", false, false, false, FillEntry::Foreign},
      {L"d0", true, false, false, FillEntry::Foreign},
      {L"report.docx", false, false, false, FillEntry::Foreign},
      {L"MORVANE-Shredder-Run.id", false, false, false, FillEntry::Marker},
      {L"MORVANE-Shredder-Run.id", false, true, false, FillEntry::Foreign},
      {L"MORVANE-Shredder-Run.id", true, false, false, FillEntry::Foreign},
      {L"MORVANE-Shredder-Run.id", false, false, true, FillEntry::Foreign},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ClassifyEntry(c.name, c.isFolder, c.isLink, c.inRecordTree), c.expected)
        << ::testing::PrintToString(std::wstring(c.name)) << " folder " << c.isFolder << " link " << c.isLink
        << " in tree " << c.inRecordTree;
  }
  EXPECT_EQ(FillFileName(42), L"fill-0000002a.tmp");
  for (const std::uint32_t number : {0u, 0xFFFFFFFFu}) {
    EXPECT_EQ(ClassifyEntry(FillFileName(number), false, false, false), FillEntry::FillFile) << number;
  }
}

TEST(FreeSpaceMarker, OnlyAMarkerNamingOneOfTheAccountsRunsMakesAFolderOurs) {
  const std::uint8_t random[16] = {0x00, 0x01, 0x23, 0x45, 0x67, 0x89, 0xAB, 0xCD,
                                   0xEF, 0xFE, 0xDC, 0xBA, 0x98, 0x76, 0x54, 0x32};
  const std::wstring identity = RunIdentity(random);
  EXPECT_EQ(identity, L"000123456789abcdeffedcba98765432");
  const std::vector<std::wstring> runs = {L"ffffffffffffffffffffffffffffffff", identity};
  const std::pair<std::string, bool> markers[] = {
      {"000123456789abcdeffedcba98765432", true},
      {"ffffffffffffffffffffffffffffffff", true},
      {"000123456789abcdeffedcba98765433", false},  // another run's, of another account or long gone
      {"000123456789ABCDEFFEDCBA98765432", false},  // not as the program writes it
      {"000123456789abcdeffedcba98765432\r\n", false},
      {"", false},
      {std::string(32, '0'), false},
  };
  for (const auto& [content, ours] : markers) EXPECT_EQ(MarkerNamesRun(content, runs), ours) << content;
  EXPECT_FALSE(MarkerNamesRun("000123456789abcdeffedcba98765432", {})) << "no run of the account's";
}

TEST(FreeSpaceRate, SpeedFollowsTheLastSecondsAndTheTimeIsRoundedUp) {
  RateMeter meter;
  EXPECT_EQ(meter.BytesPerSecond(), 0u);
  std::uint64_t total = 0;
  for (std::uint64_t ms = 0; ms <= 20000; ms += 250) {
    meter.Add(ms, total);
    total += ms < 10000 ? 25 * kMiB : kMiB;  // 100 MiB/s, then 4 MiB/s
  }
  EXPECT_EQ(meter.BytesPerSecond(), 4 * kMiB);

  EXPECT_EQ(BytesPerSecond(100, 0), 0u);
  EXPECT_EQ(BytesPerSecond(3 * kGiB, 1500), 2 * kGiB);
  EXPECT_EQ(BytesPerSecond(~std::uint64_t{0}, 1000), ~std::uint64_t{0}) << "no overflow";
  EXPECT_EQ(SecondsFor(101, 100), 2u);
  EXPECT_EQ(SecondsFor(0, 100), 0u);
  EXPECT_FALSE(SecondsFor(100, 0));
}

TEST(FreeSpaceTexts, SizesAndTimesAsTheSystemShowsThem) {
  const std::pair<std::uint64_t, std::wstring> sizes[] = {
      {0, L"0 バイト"},          {1023, L"1023 バイト"},           {1024, L"1.00 KB"},     {1536, L"1.50 KB"},
      {10 * kKiB, L"10.0 KB"},   {1023 * kKiB + 1023, L"1023 KB"}, {57638912, L"54.9 MB"}, {kGiB - 1, L"1023 MB"},
      {1024 * kGiB, L"1.00 TB"}, {~std::uint64_t{0}, L"16383 PB"},
  };
  for (const auto& [bytes, text] : sizes) EXPECT_EQ(FormatBytes(bytes), text) << bytes;
  const std::pair<std::uint64_t, std::wstring> durations[] = {
      {0, L"1 分以内"},     {60, L"1 分以内"},         {61, L"約 2 分"},
      {3599, L"約 1 時間"}, {3661, L"約 1 時間 2 分"}, {86400, L"約 24 時間"},
  };
  for (const auto& [seconds, text] : durations) EXPECT_EQ(FormatDuration(seconds), text) << seconds;
  EXPECT_EQ(FillDetail(kGiB, 10 * kGiB, 100 * kMiB), L"1.00 GB / 10.0 GB、100 MB/秒、残り 約 2 分");
  EXPECT_EQ(FillDetail(kGiB, 4 * kGiB, 0), L"1.00 GB / 4.00 GB");
  EXPECT_EQ(DriveLine(L"E:\\", L"", true, kGiB, 16 * kGiB), L"E:\\\tリムーバブル ディスク\t空き 1.00 GB / 16.0 GB");
  EXPECT_EQ(DriveLine(L"C:\\", L"Work", false, 0, kGiB), L"C:\\\tWork\t空き 0 バイト / 1.00 GB");
}

// The question names the volume whose free space it is, through the drive
// chosen where that is a letter for a folder of it; the time is for what the
// account may write; flash memory is warned of.
TEST(FreeSpaceTexts, TheQuestionSaysWhichVolumeHowMuchHowLongAndWhatFlashKeeps) {
  const Question plain{.root = L"D:\\", .freeBytes = 12 * kGiB, .bytesPerSecond = 50 * kMiB};
  const struct {
    Question question;
    std::vector<std::wstring> says;  // the first is how it starts
  } cases[] = {
      {plain,
       {L"ドライブ D:\\ の空き領域 12.0 GB を完全に抹消しますか？\n\n",
        L"1 秒あたり 50.0 MB の速さで、約 5 分かかります。", L"このドライブの空き領域はなくなります。"}},
      {{.root = L"D:\\", .freeBytes = 10 * kMiB, .bytesPerSecond = 50 * kMiB, .solidState = true},
       {L"ドライブ D:\\ の空き領域 10.0 MB", L"1 分以内に終わります。",
        L"\n\nこのドライブは SSD (フラッシュ メモリ) です。"}},
      {{.root = L"C:\\",
        .freeBytes = 12 * kGiB,
        .bytesPerSecond = 100 * kMiB,
        .beyondReach = 4 * kGiB,
        .chosenRoot = L"S:\\"},
       {L"ドライブ S:\\ は、ドライブ C:\\ にあるフォルダを割り当てたドライブです。"
        L"ドライブ C:\\ の空き領域 12.0 GB を完全に抹消しますか？",
        L"このアカウントが書き込めるのは、そのうち 8.00 GB だけです。残りの 4.00 GB は上書きできません。",
        L"1 秒あたり 100 MB の速さで、約 2 分かかります。"}},  // for the 8.00 GB it may write
      {{.root = L"C:\\mnt\\data\\", .freeBytes = kGiB, .bytesPerSecond = kMiB, .chosenRoot = L"C:\\mnt\\data\\"},
       {L"フォルダ \"C:\\mnt\\data\\\" にマウントされたボリューム の空き領域"}},
  };
  for (const auto& c : cases) {
    const std::wstring text = QuestionText(c.question);
    EXPECT_EQ(text.rfind(c.says.front(), 0), 0u) << ::testing::PrintToString(text);
    for (const std::wstring& part : c.says)
      EXPECT_NE(text.find(part), std::wstring::npos) << ::testing::PrintToString(text);
  }
  EXPECT_EQ(QuestionText(plain).find(L"SSD"), std::wstring::npos);
}

TEST(FreeSpaceTexts, EveryResultSaysWhatWasDoneInTheSystemsOwnStyle) {
  const std::wstring root = L"E:\\";
  struct Case {
    Result result;
    const wchar_t* says;
  };
  const Leftover foreign{L"E:\\MORVANE-Shredder-FreeSpaceFill", 282, L"desktop.ini"};
  const Leftover undeletable{L"E:\\MORVANE-Shredder-FreeSpaceFill", 400 * kMiB, L""};
  const Case results[] = {
      {{root, Outcome::Done, 3 * kGiB, 0, {}, 0}, L"ドライブ E:\\ の空き領域 3.00 GB を完全に抹消しました。"},
      {{root, Outcome::Done, kMiB, 310, {}, 0}, L"(MFT) の空きレコード 310 個も上書きしました。"},
      {{root, Outcome::Reached, 60 * kMiB, 0, {}, 51 * kMiB},
       L"ドライブ E:\\ の空き領域 111 MB のうち 60.0 MB を上書きしました。"
       L"残りの 51.0 MB は、このアカウントからは書き込めないため、上書きできませんでした。"},
      {{root, Outcome::NothingToWrite, 0, 0, {}, 0}, L"ドライブ E:\\ には抹消する空き領域がありません。"},
      {{root, Outcome::Stopped, 5 * kMiB, 0, {}, 0}, L"抹消を中止しました。中止するまでに 5.00 MB を上書きしました。"},
      {{root, Outcome::WriteFailed, kMiB, 0, {}, 0}, L"に書き込めなくなったため"},
      {{root, Outcome::DriveChanged, kMiB, 0, undeletable, 0}, L"ディスクが途中で入れ替えられた"},
      {{root, Outcome::Stopped, 0, 0, undeletable, 0},
       L"\n抹消に使ったフォルダ \"E:\\MORVANE-Shredder-FreeSpaceFill\" (400 MB) の一部を削除できませんでした。"},
      {{root, Outcome::Done, kGiB, 0, foreign, 0},
       L"\n抹消に使ったフォルダ \"E:\\MORVANE-Shredder-FreeSpaceFill\" (282 バイト) には、"
       L"MORVANE Shredder が作ったものではない \"desktop.ini\" があるため、このフォルダを削除できませんでした。"
       L"\"desktop.ini\" を別の場所に移せば、次に MORVANE Shredder を起動したときに、このフォルダを削除します。"},
  };
  std::vector<std::wstring> texts;
  for (const Case& c : results) {
    texts.push_back(ResultText(c.result));
    EXPECT_NE(texts.back().find(c.says), std::wstring::npos) << ::testing::PrintToString(texts.back());
  }
  for (Refusal refusal : {Refusal::Missing, Refusal::NotLocal, Refusal::NotReadable, Refusal::NotWritable,
                          Refusal::NoFreeSpace, Refusal::Changed}) {
    texts.push_back(RefusalText(refusal, root));
    EXPECT_EQ(texts.back().rfind(L"ドライブ E:\\ ", 0), 0u);
  }
  EXPECT_EQ(RefusalText(Refusal::NotWritable, L"C:\\", L"S:\\"),
            L"ドライブ S:\\ は、ドライブ C:\\ にあるフォルダを割り当てたドライブです。"
            L"ドライブ C:\\ に書き込めないため、空き領域を抹消できません。");
  texts.push_back(FolderNotOursText(root, foreign.folder));
  EXPECT_NE(texts.back().find(L"ドライブ E:\\ には、MORVANE Shredder が作ったものではないフォルダ "
                              L"\"E:\\MORVANE-Shredder-FreeSpaceFill\" があるため"),
            std::wstring::npos);
  texts.push_back(FolderInUseText(root));
  // A leftover in the way of a run, and one the clean-up at a start could not take.
  texts.push_back(LeftoverText(foreign, LeftoverSeen::BeforeRun));
  EXPECT_NE(texts.back().find(L"\"desktop.ini\" を別の場所に移してから、もう一度実行してください。"),
            std::wstring::npos);
  texts.push_back(LeftoverText(undeletable, LeftoverSeen::BeforeRun));
  EXPECT_NE(texts.back().find(L"(400 MB) を削除できないため、空き領域を抹消できません。"), std::wstring::npos);
  texts.push_back(LeftoverText(undeletable, LeftoverSeen::AtStart));
  EXPECT_NE(texts.back().find(L"次に MORVANE Shredder を起動したときに、もう一度削除します。"), std::wstring::npos);
  texts.push_back(QuestionText({.root = root, .freeBytes = kGiB, .bytesPerSecond = kMiB, .solidState = true}));
  for (const std::wstring& text : texts) {
    EXPECT_EQ(text.back(), L'。') << ::testing::PrintToString(text);
    EXPECT_EQ(text.find_first_of(L"（）"), std::wstring::npos) << "half-width brackets only";
  }
}

}  // namespace
