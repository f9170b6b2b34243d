// binshredder on a system whose ANSI code page is not Japanese (an English
// locale, code page 1252, in a test bed of its own): its texts travel in
// UTF-16 from the program to the screen, so the question and the result show
// them whole. Pictures of both go to the build's screenshots folder.
#include <gtest/gtest.h>

#include "tests/e2e/support/app_folder.h"
#include "tests/support/system_state.h"
#include "tests/support/temp_folder.h"

namespace {

// The process's box of this caption; the caption is compared in UTF-16, as
// the code page cannot spell it.
HWND WaitBox(const uidrv::Process& process, const std::wstring& caption) {
  for (int waited = 0; waited < 15000; waited += 100) {
    for (const uidrv::WindowInfo& window : uidrv::TopLevelWindows(true, process.pid)) {
      if (window.className == uidrv::kDialogClass && uidrv::WideCaption(window.hwnd) == caption) return window.hwnd;
    }
    Sleep(100);
  }
  return nullptr;
}

TEST(EnglishCodePage, TheQuestionAndTheResultShowTheirJapaneseTextsWhole) {
  ASSERT_EQ(GetACP(), 1252u) << "this bed runs under an English locale";
  EmptyRecycleBin();
  AppFolder app("english code page");
  const std::string deleted = app.Dir() + "\\deleted.txt";
  WriteWholeFile(deleted, "deleted");
  ASSERT_TRUE(MoveToRecycleBin(deleted));
  const std::wstring bin = L"C:\\Recycler\\" + UserSid();
  CreateDirectoryW(L"C:\\Recycler", nullptr);
  CreateDirectoryW(bin.c_str(), nullptr);
  ASSERT_TRUE(WriteWholeFile(bin + L"\\Dc1.txt", "deleted"));

  uidrv::Process process = app.Start("-C");
  HWND question = WaitBox(process, L"確認");
  ASSERT_TRUE(question);
  EXPECT_EQ(uidrv::WideMessageText(question), L"ごみ箱の中の 1 個のファイルを完全に抹消しますか？");
  uidrv::Screenshot(question, Screenshots() + "\\english-code-page-question.png");
  uidrv::Press(question, IDYES);
  ASSERT_TRUE(uidrv::WaitGone(question));

  HWND result = WaitBox(process, L"情報");
  ASSERT_TRUE(result);
  EXPECT_EQ(uidrv::WideMessageText(result), L"ごみ箱の中身を完全に抹消しました。");
  uidrv::Screenshot(result, Screenshots() + "\\english-code-page-result.png");
  uidrv::Press(result, IDOK);
  EXPECT_EQ(uidrv::WaitExit(process), 0u);
  EXPECT_FALSE(FileExists(bin + L"\\Dc1.txt"));
  RemoveTree(std::wstring(L"C:\\Recycler"));
}

}  // namespace
