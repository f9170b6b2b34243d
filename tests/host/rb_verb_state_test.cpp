#include "shredder/settings/rb_verb_state.h"

#include <gtest/gtest.h>

#include "shredder/settings/rb_verb_keys.h"

namespace {

using settings::RBVerbKeys;
using settings::RBVerbState;

std::vector<std::wstring> Deletions(const RBVerbKeys& keys) {
  std::vector<std::wstring> names;
  for (const wchar_t* key : settings::RBVerbDeletions(keys, settings::DecideRBVerbState(keys))) names.push_back(key);
  return names;
}

const std::wstring kShell = settings::kShellKey;
const std::wstring kVerb = settings::kVerbKey;
const std::wstring kCommand = settings::kCommandKey;
const std::wstring kOldVerb = settings::kOldVerbKey;
const std::wstring kOldCommand = settings::kOldCommandKey;

TEST(RBVerbState, RegisteredNeedsAllThreeKeys) {
  const RBVerbKeys full{.shell = true, .verb = true, .command = true};
  EXPECT_EQ(settings::DecideRBVerbState(full), RBVerbState::Registered);
  // Removing it: our keys, then the shell key, which nothing else holds.
  EXPECT_EQ(Deletions(full), (std::vector<std::wstring>{kCommand, kVerb, kShell}));
  EXPECT_EQ(settings::DecideRBVerbState({.shell = true, .verb = true, .command = true, .otherSubkeys = true}),
            RBVerbState::Registered);
}

TEST(RBVerbState, NothingOfOursIsClean) {
  EXPECT_EQ(settings::DecideRBVerbState({}), RBVerbState::Clean);
  EXPECT_TRUE(Deletions({}).empty());
  // Another program's verbs under the shell key are not a broken
  // registration of ours, and neither is an empty shell key.
  const RBVerbKeys others{.shell = true, .otherSubkeys = true};
  EXPECT_EQ(settings::DecideRBVerbState(others), RBVerbState::Clean);
  EXPECT_TRUE(Deletions(others).empty());
  EXPECT_EQ(settings::DecideRBVerbState({.shell = true}), RBVerbState::Clean);
  EXPECT_TRUE(Deletions({.shell = true}).empty());
}

TEST(RBVerbState, HalfAVerbIsInconsistentAndOnlyOurKeysGo) {
  const RBVerbKeys verbOnly{.shell = true, .verb = true};
  EXPECT_EQ(settings::DecideRBVerbState(verbOnly), RBVerbState::Inconsistent);
  EXPECT_EQ(Deletions(verbOnly), (std::vector<std::wstring>{kVerb, kShell}));

  const RBVerbKeys besideOthers{.shell = true, .verb = true, .otherSubkeys = true};
  EXPECT_EQ(settings::DecideRBVerbState(besideOthers), RBVerbState::Inconsistent);
  EXPECT_EQ(Deletions(besideOthers), (std::vector<std::wstring>{kVerb}));

  // Keys that open although their parent does not (access rights) are ours
  // all the same.
  EXPECT_EQ(settings::DecideRBVerbState({.command = true}), RBVerbState::Inconsistent);
  EXPECT_EQ(Deletions({.command = true}), (std::vector<std::wstring>{kCommand}));
  EXPECT_EQ(settings::DecideRBVerbState({.verb = true, .command = true}), RBVerbState::Inconsistent);
}

TEST(RBVerbState, OldKeysComeFirstAndGoWithOurs) {
  const RBVerbKeys old{.shell = true, .oldVerb = true, .oldCommand = true};
  EXPECT_EQ(settings::DecideRBVerbState(old), RBVerbState::OldEntries);
  EXPECT_EQ(Deletions(old), (std::vector<std::wstring>{kOldCommand, kOldVerb, kShell}));

  const RBVerbKeys all{
      .shell = true, .verb = true, .command = true, .oldVerb = true, .oldCommand = true, .otherSubkeys = true};
  EXPECT_EQ(settings::DecideRBVerbState(all), RBVerbState::OldEntries);
  EXPECT_EQ(Deletions(all), (std::vector<std::wstring>{kCommand, kOldCommand, kVerb, kOldVerb}));
}

TEST(RBVerbState, ALoneOldVerbKeyIsLeftAndKeepsTheShellKey) {
  const RBVerbKeys loneOld{.shell = true, .verb = true, .command = true, .oldVerb = true};
  EXPECT_EQ(settings::DecideRBVerbState(loneOld), RBVerbState::Registered);
  EXPECT_EQ(Deletions(loneOld), (std::vector<std::wstring>{kCommand, kVerb}));
  EXPECT_EQ(settings::DecideRBVerbState({.shell = true, .oldVerb = true}), RBVerbState::Clean);
}

TEST(RBVerbState, OwnSubkeyNamesMatchWithoutCase) {
  for (const wchar_t* name : {L"M-Shredder", L"m-shredder", L"RBTest", L"rbtest"}) {
    EXPECT_TRUE(settings::IsOwnShellSubkey(name)) << name;
  }
  for (const wchar_t* name : {L"empty", L"M-Shredder2", L"RBTes", L"", L"open"}) {
    EXPECT_FALSE(settings::IsOwnShellSubkey(name)) << name;
  }
}

TEST(RBVerbCommand, QuotesThePathThenOneBlankAndTheSwitch) {
  EXPECT_EQ(settings::RBVerbCommand(L"C:\\Program Files\\M\\binshredder.exe"),
            L"\"C:\\Program Files\\M\\binshredder.exe\" -C");
  EXPECT_EQ(settings::RBVerbCommand(L"C:\\表\\b.exe"), L"\"C:\\表\\b.exe\" -C");
}

}  // namespace
