// What a binshredder process was started for, decided from its command line.
#pragma once

#include <string>
#include <string_view>

namespace app {

enum class RunMode {
  Windowed,          // no tail: the tool window
  RecycleBin,        // "-C": erase the recycle bin and end
  HandOff,           // "-D": shred the list handed over on the clipboard and end
  FreeSpace,         // -F "D:\": erase the free space of that drive and end
  CleanUp,           // "-L": remove what free-space erases left, quietly, and end (RunOnce at a logon)
  CommandLineFiles,  // any other tail: shred the quoted paths and end
};

struct Route {
  RunMode mode = RunMode::Windowed;
  std::wstring tail;       // the whole command tail, for CommandLineFiles
  std::wstring driveRoot;  // "D:\", for FreeSpace
};

// The command tail of a raw command line (as GetCommandLineW gives it, so
// that every name arrives as it was written): the program name is skipped
// (when the line begins with a double quote, up to and including the next
// quote; otherwise up to the first character with a code of 32 or less),
// then the characters with codes 1 to 32 that follow it.
std::wstring CommandTail(std::wstring_view rawCommandLine);

// The switches count only when the tail is exactly "-C", "-D" or "-L" and the raw
// line holds the module path in double quotes, one blank and the switch; this
// is how the shell starts the program for the recycle-bin verb and how the
// context menu starts it. The free-space erase is started the same way with
// "-F", one blank and a drive root in double quotes ("-F \"D:\\\"", as
// contract::FreeSpaceArguments spells it); any other tail that begins so is a
// list of files, as before.
Route RouteCommandLine(std::wstring_view tail, std::wstring_view rawCommandLine, std::wstring_view modulePath);

}  // namespace app
