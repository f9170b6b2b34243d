// "-C": the complete erase of the recycle bin, started as the recycle bin's
// own right-click command starts it, and answered from outside.
#include <gtest/gtest.h>
#include <shlobj.h>

#include "tests/e2e/support/app_folder.h"
#include "tests/support/registry_snapshot.h"
#include "tests/support/system_state.h"
#include "tests/support/temp_folder.h"
#include "winframe/system_error.h"

namespace {

constexpr char kQuestionFormat[] = "ごみ箱の中の %d 個のファイルを完全に抹消しますか？";
constexpr char kDone[] = "ごみ箱の中身を完全に抹消しました。";

std::string Question(long long count) {
  std::string text = kQuestionFormat;
  text.replace(text.find("%d"), 2, std::to_string(count));
  return text;
}

// A recycle bin with something in both places the erase looks at: Wine's
// trash, which the count and the emptying see, and the folder under C: where
// Windows keeps the deleted files, which the walk wipes.
class RecycleBinErase : public ::testing::Test {
 protected:
  void SetUp() override {
    EmptyRecycleBin();
    RemoveTree("C:\\Recycler");
    RemoveTree(outside_);
    CreateDirectoryA(outside_.c_str(), nullptr);
    for (int i = 0; i < 3; ++i) {
      const std::string file = outside_ + "\\trashed" + std::to_string(i) + ".txt";
      WriteWholeFile(file, "deleted " + std::to_string(i));
      ASSERT_TRUE(MoveToRecycleBin(file));
    }
    items_ = RecycleBinItems();
    ASSERT_EQ(items_, 3);

    CreateDirectoryA("C:\\Recycler", nullptr);
    CreateDirectoryA(bin_.c_str(), nullptr);
    WriteWholeFile(bin_ + "\\Dc1.txt", "first deleted file");
    WriteWholeFile(bin_ + "\\$IABCDEF.txt", "index record naming the original");
    CreateDirectoryA((bin_ + "\\Dc2").c_str(), nullptr);
    CreateDirectoryA((bin_ + "\\Dc2\\deeper").c_str(), nullptr);
    WriteWholeFile(bin_ + "\\Dc2\\inner.txt", "inside a deleted folder");
    WriteWholeFile(bin_ + "\\Dc2\\deeper\\deep.txt", "two levels down");
    WriteWholeFile(bin_ + "\\INFO2", "index");
    WriteWholeFile(bin_ + "\\desktop.ini", "[.ShellClassInfo]");
    // Wine's names are case-insensitive like Windows': the other letter case
    // lives in a deleted folder of its own.
    WriteWholeFile(bin_ + "\\Dc2\\Desktop.ini", "other letter case");
    SetFileAttributesA((bin_ + "\\Dc1.txt").c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN);
  }

  void TearDown() override {
    EmptyRecycleBin();
    RemoveTree("C:\\Recycler");
    RemoveTree(outside_);
  }

  // Starts "-C" and returns the confirmation box.
  HWND StartErase(uidrv::Process& process) {
    process = app_.Start("-C");
    HWND box = uidrv::WaitDialog("確認", uidrv::kDefaultTimeoutMs, process.pid);
    if (box) {
      EXPECT_EQ(uidrv::MessageText(box), Question(items_));
      // A one-shot run shows no tool window.
      EXPECT_EQ(uidrv::TopLevelWindows(true, process.pid).size(), 1u);
    }
    return box;
  }

  // Yes to the question; the erase reports success and the run ends.
  static void AnswerYesAndExpectSuccess(HWND question, uidrv::Process& process) {
    uidrv::Press(question, IDYES);
    HWND done = uidrv::WaitDialog("情報", 60000, process.pid);
    ASSERT_TRUE(done);
    EXPECT_EQ(uidrv::MessageText(done), kDone);
    uidrv::Press(done, IDOK);
    EXPECT_EQ(uidrv::WaitExit(process), 0u);
  }

  void ExpectUntouched() {
    EXPECT_EQ(ReadWholeFile(bin_ + "\\Dc2\\deeper\\deep.txt"), "two levels down");
    EXPECT_EQ(ReadWholeFile(bin_ + "\\Dc2\\Desktop.ini"), "other letter case");
    EXPECT_TRUE(FileExists(bin_ + "\\Dc1.txt"));
    EXPECT_EQ(RecycleBinItems(), items_);
  }

