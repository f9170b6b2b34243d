#include "shredder/settings/rb_verb_state.h"

#include <gtest/gtest.h>

#include "shredder/settings/rb_verb_keys.h"

namespace {

using settings::RBVerbKeys;
using settings::RBVerbState;

std::vector<std::string> Deletions(const RBVerbKeys& keys) {
  std::vector<std::string> names;
  for (const char* key : settings::RBVerbDeletions(keys, settings::DecideRBVerbState(keys))) names.push_back(key);
  return names;
}

const std::string kShell = settings::kShellKey;
const std::string kVerb = settings::kVerbKey;
const std::string kCommand = settings::kCommandKey;
const std::string kOldVerb = settings::kOldVerbKey;
const std::string kOldCommand = settings::kOldCommandKey;

TEST(RBVerbState, RegisteredNeedsAllThreeKeys) {
  const RBVerbKeys full{.shell = true, .verb = true, .command = true};
  EXPECT_EQ(settings::DecideRBVerbState(full), RBVerbState::Registered);
  // Removing it: our keys, then the shell key, which nothing else holds.
  EXPECT_EQ(Deletions(full), (std::vector<std::string>{kCommand, kVerb, kShell}));
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
  EXPECT_EQ(Deletions(verbOnly), (std::vector<std::string>{kVerb, kShell}));

  const RBVerbKeys besideOthers{.shell = true, .verb = true, .otherSubkeys = true};
  EXPECT_EQ(settings::DecideRBVerbState(besideOthers), RBVerbState::Inconsistent);
  EXPECT_EQ(Deletions(besideOthers), (std::vector<std::string>{kVerb}));

  // Keys that open although their parent does not (access rights) are ours
  // all the same.
  EXPECT_EQ(settings::DecideRBVerbState({.command = true}), RBVerbState::Inconsistent);
  EXPECT_EQ(Deletions({.command = true}), (std::vector<std::string>{kCommand}));
  EXPECT_EQ(settings::DecideRBVerbState({.verb = true, .command = true}), RBVerbState::Inconsistent);
}

TEST(RBVerbState, OldKeysComeFirstAndGoWithOurs) {
  const RBVerbKeys old{.shell = true, .oldVerb = true, .oldCommand = true};
  EXPECT_EQ(settings::DecideRBVerbState(old), RBVerbState::OldEntries);
  EXPECT_EQ(Deletions(old), (std::vector<std::string>{kOldCommand, kOldVerb, kShell}));

  const RBVerbKeys all{.shell = true, .verb = true, .command = true, .oldVerb = true, .oldCommand = true,
                       .otherSubkeys = true};
  EXPECT_EQ(settings::DecideRBVerbState(all), RBVerbState::OldEntries);
  EXPECT_EQ(Deletions(all), (std::vector<std::string>{kCommand, kOldCommand, kVerb, kOldVerb}));
}

TEST(RBVerbState, ALoneOldVerbKeyIsLeftAndKeepsTheShellKey) {
  const RBVerbKeys loneOld{.shell = true, .verb = true, .command = true, .oldVerb = true};
  EXPECT_EQ(settings::DecideRBVerbState(loneOld), RBVerbState::Registered);
  EXPECT_EQ(Deletions(loneOld), (std::vector<std::string>{kCommand, kVerb}));
  EXPECT_EQ(settings::DecideRBVerbState({.shell = true, .oldVerb = true}), RBVerbState::Clean);
}

TEST(RBVerbState, OwnSubkeyNamesMatchWithoutCase) {
  for (const char* name : {"M-Shredder", "m-shredder", "RBTest", "rbtest"}) {
    EXPECT_TRUE(settings::IsOwnShellSubkey(name)) << name;
  }
  for (const char* name : {"empty", "M-Shredder2", "RBTes", "", "open"}) {
    EXPECT_FALSE(settings::IsOwnShellSubkey(name)) << name;
  }
}

TEST(RBVerbCommand, QuotesThePathThenOneBlankAndTheSwitch) {
  EXPECT_EQ(settings::RBVerbCommand("C:\\Program Files\\M\\binshredder.exe"),
            "\"C:\\Program Files\\M\\binshredder.exe\" -C");
  // A trail byte 0x5C stays where it is.
  EXPECT_EQ(settings::RBVerbCommand("C:\\\x95\x5C\\b.exe"), "\"C:\\\x95\x5C\\b.exe\" -C");
}

}  // namespace
