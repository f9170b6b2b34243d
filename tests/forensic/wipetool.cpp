// Runs the program's own wiping on one file, outside the window, for the
// volume-image checks and the wipe benchmark. Messages that the program
// would show in a box are written to stderr instead.
//
//   wipetool.exe wipe <path>       WipeFile (OverWriteTimes passes, default 3)
//   wipetool.exe recycled <path>   WipeRecycledFile, with the work folder next
//                                  to the file; the work folder is removed after
//   wipetool.exe folder <path>     the recycle-bin walk over a folder (every file
//                                  at every depth wiped and removed), silently,
//                                  with the work folder next to the folder
//
// OverWriteTimes comes from OPTION.INI beside the tool when there is one,
// read as the program reads it.
//
// Exit code 0 when the file was wiped, 1 when not, 2 on a usage error.
#include <windows.h>
// after windows.h, which it needs
#include <shellapi.h>

#include <cstdio>
#include <string>

#include "common/paths.h"
#include "shredder/engine/file_wipe.h"
#include "shredder/recyclebin/recycle_bin.h"
#include "shredder/settings/settings_store.h"
#include "winframe/app.h"
#include "winframe/module.h"
#include "winframe/prompt.h"
#include "winframe/text.h"

namespace {

std::string Utf8(const std::wstring& text) {
  return wf::Narrow(text, CP_UTF8);
}

int PrintPrompt(const wf::PromptRequest& request) {
  std::fprintf(stderr, "message: %s\n", Utf8(request.text).c_str());
  return IDOK;
}

double Seconds(const LARGE_INTEGER& start) {
  LARGE_INTEGER now, frequency;
  QueryPerformanceCounter(&now);
  QueryPerformanceFrequency(&frequency);
  return static_cast<double>(now.QuadPart - start.QuadPart) / static_cast<double>(frequency.QuadPart);
}

}  // namespace

int main() {
  int argc = 0;
  wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  if (!argv || argc != 3) {
    std::fprintf(stderr, "usage: wipetool.exe wipe|recycled|folder <path>\n");
    return 2;
  }
  const std::wstring mode = argv[1];
  const std::wstring path = argv[2];
  wf::App app(GetModuleHandleW(nullptr));
  app.SetProfilePath(paths::FolderWithSeparator(wf::ModulePath().value_or(L"")) + L"OPTION.INI");
  wf::SetPromptHandler(PrintPrompt);
  engine::WorkContext work;
  work.passes = settings::ReadOptions().overWriteTimes;

  LARGE_INTEGER start;
  QueryPerformanceCounter(&start);
  bool wiped = false;
  if (mode == L"wipe") {
    wiped = engine::WipeFile(work, path);
  } else if (mode == L"recycled") {
    work.workFolder = engine::CreateWorkFolder(work, paths::FolderWithSeparator(path));
    wiped = engine::WipeRecycledFile(work, path);
    RemoveDirectoryW(work.workFolder.c_str());
  } else if (mode == L"folder") {
    work.workFolder = engine::CreateWorkFolder(work, paths::FolderWithSeparator(path));
    recyclebin::EraseRun run;
    wiped = recyclebin::ShredRecycleBinFolder(work, path, false, false, 0, run) && !run.left.Any();
    RemoveDirectoryW(work.workFolder.c_str());
  } else {
    std::fprintf(stderr, "unknown mode %s\n", Utf8(mode).c_str());
    return 2;
  }
  std::printf("%s %s: %s in %.3f s\n", Utf8(mode).c_str(), Utf8(path).c_str(), wiped ? "wiped" : "NOT wiped",
              Seconds(start));
  LocalFree(argv);
  return wiped ? 0 : 1;
}
