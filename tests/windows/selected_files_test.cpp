// The selected-file batches with the real code under Wine: the hand-off list
// on the clipboard, the command-line list and a drop handle built here, with
// the message boxes answered through the prompt seam and the progress window
// recorded call by call.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/handoff_list.h"
#include "contextmenu/handoff_writer.h"
#include "shredder/engine/progress_dialog.h"
#include "shredder/engine/selected_files.h"
#include "tests/support/system_state.h"
#include "tests/support/temp_folder.h"
#include "tests/windows/support/progress_recorder.h"
#include "tests/windows/support/scripted_prompts.h"
#include "winframe/handles.h"

namespace {

using Texts = std::vector<std::string>;
using Log = std::vector<std::string>;

constexpr char kConfirm[] = "選択されたファイルを完全に抹消しますか？";
constexpr char kNothingErased[] = "ファイル削除は行なわれませんでした。";
constexpr char kFolder[] = " はフォルダのため処理しません。";

std::string Erased(int count) {
  return std::to_string(count) + " 個のファイルを完全に抹消しました。";
}

std::string Quoted(const std::string& path) {
  return "\"" + path + "\"";
}

// The temporary names the batch may have left in a folder.
std::vector<std::string> Leftovers(const std::string& folder) {
  std::vector<std::string> names;
  WIN32_FIND_DATAA entry;
  HANDLE search = FindFirstFileA((folder + "\\ms*.tmp").c_str(), &entry);
  if (search == INVALID_HANDLE_VALUE) return names;
  do names.emplace_back(entry.cFileName);
  while (FindNextFileA(search, &entry));
  FindClose(search);
  return names;
}

// A drop handle as the platform hands one to WM_DROPFILES: a global block
// holding a DROPFILES header and the names.
class Drop {
 public:
  explicit Drop(const std::string& block) : memory_(GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, block.size())) {
    wf::GlobalLockGuard lock(memory_.Get());
    if (lock) memcpy(lock.Data(), block.data(), block.size());
  }
  explicit Drop(const std::vector<std::string>& paths) : Drop(handoff::DropFilesBlock(paths)) {}
  HDROP Handle() const { return static_cast<HDROP>(memory_.Get()); }

 private:
  wf::GlobalMemory memory_;
};

// A drop of UTF-16 names, as Explorer makes it.
std::string WideDropBlock(const std::vector<std::wstring>& names) {
  std::string block = handoff::DropFilesBlock({});
  block.pop_back();
  block[16] = 1;  // fWide
  for (const std::wstring& name : names) {
    block.append(reinterpret_cast<const char*>(name.c_str()), (name.size() + 1) * sizeof(wchar_t));
  }
  block.append(sizeof(wchar_t), '\0');
  return block;
}

class SelectedFilesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    work_.passes = 1;
    work_.progress = &progressDialog_;
    work_.busy = &busy_;
    ASSERT_TRUE(ClearClipboard());
  }
  void TearDown() override { ClearClipboard(); }

  std::string File(const std::string& name, const std::string& content = "secret") {
    return folder_.WriteFile(name, content);
  }
  std::string Folder(const std::string& name) {
    CreateDirectoryA((folder_ / name).c_str(), nullptr);
    return folder_ / name;
  }
  void RunCommandLine(const std::string& line) {
    prompts_.Answer(IDYES);
    engine::ShredCommandLineList(work_, line);
  }
  void RunDrop(const std::vector<std::string>& paths) {
    Drop drop(paths);
    prompts_.Answer(IDYES);
    engine::ShredDroppedFiles(work_, drop.Handle());
  }

  TempFolder folder_;
  ScriptedPrompts prompts_;
  CProgressDialog progressDialog_;
  engine::BusyFlag busy_;
  engine::WorkContext work_;
  ProgressRecorder progress_{progressDialog_};
};

