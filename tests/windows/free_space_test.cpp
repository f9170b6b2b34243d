// The free-space erase's fill folder on drive C: of the test bed: a leftover
// goes at a start, one that is not wholly ours stays whole, a link in its
// place or inside it is never followed, and one that a run holds is left to
// it. And the drives the erase refuses before it asks anything.
#include <gtest/gtest.h>

#include "shredder/freespace/fill_folder.h"
#include "shredder/freespace/free_space.h"
#include "tests/support/system_state.h"
#include "tests/support/temp_folder.h"
#include "tests/windows/support/scripted_prompts.h"

namespace {

using freespace::Removal;

const std::wstring kRoot = L"C:\\";
const std::wstring kFill = L"C:\\MORVANE-Shredder-FreeSpaceFill";

class FreeSpaceLeftovers : public ::testing::Test {
 protected:
  void SetUp() override { RemoveTree(kFill); }
  void TearDown() override { RemoveTree(kFill); }

  // As a run that never ended leaves it: fill files and a record tree.
  static void MakeLeftover() {
    CreateDirectoryW(kFill.c_str(), nullptr);
    WriteWholeFile(kFill + L"\\fill-00000000.tmp", "stream");
    WriteWholeFile(kFill + L"\\fill-0000000a.tmp", "stream");
    CreateDirectoryW((kFill + L"\\records").c_str(), nullptr);
    CreateDirectoryW((kFill + L"\\records\\d0").c_str(), nullptr);
    WriteWholeFile(kFill + L"\\records\\f0", "record");
    WriteWholeFile(kFill + L"\\records\\d0\\f1", "record");
  }

  TempFolder elsewhere_;
};

TEST_F(FreeSpaceLeftovers, ALeftoverOfOurOwnGoesWholeAtAStart) {
  MakeLeftover();
  freespace::RemoveLeftoverFillFolders();
  EXPECT_FALSE(FileExists(kFill));
  EXPECT_EQ(freespace::RemoveFillFolder(kRoot), Removal::Absent);
}

TEST_F(FreeSpaceLeftovers, AnythingForeignAnywhereKeepsEverything) {
  for (const std::wstring& foreign :
       {kFill + L"\\notes.txt", kFill + L"\\records\\d0\\photo.jpg", kFill + L"\\records\\fill-00000001.tmp"}) {
    MakeLeftover();
    WriteWholeFile(foreign, "mine");
    EXPECT_EQ(freespace::RemoveFillFolder(kRoot), Removal::Kept) << Ansi(foreign);
    EXPECT_EQ(ReadWholeFile(foreign), "mine");
    EXPECT_TRUE(FileExists(kFill + L"\\fill-00000000.tmp")) << "looked at whole before anything goes";
    RemoveTree(kFill);
  }
}

TEST_F(FreeSpaceLeftovers, ALinkInItsPlaceOrInsideLeadsNowhere) {
  const std::wstring bait = elsewhere_.WriteFile(L"fill-00000000.tmp", "a file of the user's");
  elsewhere_.WriteFile(L"f0", "another");
  ASSERT_TRUE(MakeSymbolicLink(elsewhere_.WidePath(), kFill));
  EXPECT_EQ(freespace::RemoveFillFolder(kRoot), Removal::Kept);
  ASSERT_TRUE(RemoveSymbolicLink(kFill));

  MakeLeftover();
  ASSERT_TRUE(MakeSymbolicLink(elsewhere_.WidePath(), kFill + L"\\records\\d1"));
  EXPECT_EQ(freespace::RemoveFillFolder(kRoot), Removal::Kept);
  EXPECT_EQ(ReadWholeFile(bait), "a file of the user's");
  EXPECT_EQ(ReadWholeFile(elsewhere_ / L"f0"), "another");
}

TEST_F(FreeSpaceLeftovers, AFolderThatARunHoldsIsLeftToIt) {
  wf::UniqueFile held = freespace::CreateFillFolder(kRoot);
  ASSERT_TRUE(held);
  WriteWholeFile(kFill + L"\\fill-00000000.tmp", "being written");
  freespace::RemoveLeftoverFillFolders();
  EXPECT_EQ(freespace::RemoveFillFolder(kRoot), Removal::InUse);
  EXPECT_EQ(ReadWholeFile(kFill + L"\\fill-00000000.tmp"), "being written");
  held.Reset();
  EXPECT_EQ(freespace::RemoveFillFolder(kRoot), Removal::Removed);
}

TEST(FreeSpaceErase, ADriveThatIsNotLocalOrNotThereIsRefusedBeforeAnyQuestion) {
  ScriptedPrompts prompts;
  engine::WorkContext work;
  // Y: is the build folder, a network drive of the bed.
  const std::pair<std::wstring, std::wstring> refusals[] = {
      {L"Y:\\", L"ドライブ Y:\\ は空き領域を抹消できる種類のドライブではありません。"},
      {L"Q:\\", L"ドライブ Q:\\ が見つかりません。"},
  };
  for (const auto& [root, text] : refusals) {
    freespace::EraseFreeSpace(work, root, {});
    ASSERT_EQ(prompts.Shown().size(), 1u) << Ansi(root);
    EXPECT_EQ(prompts.Shown()[0].caption, L"エラー");
    EXPECT_EQ(prompts.Shown()[0].text.rfind(text, 0), 0u) << Ansi(prompts.Shown()[0].text);
    prompts.Clear();
  }
}

}  // namespace
