// The state of the recycle bin's right-click verb, decided from which keys
// exist, and the keys a removal or a clean-up deletes.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace settings {

// Which keys could be opened. The shell key is shared with other programs:
// `otherSubkeys` says it holds subkeys that are not this program's.
struct RBVerbKeys {
  bool shell = false;
  bool verb = false;
  bool command = false;
  bool oldVerb = false;
  bool oldCommand = false;
  bool otherSubkeys = false;
};

enum class RBVerbState {
  Clean,         // none of our verb keys
  Registered,    // shell, verb and command key, whatever the command's text
  Inconsistent,  // our verb key without its command key, or the other way round
  OldEntries,    // the verb keys of an earlier version, under the shell key
};

RBVerbState DecideRBVerbState(const RBVerbKeys& keys);

// The keys to delete, in order: for Registered those that remove the verb,
// for Inconsistent and OldEntries those of the clean-up, for Clean none.
// Only keys of this program that exist are listed, and the shell key only
// when nothing else will remain under it.
std::vector<const wchar_t*> RBVerbDeletions(const RBVerbKeys& keys, RBVerbState state);

// True for the names of subkeys of the shell key that this program made
// (matched without regard to case, as the registry matches them).
bool IsOwnShellSubkey(std::wstring_view name);

// The command the verb runs: the program path in double quotes, so that a
// path with blanks names this program and nothing else, then " -C".
std::wstring RBVerbCommand(std::wstring_view modulePath);

}  // namespace settings
