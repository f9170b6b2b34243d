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
// OverWriteTimes comes from OPTION.INI beside the tool when there is one.
//
// Exit code 0 when the file was wiped, 1 when not, 2 on a usage error.
#include <windows.h>

#include <cstdio>
#include <string>

#include "common/paths.h"
#include "shredder/engine/file_wipe.h"
#include "shredder/recyclebin/recycle_bin.h"
#include "winframe/prompt.h"

namespace {

int PrintPrompt(const wf::PromptRequest& request) {
  std::fprintf(stderr, "message: %s\n", request.text.c_str());
  return IDOK;
}

double Seconds(const LARGE_INTEGER& start) {
  LARGE_INTEGER now, frequency;
  QueryPerformanceCounter(&now);
  QueryPerformanceFrequency(&frequency);
  return static_cast<double>(now.QuadPart - start.QuadPart) / static_cast<double>(frequency.QuadPart);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: wipetool.exe wipe|recycled|folder <path>\n");
    return 2;
  }
  const std::string mode = argv[1];
  const std::string path = argv[2];
  char self[MAX_PATH];
  const DWORD length = GetModuleFileNameA(nullptr, self, sizeof(self));
  const std::string ini = paths::FolderWithSeparator(std::string(self, length)) + "OPTION.INI";
  wf::SetPromptHandler(PrintPrompt);
  engine::WorkContext work;
  work.passes =
      static_cast<int>(GetPrivateProfileIntA("ProgramData", "OverWriteTimes", engine::kDefaultPasses, ini.c_str()));

  LARGE_INTEGER start;
  QueryPerformanceCounter(&start);
  bool wiped = false;
  if (mode == "wipe") {
    wiped = engine::WipeFile(work, path);
  } else if (mode == "recycled") {
    work.workFolder = engine::CreateWorkFolder(work, paths::FolderWithSeparator(path));
    wiped = engine::WipeRecycledFile(work, path, paths::NameOf(path));
    RemoveDirectoryA(work.workFolder.c_str());
  } else if (mode == "folder") {
    work.workFolder = engine::CreateWorkFolder(work, paths::FolderWithSeparator(path));
    int unwiped = 0;
    wiped = recyclebin::ShredRecycleBinFolder(work, path, false, false, 0, unwiped) && unwiped == 0;
    RemoveDirectoryA(work.workFolder.c_str());
  } else {
    std::fprintf(stderr, "unknown mode %s\n", mode.c_str());
    return 2;
  }
  std::printf("%s %s: %s in %.3f s\n", mode.c_str(), path.c_str(), wiped ? "wiped" : "NOT wiped", Seconds(start));
  return wiped ? 0 : 1;
}
