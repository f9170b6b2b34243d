// The recycle bin's own right-click verb, under its class key in
// HKEY_CLASSES_ROOT, and the key that probes whether that hive is writable.
#pragma once

namespace settings {

// The names of our verb keys under the shell key, the current one and that
// of an earlier version.
inline constexpr wchar_t kVerbName[] = L"M-Shredder";
inline constexpr wchar_t kOldVerbName[] = L"RBTest";

#define SHRED_RECYCLE_BIN_CLASS L"CLSID\\{645FF040-5081-101B-9F08-00AA002F954E}"

inline constexpr wchar_t kShellKey[] = SHRED_RECYCLE_BIN_CLASS L"\\shell";
inline constexpr wchar_t kVerbKey[] = SHRED_RECYCLE_BIN_CLASS L"\\shell\\M-Shredder";
inline constexpr wchar_t kCommandKey[] = SHRED_RECYCLE_BIN_CLASS L"\\shell\\M-Shredder\\command";
inline constexpr wchar_t kOldVerbKey[] = SHRED_RECYCLE_BIN_CLASS L"\\shell\\RBTest";
inline constexpr wchar_t kOldCommandKey[] = SHRED_RECYCLE_BIN_CLASS L"\\shell\\RBTest\\command";
inline constexpr wchar_t kProbeKey[] = SHRED_RECYCLE_BIN_CLASS L"\\RBWriteTest";

#undef SHRED_RECYCLE_BIN_CLASS

}  // namespace settings
