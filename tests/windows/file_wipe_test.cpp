// Wiping single files with the real code under Wine: the passes, the
// attributes, the failures, the removal through the work folder.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "shredder/engine/file_kind.h"
#include "shredder/engine/file_wipe.h"
#include "shredder/engine/overwrite_stream.h"
#include "tests/support/temp_folder.h"
#include "tests/windows/support/scripted_prompts.h"
#include "winframe/handles.h"

namespace {

constexpr char kCannotOpen[] = "ファイルが開けません";
constexpr std::uint32_t kSeed[8] = {0x11111111, 0x2222, 0x3333333, 0x44, 0x5555, 0x666666, 0x7777777, 0x8888};
// The second fixed drive that the test bed's fixture links for these tests;
// on another file system than drive C: where the bed allows it.
constexpr char kSecondDrive[] = "D:\\";

// What the hooks saw: the file's bytes after every pass.
std::vector<std::string> g_passes;

void FixedSeed(std::uint32_t (&words)[8]) {
  for (int i = 0; i < 8; ++i) words[i] = kSeed[i];
}

void RecordPass(const std::string& path, int pass) {
  EXPECT_EQ(static_cast<std::size_t>(pass), g_passes.size() + 1);
  g_passes.push_back(ReadWholeFile(path));
}

// Pass `pass` (from 1) over a file of `length` bytes, as the generator of the
// fixed seed writes it.
std::string ExpectedPass(std::uint64_t length, int pass) {
  const std::size_t chunks = static_cast<std::size_t>(length / 16 + 1);
  COverwriteStream stream;
  stream.SetWordCount(8);
  stream.Seed(kSeed);
  std::string bytes(chunks * 16, '\0');
  for (int i = 0; i < pass; ++i) stream.Generate(reinterpret_cast<std::uint8_t*>(bytes.data()), chunks);
  return bytes;
}

DWORD Attributes(const std::string& path) {
  return GetFileAttributesA(path.c_str());
}

FILETIME At(std::uint64_t ticks) {
  return FILETIME{static_cast<DWORD>(ticks), static_cast<DWORD>(ticks >> 32)};
}

struct Times {
  FILETIME created, accessed, modified;
};

Times TimesOf(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data);
  return {data.ftCreationTime, data.ftLastAccessTime, data.ftLastWriteTime};
}

bool operator==(const FILETIME& a, const FILETIME& b) {
  return a.dwLowDateTime == b.dwLowDateTime && a.dwHighDateTime == b.dwHighDateTime;
}

class FileWipeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    g_passes.clear();
    work_.appName = "binshredder";
    work_.seed = FixedSeed;
    work_.afterPass = RecordPass;
  }

  TempFolder folder_;
  ScriptedPrompts prompts_;
  engine::WorkContext work_;
};

TEST_F(FileWipeTest, ThreePassesByDefaultEachInPlaceWithTheStreamRunningOn) {
  const std::string path = folder_.WriteFile("a.txt", std::string(100, 'A'));
  EXPECT_TRUE(engine::WipeFile(work_, path));
  ASSERT_EQ(g_passes.size(), 3u);
  for (int pass = 1; pass <= 3; ++pass) EXPECT_EQ(g_passes[pass - 1], ExpectedPass(100, pass)) << pass;
  EXPECT_NE(g_passes[0], g_passes[1]);
  EXPECT_NE(g_passes[1], g_passes[2]);
  EXPECT_EQ(ReadWholeFile(path).size(), 112u);
  EXPECT_TRUE(prompts_.Shown().empty());
}

TEST_F(FileWipeTest, PassCountComesFromTheContextOfEveryWipe) {
  const std::string path = folder_.WriteFile("b.bin", std::string(3 * 65536 + 5, 'B'));  // several pieces of the writer
  work_.passes = 5;
  EXPECT_TRUE(engine::WipeFile(work_, path));
  ASSERT_EQ(g_passes.size(), 5u);
  EXPECT_EQ(g_passes[4], ExpectedPass(3 * 65536 + 5, 5));

  const std::string empty = folder_.WriteFile("empty", "");
  work_.passes = 1;
  g_passes.clear();
  EXPECT_TRUE(engine::WipeFile(work_, empty));
  ASSERT_EQ(g_passes.size(), 1u);
  EXPECT_EQ(ReadWholeFile(empty), ExpectedPass(0, 1));  // 16 bytes
}

