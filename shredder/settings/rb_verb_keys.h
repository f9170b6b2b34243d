// The recycle bin's own right-click verb, under its class key in
// HKEY_CLASSES_ROOT, and the key that probes whether that hive is writable.
#pragma once

namespace settings {

// The names of our verb keys under the shell key, the current one and that
// of an earlier version.
inline constexpr char kVerbName[] = "M-Shredder";
inline constexpr char kOldVerbName[] = "RBTest";

#define SHRED_RECYCLE_BIN_CLASS "CLSID\\{645FF040-5081-101B-9F08-00AA002F954E}"

inline constexpr char kShellKey[] = SHRED_RECYCLE_BIN_CLASS "\\shell";
inline constexpr char kVerbKey[] = SHRED_RECYCLE_BIN_CLASS "\\shell\\M-Shredder";
inline constexpr char kCommandKey[] = SHRED_RECYCLE_BIN_CLASS "\\shell\\M-Shredder\\command";
inline constexpr char kOldVerbKey[] = SHRED_RECYCLE_BIN_CLASS "\\shell\\RBTest";
inline constexpr char kOldCommandKey[] = SHRED_RECYCLE_BIN_CLASS "\\shell\\RBTest\\command";
inline constexpr char kProbeKey[] = SHRED_RECYCLE_BIN_CLASS "\\RBWriteTest";

#undef SHRED_RECYCLE_BIN_CLASS

}  // namespace settings
