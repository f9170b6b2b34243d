// The recycle bin's right-click verb: its check and toggle in the options
// dialog, and the start-up probe that tells whether it can be written.
#include "shredder/settings/rb_verb.h"

#include <optional>

#include "shredder/captions.h"
#include "shredder/resources/resource.h"
#include "shredder/settings/option_dialog.h"
#include "shredder/settings/rb_verb_keys.h"
#include "shredder/settings/rb_verb_state.h"
#include "shredder/settings/registry.h"
#include "shredder/settings/settings_texts.h"
#include "winframe/handles.h"
#include "winframe/module.h"
#include "winframe/prompt.h"
#include "winframe/system_error.h"

namespace {

settings::RBVerbKeys ProbeRBVerbKeys(HWND owner) {
  using settings::RegKeyExists;
  settings::RBVerbKeys keys;
  keys.shell = RegKeyExists(owner, settings::kShellKey, HKEY_CLASSES_ROOT);
  keys.verb = RegKeyExists(owner, settings::kVerbKey, HKEY_CLASSES_ROOT);
  keys.command = RegKeyExists(owner, settings::kCommandKey, HKEY_CLASSES_ROOT);
  keys.oldVerb = RegKeyExists(owner, settings::kOldVerbKey, HKEY_CLASSES_ROOT);
  keys.oldCommand = RegKeyExists(owner, settings::kOldCommandKey, HKEY_CLASSES_ROOT);
  if (keys.shell) {
    // A shell key whose subkeys cannot be listed may hold anything.
    const auto names = settings::RegSubkeyNames(owner, settings::kShellKey, HKEY_CLASSES_ROOT);
    keys.otherSubkeys = !names;
    for (const std::wstring& name : names.value_or(std::vector<std::wstring>{})) {
      if (!settings::IsOwnShellSubkey(name)) keys.otherSubkeys = true;
    }
  }
  return keys;
}

}  // namespace

bool COptionDialog::CheckRBVerb() {
  using settings::RBVerbState;
  std::optional<RBVerbState> cleanedUp;
  // The check runs once more after a clean-up, and no further: keys that
  // would not go are then left, and the user has been told once.
  for (int run = 0; run < 2; ++run) {
    const settings::RBVerbKeys keys = ProbeRBVerbKeys(Hwnd());
    const RBVerbState state = settings::DecideRBVerbState(keys);
    if (state == RBVerbState::Registered && !cleanedUp) {
      CheckDlgButton(Hwnd(), IDC_RBVERB, BST_CHECKED);
      return true;
    }
    if (state == RBVerbState::Registered || state == RBVerbState::Clean || state == cleanedUp) break;
    wf::Prompt(
        Hwnd(),
        state == RBVerbState::OldEntries ? settings::texts::kOldRegistryFound : settings::texts::kRegistryInconsistent,
        captions::kError, captions::kErrorFlags);
    // Failures are not reported here: the check that follows finds what is left.
    for (const wchar_t* key : settings::RBVerbDeletions(keys, state)) RegDeleteKeyW(HKEY_CLASSES_ROOT, key);
    cleanedUp = state;
  }
  CheckDlgButton(Hwnd(), IDC_RBVERB, BST_UNCHECKED);
  return false;
}

bool COptionDialog::ToggleRBVerb() {
  if (CheckRBVerb()) {
    const settings::RBVerbKeys keys = ProbeRBVerbKeys(Hwnd());
    for (const wchar_t* key : settings::RBVerbDeletions(keys, settings::RBVerbState::Registered)) {
      settings::DeleteKey(Hwnd(), HKEY_CLASSES_ROOT, key);
    }
  } else if (const std::optional<std::wstring> module = wf::ModulePath()) {
    // A shell key that is already there may carry another program's default
    // verb in its default value; only a shell key made here gets ours.
    if (!settings::RegKeyExists(Hwnd(), settings::kShellKey, HKEY_CLASSES_ROOT)) {
      settings::RegWriteString(Hwnd(), settings::kShellKey, HKEY_CLASSES_ROOT, L"", nullptr);
    }
    settings::RegWriteString(Hwnd(), settings::kVerbKey, HKEY_CLASSES_ROOT, settings::texts::kRBVerbMenuText, nullptr);
    settings::RegWriteString(Hwnd(), settings::kCommandKey, HKEY_CLASSES_ROOT, settings::RBVerbCommand(*module),
                             nullptr);
  } else {
    wf::Prompt(Hwnd(), wf::WithReason(settings::texts::kRegistryNotCreated, GetLastError()), captions::kInfo,
               captions::kInfoFlags);
  }
  return CheckRBVerb();
}

namespace settings {

bool ProbeClassesRootWritable(HWND owner) {
  wf::RegKey key;
  if (CreateKeyForWriting(HKEY_CLASSES_ROOT, kProbeKey, key.Put()) != ERROR_SUCCESS) return false;
  CloseKey(owner, key);
  DeleteKey(owner, HKEY_CLASSES_ROOT, kProbeKey);
  return true;
}

}  // namespace settings
