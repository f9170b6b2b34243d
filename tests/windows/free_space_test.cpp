// The free-space erase's fill folder on drive C: of the test bed: only a
// folder whose marker names a run the account recorded is ours; ours goes at
// a start except what is not ours in it, which stays (and is named), and no
// link in its place or inside it is followed; a folder a run holds is left
// to it. A run is recorded with the clean-up at the next logon while its
// folder is there. And what the erase says before it asks anything: drives
// it refuses, a drive letter for a folder.
#include <gtest/gtest.h>

#include <functional>
#include <optional>

#include "common/program_contract.h"
#include "shredder/freespace/fill_folder.h"
#include "shredder/freespace/free_space.h"
#include "shredder/freespace/run_records.h"
#include "tests/support/system_state.h"
#include "tests/support/temp_folder.h"
#include "tests/windows/support/scripted_prompts.h"
#include "winframe/module.h"

namespace {

using freespace::Removal;

const std::wstring kRoot = L"C:\\";
const std::wstring kFill = L"C:\\MORVANE-Shredder-FreeSpaceFill";
const std::string kRunOnceKey = "Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce";

std::optional<RegistryValue> CleanUpAtLogon() {
  return ReadRegistryValue(HKEY_CURRENT_USER, kRunOnceKey, "MORVANE Shredder free-space clean-up");
}

bool Recorded(const std::wstring& identity) {
  for (const freespace::RecordedRun& run : freespace::RecordedRuns()) {
    if (run.identity == identity) return true;
  }
  return false;
}

class FreeSpaceLeftovers : public ::testing::Test {
 protected:
  void SetUp() override { RemoveTree(kFill); }
  void TearDown() override {
    RemoveTree(kFill);
    freespace::ForgetRun(identity_);
  }

  // As a run that never ended leaves it: its marker, fill files and a record
  // tree; `recorded`: the run is one of the account's.
  void MakeLeftover(bool recorded = true) {
    CreateDirectoryW(kFill.c_str(), nullptr);
    WriteWholeFile(kFill + L"\\MORVANE-Shredder-Run.id", Ansi(identity_));
    if (recorded) {
      ASSERT_TRUE(freespace::RecordRun({identity_, kRoot}));
    }
    WriteWholeFile(kFill + L"\\fill-00000000.tmp", "stream");
    WriteWholeFile(kFill + L"\\fill-0000000a.tmp", "stream");
    CreateDirectoryW((kFill + L"\\records").c_str(), nullptr);
    CreateDirectoryW((kFill + L"\\records\\d0").c_str(), nullptr);
    WriteWholeFile(kFill + L"\\records\\f0", "record");
    WriteWholeFile(kFill + L"\\records\\d0\\f1", "record");
  }

