// A fresh installation of binshredder.exe for one scenario: its own folder on
// drive C:, so OPTION.INI and the work folder start from nothing. Every
// process the scenario starts through it is ended when it goes, and the
// registry value the program writes is removed.
#pragma once

#include <string>
#include <vector>

#include "tests/support/temp_folder.h"
#include "tools/uidriver/ui_driver.h"

class AppFolder {
 public:
  // `folderName` may hold blanks or Japanese text (code page 932).
  explicit AppFolder(const std::string& folderName, const std::string& exeName = "binshredder.exe");
  ~AppFolder();
  AppFolder(const AppFolder&) = delete;
  AppFolder& operator=(const AppFolder&) = delete;

  const std::string& Dir() const { return dir_; }  // no trailing backslash
  const std::string& Exe() const { return exe_; }
  std::string Ini() const { return dir_ + "\\OPTION.INI"; }
  std::string WorkFolder() const { return dir_ + "\\work_temp"; }

  // Starts the program as the shell does: the path in double quotes, then a
  // blank and `arguments` when there are any.
  uidrv::Process Start(const std::string& arguments = {});
  // Starts it with exactly this raw command line.
  uidrv::Process StartRaw(const std::string& commandLine);
  // Starts it as Explorer does, with a UTF-16 command line: the path in
  // double quotes, a blank and `arguments`.
  uidrv::Process StartWide(const std::wstring& arguments);

  // The windowed instance's main window ("Tessaro") of that process.
  HWND WaitMainWindow(const uidrv::Process& process, int timeoutMs = uidrv::kDefaultTimeoutMs);

 private:
  std::string dir_;
  std::string exe_;
  uidrv::Process Keep(uidrv::Process process);

  std::vector<uidrv::Process> started_;
};

// Waits for the box of `caption` that the process shows, checks its text and
// presses `button`; false (with the failure recorded) when there is none.
bool AnswerBox(const uidrv::Process& process, const char* caption, const std::string& text, int button);

// The folder of the running test program (where the binaries of the build are).
std::string BuildBinFolder();
// Where the scenarios save their pictures: build/<preset>/screenshots.
std::string Screenshots();

// Whether the test bed runs 32-bit programs (wine32 on a machine that runs
// 32-bit code); scripts/testbed.sh says so in the environment.
bool TestBedRuns32Bit();
