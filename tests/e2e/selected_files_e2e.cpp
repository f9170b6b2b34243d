// Shredding files the user picked, with the real binshredder.exe: "-D" with
// the hand-off list on the clipboard, and quoted paths on the command line,
// each answered from outside as the user would.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "contextmenu/handoff_writer.h"
#include "tests/e2e/support/app_folder.h"
#include "tests/support/system_state.h"
#include "tests/support/temp_folder.h"
#include "winframe/handles.h"
#include "winframe/system_error.h"

namespace {

constexpr char kConfirm[] = "選択されたファイルを完全に抹消しますか？";
constexpr char kNothingErased[] = "ファイル削除は行なわれませんでした。";

std::string Erased(int count) {
  return std::to_string(count) + " 個のファイルを完全に抹消しました。";
}

std::string Quoted(const std::string& path) {
  return "\"" + path + "\"";
}

bool HasTemporaryNames(const std::string& folder) {
  return !NamesIn(folder, "ms*.tmp").empty();
}

class SelectedFiles : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(ClearClipboard()); }
  void TearDown() override {
    uidrv::Close(process_);
    ClearClipboard();
  }

  void Answer(const char* caption, const std::string& text, int button) {
    ASSERT_TRUE(AnswerBox(process_, caption, text, button));
  }
  // The confirmation, Yes, the boxes of `messages` in order (each with its
  // caption), then the result; the run ends with code 0.
  void ConfirmAndExpect(const std::vector<std::pair<const char*, std::string>>& messages, const std::string& result) {
    Answer("確認", kConfirm, IDYES);
    for (const auto& [caption, text] : messages) Answer(caption, text, IDOK);
    Answer("情報", result, IDOK);
    EXPECT_EQ(uidrv::WaitExit(process_), 0u);
  }

  AppFolder app_{"selected files"};
  TempFolder files_{"C:\\e2e\\selected-files"};
  uidrv::Process process_;
};

TEST_F(SelectedFiles, HandOffDeclinedLeavesTheClipboardAndTheFiles) {
  const std::string a = files_.WriteFile("a.txt", "kept");
  const std::string list = "," + a;
  ASSERT_TRUE(SetClipboardText(list));
  process_ = app_.Start("-D");
  Answer("確認", kConfirm, IDNO);
  EXPECT_EQ(uidrv::WaitExit(process_), 0u);
  EXPECT_EQ(ClipboardText(), list);
  EXPECT_EQ(ReadWholeFile(a), "kept");
}

TEST_F(SelectedFiles, HandOffErasesTheFilesDeclinesTheFolderAndEmptiesTheClipboard) {
  const std::string a = files_.WriteFile("a.txt", "secret");
  const std::string japanese = files_.WriteFile("表示.txt", "secret");  // the trail byte of 表 is a backslash
  const std::string folder = files_ / "フォルダ";
  CreateDirectoryA(folder.c_str(), nullptr);
  ASSERT_TRUE(SetClipboardText("," + a + "," + folder + "," + japanese));
  process_ = app_.Start("-D");
  // A one-shot run shows no tool window, only its boxes.
  ASSERT_TRUE(uidrv::WaitDialog("確認", uidrv::kDefaultTimeoutMs, process_.pid));
  EXPECT_EQ(uidrv::TopLevelWindows(true, process_.pid).size(), 1u);
  ConfirmAndExpect({{"情報", Quoted(folder) + " はフォルダのため処理しません。"}}, Erased(2));

  EXPECT_FALSE(FileExists(a));
  EXPECT_FALSE(FileExists(japanese));
  EXPECT_TRUE(FileExists(folder));
  EXPECT_FALSE(HasTemporaryNames(files_.Path()));
  EXPECT_FALSE(ClipboardText()) << "the list is consumed";
}

// Another program copies while the question waits: the clipboard is free for
// it, and what it put there stays after the erase, which takes the list off
// only while the list is what the clipboard holds.
TEST_F(SelectedFiles, TheClipboardIsFreeDuringTheQuestionAndWhatIsCopiedMeanwhileStays) {
  const std::string a = files_.WriteFile("a.txt", "secret");
  ASSERT_TRUE(SetClipboardText("," + a));
  process_ = app_.Start("-D");
  ASSERT_TRUE(uidrv::WaitDialog("確認", uidrv::kDefaultTimeoutMs, process_.pid));
  ASSERT_TRUE(SetClipboardText("copied meanwhile")) << "the question holds the clipboard";
  ConfirmAndExpect({}, Erased(1));
  EXPECT_FALSE(FileExists(a));
  EXPECT_EQ(ClipboardText(), "copied meanwhile");
}