TEST_F(SelectedFilesTest, ClipboardListIsConfirmedErasedCountedAndConsumed) {
  const std::string a = File("a.txt");
  const std::string japanese = File("表示.txt");  // the trail byte of 表 is a backslash
  const std::string other = File("not listed.txt", "kept");
  ASSERT_TRUE(SetClipboardText(",," + a + ",," + japanese + ","));
  prompts_.Answer(IDYES);
  engine::ShredClipboardList(work_);

  ASSERT_EQ(prompts_.Texts(), (Texts{kConfirm, Erased(2)}));
  EXPECT_EQ(prompts_.Shown()[0].caption, "確認");
  EXPECT_EQ(prompts_.Shown()[0].flags, static_cast<UINT>(MB_YESNO | MB_ICONQUESTION));
  EXPECT_EQ(prompts_.Shown()[1].caption, "情報");
  EXPECT_EQ(prompts_.Shown()[1].flags, static_cast<UINT>(MB_ICONINFORMATION));
  EXPECT_EQ(progress_.Log(), (Log{"open", "range 0-2 at 0", "step to 1", "step to 2", "close"}));
  EXPECT_FALSE(FileExists(a));
  EXPECT_FALSE(FileExists(japanese));
  EXPECT_EQ(ReadWholeFile(other), "kept");
  EXPECT_TRUE(Leftovers(folder_.Path()).empty());
  EXPECT_FALSE(IsClipboardFormatAvailable(CF_TEXT));
}

TEST_F(SelectedFilesTest, DecliningLeavesTheListAndTheFilesAndNoTextMeansNoQuestion) {
  const std::string a = File("a.txt");
  ASSERT_TRUE(SetClipboardText("," + a));
  prompts_.Answer(IDNO);
  engine::ShredClipboardList(work_);
  EXPECT_EQ(prompts_.Texts(), Texts{kConfirm});
  EXPECT_EQ(ClipboardText(), "," + a);
  EXPECT_EQ(ReadWholeFile(a), "secret");
  EXPECT_TRUE(progress_.Log().empty());

  prompts_.Clear();
  ASSERT_TRUE(ClearClipboard());
  engine::ShredClipboardList(work_);
  EXPECT_TRUE(prompts_.Shown().empty());
  EXPECT_TRUE(progress_.Log().empty());
  EXPECT_EQ(ReadWholeFile(a), "secret");
}

TEST_F(SelectedFilesTest, HandOffWithADropListKeepsANameWithACommaWhole) {
  const std::string bystander = File("a", "never chosen");
  const std::string comma = File("a,b.txt");
  ASSERT_TRUE(shellext::PutHandOffList(nullptr, {comma}));
  prompts_.Answer(IDYES);
  engine::ShredClipboardList(work_);
  EXPECT_EQ(prompts_.Texts(), (Texts{kConfirm, Erased(1)}));
  EXPECT_EQ(progress_.Log(), (Log{"open", "range 0-1 at 0", "step to 1", "close"}));
  EXPECT_FALSE(FileExists(comma));
  EXPECT_EQ(ReadWholeFile(bystander), "never chosen");
  EXPECT_FALSE(IsClipboardFormatAvailable(CF_TEXT));
  EXPECT_FALSE(IsClipboardFormatAvailable(CF_HDROP));
}

TEST_F(SelectedFilesTest, TextAloneIsSplitAndARelativePieceIsNeverResolved) {
  // Text from someone else: split at commas. "b.txt" would name a file in
  // whatever folder the program happens to run in.
  const std::string relative = File("b.txt", "in the working folder");
  const std::string a = File("a.txt");
  char previous[MAX_PATH];
  GetCurrentDirectoryA(MAX_PATH, previous);
  SetCurrentDirectoryA(folder_.Path().c_str());
  ASSERT_TRUE(SetClipboardText(",b.txt," + a));
  prompts_.Answer(IDYES);
  engine::ShredClipboardList(work_);
  SetCurrentDirectoryA(previous);

  EXPECT_EQ(prompts_.Texts(), (Texts{kConfirm, "\"b.txt\" は完全なパスではないため処理しません。", Erased(1)}));
  EXPECT_EQ(prompts_.Shown()[1].caption, "情報");
  EXPECT_EQ(progress_.Log(), (Log{"open", "range 0-2 at 0", "step to 1", "step to 2", "close"}));
  EXPECT_EQ(ReadWholeFile(relative), "in the working folder");
  EXPECT_FALSE(FileExists(a));
}

