// Wiping single files with the real code under Wine: the passes, the
// attributes, the failures, the checks made on the handle, names in every
// script and long paths, the removal through the work folder.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "common/paths.h"
#include "shredder/engine/checked_file.h"
#include "shredder/engine/file_wipe.h"
#include "shredder/engine/overwrite_stream.h"
#include "tests/support/system_state.h"
#include "tests/support/temp_folder.h"
#include "tests/windows/support/scripted_prompts.h"
#include "winframe/handles.h"

namespace {

using engine::CheckedFile;
using engine::FileCheck;

constexpr std::uint32_t kSeed[8] = {0x11111111, 0x2222, 0x3333333, 0x44, 0x5555, 0x666666, 0x7777777, 0x8888};
// The second fixed drive that the test bed's fixture links for these tests;
// on another file system than drive C: where the bed allows it.
constexpr wchar_t kSecondDrive[] = L"D:\\";

// What the observer saw: the file's bytes after every pass.
std::vector<std::string> g_passes;

void FixedSeed(std::uint32_t (&words)[8]) {
  for (int i = 0; i < 8; ++i) words[i] = kSeed[i];
}

void RecordPass(const std::wstring& path, int pass) {
  EXPECT_EQ(static_cast<std::size_t>(pass), g_passes.size() + 1);
  g_passes.push_back(ReadWholeFile(path));
}

// What the clusters of a file of `length` bytes on drive C: hold: every pass
// covers them to their end, and never needs another.
std::uint64_t Clusters(std::uint64_t length) {
  DWORD sectorsPerCluster = 0, bytesPerSector = 0, freeClusters = 0, clusters = 0;
  GetDiskFreeSpaceW(L"C:\\", &sectorsPerCluster, &bytesPerSector, &freeClusters, &clusters);
  const std::uint64_t cluster = std::uint64_t{sectorsPerCluster} * bytesPerSector;
  return (length + cluster - 1) / cluster * cluster;
}

// Pass `pass` (from 1) over `bytes` bytes, as the generator of the fixed seed
// writes it: whole chunks of 16 bytes, the last cut to what the pass holds.
std::string ExpectedPass(std::uint64_t bytes, int pass) {
  const std::size_t chunks = static_cast<std::size_t>((bytes + 15) / 16);
  COverwriteStream stream;
  stream.SetWordCount(8);
  stream.Seed(kSeed);
  std::string generated(chunks * 16, '\0');
  for (int i = 0; i < pass; ++i) stream.Generate(reinterpret_cast<std::uint8_t*>(generated.data()), chunks);
  return generated.substr(0, static_cast<std::size_t>(bytes));
}

DWORD Attributes(const std::wstring& path) {
  return GetFileAttributesW(Long(path).c_str());
}

FILETIME At(std::uint64_t ticks) {
  return FILETIME{static_cast<DWORD>(ticks), static_cast<DWORD>(ticks >> 32)};
}

struct Times {
  FILETIME created, accessed, modified;
};

Times TimesOf(const std::wstring& path) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  GetFileAttributesExW(Long(path).c_str(), GetFileExInfoStandard, &data);
  return {data.ftCreationTime, data.ftLastAccessTime, data.ftLastWriteTime};
}

bool operator==(const FILETIME& a, const FILETIME& b) {
  return a.dwLowDateTime == b.dwLowDateTime && a.dwHighDateTime == b.dwHighDateTime;
}

class FileWipeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    g_passes.clear();
    work_.appName = L"binshredder";
    work_.seed = FixedSeed;
    work_.afterPass = RecordPass;
  }

  TempFolder folder_;
  ScriptedPrompts prompts_;
  engine::WorkContext work_;
};

// Every pass covers the slack after the end of the data too, to the end of
// the last cluster.
TEST_F(FileWipeTest, ThreePassesByDefaultEachInPlaceToTheEndOfTheLastClusterWithTheStreamRunningOn) {
  const std::wstring path = folder_.WriteFile(L"a.txt", std::string(100, 'A'));
  EXPECT_TRUE(engine::WipeFile(work_, path));
  ASSERT_EQ(g_passes.size(), 3u);
  for (int pass = 1; pass <= 3; ++pass) EXPECT_EQ(g_passes[pass - 1], ExpectedPass(Clusters(100), pass)) << pass;
  EXPECT_NE(g_passes[0], g_passes[1]);
  EXPECT_NE(g_passes[1], g_passes[2]);
  EXPECT_TRUE(prompts_.Shown().empty());
}