// Nobody is turned away while nothing is written: an erase asked right after
// another's result was answered (its process may still be ending), and one
// asked while another's question is open, are both done.
TEST_F(SelectedFiles, AnEraseRightAfterAnotherAndOneAskedDuringItsQuestionAreAllDone) {
  std::vector<std::string> files;
  for (const char* name : {"1.txt", "2.txt", "3.txt", "4.txt"}) files.push_back(files_.WriteFile(name, "secret"));
  uidrv::Process first = app_.Start(Quoted(files[0]));
  ASSERT_TRUE(AnswerBox(first, "確認", kConfirm, IDYES));
  ASSERT_TRUE(AnswerBox(first, "情報", Erased(1), IDOK));
  uidrv::Process second = app_.Start(Quoted(files[1]));
  ASSERT_TRUE(AnswerBox(second, "確認", kConfirm, IDYES));
  ASSERT_TRUE(AnswerBox(second, "情報", Erased(1), IDOK));

  uidrv::Process asking = app_.Start(Quoted(files[2]));
  ASSERT_TRUE(uidrv::WaitDialog("確認", uidrv::kDefaultTimeoutMs, asking.pid));
  uidrv::Process meanwhile = app_.Start(Quoted(files[3]));
  ASSERT_TRUE(AnswerBox(meanwhile, "確認", kConfirm, IDYES));
  ASSERT_TRUE(AnswerBox(meanwhile, "情報", Erased(1), IDOK));
  ASSERT_TRUE(AnswerBox(asking, "確認", kConfirm, IDYES));
  ASSERT_TRUE(AnswerBox(asking, "情報", Erased(1), IDOK));
  for (uidrv::Process* process : {&first, &second, &asking, &meanwhile}) {
    EXPECT_EQ(uidrv::WaitExit(*process), 0u);
    uidrv::Close(*process);
  }
  for (const std::string& file : files) EXPECT_FALSE(FileExists(file)) << file;
}

// Started with a UTF-16 command line, as Explorer, a shortcut or PowerShell
// start it: the chosen files are erased whatever their names and length, and
// the look-alike that the ANSI spelling of "résumé.txt" names is kept.
TEST_F(SelectedFiles, AUtf16CommandLineErasesTheChosenFilesAndNeverTheirLookAlikes) {
  const std::string lookAlike = files_.WriteFile("resume.txt", "never chosen");
  const std::wstring deep = MakeDeepFolder(files_.WidePath(), std::wstring(60, L'長'));
  ASSERT_FALSE(deep.empty());
  const std::vector<std::wstring> chosen = {files_.WriteFile(L"résumé.txt", "chosen"),
                                            files_.WriteFile(L"한국어 \U0001F600.txt", "chosen"), deep + L"\\deep.txt"};
  ASSERT_TRUE(WriteWholeFile(chosen[2], "chosen"));
  std::wstring arguments;
  for (const std::wstring& path : chosen) arguments += (arguments.empty() ? L"\"" : L" \"") + path + L"\"";
  process_ = app_.StartWide(arguments);
  ConfirmAndExpect({}, Erased(3));
  for (const std::wstring& path : chosen) EXPECT_FALSE(FileExists(path)) << Ansi(path);
  EXPECT_EQ(ReadWholeFile(lookAlike), "never chosen");
  EXPECT_FALSE(HasTemporaryNames(files_.Path()));
}

TEST_F(SelectedFiles, OnlyFoldersEraseNothingAndNoTextAsksNothing) {
  const std::string folder = files_ / "only";
  CreateDirectoryA(folder.c_str(), nullptr);
  ASSERT_TRUE(SetClipboardText("," + folder));
  process_ = app_.Start("-D");
  ConfirmAndExpect({{"情報", Quoted(folder) + " はフォルダのため処理しません。"}}, kNothingErased);
  EXPECT_FALSE(ClipboardText());

  // Nothing on the clipboard: no window, no message.
  uidrv::Process silent = app_.Start("-D");
  EXPECT_TRUE(uidrv::StaysAbsent("", "", 1500, silent.pid));
  EXPECT_EQ(uidrv::WaitExit(silent), 0u);
  uidrv::Close(silent);
}