  AppFolder app_{"recycle bin"};
  std::string bin_ = UserRecycleBinFolder();
  std::string outside_ = "C:\\e2e\\outside the bin";
  long long items_ = 0;
};

TEST_F(RecycleBinErase, YesWipesEveryFileAtEveryDepthAndEmptiesTheBin) {
  uidrv::Process process;
  HWND box = StartErase(process);
  ASSERT_TRUE(box);
  AnswerYesAndExpectSuccess(box, process);

  for (const char* wiped : {"Dc1.txt", "$IABCDEF.txt", "Dc2\\Desktop.ini", "Dc2\\inner.txt", "Dc2\\deeper\\deep.txt"}) {
    EXPECT_FALSE(FileExists(bin_ + "\\" + wiped)) << wiped;
  }
  // Left for the platform's emptying: the index and the desktop file, and the
  // folder skeletons (Wine's emptying does not reach this folder).
  EXPECT_EQ(ReadWholeFile(bin_ + "\\INFO2"), "index");
  EXPECT_EQ(ReadWholeFile(bin_ + "\\desktop.ini"), "[.ShellClassInfo]");
  EXPECT_TRUE(FileExists(bin_ + "\\Dc2\\deeper"));
  EXPECT_EQ(RecycleBinItems(), 0);
  EXPECT_FALSE(FileExists(app_.WorkFolder()));
}

TEST_F(RecycleBinErase, NoChangesNothingAndSaysNothing) {
  uidrv::Process process;
  HWND box = StartErase(process);
  ASSERT_TRUE(box);
  uidrv::Press(box, IDNO);
  EXPECT_EQ(uidrv::WaitExit(process), 0u);
  ExpectUntouched();
  EXPECT_FALSE(FileExists(app_.WorkFolder())) << "made for the erase, and gone with it";
}

std::string UserFolder(int csidl) {
  char path[MAX_PATH] = {};
  SHGetFolderPathA(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path);
  return std::string(path) + "\\MORVANE Shredder";
}

// Started from a folder the account may not write (Program Files for a
// standard user, a CD, a share): the settings are the account's own, made
// from the folder's defaults, the work folder is made in the account's own
// folder when the erase needs it, and no start says a word about either.
TEST_F(RecycleBinErase, FromAFolderTheUserMayNotWriteEveryStartWorksWithTheUsersOwnFolders) {
  const std::string settings = UserFolder(CSIDL_APPDATA);
  const std::string work = UserFolder(CSIDL_LOCAL_APPDATA);
  RemoveTree(settings);
  RemoveTree(work);
  const std::string defaults = "[ProgramData]\r\nOverWriteTimes=2\r\nDelOnQuit=0\r\n";
  WriteWholeFile(app_.Ini(), defaults);
  struct ReadOnly {
    explicit ReadOnly(const std::string& folder) : folder_(folder) { ok = ChangeUnixMode(Wide(folder), "555"); }
    ~ReadOnly() { ChangeUnixMode(Wide(folder_), "755"); }
    std::string folder_;
    bool ok = false;
  } readOnly(app_.Dir());
  ASSERT_TRUE(readOnly.ok);

  // A windowed start: its window comes up with no box before it.
  uidrv::Process windowed = app_.Start();
  HWND window = app_.WaitMainWindow(windowed);
  ASSERT_TRUE(window);
  uidrv::Post(window, WM_CLOSE, 0, 0);
  EXPECT_EQ(uidrv::WaitExit(windowed), 0u);
  const std::string own = ReadWholeFile(settings + "\\OPTION.INI");
  EXPECT_EQ(own.rfind(defaults, 0), 0u) << own;
  EXPECT_NE(own.find("DlgLeft="), std::string::npos) << "the closing wrote the user's own file";
  EXPECT_EQ(ReadWholeFile(app_.Ini()), defaults);

  // A file list: the question is the first box.
  const std::string file = outside_ + "\\listed.txt";
  WriteWholeFile(file, "listed");
  uidrv::Process list = app_.Start("\"" + file + "\"");
  ASSERT_TRUE(AnswerBox(list, "確認", "選択されたファイルを完全に抹消しますか？", IDYES));
  ASSERT_TRUE(AnswerBox(list, "情報", "1 個のファイルを完全に抹消しました。", IDOK));
  EXPECT_EQ(uidrv::WaitExit(list), 0u);
  EXPECT_FALSE(FileExists(file));

  // The recycle bin's erase, through a work folder of the user's own.
  uidrv::Process process;
  HWND box = StartErase(process);
  ASSERT_TRUE(box);
  AnswerYesAndExpectSuccess(box, process);
  EXPECT_FALSE(FileExists(bin_ + "\\Dc2\\deeper\\deep.txt"));
  EXPECT_EQ(RecycleBinItems(), 0);
  EXPECT_TRUE(FileExists(work)) << "the erase made its place";
  EXPECT_FALSE(FileExists(work + "\\work_temp"));
  EXPECT_FALSE(FileExists(app_.WorkFolder()));
  RemoveTree(settings);
  RemoveTree(work);
}

TEST_F(RecycleBinErase, AnEmptyRecycleBinEndsWithoutAnyMessage) {
  ASSERT_TRUE(EmptyRecycleBin());
  uidrv::Process process = app_.Start("-C");
  EXPECT_EQ(uidrv::WaitExit(process), 0u);
  EXPECT_EQ(ReadWholeFile(bin_ + "\\Dc1.txt"), "first deleted file");
}

TEST_F(RecycleBinErase, LinksAndHardLinkedFilesLeadNowhereOutside) {
  const std::string canaryFolder = outside_ + "\\linked folder";
  CreateDirectoryA(canaryFolder.c_str(), nullptr);
  WriteWholeFile(canaryFolder + "\\canary.txt", "must survive");
  ASSERT_TRUE(MakeSymbolicLink(canaryFolder, bin_ + "\\Dlink"));
  ASSERT_NE(GetFileAttributesA((bin_ + "\\Dlink").c_str()) & FILE_ATTRIBUTE_REPARSE_POINT, 0u);
  const std::string hardTarget = outside_ + "\\hard target.txt";
  WriteWholeFile(hardTarget, "still used under another name");
  ASSERT_TRUE(CreateHardLinkA((bin_ + "\\Dhard.txt").c_str(), hardTarget.c_str(), nullptr));

  uidrv::Process process;
  HWND box = StartErase(process);
  ASSERT_TRUE(box);
  AnswerYesAndExpectSuccess(box, process);

  EXPECT_EQ(ReadWholeFile(canaryFolder + "\\canary.txt"), "must survive");
  EXPECT_EQ(ReadWholeFile(hardTarget), "still used under another name");
  EXPECT_FALSE(FileExists(bin_ + "\\Dc1.txt"));
}

TEST_F(RecycleBinErase, AFileThatCannotBeWipedKeepsTheBinFromBeingEmptied) {
  const std::string locked = bin_ + "\\Dlocked.txt";
  WriteWholeFile(locked, "held open elsewhere");
  HANDLE holder = CreateFileA(locked.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(holder, INVALID_HANDLE_VALUE);

  uidrv::Process process;
  HWND box = StartErase(process);
  ASSERT_TRUE(box);
  uidrv::Press(box, IDYES);
  HWND cannotOpen = uidrv::WaitDialog("エラー", 60000, process.pid);
  ASSERT_TRUE(cannotOpen);
  EXPECT_EQ(uidrv::MessageText(cannotOpen),
            "ファイル \"" + locked + "\" が開けません\n" + Ansi(wf::SystemReason(ERROR_SHARING_VIOLATION)));
  uidrv::Press(cannotOpen, IDOK);
  ASSERT_TRUE(uidrv::WaitGone(cannotOpen));
  HWND summary = uidrv::WaitDialog("エラー", 60000, process.pid);
  ASSERT_TRUE(summary);
  EXPECT_EQ(uidrv::MessageText(summary).rfind("1 個のファイルを上書きできなかった", 0), 0u)
      << uidrv::MessageText(summary);
  uidrv::Press(summary, IDOK);
  EXPECT_EQ(uidrv::WaitExit(process), 0u);
  CloseHandle(holder);

  EXPECT_EQ(ReadWholeFile(locked), "held open elsewhere");
  EXPECT_FALSE(FileExists(bin_ + "\\Dc1.txt"));  // the others were wiped
  EXPECT_EQ(RecycleBinItems(), items_);          // and nothing emptied
}

TEST_F(RecycleBinErase, TheRecycleBinVerbRegisteredFromTheOptionsRunsTheErase) {
  constexpr char kShell[] = "CLSID\\{645FF040-5081-101B-9F08-00AA002F954E}\\shell";
  RegistryTreeGuard savedShell(HKEY_CLASSES_ROOT, kShell);
  DeleteRegistryTree(HKEY_CLASSES_ROOT, kShell);

  // Registered the way a user does it: options, the check box, OK.
  uidrv::Process windowed = app_.Start();
  HWND window = app_.WaitMainWindow(windowed);
  ASSERT_TRUE(window);
  uidrv::Press(window, 1000);
  HWND options = uidrv::WaitDialog("オプション設定", uidrv::kDefaultTimeoutMs, windowed.pid);
  ASSERT_TRUE(options);
  uidrv::Click(options, 1011);
  for (int i = 0; i < 100 && uidrv::CheckState(options, 1011) != BST_CHECKED; ++i) Sleep(50);
  uidrv::Press(options, IDOK);
  ASSERT_TRUE(uidrv::WaitGone(options));
  uidrv::Post(window, WM_CLOSE, 0, 0);
  ASSERT_EQ(uidrv::WaitExit(windowed), 0u);

  const auto command = ReadRegistryValue(HKEY_CLASSES_ROOT, std::string(kShell) + "\\M-Shredder\\command", nullptr);
  ASSERT_TRUE(command);
  const std::string line = command->bytes.substr(0, command->bytes.find('\0'));
  EXPECT_EQ(line, "\"" + app_.Exe() + "\" -C");

  // The shell starts a verb with its command line as it stands.
  uidrv::Process process = app_.StartRaw(line);
  HWND box = uidrv::WaitDialog("確認", uidrv::kDefaultTimeoutMs, process.pid);
  ASSERT_TRUE(box);
  EXPECT_EQ(uidrv::MessageText(box), Question(items_));
  AnswerYesAndExpectSuccess(box, process);
  EXPECT_FALSE(FileExists(bin_ + "\\Dc1.txt"));
  EXPECT_EQ(RecycleBinItems(), 0);
}

}  // namespace