// A large file's stream is made on one thread while another writes it: the
// bytes on the disk after every pass are those of the plain loop, also when
// whoever looks after a pass keeps the writer waiting while the maker fills
// its ring. An empty file has no cluster to overwrite.
TEST_F(FileWipeTest, PassCountComesFromTheContextOfEveryWipeAndTheBytesAreThoseOfThePlainLoop) {
  constexpr std::uint64_t kLength = (std::uint64_t{3} << 20) + 5;  // several pieces of the writer
  const std::wstring path = folder_.WriteFile(L"b.bin", std::string(kLength, 'B'));
  work_.passes = 5;
  work_.afterPass = [](const std::wstring& file, int pass) {
    RecordPass(file, pass);
    Sleep(100);
  };
  EXPECT_TRUE(engine::WipeFile(work_, path));
  ASSERT_EQ(g_passes.size(), 5u);
  for (int pass = 1; pass <= 5; ++pass) {
    EXPECT_TRUE(g_passes[pass - 1] == ExpectedPass(Clusters(kLength), pass)) << pass;
  }

  const std::wstring empty = folder_.WriteFile(L"empty", "");
  work_.passes = 1;
  g_passes.clear();
  EXPECT_TRUE(engine::WipeFile(work_, empty));
  ASSERT_EQ(g_passes.size(), 1u);
  EXPECT_EQ(ReadWholeFile(empty), "");
}

