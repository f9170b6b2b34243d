// The selected-file batches with the real code under Wine: the hand-off list
// on the clipboard, the command-line list and a drop handle built here, with
// the message boxes answered through the prompt seam and the progress window
// recorded call by call.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "common/handoff_list.h"
#include "contextmenu/handoff_writer.h"
#include "shredder/engine/checked_file.h"
#include "shredder/engine/progress_dialog.h"
#include "shredder/engine/selected_files.h"
#include "tests/support/system_state.h"
#include "tests/support/temp_folder.h"
#include "tests/windows/support/progress_recorder.h"
#include "tests/windows/support/scripted_prompts.h"
#include "winframe/handles.h"

namespace {

using Texts = std::vector<std::wstring>;
using Log = std::vector<std::string>;

constexpr wchar_t kConfirm[] = L"選択されたファイルを完全に抹消しますか？";
constexpr wchar_t kNothingErased[] = L"ファイル削除は行なわれませんでした。";
constexpr wchar_t kFolder[] = L" はフォルダのため処理しません。";
constexpr wchar_t kThroughLink[] = L" はリンクを経由した場所にあるため上書きしません。";

std::wstring Erased(int count) {
  return std::to_wstring(count) + L" 個のファイルを完全に抹消しました。";
}

// The hand-off text of one path: a comma, then the path.
std::string ListOf(const std::wstring& path) {
  return std::string(1, ',').append(Ansi(path));
}

// Names the ANSI code page cannot spell, a comma, and "¥".
const std::vector<std::wstring> kNames = {L"résumé.txt",     L"한국어.txt", L"中文.txt",
                                          L"\U0001F600.txt", L"a,b.txt",    L"a¥b.txt"};

class SelectedFilesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    work_.passes = 1;
    work_.progress = &progressDialog_;
    work_.busy = &busy_;
    ASSERT_TRUE(ClearClipboard());
  }
  void TearDown() override { ClearClipboard(); }

  std::wstring File(const std::wstring& name, const std::string& content = "secret") {
    return folder_.WriteFile(name, content);
  }
  std::wstring Folder(const std::wstring& name) {
    CreateDirectoryW((folder_ / name).c_str(), nullptr);
    return folder_ / name;
  }
  // Every name of kNames, and beside each the files its best-fit spelling or
  // its pieces between commas would name ("a" is a folder, for "a¥b.txt").
  std::vector<std::wstring> FilesWithLookAlikes() {
    Folder(L"a");
    for (const wchar_t* bystander : {L"resume.txt", L"b.txt", L"a\\b.txt"}) File(bystander, "bystander");
    std::vector<std::wstring> files;
    for (const std::wstring& name : kNames) files.push_back(File(name));
    return files;
  }
  void ExpectBystandersKept() {
    for (const wchar_t* bystander : {L"resume.txt", L"b.txt", L"a\\b.txt"}) {
      EXPECT_EQ(ReadWholeFile(folder_ / bystander), "bystander") << Ansi(bystander);
    }
  }
  void RunCommandLine(const std::wstring& line) {
    prompts_.Answer(IDYES);
    engine::ShredCommandLineList(work_, line);
  }
  void RunDrop(const std::vector<std::wstring>& paths) {
    DropHandle drop(paths);
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

TEST_F(SelectedFilesTest, TheHandOffCarriesEveryNameWholeAndIsConsumed) {
  const std::vector<std::wstring> files = FilesWithLookAlikes();
  ASSERT_TRUE(shellext::PutHandOffList(nullptr, files));
  prompts_.Answer(IDYES);
  engine::ShredClipboardList(work_);

  ASSERT_EQ(prompts_.Texts(), (Texts{kConfirm, Erased(6)}));
  EXPECT_EQ(prompts_.Shown()[0].caption, L"確認");
  EXPECT_EQ(prompts_.Shown()[0].flags, static_cast<UINT>(MB_YESNO | MB_ICONQUESTION));
  EXPECT_EQ(prompts_.Shown()[1].caption, L"情報");
  EXPECT_EQ(prompts_.Shown()[1].flags, static_cast<UINT>(MB_ICONINFORMATION));
  EXPECT_EQ(progress_.Log().front(), "open");
  EXPECT_EQ(progress_.Log()[1], "range 0-6 at 0");
  for (const std::wstring& file : files) EXPECT_FALSE(FileExists(file)) << Ansi(file);
  ExpectBystandersKept();
  EXPECT_TRUE(NamesIn(folder_.WidePath(), L"ms*.tmp").empty());
  EXPECT_FALSE(IsClipboardFormatAvailable(CF_TEXT));
}

// A clipboard history reads each new content as it comes: the extension's
// hand-off and the program's reading wait for it instead of failing.
TEST_F(SelectedFilesTest, AClipboardHeldForAMomentDelaysTheHandOffWithoutLosingIt) {
  const std::wstring a = File(L"a.txt");
  for (const bool writing : {true, false}) {
    SCOPED_TRACE(writing ? "writing" : "reading");
    if (!writing) {
      ASSERT_TRUE(shellext::PutHandOffList(nullptr, {a}));
    }
    HANDLE opened = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    std::thread history([opened] {
      HWND window = CreateWindowExW(0, L"STATIC", nullptr, 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
      const bool held = OpenClipboard(window) != FALSE;
      SetEvent(opened);
      Sleep(150);
      if (held) CloseClipboard();
      DestroyWindow(window);
    });
    WaitForSingleObject(opened, INFINITE);
    CloseHandle(opened);
    if (writing) {
      EXPECT_TRUE(shellext::PutHandOffList(nullptr, {a}));
    } else {
      prompts_.Answer(IDNO);
      engine::ShredClipboardList(work_);
      EXPECT_EQ(prompts_.Texts(), Texts{kConfirm});
    }
    history.join();
    EXPECT_EQ(ClipboardText(), ListOf(a));
  }
}

TEST_F(SelectedFilesTest, DecliningLeavesTheListButNothingExplorerWouldPasteAsFiles) {
  const std::wstring a = File(L"a.txt");
  ASSERT_TRUE(shellext::PutHandOffList(nullptr, {a}));
  prompts_.Answer(IDNO);
  engine::ShredClipboardList(work_);
  EXPECT_EQ(prompts_.Texts(), Texts{kConfirm});
  EXPECT_EQ(ClipboardText(), ListOf(a));
  EXPECT_FALSE(ClipboardHoldsFiles());
  EXPECT_EQ(ReadWholeFile(a), "secret");
  EXPECT_TRUE(progress_.Log().empty());

  prompts_.Clear();
  ASSERT_TRUE(ClearClipboard());
  engine::ShredClipboardList(work_);
  EXPECT_TRUE(prompts_.Shown().empty());
  EXPECT_TRUE(progress_.Log().empty());
}

// Text alone, as an earlier extension or another program leaves it, is split
// at its commas; a relative piece is never resolved against the working
// folder. A list that does not agree with the text is not taken either.
TEST_F(SelectedFilesTest, TextAloneIsSplitAndAListThatDisagreesWithItIsNotTaken) {
  const std::wstring relative = File(L"b.txt", "in the working folder");
  const std::wstring a = File(L"a.txt");
  wchar_t previous[MAX_PATH];
  GetCurrentDirectoryW(MAX_PATH, previous);
  SetCurrentDirectoryW(folder_.WidePath().c_str());
  ASSERT_TRUE(SetClipboardText(",b.txt" + ListOf(a)));
  prompts_.Answer(IDYES);
  engine::ShredClipboardList(work_);
  SetCurrentDirectoryW(previous);

  EXPECT_EQ(prompts_.Texts(), (Texts{kConfirm, L"\"b.txt\" は完全なパスではないため処理しません。", Erased(1)}));
  EXPECT_EQ(progress_.Log(), (Log{"open", "range 0-2 at 0", "step to 1", "step to 2", "close"}));
  EXPECT_EQ(ReadWholeFile(relative), "in the working folder");
  EXPECT_FALSE(FileExists(a));

  const std::wstring listed = L"C:\\not\\the\\text.txt";
  const std::wstring block = handoff::WideListBlock({listed});
  EXPECT_EQ(engine::HandOffItems(",C:\\other.txt", &block), Texts{L"C:\\other.txt"});
  EXPECT_EQ(engine::HandOffItems(",C:\\not\\the\\text.txt", &block), Texts{listed});
}

TEST_F(SelectedFilesTest, CommandLineTakesTheQuotedPathsWholeWhateverTheirNames) {
  const std::vector<std::wstring> files = FilesWithLookAlikes();
  std::wstring line;
  for (const std::wstring& file : files) line += (line.empty() ? L"" : L" ") + Quoted(file);
  RunCommandLine(line);
  EXPECT_EQ(prompts_.Texts(), (Texts{kConfirm, Erased(6)}));
  for (const std::wstring& file : files) EXPECT_FALSE(FileExists(file)) << Ansi(file);
  ExpectBystandersKept();

  // Text before the first quote is not a path.
  const std::wstring unquoted = File(L"unquoted.txt", "kept");
  const std::wstring quoted = File(L"quoted.txt");
  prompts_.Clear();
  progress_.Clear();
  RunCommandLine(unquoted + L" " + Quoted(quoted));
  EXPECT_EQ(prompts_.Texts(), (Texts{kConfirm, Erased(1)}));
  EXPECT_EQ(progress_.Log(), (Log{"open", "range 0-1 at 0", "step to 1", "close"}));
  EXPECT_EQ(ReadWholeFile(unquoted), "kept");
  EXPECT_TRUE(NamesIn(folder_.WidePath(), L"ms*.tmp").empty());

  prompts_.Clear();
  progress_.Clear();
  prompts_.Answer(IDNO);
  engine::ShredCommandLineList(work_, Quoted(unquoted));
  EXPECT_EQ(prompts_.Texts(), Texts{kConfirm});
  EXPECT_TRUE(progress_.Log().empty());
  EXPECT_EQ(ReadWholeFile(unquoted), "kept");
}

TEST_F(SelectedFilesTest, DroppedFilesAreCountedInTheQuestionAndErasedWhateverTheirNames) {
  const std::vector<std::wstring> files = FilesWithLookAlikes();
  RunDrop(files);
  ASSERT_EQ(prompts_.Texts(), (Texts{L"6 個のファイルを完全に抹消しますか？", Erased(6)}));
  EXPECT_EQ(prompts_.Shown()[0].caption, L"確認");
  EXPECT_EQ(progress_.Log(), (Log{"open", "range 0-6 at 0", "step to 1", "step to 2", "step to 3", "step to 4",
                                  "step to 5", "step to 6", "close"}));
  for (const std::wstring& file : files) EXPECT_FALSE(FileExists(file)) << Ansi(file);
  ExpectBystandersKept();

  const std::wstring kept = File(L"kept.txt");
  prompts_.Clear();
  progress_.Clear();
  DropHandle drop({kept});
  prompts_.Answer(IDNO);
  engine::ShredDroppedFiles(work_, drop.Handle());
  EXPECT_EQ(prompts_.Texts(), Texts{L"1 個のファイルを完全に抹消しますか？"});
  EXPECT_TRUE(progress_.Log().empty());
  EXPECT_EQ(ReadWholeFile(kept), "secret");
}

TEST_F(SelectedFilesTest, FoldersLinksAndHardLinkedFilesAreDeclinedAndTheBatchGoesOn) {
  const std::wstring folder = Folder(L"フォルダ");
  const std::wstring target = Folder(L"target");
  const std::wstring inside = File(L"target\\inside.txt", "behind the link");
  const std::wstring link = folder_ / L"link";
  ASSERT_TRUE(MakeSymbolicLink(target, link));
  const std::wstring linked = File(L"linked.txt", "two names");
  const std::wstring otherName = folder_ / L"other name.txt";
  ASSERT_TRUE(CreateHardLinkW(otherName.c_str(), linked.c_str(), nullptr));
  const std::wstring file = File(L"file.txt");

  RunDrop({folder, link, linked, file});
  RemoveSymbolicLink(link);
  EXPECT_EQ(prompts_.Texts(),
            (Texts{L"4 個のファイルを完全に抹消しますか？", Quoted(folder) + kFolder,
                   Quoted(link) + L" はリンクのため上書きしません。",
                   Quoted(linked) + L" は他の名前（ハードリンク）からも使われているため上書きしません。", Erased(1)}));
  for (std::size_t i = 1; i <= 3; ++i) {
    EXPECT_EQ(prompts_.Shown()[i].caption, L"情報") << i;
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

// The question may stay open for minutes. A name swapped for a link
// meanwhile, or a folder on its way swapped for one, leads the wipe nowhere:
// it is declined with a message and what the link leads to is kept.
std::function<void()> g_whileAsking;
Texts g_told;
int SwapWhileAsking(const wf::PromptRequest& request) {
  g_told.push_back(request.text);
  if ((request.flags & MB_TYPEMASK) != MB_YESNO) return IDOK;
  g_whileAsking();
  return IDYES;
}

TEST_F(SelectedFilesTest, WhatIsSwappedForALinkWhileTheQuestionIsOpenIsDeclined) {
  const std::wstring chosen = File(L"chosen.txt");
  Folder(L"parent");
  const std::wstring inParent = File(L"parent\\inner.txt");
  Folder(L"elsewhere");
  const std::wstring victim = File(L"elsewhere\\inner.txt", "someone else's");
  const std::wstring victimFile = File(L"victim.txt", "someone else's too");
  g_whileAsking = [&] {
    ASSERT_TRUE(SwapForSymbolicLink(victimFile, chosen));
    ASSERT_TRUE(MoveFileW((folder_ / L"parent").c_str(), (folder_ / L"parent-moved").c_str()));
    ASSERT_TRUE(MakeSymbolicLink(folder_ / L"elsewhere", folder_ / L"parent"));
  };
  wf::PromptHandler previous = wf::SetPromptHandler(SwapWhileAsking);
  engine::ShredCommandLineList(work_, Quoted(chosen) + L" " + Quoted(inParent));
  wf::SetPromptHandler(previous);
  EXPECT_EQ(g_told, (Texts{kConfirm, Quoted(chosen) + kThroughLink, Quoted(inParent) + kThroughLink, kNothingErased}));
  EXPECT_EQ(ReadWholeFile(victimFile), "someone else's too");
  EXPECT_EQ(ReadWholeFile(victim), "someone else's");
  EXPECT_EQ(ReadWholeFile(folder_ / L"parent-moved\\inner.txt"), "secret");
  RemoveSymbolicLink(folder_ / L"parent");
  RemoveSymbolicLink(chosen);
}

TEST_F(SelectedFilesTest, OnlyFoldersEraseNothing) {
  const std::wstring folder = Folder(L"only");
  RunCommandLine(Quoted(folder) + L" " + Quoted(L"C:\\"));
  EXPECT_EQ(prompts_.Texts(), (Texts{kConfirm, Quoted(folder) + kFolder, Quoted(L"C:\\") + kFolder, kNothingErased}));
  EXPECT_EQ(progress_.Log(), (Log{"open", "range 0-2 at 0", "step to 1", "step to 2", "close"}));
  EXPECT_TRUE(FileExists(folder));
}

// Long paths are erased whole; only what the system cannot take at all is
// refused, never cut.
TEST_F(SelectedFilesTest, LongPathsAreErasedAndOnlyTheImpossibleIsRefused) {
  const std::wstring deep = MakeDeepFolder(folder_.WidePath(), std::wstring(60, L'深'));
  ASSERT_FALSE(deep.empty());
  const std::wstring longFile = deep + L"\\file.txt";
  ASSERT_TRUE(WriteWholeFile(longFile, "deep"));
  const std::wstring impossible = L"C:\\" + std::wstring(40000, L'x');
  RunDrop({longFile, impossible, L"b.txt"});
  EXPECT_EQ(prompts_.Texts(),
            (Texts{L"3 個のファイルを完全に抹消しますか？", Quoted(impossible) + L" はパスが長すぎるため処理しません。",
                   L"\"b.txt\" は完全なパスではないため処理しません。", Erased(1)}));
  EXPECT_FALSE(FileExists(longFile));
  EXPECT_TRUE(NamesIn(deep, L"ms*.tmp").empty());
}

TEST_F(SelectedFilesTest, AFileInUseStopsTheBatchThereWithTheCountSoFar) {
  const std::wstring first = File(L"1.txt");
  const std::wstring locked = File(L"2.txt");
  const std::wstring third = File(L"3.txt");
  {
    // Readers and writers are let in, a deletion is not: the file could be
    // overwritten but never removed, so it is not touched at all.
    wf::UniqueFile holder(CreateFileW(locked.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                      OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(holder);
    RunDrop({first, locked, third});
  }
  EXPECT_EQ(prompts_.Texts(), (Texts{L"3 個のファイルを完全に抹消しますか？", CannotOpen(locked), Erased(1)}));
  EXPECT_EQ(prompts_.Shown()[1].caption, L"エラー");
  EXPECT_EQ(prompts_.Shown()[1].flags, static_cast<UINT>(MB_ICONWARNING));
  // The window is gone before the result is told, and the bar never moved
  // for the file that stopped the batch.
  EXPECT_EQ(progress_.Log(), (Log{"open", "range 0-3 at 0", "step to 1", "close"}));
  EXPECT_FALSE(FileExists(first));
  EXPECT_EQ(ReadWholeFile(locked), "secret");
  EXPECT_EQ(ReadWholeFile(third), "secret");
}

// The stop button asked while the first file was wiped, even during its last
// pass: it stays, overwritten, under its own name; the batch reports nothing
// erased, and no further file is touched, nor any temporary name left.
TEST_F(SelectedFilesTest, AStopEndsTheBatchAtTheFileAtHandAndTouchesNoOther) {
  engine::StopSignal stop;
  work_.stop = &stop;
  work_.afterPass = [&stop](const std::wstring&, int) { stop.Request(); };
  const std::wstring first = File(L"1.txt");
  const std::wstring second = File(L"2.txt");
  RunCommandLine(Quoted(first) + L" " + Quoted(second));
  EXPECT_EQ(prompts_.Texts(), (Texts{kConfirm, kNothingErased}));
  EXPECT_EQ(progress_.Log(), (Log{"open", "range 0-2 at 0", "close"}));
  EXPECT_NE(ReadWholeFile(first), "secret");
  EXPECT_EQ(ReadWholeFile(second), "secret");
  EXPECT_TRUE(NamesIn(folder_.WidePath(), L"ms*.tmp").empty());
}

TEST_F(SelectedFilesTest, ATotalOf65536OrMoreWrapsOnTheBar) {
  // The first item stops the batch, so the bar's range is all there is to see.
  constexpr int kItems = 65537;
  const std::wstring locked = File(L"locked.txt");
  wf::UniqueFile holder(CreateFileW(locked.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
  ASSERT_TRUE(holder);
  std::wstring line = Quoted(locked);
  for (int i = 1; i < kItems; ++i) line += L" \"x\"";
  RunCommandLine(line);
  EXPECT_EQ(progress_.Log(), (Log{"open", "range 0-1 at 0", "close"}));
  EXPECT_EQ(prompts_.Texts(), (Texts{kConfirm, CannotOpen(locked), kNothingErased}));
}

// A file gone since it was chosen, one in a folder renamed while the batch
// runs, and a name given twice (in any letter case): each is told once by
// its name, the batch goes on, and only what was erased is counted.
TEST_F(SelectedFilesTest, GoneFilesAVanishedFolderAndRepeatedNamesAreToldOnceAndTheBatchGoesOn) {
  const std::wstring first = File(L"1.txt");
  Folder(L"sub");
  const std::wstring inSub = File(L"sub\\2.txt");
  const std::wstring last = File(L"3.txt");
  const std::wstring gone = folder_ / L"gone.txt";
  const std::wstring firstAgain = folder_ / L"1.TXT";
  work_.afterPass = [&](const std::wstring& path, int) {
    if (path == first) {
      ASSERT_TRUE(MoveFileW((folder_ / L"sub").c_str(), (folder_ / L"sub-moved").c_str()));
    }
  };
  RunDrop({first, gone, inSub, firstAgain, last, last});
  const std::wstring missing = L" は見つからないため処理しません。",
                     repeated = L" は前にも指定されているため処理しません。";
  EXPECT_EQ(prompts_.Texts(),
            (Texts{L"6 個のファイルを完全に抹消しますか？", Quoted(gone) + missing, Quoted(inSub) + missing,
                   Quoted(firstAgain) + repeated, Quoted(last) + repeated, Erased(2)}));
  for (std::size_t i = 1; i <= 4; ++i) EXPECT_EQ(prompts_.Shown()[i].caption, L"情報") << i;
  EXPECT_EQ(progress_.Log(), (Log{"open", "range 0-6 at 0", "step to 1", "step to 2", "step to 3", "step to 4",
                                  "step to 5", "step to 6", "close"}));
  EXPECT_FALSE(FileExists(first));
  EXPECT_FALSE(FileExists(last));
  EXPECT_EQ(ReadWholeFile(folder_ / L"sub-moved\\2.txt"), "secret");
}

TEST_F(SelectedFilesTest, ABatchWhileAnotherRunsIsRefusedWithoutAWord) {
  const std::wstring file = File(L"file.txt");
  ASSERT_TRUE(SetClipboardText(ListOf(file)));
  DropHandle drop({file});
  {
    engine::WorkGuard running(&busy_);
    engine::ShredClipboardList(work_);
    engine::ShredCommandLineList(work_, Quoted(file));
    engine::ShredDroppedFiles(work_, drop.Handle());
  }
  EXPECT_TRUE(prompts_.Shown().empty());
  EXPECT_TRUE(progress_.Log().empty());
  EXPECT_EQ(ReadWholeFile(file), "secret");
  EXPECT_EQ(ClipboardText(), ListOf(file));
}

// What Wine cannot present, presented through the seam: a reparse point is a
// link only when it stands for another name; compressed, encrypted and
// deduplicated files are removed and counted apart, never "completely erased".
TEST_F(SelectedFilesTest, OnlyLinksAreDeclinedAndContentKeptElsewhereIsCountedApart) {
  const std::wstring link = File(L"link.txt");
  const std::wstring compressed = File(L"compressed.txt");
  const std::wstring deduplicated = File(L"deduplicated.txt");
  const std::wstring plain = File(L"plain.txt");
  static std::wstring s_link, s_compressed, s_deduplicated;
  s_link = Long(link);
  s_compressed = Long(compressed);
  s_deduplicated = Long(deduplicated);
  engine::SetFactsOverride([](const std::wstring& path, engine::FileFacts& facts) {
    if (path == s_link) {
      facts.attributes |= FILE_ATTRIBUTE_REPARSE_POINT;
      facts.tag = IO_REPARSE_TAG_SYMLINK;
    } else if (path == s_compressed) {
      facts.attributes |= FILE_ATTRIBUTE_COMPRESSED;
    } else if (path == s_deduplicated) {
      facts.attributes |= FILE_ATTRIBUTE_REPARSE_POINT;
      facts.tag = IO_REPARSE_TAG_DEDUP;
    }
  });
  RunCommandLine(Quoted(link) + L" " + Quoted(compressed) + L" " + Quoted(deduplicated) + L" " + Quoted(plain));
  engine::SetFactsOverride(nullptr);
  EXPECT_EQ(prompts_.Texts(),
            (Texts{kConfirm, Quoted(link) + L" はリンクのため上書きしません。",
                   Erased(1) + L"\n2 個のファイルは圧縮・暗号化されているか内容がほかの場所にあるため、"
                               L"元の場所を上書きしないまま削除しました。"}));
  EXPECT_EQ(ReadWholeFile(link), "secret");
  for (const std::wstring& removed : {compressed, deduplicated, plain}) EXPECT_FALSE(FileExists(removed));
}

}  // namespace