TEST_F(SelectedFilesTest, CommandLineTakesTheQuotedPathsWhole) {
  const std::string blank = File("with blank.txt");
  const std::string plain = File("plain.txt");
  RunCommandLine(Quoted(blank) + " " + Quoted(plain));
  EXPECT_EQ(prompts_.Texts(), (Texts{kConfirm, Erased(2)}));
  EXPECT_EQ(progress_.Log(), (Log{"open", "range 0-2 at 0", "step to 1", "step to 2", "close"}));
  EXPECT_FALSE(FileExists(blank));
  EXPECT_FALSE(FileExists(plain));

  // Text before the first quote is not a path; a comma is part of a name.
  const std::string unquoted = File("unquoted.txt", "kept");
  const std::string bystander = File("a", "kept");
  const std::string comma = File("a,b.txt");
  prompts_.Clear();
  progress_.Clear();
  RunCommandLine(unquoted + " " + Quoted(comma));
  EXPECT_EQ(prompts_.Texts(), (Texts{kConfirm, Erased(1)}));
  EXPECT_EQ(progress_.Log(), (Log{"open", "range 0-1 at 0", "step to 1", "close"}));
  EXPECT_FALSE(FileExists(comma));
  EXPECT_EQ(ReadWholeFile(unquoted), "kept");
  EXPECT_EQ(ReadWholeFile(bystander), "kept");
  EXPECT_TRUE(Leftovers(folder_.Path()).empty());

  prompts_.Clear();
  progress_.Clear();
  prompts_.Answer(IDNO);
  engine::ShredCommandLineList(work_, Quoted(unquoted));
  EXPECT_EQ(prompts_.Texts(), Texts{kConfirm});
  EXPECT_TRUE(progress_.Log().empty());
  EXPECT_EQ(ReadWholeFile(unquoted), "kept");
}

TEST_F(SelectedFilesTest, DroppedFilesAreCountedInTheQuestionAndErased) {
  const std::vector<std::string> files = {File("1.txt"), File("2.txt"), File("3.txt")};
  RunDrop(files);
  ASSERT_EQ(prompts_.Texts(), (Texts{"3 個のファイルを完全に抹消しますか？", Erased(3)}));
  EXPECT_EQ(prompts_.Shown()[0].caption, "確認");
  EXPECT_EQ(progress_.Log(), (Log{"open", "range 0-3 at 0", "step to 1", "step to 2", "step to 3", "close"}));
  for (const std::string& file : files) EXPECT_FALSE(FileExists(file)) << file;
  EXPECT_TRUE(Leftovers(folder_.Path()).empty());

  const std::string kept = File("kept.txt");
  prompts_.Clear();
  progress_.Clear();
  Drop drop(std::vector<std::string>{kept});
  prompts_.Answer(IDNO);
  engine::ShredDroppedFiles(work_, drop.Handle());
  EXPECT_EQ(prompts_.Texts(), Texts{"1 個のファイルを完全に抹消しますか？"});
  EXPECT_TRUE(progress_.Log().empty());
  EXPECT_EQ(ReadWholeFile(kept), "secret");
}