TEST_F(FileWipeTest, NoPassForZeroOrNegativeButAttributesAreStillReset) {
  for (int value : {0, -2}) {
    const std::string path = folder_.WriteFile("n" + std::to_string(value), "keep");
    ASSERT_TRUE(SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN));
    work_.passes = value;
    EXPECT_TRUE(engine::WipeFile(work_, path)) << value;
    EXPECT_TRUE(g_passes.empty()) << value;
    EXPECT_EQ(ReadWholeFile(path), "keep") << value;
    EXPECT_EQ(Attributes(path) & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN), 0u) << value;
  }
  EXPECT_TRUE(prompts_.Shown().empty());
}

TEST_F(FileWipeTest, ReadOnlyHiddenAndSystemAreClearedArchiveAndTimesKept) {
  const std::string path = folder_.WriteFile("attr.txt", "content");
  ASSERT_TRUE(SetFileAttributesA(
      path.c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE));
  ASSERT_EQ(Attributes(path), static_cast<DWORD>(FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN |
                                                 FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE));
  {
    // Times of the year 2001, so that any rewrite of them would show.
    wf::UniqueFile file(CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    const FILETIME created = At(126'200'000'000'000'000), accessed = At(126'300'000'000'000'000),
                   modified = At(126'250'000'000'000'000);
    ASSERT_TRUE(SetFileTime(file.Get(), &created, &accessed, &modified));
  }
  const Times before = TimesOf(path);
  work_.passes = 0;  // the passes themselves write, and so move the modification time
  EXPECT_TRUE(engine::WipeFile(work_, path));
  EXPECT_EQ(Attributes(path), static_cast<DWORD>(FILE_ATTRIBUTE_ARCHIVE));
  const Times after = TimesOf(path);
  EXPECT_TRUE(after.created == before.created);
  EXPECT_TRUE(after.modified == before.modified);
  EXPECT_TRUE(after.accessed == before.accessed);
}

TEST_F(FileWipeTest, AFileInUseWithoutSharingIsNotOverwrittenAndTheUserIsTold) {
  const std::string path = folder_.WriteFile("locked.txt", "secret");
  {
    wf::UniqueFile holder(
        CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(holder);
    EXPECT_FALSE(engine::WipeFile(work_, path));
  }
  EXPECT_TRUE(g_passes.empty());
  EXPECT_EQ(ReadWholeFile(path), "secret");
  ASSERT_EQ(prompts_.Shown().size(), 1u);
  EXPECT_EQ(prompts_.Shown()[0].text, kCannotOpen);
  EXPECT_EQ(prompts_.Shown()[0].caption, "エラー");
  EXPECT_EQ(prompts_.Shown()[0].flags, static_cast<UINT>(MB_ICONWARNING));
}

TEST_F(FileWipeTest, APassThatCannotOpenTheFileEndsTheWipeAndKeepsThePassesMade) {
  const std::string path = folder_.WriteFile("later.txt", std::string(40, 'L'));
  static wf::UniqueFile holder;
  work_.afterPass = [](const std::string& file, int pass) {
    RecordPass(file, pass);
    // Someone takes the file between the passes.
    holder.Reset(CreateFileA(file.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
  };
  EXPECT_FALSE(engine::WipeFile(work_, path));
  holder.Reset();
  ASSERT_EQ(g_passes.size(), 1u);
  EXPECT_EQ(ReadWholeFile(path), ExpectedPass(40, 1));
  EXPECT_EQ(prompts_.Texts(), std::vector<std::string>{kCannotOpen});
}

TEST_F(FileWipeTest, AVanishedFileIsReportedNotWiped) {
  EXPECT_FALSE(engine::WipeFile(work_, folder_ / "gone.txt"));
  EXPECT_TRUE(g_passes.empty());
  ASSERT_EQ(prompts_.Shown().size(), 1u);
  EXPECT_EQ(prompts_.Shown()[0].text, "ファイルの属性を読み取れません");
  EXPECT_EQ(prompts_.Shown()[0].caption, "エラー");
}

TEST_F(FileWipeTest, AFileWithASecondNameIsLeftIntact) {
  const std::string path = folder_.WriteFile("linked.txt", "shared content");
  const std::string other = folder_ / "other name.txt";
  ASSERT_TRUE(CreateHardLinkA(other.c_str(), path.c_str(), nullptr));
  ASSERT_TRUE(SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY));
  EXPECT_EQ(engine::HardLinkCount(path), 2u);
  EXPECT_FALSE(engine::IsReparsePoint(path));

  EXPECT_FALSE(engine::WipeFile(work_, path));
  EXPECT_TRUE(g_passes.empty());
  EXPECT_EQ(ReadWholeFile(other), "shared content");
  EXPECT_NE(Attributes(other) & FILE_ATTRIBUTE_READONLY, 0u);  // not even the attributes were touched
  EXPECT_EQ(prompts_.Texts(),
            std::vector<std::string>{"\"" + path + "\"" +
                                     " は他の名前（ハードリンク）からも使われているため上書きしません。"});

  // With one name left it is a file like any other.
  ASSERT_TRUE(SetFileAttributesA(other.c_str(), FILE_ATTRIBUTE_NORMAL));
  ASSERT_TRUE(DeleteFileA(other.c_str()));
  EXPECT_EQ(engine::HardLinkCount(path), 1u);
  EXPECT_TRUE(engine::WipeFile(work_, path));
  EXPECT_EQ(g_passes.size(), 3u);
  EXPECT_EQ(engine::HardLinkCount(folder_ / "absent"), 0u);
}

TEST_F(FileWipeTest, IsFolderAndClearReadOnly) {
  const std::string file = folder_.WriteFile("f.txt", "x");
  CreateDirectoryA((folder_ / "sub").c_str(), nullptr);
  EXPECT_TRUE(engine::IsFolder(folder_ / "sub"));
  EXPECT_FALSE(engine::IsFolder(file));
  EXPECT_FALSE(engine::IsFolder(folder_ / "absent"));
  // Handed a folder anyway, the wipe refuses it without touching it.
  ASSERT_TRUE(SetFileAttributesA((folder_ / "sub").c_str(), FILE_ATTRIBUTE_HIDDEN));
  EXPECT_FALSE(engine::WipeFile(work_, folder_ / "sub"));
  EXPECT_NE(Attributes(folder_ / "sub") & FILE_ATTRIBUTE_HIDDEN, 0u);
  EXPECT_EQ(prompts_.Texts(), std::vector<std::string>{kCannotOpen});
  prompts_.Clear();

  ASSERT_TRUE(SetFileAttributesA(file.c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN));
  const DWORD before = Attributes(file);
  EXPECT_TRUE(engine::ClearReadOnly(file));
  EXPECT_EQ(Attributes(file), before & ~static_cast<DWORD>(FILE_ATTRIBUTE_READONLY));
  EXPECT_NE(Attributes(file) & FILE_ATTRIBUTE_HIDDEN, 0u);
  const Times times = TimesOf(file);
  EXPECT_FALSE(engine::ClearReadOnly(file));
  EXPECT_TRUE(TimesOf(file).modified == times.modified);
  EXPECT_FALSE(engine::ClearReadOnly(folder_ / "absent"));
  EXPECT_TRUE(prompts_.Shown().empty());
}

class RecycledFileTest : public FileWipeTest {
 protected:
  void SetUp() override {
    FileWipeTest::SetUp();
    CreateDirectoryA(bin_.c_str(), nullptr);
    work_.workFolder = engine::CreateWorkFolder(work_, folder_.Path() + "\\");
  }

  // Every name in a folder.
  static std::vector<std::string> Names(const std::string& folder) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA entry;
    wf::FindHandle find(FindFirstFileA((folder + "\\*").c_str(), &entry));
    if (!find) return names;
    do {
      const std::string name = entry.cFileName;
      if (name != "." && name != "..") names.push_back(name);
    } while (FindNextFileA(find.Get(), &entry));
    return names;
  }

  std::string bin_ = folder_ / "Recycler";
};

TEST_F(RecycledFileTest, TheWipedFileLeavesNothingBehindInTheBinOrTheWorkFolder) {
  const std::string path = folder_.WriteFile("Recycler\\Dc1.txt", std::string(5000, 'R'));
  EXPECT_TRUE(engine::WipeRecycledFile(work_, path, "Dc1.txt"));
  EXPECT_EQ(g_passes.size(), 3u);
  EXPECT_TRUE(Names(bin_).empty());
  EXPECT_TRUE(FileExists(work_.workFolder));
  EXPECT_TRUE(Names(work_.workFolder).empty());
  EXPECT_TRUE(prompts_.Shown().empty());
}

TEST_F(RecycledFileTest, AMissingWorkFolderIsCreatedAgain) {
  ASSERT_TRUE(RemoveDirectoryA(work_.workFolder.c_str()));
  const std::string path = folder_.WriteFile("Recycler\\Dc2.txt", "again");
  EXPECT_TRUE(engine::WipeRecycledFile(work_, path, "Dc2.txt"));
  EXPECT_FALSE(FileExists(path));
  EXPECT_TRUE(Names(work_.workFolder).empty());
}

TEST_F(RecycledFileTest, AFileThatCannotBeWipedStaysWhereItIs) {
  const std::string path = folder_.WriteFile("Recycler\\Dc3.txt", "in use");
  wf::UniqueFile holder(CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
  EXPECT_FALSE(engine::WipeRecycledFile(work_, path, "Dc3.txt"));
  holder.Reset();
  EXPECT_EQ(ReadWholeFile(path), "in use");
  EXPECT_TRUE(Names(work_.workFolder).empty());
  EXPECT_EQ(prompts_.Texts(), std::vector<std::string>{kCannotOpen});
}

TEST_F(RecycledFileTest, WithoutRoomForATemporaryNameTheWipedFileIsLeftForTheEmptying) {
  // The work folder's path leaves no room for a temporary name, and a long
  // name would not fit either: nothing is moved under a cut path.
  const std::string deep = folder_.Path() + "\\" + std::string(241 - folder_.Path().size(), 'w');
  ASSERT_TRUE(CreateDirectoryA(deep.c_str(), nullptr));
  work_.workFolder = engine::CreateWorkFolder(work_, deep + "\\");
  ASSERT_EQ(work_.workFolder.size(), 252u);
  ASSERT_TRUE(FileExists(work_.workFolder));
  const std::string path = folder_.WriteFile("Recycler\\Dc4.txt", "wiped, then left");
  EXPECT_TRUE(engine::WipeRecycledFile(work_, path, "Dc4.txt"));
  EXPECT_EQ(ReadWholeFile(path), ExpectedPass(16, 3));
  EXPECT_TRUE(Names(work_.workFolder).empty());
  EXPECT_TRUE(prompts_.Shown().empty());
}

TEST_F(RecycledFileTest, AFileOnAnotherDriveIsMovedAcrossAndRemoved) {
  if (GetFileAttributesA(kSecondDrive) == INVALID_FILE_ATTRIBUTES) {
    GTEST_SKIP() << "no drive D: in this prefix (the test bed's fixture links it)";
  }
  TempFolder other(std::string(kSecondDrive) + "wipetests");
  const std::string path = other.WriteFile("De1.bin", std::string(70000, 'D'));
  EXPECT_TRUE(engine::WipeRecycledFile(work_, path, "De1.bin"));
  EXPECT_EQ(g_passes.size(), 3u);
  EXPECT_FALSE(FileExists(path));
  EXPECT_TRUE(Names(other.Path()).empty());
  EXPECT_TRUE(Names(work_.workFolder).empty());
}

TEST_F(RecycledFileTest, ALinkedFolderIsAReparsePoint) {
  const std::string link = std::string(kSecondDrive) + "linked folder";
  if (GetFileAttributesA(link.c_str()) == INVALID_FILE_ATTRIBUTES) {
    GTEST_SKIP() << "no linked folder on drive D: (the test bed's fixture makes it)";
  }
  EXPECT_TRUE(engine::IsReparsePoint(link));
  EXPECT_FALSE(engine::IsReparsePoint(kSecondDrive));
  EXPECT_FALSE(engine::IsReparsePoint(folder_ / "absent"));
}

TEST_F(FileWipeTest, WorkFolderIsCreatedOnceAndAFailureIsToldInTheApplicationsBox) {
  work_.workFolder = engine::CreateWorkFolder(work_, folder_.Path() + "\\");
  EXPECT_EQ(work_.workFolder, folder_ / "work_temp");
  EXPECT_TRUE(FileExists(work_.workFolder));
  work_.workFolder = engine::CreateWorkFolder(work_, folder_.Path() + "\\");  // already there: nothing to say
  EXPECT_TRUE(prompts_.Shown().empty());

  work_.workFolder = engine::CreateWorkFolder(work_, folder_ / "missing parent\\");
  EXPECT_EQ(work_.workFolder, folder_ / "missing parent\\work_temp");  // kept, though absent
  ASSERT_EQ(prompts_.Shown().size(), 1u);
  EXPECT_EQ(prompts_.Shown()[0].text, "作業用フォルダを作成することができませんでした。");
  EXPECT_EQ(prompts_.Shown()[0].caption, "binshredder");
  EXPECT_EQ(prompts_.Shown()[0].flags, static_cast<UINT>(MB_ICONERROR));
}

}  // namespace