// A file with holes (Wine lists no allocated ranges: the data is found by
// reading): what holds data is overwritten, the holes stay holes, and the
// volume is no fuller than before.
TEST_F(FileWipeTest, ASparseFileHasItsDataOverwrittenAndItsHolesLeftEmpty) {
  const std::wstring path = folder_ / L"sparse.bin";
  constexpr LONGLONG kLength = LONGLONG{64} << 20;
  constexpr LONGLONG kData = LONGLONG{8} << 20;  // cluster-aligned, 5 bytes of data
  {
    wf::UniqueFile file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr));
    LARGE_INTEGER at{};
    at.QuadPart = kData;
    DWORD written = 0;
    ASSERT_TRUE(SetFilePointerEx(file.Get(), at, nullptr, FILE_BEGIN) &&
                WriteFile(file.Get(), "data!", 5, &written, nullptr));
    at.QuadPart = kLength;
    ASSERT_TRUE(SetFilePointerEx(file.Get(), at, nullptr, FILE_BEGIN) && SetEndOfFile(file.Get()));
  }
  auto allocation = [&path] {
    wf::UniqueFile file(
        CreateFileW(path.c_str(), FILE_READ_ATTRIBUTES, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    FILE_STANDARD_INFO standard{};
    GetFileInformationByHandleEx(file.Get(), FileStandardInfo, &standard, sizeof(standard));
    return standard.AllocationSize.QuadPart;
  };
  const LONGLONG before = allocation();
  if (before >= kLength) GTEST_SKIP() << "this drive's file system keeps no holes";

  work_.passes = 2;
  EXPECT_TRUE(engine::WipeFile(work_, path));
  EXPECT_EQ(allocation(), before);
  const std::string content = ReadWholeFile(path);
  ASSERT_EQ(content.size(), static_cast<std::size_t>(kLength));
  EXPECT_EQ(content.substr(kData, Clusters(1)), ExpectedPass(Clusters(1), 2));
  EXPECT_EQ(content.find_first_not_of('\0'), static_cast<std::size_t>(kData));
  EXPECT_TRUE(prompts_.Shown().empty());
}

// No caller can switch overwriting off: a count that is not positive gets
// the default passes, and only then is the file called wiped.
TEST_F(FileWipeTest, ZeroOrNegativePassesGetTheDefaultThree) {
  for (int value : {0, -2}) {
    g_passes.clear();
    const std::wstring path = folder_.WriteFile(L"n" + std::to_wstring(value), "keep");
    work_.passes = value;
    EXPECT_TRUE(engine::WipeFile(work_, path)) << value;
    EXPECT_EQ(g_passes.size(), 3u) << value;
    EXPECT_EQ(ReadWholeFile(path), ExpectedPass(Clusters(4), 3)) << value;
  }
  EXPECT_TRUE(prompts_.Shown().empty());
}

TEST_F(FileWipeTest, ReadOnlyHiddenAndSystemAreClearedArchiveCreationAndModificationTimesKept) {
  // Empty: passes over content would move the modification time.
  const std::wstring path = folder_.WriteFile(L"attr.txt", "");
  ASSERT_TRUE(SetFileAttributesW(
      path.c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE));
  {
    // Times of the year 2001, so that any rewrite of them would show.
    wf::UniqueFile file(CreateFileW(path.c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    const FILETIME created = At(126'200'000'000'000'000), accessed = At(126'300'000'000'000'000),
                   modified = At(126'250'000'000'000'000);
    ASSERT_TRUE(SetFileTime(file.Get(), &created, &accessed, &modified));
  }
  const Times before = TimesOf(path);
  EXPECT_TRUE(engine::WipeFile(work_, path));
  EXPECT_EQ(Attributes(path), static_cast<DWORD>(FILE_ATTRIBUTE_ARCHIVE));
  const Times after = TimesOf(path);
  EXPECT_TRUE(after.created == before.created);
  EXPECT_TRUE(after.modified == before.modified);
  // The access time is the passes' own: they open the file for writing.
}

TEST_F(FileWipeTest, AFileInUseWithoutSharingIsNotOverwrittenAndTheUserIsTold) {
  const std::wstring path = folder_.WriteFile(L"locked.txt", "secret");
  {
    wf::UniqueFile holder(
        CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(holder);
    EXPECT_FALSE(engine::WipeFile(work_, path));
  }
  EXPECT_TRUE(g_passes.empty());
  EXPECT_EQ(ReadWholeFile(path), "secret");
  ASSERT_EQ(prompts_.Shown().size(), 1u);
  EXPECT_EQ(prompts_.Shown()[0].text, CannotOpen(path));
  EXPECT_EQ(prompts_.Shown()[0].caption, L"エラー");
  EXPECT_EQ(prompts_.Shown()[0].flags, static_cast<UINT>(MB_ICONWARNING));
}

TEST_F(FileWipeTest, BetweenPassesNobodyElseCanWriteRenameOrDeleteTheFile) {
  const std::wstring path = folder_.WriteFile(L"held.txt", std::string(40, 'L'));
  work_.afterPass = [](const std::wstring& file, int pass) {
    RecordPass(file, pass);
    wf::UniqueFile writer(CreateFileW(file.c_str(), GENERIC_WRITE,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING, 0,
                                      nullptr));
    EXPECT_FALSE(writer) << "another writer got in after pass " << pass;
    EXPECT_FALSE(MoveFileW(file.c_str(), (file + L".moved").c_str())) << pass;
    EXPECT_FALSE(DeleteFileW(file.c_str())) << pass;
  };
  EXPECT_TRUE(engine::WipeFile(work_, path));
  EXPECT_EQ(g_passes.size(), 3u);
  EXPECT_EQ(ReadWholeFile(path), ExpectedPass(Clusters(40), 3));
}

// Stopped after a pass, small or large, the file stays as the passes left
// it, and the user is told nothing more (the run reports what was done).
TEST_F(FileWipeTest, AStopLeavesTheFilePartlyOverwrittenWhereItIs) {
  engine::StopSignal stop;
  work_.stop = &stop;
  for (const std::uint64_t length : {std::uint64_t{100}, (std::uint64_t{2} << 20) + 9}) {
    stop.Reset();
    g_passes.clear();
    const std::wstring path = folder_.WriteFile(L"stopped.bin", std::string(length, 'S'));
    work_.afterPass = [&stop](const std::wstring& file, int pass) {
      RecordPass(file, pass);
      stop.Request();
    };
    EXPECT_FALSE(engine::WipeFile(work_, path)) << length;
    EXPECT_EQ(g_passes.size(), 1u) << length;
    EXPECT_TRUE(ReadWholeFile(path) == ExpectedPass(Clusters(length), 1)) << length;
  }
  EXPECT_TRUE(prompts_.Shown().empty());
}

TEST_F(FileWipeTest, AVanishedFileIsReportedNotWiped) {
  EXPECT_FALSE(engine::WipeFile(work_, folder_ / L"gone.txt"));
  EXPECT_TRUE(g_passes.empty());
  ASSERT_EQ(prompts_.Shown().size(), 1u);
  EXPECT_EQ(prompts_.Shown()[0].text, Quoted(folder_ / L"gone.txt") + L" は見つからないため処理しません。");
  EXPECT_EQ(prompts_.Shown()[0].caption, L"エラー");
}

TEST_F(FileWipeTest, AFileWithASecondNameIsLeftIntact) {
  const std::wstring path = folder_.WriteFile(L"linked.txt", "shared content");
  const std::wstring other = folder_ / L"other name.txt";
  ASSERT_TRUE(CreateHardLinkW(other.c_str(), path.c_str(), nullptr));
  ASSERT_TRUE(SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_READONLY));

  EXPECT_FALSE(engine::WipeFile(work_, path));
  EXPECT_TRUE(g_passes.empty());
  EXPECT_EQ(ReadWholeFile(other), "shared content");
  EXPECT_NE(Attributes(other) & FILE_ATTRIBUTE_READONLY, 0u);  // not even the attributes were touched
  EXPECT_EQ(prompts_.Texts(), std::vector<std::wstring>{
                                  Quoted(path) + L" は他の名前（ハードリンク）からも使われているため上書きしません。"});

  // With one name left it is a file like any other.
  ASSERT_TRUE(SetFileAttributesW(other.c_str(), FILE_ATTRIBUTE_NORMAL));
  ASSERT_TRUE(DeleteFileW(other.c_str()));
  EXPECT_TRUE(engine::WipeFile(work_, path));
  EXPECT_EQ(g_passes.size(), 3u);
}

TEST_F(FileWipeTest, AFolderIsRefusedWithoutBeingTouched) {
  CreateDirectoryW((folder_ / L"sub").c_str(), nullptr);
  EXPECT_TRUE(engine::IsFolder(folder_ / L"sub"));
  EXPECT_FALSE(engine::IsFolder(folder_.WriteFile(L"f.txt", "x")));
  EXPECT_FALSE(engine::IsFolder(folder_ / L"absent"));
  ASSERT_TRUE(SetFileAttributesW((folder_ / L"sub").c_str(), FILE_ATTRIBUTE_HIDDEN));
  EXPECT_FALSE(engine::WipeFile(work_, folder_ / L"sub"));
  EXPECT_NE(Attributes(folder_ / L"sub") & FILE_ATTRIBUTE_HIDDEN, 0u);
  EXPECT_EQ(prompts_.Texts(), std::vector<std::wstring>{Quoted(folder_ / L"sub") + L" はフォルダのため処理しません。"});
}

// Names the ANSI code page cannot spell, each beside the file its best-fit
// spelling would name: the chosen file is wiped, the look-alike never.
TEST_F(FileWipeTest, NamesInEveryScriptAreWipedAndTheirLookAlikesNever) {
  const struct {
    const wchar_t* name;
    const wchar_t* lookAlike;
  } cases[] = {
      {L"café.txt", L"cafe.txt"}, {L"résumé.txt", L"resume.txt"}, {L"한국어.txt", L"???.txt"},
      {L"中文.txt", L"??.txt"},   {L"\U0001F600.txt", L"?.txt"},  {L"a¥b.txt", L"a\\b.txt"},
  };
  CreateDirectoryW((folder_ / L"a").c_str(), nullptr);
  for (const auto& c : cases) {
    const std::wstring chosen = folder_.WriteFile(c.name, "chosen");
    // '?' cannot be in a name: those look-alikes name nothing.
    const bool lookAlikeExists = WriteWholeFile(folder_ / c.lookAlike, "bystander");
    g_passes.clear();
    EXPECT_TRUE(engine::WipeFile(work_, chosen)) << Ansi(c.name);
    EXPECT_EQ(ReadWholeFile(chosen), ExpectedPass(Clusters(6), 3)) << Ansi(c.name);
    if (lookAlikeExists) {
      EXPECT_EQ(ReadWholeFile(folder_ / c.lookAlike), "bystander") << Ansi(c.name);
    }
  }
  EXPECT_TRUE(prompts_.Shown().empty());
}

TEST_F(FileWipeTest, PathsBeyondTheOldLimitAreWiped) {
  const std::wstring deep = MakeDeepFolder(folder_.WidePath(), std::wstring(60, L'd'));
  ASSERT_FALSE(deep.empty());
  const std::wstring path = deep + L"\\長い道のり.txt";
  ASSERT_TRUE(WriteWholeFile(path, std::string(33, 'x')));
  EXPECT_TRUE(engine::WipeFile(work_, path));
  EXPECT_EQ(ReadWholeFile(path), ExpectedPass(Clusters(33), 3));
}

// A link is refused on the handle that was opened: a link at the name, or a
// folder on the way that leads elsewhere. What it leads to stays intact.
TEST_F(FileWipeTest, ALinkOrALinkedFolderOnTheWayIsRefusedAndWhatItLeadsToKept) {
  const std::wstring target = folder_.WriteFile(L"target.txt", "not chosen");
  const std::wstring fileLink = folder_ / L"chosen.txt";
  CreateDirectoryW((folder_ / L"elsewhere").c_str(), nullptr);
  const std::wstring inside = folder_.WriteFile(L"elsewhere\\inner.txt", "not chosen either");
  const std::wstring folderLink = folder_ / L"parent";
  if (!MakeSymbolicLink(target, fileLink) || !MakeSymbolicLink(folder_ / L"elsewhere", folderLink)) {
    GTEST_SKIP() << "no symbolic links in this test bed";
  }
  EXPECT_EQ(CheckedFile(fileLink).Check(), FileCheck::ThroughLink);
  EXPECT_EQ(CheckedFile(folderLink + L"\\inner.txt").Check(), FileCheck::ThroughLink);
  EXPECT_EQ(CheckedFile(folderLink).Check(), FileCheck::Link);  // the link itself, to a folder
  EXPECT_EQ(CheckedFile(target).Check(), FileCheck::File);

  EXPECT_FALSE(engine::WipeFile(work_, fileLink));
  EXPECT_FALSE(engine::WipeFile(work_, folderLink + L"\\inner.txt"));
  EXPECT_EQ(ReadWholeFile(target), "not chosen");
  EXPECT_EQ(ReadWholeFile(inside), "not chosen either");
  EXPECT_TRUE(g_passes.empty());
  EXPECT_EQ(prompts_.Texts(),
            (std::vector<std::wstring>{
                Quoted(fileLink) + L" はリンクを経由した場所にあるため上書きしません。",
                Quoted(folderLink + L"\\inner.txt") + L" はリンクを経由した場所にあるため上書きしません。"}));
}

// A viewer that shares deletion keeps the name from going where the platform
// cannot remove the names of open files (Wine; Windows before 10). One that
// reads the content is seen, and the file gets its own name back. One that
// holds only the attributes gets past that check: the name is marked for
// deletion and the handle let go, yet the name stays until the viewer lets
// go, and the file cannot have its own name back. Either way the user learns
// where the file is; nothing is left under a name nobody was told.
TEST_F(FileWipeTest, ANameThatCannotGoIsGivenBackOrTheUserIsToldItsTemporaryName) {
  const struct {
    DWORD access;
    engine::Removal removal;
  } cases[] = {{GENERIC_READ, engine::Removal::NameStayed},
               {FILE_READ_ATTRIBUTES, engine::Removal::TemporaryNameStayed}};
  for (const auto& c : cases) {
    const std::wstring path = folder_.WriteFile(L"viewed.txt", "wiped");
    wf::UniqueFile viewer(CreateFileW(path.c_str(), c.access, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(viewer);
    engine::RemovalResult result;
    {
      CheckedFile file(path);
      ASSERT_TRUE(file.IsFile());
      result = engine::RemoveUnderTemporaryName(file, folder_.WidePath(), L"ms");
    }
    if (result.removal == engine::Removal::Removed) {
      // Names of open files go at once (POSIX semantics): nothing may be left.
      EXPECT_EQ(NamesIn(folder_.WidePath(), L"ms*.tmp"), std::vector<std::wstring>{}) << "counted as removed";
      EXPECT_FALSE(FileExists(path));
      GTEST_SKIP() << "this platform removes names with POSIX semantics";
    }
    ASSERT_EQ(result.removal, c.removal) << c.access;
    const std::wstring stayed = Quoted(path) + L" は上書きしましたが、ほかのプログラムが開いているため削除";
    if (c.removal == engine::Removal::NameStayed) {
      EXPECT_EQ(ReadWholeFile(path), "wiped");
      EXPECT_EQ(engine::RemovalMessage(result, path),
                WithReason(stayed + L"できませんでした。", ERROR_SHARING_VIOLATION));
    } else {
      EXPECT_FALSE(FileExists(path));
      EXPECT_TRUE(FileExists(result.temporary));
      const std::wstring shown = result.temporary.substr(4);  // without "\\?\"
      EXPECT_EQ(shown.rfind(folder_ / L"ms", 0), 0u) << Ansi(shown);
      EXPECT_EQ(engine::RemovalMessage(result, path),
                stayed + L"できず、" + Quoted(shown) + L" という名前で残っています。");
    }
    viewer.Reset();
    EXPECT_FALSE(FileExists(result.temporary)) << "marked for deletion, it goes with the viewer";
    DeleteFileW(path.c_str());
  }
}

// The same path below the root on two drives, the chosen name a link to the
// file on the other drive that Wine shows as a plain file (no reparse point,
// so only where its handle lands tells): the handle is at the same place
// below the root, but of another volume. That is not where the chosen path
// leads, and what it leads to is kept.
TEST_F(FileWipeTest, TheSamePathOnAnotherDriveReachedThroughALinkIsRefused) {
  if (GetFileAttributesW(kSecondDrive) == INVALID_FILE_ATTRIBUTES) {
    GTEST_SKIP() << "no drive D: in this prefix (the test bed's fixture links it)";
  }
  const std::wstring onD = L"D:" + folder_.WidePath().substr(2);  // "D:\wintests\t..."
  CreateDirectoryW(paths::FolderOf(onD).c_str(), nullptr);
  ASSERT_TRUE(CreateDirectoryW(onD.c_str(), nullptr));
  const std::wstring target = onD + L"\\same.txt";
  ASSERT_TRUE(WriteWholeFile(target, "on drive D:"));
  const std::wstring link = folder_ / L"same.txt";
  if (!MakeSymbolicLink(target, link)) GTEST_SKIP() << "no symbolic links in this test bed";
  DWORD serialC = 0;
  ASSERT_TRUE(GetVolumeInformationW(L"C:\\", nullptr, 0, &serialC, nullptr, nullptr, nullptr, 0));
  {
    CheckedFile reached(link);
    if (reached.Id().volume == serialC) GTEST_SKIP() << "drives C: and D: have one serial number here";
    EXPECT_EQ(reached.Check(), FileCheck::ThroughLink);
  }
  EXPECT_FALSE(engine::WipeFile(work_, link));
  EXPECT_EQ(ReadWholeFile(target), "on drive D:");
  EXPECT_TRUE(g_passes.empty());
  RemoveSymbolicLink(link);
  RemoveTree(onD);
}

class RecycledFileTest : public FileWipeTest {
 protected:
  void SetUp() override {
    FileWipeTest::SetUp();
    CreateDirectoryW(bin_.c_str(), nullptr);
    work_.workFolder = engine::CreateWorkFolder(work_, folder_.WidePath() + L"\\");
  }

  std::wstring bin_ = folder_ / L"Recycler";
};

TEST_F(RecycledFileTest, TheWipedFileLeavesNothingBehindInTheBinOrTheWorkFolder) {
  const std::wstring path = folder_.WriteFile(L"Recycler\\Dc1.txt", std::string(5000, 'R'));
  EXPECT_TRUE(engine::WipeRecycledFile(work_, path));
  EXPECT_EQ(g_passes.size(), 3u);
  EXPECT_TRUE(NamesIn(bin_).empty());
  EXPECT_TRUE(FileExists(work_.workFolder));
  EXPECT_TRUE(NamesIn(work_.workFolder).empty());
  EXPECT_TRUE(prompts_.Shown().empty());
}

TEST_F(RecycledFileTest, AMissingWorkFolderIsCreatedAgain) {
  ASSERT_TRUE(RemoveDirectoryW(work_.workFolder.c_str()));
  const std::wstring path = folder_.WriteFile(L"Recycler\\Dc2.txt", "again");
  EXPECT_TRUE(engine::WipeRecycledFile(work_, path));
  EXPECT_FALSE(FileExists(path));
  EXPECT_TRUE(NamesIn(work_.workFolder).empty());
}

TEST_F(RecycledFileTest, AFileThatCannotBeWipedStaysWhereItIs) {
  const std::wstring path = folder_.WriteFile(L"Recycler\\Dc3.txt", "in use");
  wf::UniqueFile holder(CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
  EXPECT_FALSE(engine::WipeRecycledFile(work_, path));
  holder.Reset();
  EXPECT_EQ(ReadWholeFile(path), "in use");
  EXPECT_TRUE(NamesIn(work_.workFolder).empty());
  EXPECT_EQ(prompts_.Texts(), std::vector<std::wstring>{CannotOpen(path)});
}

TEST_F(RecycledFileTest, AFileOnAnotherDriveIsRemovedWhereItIs) {
  if (GetFileAttributesW(kSecondDrive) == INVALID_FILE_ATTRIBUTES) {
    GTEST_SKIP() << "no drive D: in this prefix (the test bed's fixture links it)";
  }
  TempFolder other(std::wstring(kSecondDrive) + L"wipetests");
  const std::wstring path = other.WriteFile(L"De1.bin", std::string(70000, 'D'));
  EXPECT_TRUE(engine::WipeRecycledFile(work_, path));
  EXPECT_EQ(g_passes.size(), 3u);
  EXPECT_FALSE(FileExists(path));
  EXPECT_TRUE(NamesIn(other.WidePath()).empty());
  EXPECT_TRUE(NamesIn(work_.workFolder).empty());
}

TEST_F(FileWipeTest, WorkFolderIsMadeInTheFirstPlaceThatTakesItAndOnlyWhenNoneDoesTheUserIsTold) {
  EXPECT_EQ(engine::CreateWorkFolder(work_, folder_.WidePath() + L"\\"), folder_ / L"work_temp");
  EXPECT_TRUE(FileExists(folder_ / L"work_temp"));
  engine::CreateWorkFolder(work_, folder_.WidePath() + L"\\");  // already there: nothing to say

  // A place of the program's own in the user's folders is made with it; a
  // place below a file cannot be, and the next one is taken without a word.
  const std::wstring file = folder_.WriteFile(L"a file", "x");
  const std::vector<std::wstring> places{file + L"\\below\\", folder_ / L"own\\"};
  EXPECT_EQ(engine::CreateWorkFolder(work_, places), folder_ / L"own\\work_temp");
  EXPECT_TRUE(FileExists(folder_ / L"own\\work_temp"));
  EXPECT_TRUE(prompts_.Shown().empty());

  // None: the files are then removed in their own folders.
  SetLastError(ERROR_SUCCESS);
  EXPECT_EQ(engine::CreateWorkFolder(work_, {file + L"\\below\\", file + L"\\"}), L"");
  ASSERT_EQ(prompts_.Shown().size(), 1u);
  const std::wstring& text = prompts_.Shown()[0].text;
  const std::wstring first = L"作業用フォルダを作成することができませんでした。\n";
  EXPECT_EQ(text.substr(0, first.size()), first) << "the system's reason follows on a line of its own";
  EXPECT_GT(text.size(), first.size());
  EXPECT_EQ(prompts_.Shown()[0].caption, L"binshredder");
  EXPECT_EQ(prompts_.Shown()[0].flags, static_cast<UINT>(MB_ICONERROR));
}

}  // namespace