// From the command line: a file gone since it was chosen and a name given
// twice are told by their names and the batch goes on; a file held by
// another program stops it there, named, with the system's reason, and the
// files after it stay untouched.
TEST_F(SelectedFiles, AGoneFileAndARepeatedNameAreToldAndAFileInUseStopsTheBatch) {
  const std::string first = files_.WriteFile("1.txt", "secret");
  const std::string gone = files_ / "gone.txt";
  const std::string locked = files_.WriteFile("2.txt", "secret");
  const std::string third = files_.WriteFile("3.txt", "secret");
  {
    wf::UniqueFile holder(
        CreateFileA(locked.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(holder);
    process_ = app_.Start(Quoted(first) + " " + Quoted(gone) + " " + Quoted(first) + " " + Quoted(locked) + " " +
                          Quoted(third));
    ConfirmAndExpect({{"情報", Quoted(gone) + " は見つからないため処理しません。"},
                      {"情報", Quoted(first) + " は前にも指定されているため処理しません。"},
                      {"エラー", "ファイル " + Quoted(locked) + " が開けません\n" +
                                     Ansi(wf::SystemReason(ERROR_SHARING_VIOLATION))}},
                     Erased(1));
  }
  EXPECT_FALSE(FileExists(first));
  EXPECT_EQ(ReadWholeFile(locked), "secret");
  EXPECT_EQ(ReadWholeFile(third), "secret");
  EXPECT_FALSE(HasTemporaryNames(files_.Path()));
}

// A viewer maps one file, sharing its deletion: its content is overwritten,
// and its name goes at once where the platform can do that; elsewhere it
// keeps its own name, the user is told which file, and no temporary name is
// left behind.
TEST_F(SelectedFiles, AFileMappedByAnotherProgramIsNamedWhenItsNameCannotGo) {
  const std::string mapped = files_.WriteFile("mapped.txt", std::string(8192, 'm'));
  const std::string other = files_.WriteFile("other.txt", "secret");
  wf::UniqueFile viewer(CreateFileA(mapped.c_str(), GENERIC_READ,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING, 0,
                                    nullptr));
  ASSERT_TRUE(viewer);
  wf::UniqueHandle mapping(CreateFileMappingA(viewer.Get(), nullptr, PAGE_READONLY, 0, 0, nullptr));
  ASSERT_TRUE(mapping);
  const void* view = MapViewOfFile(mapping.Get(), FILE_MAP_READ, 0, 0, 0);
  ASSERT_TRUE(view);
  process_ = app_.Start(Quoted(mapped) + " " + Quoted(other));
  Answer("確認", kConfirm, IDYES);
  HWND box = nullptr, error = nullptr;
  for (int i = 0; i < 100 && !box && !error; ++i) {
    error = uidrv::WaitDialog("エラー", 50, process_.pid);
    if (!error) box = uidrv::WaitDialog("情報", 50, process_.pid);
  }
  if (error) {
    EXPECT_EQ(uidrv::MessageText(error),
              Quoted(mapped) + " は上書きしましたが、ほかのプログラムが開いているため削除できませんでした。\n" +
                  Ansi(wf::SystemReason(ERROR_SHARING_VIOLATION)));
    uidrv::Press(error, IDOK);
    ASSERT_TRUE(uidrv::WaitGone(error));
    Answer("情報", Erased(1), IDOK);
    EXPECT_TRUE(FileExists(mapped));
  } else {
    ASSERT_TRUE(box);
    EXPECT_EQ(uidrv::MessageText(box), Erased(2));
    uidrv::Press(box, IDOK);
  }
  EXPECT_EQ(uidrv::WaitExit(process_), 0u);
  EXPECT_NE(std::string(static_cast<const char*>(view), 8), std::string(8, 'm')) << "overwritten where it lies";
  UnmapViewOfFile(view);
  EXPECT_FALSE(FileExists(other));
  EXPECT_FALSE(HasTemporaryNames(files_.Path()));
}

TEST_F(SelectedFiles, ANameWithACommaIsErasedWholeThroughTheHandOff) {
  const std::string bystander = files_.WriteFile("a", "never chosen");
  const std::string comma = files_.WriteFile("a,b.txt", "chosen");
  // As the context menu leaves it: the text and the same names in UTF-16.
  ASSERT_TRUE(shellext::PutHandOffList(nullptr, {Wide(comma)}));
  process_ = app_.Start("-D");
  ConfirmAndExpect({}, Erased(1));
  EXPECT_FALSE(FileExists(comma));
  EXPECT_EQ(ReadWholeFile(bystander), "never chosen");
  EXPECT_FALSE(HasTemporaryNames(files_.Path()));
}

TEST_F(SelectedFiles, ANameWithACommaIsErasedWholeFromTheCommandLine) {
  const std::string bystander = files_.WriteFile("a", "never chosen");
  const std::string comma = files_.WriteFile("a,b.txt", "chosen");
  process_ = app_.Start(Quoted(comma));
  ConfirmAndExpect({}, Erased(1));
  EXPECT_FALSE(FileExists(comma));
  EXPECT_EQ(ReadWholeFile(bystander), "never chosen");
}

TEST_F(SelectedFiles, CommandLineTakesQuotedPathsOnly) {
  const std::string blank = files_.WriteFile("with blank.txt", "secret");
  const std::string plain = files_.WriteFile("plain.txt", "secret");
  process_ = app_.Start(Quoted(blank) + " " + Quoted(plain));
  ConfirmAndExpect({}, Erased(2));
  EXPECT_FALSE(FileExists(blank));
  EXPECT_FALSE(FileExists(plain));
  uidrv::Close(process_);

  const std::string unquoted = files_.WriteFile("unquoted.txt", "kept");
  const std::string quoted = files_.WriteFile("quoted.txt", "secret");
  process_ = app_.Start(unquoted + " " + Quoted(quoted));
  ConfirmAndExpect({}, Erased(1));
  EXPECT_EQ(ReadWholeFile(unquoted), "kept");
  EXPECT_FALSE(FileExists(quoted));
  EXPECT_FALSE(HasTemporaryNames(files_.Path()));
}

}  // namespace
