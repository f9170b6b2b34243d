#include "shredder/settings/rb_verb_state.h"

#include "common/cp932.h"
#include "common/program_contract.h"
#include "shredder/settings/rb_verb_keys.h"

namespace settings {
namespace {

constexpr std::string_view kOwnSubkeys[] = {kVerbName, kOldVerbName};

}  // namespace

RBVerbState DecideRBVerbState(const RBVerbKeys& keys) {
  if (keys.shell && keys.oldVerb && keys.oldCommand) return RBVerbState::OldEntries;
  if (keys.shell && keys.verb && keys.command) return RBVerbState::Registered;
  // Another program's verbs under the shell key, or an empty shell key, are
  // no broken registration of ours.
  if (keys.verb || keys.command) return RBVerbState::Inconsistent;
  return RBVerbState::Clean;
}

std::vector<const char*> RBVerbDeletions(const RBVerbKeys& keys, RBVerbState state) {
  std::vector<const char*> deletions;
  if (state == RBVerbState::Clean) return deletions;
  const bool oldKeysGo = state == RBVerbState::OldEntries;
  if (keys.command) deletions.push_back(kCommandKey);
  if (oldKeysGo && keys.oldCommand) deletions.push_back(kOldCommandKey);
  if (keys.verb) deletions.push_back(kVerbKey);
  if (oldKeysGo && keys.oldVerb) deletions.push_back(kOldVerbKey);
  // An old verb key left standing is still a subkey of the shell key.
  const bool somethingRemains = keys.otherSubkeys || (!oldKeysGo && (keys.oldVerb || keys.oldCommand));
  if (keys.shell && !somethingRemains) deletions.push_back(kShellKey);
  return deletions;
}

bool IsOwnShellSubkey(std::string_view name) {
  for (std::string_view own : kOwnSubkeys) {
    if (cp932::EqualsNoCase(name, own)) return true;
  }
  return false;
}

std::string RBVerbCommand(std::string_view modulePath) {
  std::string command = "\"";
  command.append(modulePath);
  command.append("\" ");
  command.append(contract::kRecycleBinSwitch);
  return command;
}

}  // namespace settings
