#include "tests/e2e/support/app_folder.h"

#include <cstdio>

#include <gtest/gtest.h>

#include "tests/support/system_state.h"
#include "tests/support/temp_folder.h"

std::string BuildBinFolder() {
  char path[MAX_PATH];
  const DWORD length = GetModuleFileNameA(nullptr, path, sizeof(path));
  std::string folder(path, length);
  return folder.substr(0, folder.find_last_of('\\'));
}

std::string Screenshots() {
  const std::string folder = BuildBinFolder() + "\\..\\screenshots";
  CreateDirectoryA(folder.c_str(), nullptr);
  return folder;
}

bool TestBedRuns32Bit() {
  char value[4] = {};
  return GetEnvironmentVariableA("SHRED_TESTBED_RUNS_32BIT", value, sizeof(value)) == 1 && value[0] == '1';
}

AppFolder::AppFolder(const std::string& folderName, const std::string& exeName) {
  CreateDirectoryA("C:\\e2e", nullptr);
  dir_ = "C:\\e2e\\" + folderName;
  RemoveTree(dir_);
  CreateDirectoryA(dir_.c_str(), nullptr);
  exe_ = dir_ + "\\" + exeName;
  if (!CopyFileA((BuildBinFolder() + "\\binshredder.exe").c_str(), exe_.c_str(), FALSE)) {
    ADD_FAILURE() << "cannot copy binshredder.exe into " << dir_;
  }
  DeleteRegistryTree(HKEY_CURRENT_USER, "Software\\Brinmoor");
}

AppFolder::~AppFolder() {
  for (uidrv::Process& process : started_) {
    if (uidrv::WaitExit(process, 0) == STILL_ACTIVE) uidrv::Kill(process);
    uidrv::Close(process);
  }
  DeleteRegistryTree(HKEY_CURRENT_USER, "Software\\Brinmoor");
  // The program may need a moment to let go of its files.
  for (int attempt = 0; attempt < 20 && FileExists(dir_); ++attempt) {
    RemoveTree(dir_);
    if (FileExists(dir_)) Sleep(100);
  }
}

uidrv::Process AppFolder::Start(const std::string& arguments) {
  return StartRaw("\"" + exe_ + "\"" + (arguments.empty() ? "" : " " + arguments));
}

uidrv::Process AppFolder::StartRaw(const std::string& commandLine) {
  return Keep(uidrv::Start(commandLine, dir_));
}

uidrv::Process AppFolder::StartWide(const std::wstring& arguments) {
  return Keep(uidrv::Start(L"\"" + Wide(exe_) + L"\" " + arguments, Wide(dir_)));
}

uidrv::Process AppFolder::Keep(uidrv::Process process) {
  // The test owns a copy of the handle for its own waiting; this one is for
  // the clean-up.
  uidrv::Process kept = process;
  if (process.handle) {
    HANDLE duplicate = nullptr;
    DuplicateHandle(GetCurrentProcess(), process.handle, GetCurrentProcess(), &duplicate, 0, FALSE,
                    DUPLICATE_SAME_ACCESS);
    kept.handle = duplicate;
    started_.push_back(kept);
  }
  return process;
}

HWND AppFolder::WaitMainWindow(const uidrv::Process& process, int timeoutMs) {
  return uidrv::WaitWindow(uidrv::kDialogClass, "Tessaro", timeoutMs, process.pid);
}

bool AnswerBox(const uidrv::Process& process, const char* caption, const std::string& text, int button) {
  HWND box = uidrv::WaitDialog(caption, uidrv::kDefaultTimeoutMs, process.pid);
  if (!box) {
    ADD_FAILURE() << "no box \"" << caption << "\": " << text;
    return false;
  }
  const std::string shown = uidrv::MessageText(box);
  // The log of a run shows what the program said (code page 932).
  std::printf("box %s: %s\n", caption, shown.c_str());
  EXPECT_EQ(shown, text);
  uidrv::Press(box, button);
  return uidrv::WaitGone(box);
}
