// The free-space runs of this account whose fill folders may still be on a
// volume. Each is recorded under the account's registry key before its
// folder is made, and forgotten once the folder is gone: a later start of
// the program recognises such a folder as ours by its marker (kMarkerName)
// and removes it. While any is recorded, the account's RunOnce key starts
// that clean-up at the next logon, for an end no start follows (a power
// loss).
#pragma once

#include <string>
#include <vector>

namespace freespace {

struct RecordedRun {
  std::wstring identity;    // RunIdentity: what the folder's marker says
  std::wstring volumeRoot;  // where its folder was made ("D:\")
};

// A new run's identity; empty when the system gives no random bytes.
std::wstring NewRunIdentity();
// The account's recorded runs.
std::vector<RecordedRun> RecordedRuns();
// Records a run, and the clean-up at the next logon; false when the run
// could not be recorded (GetLastError says why).
bool RecordRun(const RecordedRun& run);
// Forgets a run whose folder is gone; the clean-up at the next logon goes
// with the last one.
void ForgetRun(const std::wstring& identity);

}  // namespace freespace
