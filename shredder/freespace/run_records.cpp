#include "shredder/freespace/run_records.h"

#include <windows.h>
// after windows.h, which it needs
#include <ntsecapi.h>

#include "common/program_contract.h"
#include "shredder/freespace/free_space_rules.h"
#include "winframe/handles.h"
#include "winframe/module.h"

namespace freespace {
namespace {

const std::wstring kRunsKey = std::wstring(contract::kProgramKey) + L"\\FreeSpaceRuns";
constexpr wchar_t kRunOnceKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce";
constexpr wchar_t kRunOnceValue[] = L"MORVANE Shredder free-space clean-up";

LSTATUS SetString(HKEY key, const wchar_t* name, const std::wstring& data) {
  return RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(data.c_str()),
                        static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t)));
}

// The program started as its own clean-up, as the shell starts a RunOnce entry.
void ArmCleanUpAtLogon() {
  const std::optional<std::wstring> program = wf::ModulePath();
  wf::RegKey runOnce;
  if (!program || RegCreateKeyExW(HKEY_CURRENT_USER, kRunOnceKey, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_SET_VALUE,
                                  nullptr, runOnce.Put(), nullptr) != ERROR_SUCCESS) {
    return;
  }
  SetString(runOnce.Get(), kRunOnceValue, L"\"" + *program + L"\" " + contract::kCleanUpSwitch);
}

void DisarmCleanUpAtLogon() {
  wf::RegKey runOnce;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, kRunOnceKey, 0, KEY_SET_VALUE, runOnce.Put()) == ERROR_SUCCESS) {
    RegDeleteValueW(runOnce.Get(), kRunOnceValue);
  }
}

}  // namespace

std::wstring NewRunIdentity() {
  std::uint8_t random[16];
  if (!RtlGenRandom(random, sizeof(random))) return {};
  return RunIdentity(random);
}

std::vector<RecordedRun> RecordedRuns() {
  std::vector<RecordedRun> runs;
  wf::RegKey key;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, kRunsKey.c_str(), 0, KEY_QUERY_VALUE, key.Put()) != ERROR_SUCCESS) return runs;
  for (DWORD index = 0;; ++index) {
    wchar_t name[kRunIdentityDigits + 2] = {};
    wchar_t data[MAX_PATH + 1] = {};
    DWORD nameLength = static_cast<DWORD>(std::size(name));
    DWORD dataBytes = sizeof(data) - sizeof(wchar_t);  // room for a terminator the value may lack
    DWORD type = 0;
    const LSTATUS status =
        RegEnumValueW(key.Get(), index, name, &nameLength, nullptr, &type, reinterpret_cast<BYTE*>(data), &dataBytes);
    if (status == ERROR_NO_MORE_ITEMS) break;
    // A value that is not one of ours (too long a name, too long a root) is passed over.
    if (status != ERROR_SUCCESS || type != REG_SZ) continue;
    runs.push_back({std::wstring(name, nameLength), std::wstring(data)});
  }
  return runs;
}

bool RecordRun(const RecordedRun& run) {
  wf::RegKey key;
  LSTATUS status = RegCreateKeyExW(HKEY_CURRENT_USER, kRunsKey.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                   KEY_SET_VALUE, nullptr, key.Put(), nullptr);
  if (status == ERROR_SUCCESS) status = SetString(key.Get(), run.identity.c_str(), run.volumeRoot);
  // On the disk before the folder is made: a power loss may follow.
  if (status == ERROR_SUCCESS) status = RegFlushKey(key.Get());
  if (status != ERROR_SUCCESS) {
    SetLastError(static_cast<DWORD>(status));
    return false;
  }
  ArmCleanUpAtLogon();
  return true;
}

void ForgetRun(const std::wstring& identity) {
  wf::RegKey key;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, kRunsKey.c_str(), 0, KEY_SET_VALUE | KEY_QUERY_VALUE, key.Put()) !=
      ERROR_SUCCESS) {
    return DisarmCleanUpAtLogon();
  }
  RegDeleteValueW(key.Get(), identity.c_str());
  DWORD values = 0;
  if (RegQueryInfoKeyW(key.Get(), nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &values, nullptr, nullptr,
                       nullptr, nullptr) == ERROR_SUCCESS &&
      values == 0) {
    key.Reset();
    RegDeleteKeyW(HKEY_CURRENT_USER, kRunsKey.c_str());
    DisarmCleanUpAtLogon();
  }
}

}  // namespace freespace
