// The real program on real volumes that the test bed links as drives while
// this test runs (support/volume_drives.sh): an ext4 image E:, an NTFS image
// N:, a small ext4 image F: and a subst drive S: (a folder of E:). Files in a
// drive's root and in a folder, a full volume, a sparse file larger than
// its volume's free space.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "tests/e2e/support/app_folder.h"
#include "tests/support/system_state.h"
#include "tests/support/temp_folder.h"
#include "winframe/handles.h"

namespace {

constexpr char kConfirm[] = "選択されたファイルを完全に抹消しますか？";
constexpr char kBinDone[] = "ごみ箱の中身を完全に抹消しました。";

std::string Erased(std::size_t count) {
  return std::to_string(count) + " 個のファイルを完全に抹消しました。";
}

// Whether volume_drives.sh linked drive `letter` for this run.
bool Linked(char letter) {
  const char* volumes = std::getenv("SHRED_TEST_VOLUMES");
  return volumes && std::string(volumes).find(letter) != std::string::npos;
}

unsigned long long FreeBytes(const std::string& root) {
  ULARGE_INTEGER available{};
  GetDiskFreeSpaceExA(root.c_str(), &available, nullptr, nullptr);
  return available.QuadPart;
}

// Fills a volume to its last byte: large pieces, then smaller ones, and
// again after each flush, since ext4 gives blocks back once it has written.
void Fill(const std::string& file) {
  const std::string block(1 << 20, 'f');
  for (int round = 0; round < 3; ++round) {
    wf::UniqueFile filler(
        CreateFileA((file + std::to_string(round)).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    ASSERT_TRUE(filler);
    for (DWORD size = 1 << 20; size >= 512; size /= 2) {
      DWORD written = 0;
      while (WriteFile(filler.Get(), block.data(), size, &written, nullptr) && written == size) {
      }
    }
    FlushFileBuffers(filler.Get());
  }
}

bool HasTemporaryNames(const std::string& folder) {
  WIN32_FIND_DATAA entry;
  wf::FindHandle search(FindFirstFileA((folder + "\\*.tmp").c_str(), &entry));
  return static_cast<bool>(search);
}

// Whether the platform lists drive `letter` among its drives.
bool Listed(char letter) {
  return (GetLogicalDrives() >> (letter - 'A')) & 1;
}

class Volumes : public ::testing::Test {
 protected:
  // Wine lists a drive linked a moment ago only once it has met it.
  static void SetUpTestSuite() {
    for (char letter : {'E', 'N', 'F'}) {
      for (int i = 0; i < 100 && Linked(letter) && !Listed(letter); ++i) Sleep(50);
      if (Linked(letter) && !Listed(letter)) std::printf("drive %c: is linked but not listed\n", letter);
    }
  }

  // Runs the program on `arguments`, answers Yes to `question` and expects
  // `result` as the only other box.
  void Run(const std::string& arguments, const std::string& question, const std::string& result) {
    process_ = app_.Start(arguments);
    ASSERT_TRUE(AnswerBox(process_, "確認", question, IDYES));
    ASSERT_TRUE(AnswerBox(process_, "情報", result, IDOK));
    EXPECT_EQ(uidrv::WaitExit(process_), 0u);
    uidrv::Close(process_);
  }

  AppFolder app_{"volumes"};
  uidrv::Process process_;
};

// In a drive's root or in a folder, on drive C:, on volumes of their own and
// on a subst drive: each file overwritten, renamed within its volume and
// gone, with no temporary name left anywhere.
TEST_F(Volumes, FilesInTheRootAndInAFolderOfEveryDriveAreErased) {
  std::vector<std::wstring> roots = {L"C:\\"};
  for (char letter : {'E', 'N', 'S'}) {
    if (Linked(letter)) roots.push_back(std::wstring(1, static_cast<wchar_t>(letter)) + L":\\");
  }
  // Names the ANSI code page cannot spell, as Explorer hands them over.
  std::wstring arguments;
  std::vector<std::wstring> chosen;
  for (const std::wstring& root : roots) {
    CreateDirectoryW((root + L"t").c_str(), nullptr);
    for (const std::wstring& path : {root + L"root 한é.txt", root + L"t\\third ¥.txt"}) {
      ASSERT_TRUE(WriteWholeFile(path, "secret")) << Ansi(path);
      chosen.push_back(path);
      arguments += (arguments.empty() ? L"\"" : L" \"") + path + L"\"";
    }
  }
  process_ = app_.StartWide(arguments);
  ASSERT_TRUE(AnswerBox(process_, "確認", kConfirm, IDYES));
  ASSERT_TRUE(AnswerBox(process_, "情報", Erased(chosen.size()), IDOK));
  EXPECT_EQ(uidrv::WaitExit(process_), 0u);
  for (const std::wstring& path : chosen) EXPECT_FALSE(FileExists(path)) << Ansi(path);
  for (const std::wstring& root : roots) {
    EXPECT_FALSE(HasTemporaryNames(Ansi(root))) << Ansi(root);
    EXPECT_FALSE(HasTemporaryNames(Ansi(root + L"t"))) << Ansi(root);
    RemoveDirectoryW((root + L"t").c_str());
  }
  if (roots.size() < 4) std::printf("only on %zu drives: %s\n", roots.size(), std::getenv("SHRED_TEST_VOLUMES"));
}

// A full volume is when users empty the bin: a file of whole clusters there
// is wiped in place all the same, and the bin emptied.
TEST_F(Volumes, AFullVolumeHasItsRecycleBinErased) {
  if (!Linked('F')) GTEST_SKIP() << "no volume F: here (volume_drives.sh says why)";
  const std::string bin = "F:\\$Recycle.Bin\\" + Ansi(UserSid());
  CreateDirectoryA("F:\\$Recycle.Bin", nullptr);
  CreateDirectoryA(bin.c_str(), nullptr);
  const std::string deleted = bin + "\\$RWHOLE.bin";
  ASSERT_TRUE(WriteWholeFile(deleted, std::string(8192, 'w')));
  // The count and the emptying are Wine's trash.
  ASSERT_TRUE(EmptyRecycleBin());
  const std::string trashed = "C:\\e2e\\volumes trashed.txt";
  WriteWholeFile(trashed, "deleted");
  ASSERT_TRUE(MoveToRecycleBin(trashed));
  Fill("F:\\filler");
  ASSERT_EQ(FreeBytes("F:\\"), 0u);

  // Wine counts its one trash again for every fixed drive it lists.
  int fixedDrives = 0;
  char list[512] = {};
  const DWORD length = GetLogicalDriveStringsA(sizeof(list), list);
  for (DWORD at = 0; at < length && list[at] != '\0'; at += static_cast<DWORD>(std::strlen(list + at)) + 1) {
    fixedDrives += GetDriveTypeA(list + at) == DRIVE_FIXED;
  }
  Run("-C", "ごみ箱の中の " + std::to_string(fixedDrives) + " 個のファイルを完全に抹消しますか？", kBinDone);
  EXPECT_FALSE(FileExists(deleted)) << (ReadWholeFile(deleted) == std::string(8192, 'w') ? "never overwritten"
                                                                                         : "overwritten, not removed");
  EXPECT_EQ(RecycleBinItems(), 0);
  for (int round = 0; round < 3; ++round) DeleteFileA(("F:\\filler" + std::to_string(round)).c_str());
  RemoveTree("F:\\$Recycle.Bin");
}

// Its holes hold nothing: they are not filled, and the volume ends no
// fuller than it was.
TEST_F(Volumes, ASparseFileLargerThanItsVolumesFreeSpaceLeavesItNoFuller) {
  if (!Linked('F')) GTEST_SKIP() << "no volume F: here (volume_drives.sh says why)";
  const std::string sparse = "F:\\sparse.bin";
  {
    wf::UniqueFile file(CreateFileA(sparse.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    ASSERT_TRUE(file);
    LARGE_INTEGER at{};
    at.QuadPart = LONGLONG{3} << 20;
    DWORD written = 0;
    ASSERT_TRUE(SetFilePointerEx(file.Get(), at, nullptr, FILE_BEGIN) &&
                WriteFile(file.Get(), "data", 4, &written, nullptr));
    at.QuadPart = LONGLONG{64} << 20;
    ASSERT_TRUE(SetFilePointerEx(file.Get(), at, nullptr, FILE_BEGIN) && SetEndOfFile(file.Get()));
  }
  const unsigned long long before = FreeBytes("F:\\");
  ASSERT_LT(before, 64ull << 20);

  Run("\"" + sparse + "\"", kConfirm, Erased(1));
  EXPECT_FALSE(FileExists(sparse));
  EXPECT_GE(FreeBytes("F:\\"), before);
}

}  // namespace