TEST_F(SelectedFilesTest, FoldersLinksAndHardLinkedFilesAreDeclinedAndTheBatchGoesOn) {
  const std::string folder = Folder("フォルダ");
  const std::string target = Folder("target");
  const std::string inside = File("target\\inside.txt", "behind the link");
  const std::string link = folder_ / "link";
  ASSERT_TRUE(MakeSymbolicLink(target, link));
  const std::string linked = File("linked.txt", "two names");
  const std::string otherName = folder_ / "other name.txt";
  ASSERT_TRUE(CreateHardLinkA(otherName.c_str(), linked.c_str(), nullptr));
  const std::string file = File("file.txt");

  RunDrop({folder, link, linked, file});
  RemoveSymbolicLink(link);
  EXPECT_EQ(prompts_.Texts(),
            (Texts{"4 個のファイルを完全に抹消しますか？", Quoted(folder) + kFolder,
                   Quoted(link) + " はリンクのため上書きしません。",
                   Quoted(linked) + " は他の名前（ハードリンク）からも使われているため上書きしません。", Erased(1)}));
  for (std::size_t i = 1; i <= 3; ++i) {
    EXPECT_EQ(prompts_.Shown()[i].caption, "情報") << i;
    EXPECT_EQ(prompts_.Shown()[i].flags, static_cast<UINT>(MB_ICONINFORMATION)) << i;
  }
  EXPECT_EQ(progress_.Log(),
            (Log{"open", "range 0-4 at 0", "step to 1", "step to 2", "step to 3", "step to 4", "close"}));
  EXPECT_TRUE(FileExists(folder));
  EXPECT_EQ(ReadWholeFile(inside), "behind the link");
  EXPECT_EQ(ReadWholeFile(linked), "two names");
  EXPECT_EQ(ReadWholeFile(otherName), "two names");
  EXPECT_FALSE(FileExists(file));
}

TEST_F(SelectedFilesTest, OnlyFoldersEraseNothing) {
  const std::string folder = Folder("only");
  RunCommandLine(Quoted(folder) + " " + Quoted(folder_.Path().substr(0, 2) + "\\"));
  EXPECT_EQ(prompts_.Texts(), (Texts{kConfirm, Quoted(folder) + kFolder, Quoted("C:\\") + kFolder, kNothingErased}));
  EXPECT_EQ(progress_.Log(), (Log{"open", "range 0-2 at 0", "step to 1", "step to 2", "close"}));
  EXPECT_TRUE(FileExists(folder));
}

TEST_F(SelectedFilesTest, ANameTooLongForTheBufferIsRefusedNotCut) {
  // Cut to the buffer, the dropped name would be this file's.
  const std::string prefix = folder_.Path() + "\\";
  const std::string cut = prefix + std::string(259 - prefix.size(), 'n');
  ASSERT_EQ(cut.size(), 259u);
  ASSERT_TRUE(WriteWholeFile(cut, "not chosen"));
  const std::string dropped = cut + "-and-more.txt";
  const std::string relative = "b.txt";
  const std::string file = File("file.txt");

  RunDrop({dropped, relative, file});
  EXPECT_EQ(prompts_.Texts(),
            (Texts{"3 個のファイルを完全に抹消しますか？", Quoted(dropped) + " はパスが長すぎるため処理しません。",
                   "\"b.txt\" は完全なパスではないため処理しません。", Erased(1)}));
  EXPECT_EQ(progress_.Log(), (Log{"open", "range 0-3 at 0", "step to 1", "step to 2", "step to 3", "close"}));
  EXPECT_EQ(ReadWholeFile(cut), "not chosen");
  EXPECT_FALSE(FileExists(file));
}

TEST_F(SelectedFilesTest, ADroppedNameTheCodePageCannotSpellIsRefused) {
  // A best-fit spelling of "foö.txt" is the look-alike "foo.txt".
  const std::string lookAlike = File("foo.txt", "not chosen");
  std::wstring folder(folder_.Path().begin(), folder_.Path().end());
  const std::string file = File("file.txt");
  Drop drop(WideDropBlock({folder + L"\\fo\u00F6.txt", std::wstring(file.begin(), file.end())}));
  prompts_.Answer(IDYES);
  engine::ShredDroppedFiles(work_, drop.Handle());

  ASSERT_EQ(prompts_.Shown().size(), 3u);
  EXPECT_EQ(prompts_.Texts()[1],
            Quoted(folder_ / "fo?.txt") + " は名前にこのシステムで扱えない文字を含むため処理しません。");
  EXPECT_EQ(prompts_.Texts()[2], Erased(1));
  EXPECT_EQ(ReadWholeFile(lookAlike), "not chosen");
  EXPECT_FALSE(FileExists(file));
}

