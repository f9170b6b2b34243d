#include "shredder/settings/rb_verb_state.h"

#include "common/program_contract.h"
#include "common/text_format.h"
#include "shredder/settings/rb_verb_keys.h"

namespace settings {
namespace {

constexpr std::wstring_view kOwnSubkeys[] = {kVerbName, kOldVerbName};

}  // namespace

RBVerbState DecideRBVerbState(const RBVerbKeys& keys) {
  if (keys.shell && keys.oldVerb && keys.oldCommand) return RBVerbState::OldEntries;
  if (keys.shell && keys.verb && keys.command) return RBVerbState::Registered;
  // Another program's verbs under the shell key, or an empty shell key, are
  // no broken registration of ours.
  if (keys.verb || keys.command) return RBVerbState::Inconsistent;
  return RBVerbState::Clean;
}

std::vector<const wchar_t*> RBVerbDeletions(const RBVerbKeys& keys, RBVerbState state) {
  std::vector<const wchar_t*> deletions;
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

bool IsOwnShellSubkey(std::wstring_view name) {
  for (std::wstring_view own : kOwnSubkeys) {
    if (text::EqualsIgnoringAsciiCase(name, own)) return true;  // as the registry matches them
  }
  return false;
}

std::wstring RBVerbCommand(std::wstring_view modulePath) {
  std::wstring command = L"\"";
  command.append(modulePath);
  command.append(L"\" ");
  command.append(contract::kRecycleBinSwitch);
  return command;
}

}  // namespace settings