  const std::wstring identity_ = freespace::NewRunIdentity();
  TempFolder elsewhere_;
};

TEST_F(FreeSpaceLeftovers, ALeftoverOfOursGoesWholeAtAStartAndItsRunIsForgotten) {
  MakeLeftover();
  ASSERT_TRUE(CleanUpAtLogon());
  EXPECT_TRUE(freespace::RemoveLeftoverFillFolders().empty());
  EXPECT_FALSE(FileExists(kFill));
  EXPECT_FALSE(Recorded(identity_));
  EXPECT_FALSE(CleanUpAtLogon()) << "nothing left for the next logon";
  EXPECT_EQ(freespace::RemoveFillFolder(kRoot).removal, Removal::Absent);
}

// (A folder of the user's with a file named as a fill file in it, and the
// refusal that names such a folder, are the end-to-end test's.)
TEST_F(FreeSpaceLeftovers, AFolderOfThatNameWithoutOurMarkerOrALinkInItsPlaceIsNeverOurs) {
  const std::vector<std::function<void()>> folders = {
      [] { CreateDirectoryW(kFill.c_str(), nullptr); },
      [] {
        CreateDirectoryW(kFill.c_str(), nullptr);
        CreateDirectoryW((kFill + L"\\records").c_str(), nullptr);
      },
      [this] { MakeLeftover(false); },  // a marker of a run the account never made
      [this] { ASSERT_TRUE(MakeSymbolicLink(elsewhere_.WidePath(), kFill)); },
  };
  for (const auto& make : folders) {
    make();
    freespace::RemoveLeftoverFillFolders();
    EXPECT_TRUE(FileExists(kFill));
    EXPECT_EQ(freespace::RemoveFillFolder(kRoot).removal, Removal::NotOurs);
    RemoveTree(kFill);
  }
}

TEST_F(FreeSpaceLeftovers, WhatIsNotOursInOurLeftoverStaysAndIsNamedAndNoLinkIsFollowed) {
  const std::wstring bait = elsewhere_.WriteFile(L"photo.jpg", "a file of the user's");
  struct Case {
    std::function<void()> plant;
    std::wstring named;
  };
  const Case cases[] = {
      {[] { WriteWholeFile(kFill + L"\\records\\d0\\notes.txt", "mine"); }, L"records\\d0\\notes.txt"},
      {[this] { ASSERT_TRUE(MakeSymbolicLink(elsewhere_.WidePath(), kFill + L"\\records\\d1")); }, L"records\\d1"},
  };
  for (const Case& c : cases) {
    MakeLeftover();
    c.plant();
    const std::vector<freespace::FolderState> staying = freespace::RemoveLeftoverFillFolders();
    ASSERT_EQ(staying.size(), 1u) << Ansi(c.named);
    EXPECT_EQ(staying[0].leftover.folder, kFill);
    EXPECT_EQ(staying[0].leftover.foreign, c.named);
    EXPECT_FALSE(FileExists(kFill + L"\\fill-00000000.tmp")) << "ours goes all the same";
    EXPECT_TRUE(Recorded(identity_)) << "still ours, for a later start";
    EXPECT_EQ(ReadWholeFile(bait), "a file of the user's");
    RemoveTree(kFill);
  }
  // A link named like a fill file (Wine shows one to a file as the file):
  // whatever becomes of the link, what it leads to is the user's.
  MakeLeftover();
  ASSERT_TRUE(MakeSymbolicLink(bait, kFill + L"\\fill-00000001.tmp"));
  freespace::RemoveLeftoverFillFolders();
  EXPECT_EQ(ReadWholeFile(bait), "a file of the user's");
  RemoveSymbolicLink(kFill + L"\\fill-00000001.tmp");
}

TEST_F(FreeSpaceLeftovers, ARunsFolderIsRecordedWithTheCleanUpAtLogonHeldAgainstStartsAndThenForgotten) {
  std::optional<freespace::FillFolder> folder;
  folder.emplace(kRoot);
  ASSERT_TRUE(folder->Made());
  const std::optional<RegistryValue> command = CleanUpAtLogon();
  ASSERT_TRUE(command);
  std::string expected = "\"";
  expected.append(Ansi(wf::ModulePath().value_or(L""))).append("\" ").append(Ansi(contract::kCleanUpSwitch));
  EXPECT_EQ(std::string(command->bytes.c_str()), expected);
  const std::vector<freespace::RecordedRun> runs = freespace::RecordedRuns();
  ASSERT_EQ(runs.size(), 1u);
  EXPECT_EQ(runs[0].volumeRoot, kRoot);
  EXPECT_EQ(ReadWholeFile(kFill + L"\\MORVANE-Shredder-Run.id"), Ansi(runs[0].identity));
  WriteWholeFile(kFill + L"\\fill-00000000.tmp", "being written");
  freespace::RemoveLeftoverFillFolders();
  EXPECT_EQ(freespace::RemoveFillFolder(kRoot).removal, Removal::InUse);
  EXPECT_EQ(ReadWholeFile(kFill + L"\\fill-00000000.tmp"), "being written");
  EXPECT_EQ(folder->Remove().removal, Removal::Removed);
  EXPECT_FALSE(FileExists(kFill));
  EXPECT_TRUE(freespace::RecordedRuns().empty());
  EXPECT_FALSE(CleanUpAtLogon());
}

TEST(FreeSpaceErase, WhatIsRefusedOrAskedBeforeAnythingIsWritten) {
  ScriptedPrompts prompts;
  engine::WorkContext work;
  RemoveTree(kFill);
  // Q: stands for a folder of C: (as subst makes one); Wine opens nothing
  // through it, but says where it leads.
  ASSERT_TRUE(DefineDosDeviceW(0, L"Q:", L"C:\\windows"));
  struct Case {
    std::wstring root;
    std::function<void()> before;
    std::wstring says;
  };
  const Case cases[] = {
      // Y: is the build folder, a network drive of the bed.
      {L"Y:\\", {}, L"ドライブ Y:\\ は空き領域を抹消できる種類のドライブではありません。"},
      {L"P:\\", {}, L"ドライブ P:\\ が見つかりません。"},
      {L"Q:\\", [&] { prompts.Answer(IDNO); },
       L"ドライブ Q:\\ は、ドライブ C:\\ にあるフォルダを割り当てたドライブです。ドライブ C:\\ の空き領域 "},
  };
  for (const Case& c : cases) {
    if (c.before) c.before();
    freespace::EraseFreeSpace(work, c.root, {});
    ASSERT_EQ(prompts.Shown().size(), 1u) << Ansi(c.root);
    EXPECT_EQ(prompts.Shown()[0].text.rfind(c.says, 0), 0u) << Ansi(prompts.Shown()[0].text);
    prompts.Clear();
  }
  DefineDosDeviceW(DDD_REMOVE_DEFINITION, L"Q:", nullptr);
}

// What was true at the question is read again after Yes: here the drive
// letter is gone by then. (A stop is asked for too, so that a run that did
// not look again would end at once rather than fill drive C:.)
TEST(FreeSpaceErase, TheDriveIsReadAgainAfterYes) {
  static std::vector<std::wstring> shown;
  static engine::StopSignal stop;
  shown.clear();
  const wf::PromptHandler previous = wf::SetPromptHandler([](const wf::PromptRequest& request) {
    shown.push_back(request.text);
    if ((request.flags & MB_YESNO) != MB_YESNO) return IDOK;
    DefineDosDeviceW(DDD_REMOVE_DEFINITION, L"Q:", nullptr);
    stop.Request();
    return IDYES;
  });
  RemoveTree(kFill);
  ASSERT_TRUE(DefineDosDeviceW(0, L"Q:", L"C:\\windows"));
  engine::WorkContext work;
  work.stop = &stop;
  freespace::EraseFreeSpace(work, L"Q:\\", {});
  wf::SetPromptHandler(previous);
  ASSERT_EQ(shown.size(), 2u);
  EXPECT_EQ(shown[1], L"ドライブ Q:\\ が見つかりません。");
  EXPECT_FALSE(FileExists(kFill));
}

}  // namespace