TEST_F(SelectedFilesTest, AFileInUseStopsTheBatchThereWithTheCountSoFar) {
  const std::string first = File("1.txt");
  const std::string locked = File("2.txt");
  const std::string third = File("3.txt");
  {
    wf::UniqueFile holder(
        CreateFileA(locked.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(holder);
    RunDrop({first, locked, third});
  }
  EXPECT_EQ(prompts_.Texts(), (Texts{"3 個のファイルを完全に抹消しますか？", "ファイルが開けません", Erased(1)}));
  EXPECT_EQ(prompts_.Shown()[1].caption, "エラー");
  // The window is gone before the result is told, and the bar never moved
  // for the file that stopped the batch.
  EXPECT_EQ(progress_.Log(), (Log{"open", "range 0-3 at 0", "step to 1", "close"}));
  EXPECT_FALSE(FileExists(first));
  EXPECT_EQ(ReadWholeFile(locked), "secret");
  EXPECT_EQ(ReadWholeFile(third), "secret");
}

TEST_F(SelectedFilesTest, AFileThatCannotBeRenamedStopsTheBatchWithItsMessage) {
  const std::string held = File("held.txt");
  const std::string after = File("after.txt");
  {
    // Readers and writers are let in, a rename is not.
    wf::UniqueFile holder(CreateFileA(held.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                      OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(holder);
    RunCommandLine(Quoted(held) + " " + Quoted(after));
  }
  EXPECT_EQ(prompts_.Texts(), (Texts{kConfirm, "ファイルが削除できませんでした", kNothingErased}));
  EXPECT_EQ(prompts_.Shown()[1].caption, "エラー");
  EXPECT_EQ(prompts_.Shown()[1].flags, static_cast<UINT>(MB_ICONWARNING));
  EXPECT_EQ(progress_.Log(), (Log{"open", "range 0-2 at 0", "close"}));
  EXPECT_TRUE(FileExists(held));
  EXPECT_NE(ReadWholeFile(held), "secret") << "wiped, kept under its name";
  EXPECT_EQ(ReadWholeFile(after), "secret");
  EXPECT_TRUE(Leftovers(folder_.Path()).empty());
}

TEST_F(SelectedFilesTest, ATotalOf65536OrMoreWrapsOnTheBar) {
  // The first item stops the batch, so the bar's range is all there is to see.
  constexpr int kItems = 65537;
  std::string line = Quoted(folder_ / "absent.txt");
  for (int i = 1; i < kItems; ++i) line += " \"x\"";
  RunCommandLine(line);
  EXPECT_EQ(progress_.Log(), (Log{"open", "range 0-1 at 0", "close"}));
  EXPECT_EQ(prompts_.Texts(), (Texts{kConfirm, "ファイルの属性を読み取れません", kNothingErased}));
}

TEST_F(SelectedFilesTest, ABatchWhileAnotherRunsIsRefusedWithoutAWord) {
  const std::string file = File("file.txt");
  ASSERT_TRUE(SetClipboardText("," + file));
  Drop drop(std::vector<std::string>{file});
  {
    engine::WorkGuard running(&busy_);
    engine::ShredClipboardList(work_);
    engine::ShredCommandLineList(work_, Quoted(file));
    engine::ShredDroppedFiles(work_, drop.Handle());
  }
  EXPECT_TRUE(prompts_.Shown().empty());
  EXPECT_TRUE(progress_.Log().empty());
  EXPECT_EQ(ReadWholeFile(file), "secret");
  EXPECT_EQ(ClipboardText(), "," + file);
}

}  // namespace
