// What the shipped binaries say of themselves: the version resources that
// Explorer's properties and "Programs and Features" show, and the manifest
// that gives the program's dialogs the common controls 6.
#include <gtest/gtest.h>
#include <windows.h>
// After windows.h, which it needs.
#include <tlhelp32.h>

#include <algorithm>
#include <cctype>
#include <optional>
#include <string>
#include <vector>

#include "shred_version.h"
#include "shredder/app/app_texts.h"
#include "tests/e2e/support/app_folder.h"
#include "tests/support/temp_folder.h"

namespace {

struct VersionInfo {
  VS_FIXEDFILEINFO fixed{};
  std::vector<DWORD> translations;  // language in the low word, code page in the high
  std::vector<char> data;

  // A string of the Japanese Unicode block, in the ANSI code page.
  std::optional<std::string> String(const char* name) const {
    void* value = nullptr;
    UINT length = 0;
    const std::string path = std::string("\\StringFileInfo\\041104B0\\") + name;
    if (!VerQueryValueA(data.data(), path.c_str(), &value, &length) || !value) return std::nullopt;
    return std::string(static_cast<const char*>(value));
  }
};

std::optional<VersionInfo> ReadVersionInfo(const std::string& path) {
  DWORD ignored = 0;
  const DWORD size = GetFileVersionInfoSizeA(path.c_str(), &ignored);
  if (size == 0) return std::nullopt;
  VersionInfo info;
  info.data.resize(size);
  if (!GetFileVersionInfoA(path.c_str(), 0, size, info.data.data())) return std::nullopt;
  void* value = nullptr;
  UINT length = 0;
  if (!VerQueryValueA(info.data.data(), "\\", &value, &length) || length < sizeof(VS_FIXEDFILEINFO)) {
    return std::nullopt;
  }
  info.fixed = *static_cast<VS_FIXEDFILEINFO*>(value);
  if (VerQueryValueA(info.data.data(), "\\VarFileInfo\\Translation", &value, &length)) {
    const DWORD* pairs = static_cast<const DWORD*>(value);
    info.translations.assign(pairs, pairs + length / sizeof(DWORD));
  }
  return info;
}

// The four numbers of a version as the fixed part holds them.
std::vector<unsigned> Numbers(DWORD high, DWORD low) {
  return {HIWORD(high), LOWORD(high), HIWORD(low), LOWORD(low)};
}

// What both binaries carry alike, and their own version as numbers and text.
void ExpectVersion(const VersionInfo& info, const std::vector<unsigned>& numbers, const std::string& text) {
  EXPECT_EQ(Numbers(info.fixed.dwFileVersionMS, info.fixed.dwFileVersionLS), numbers);
  EXPECT_EQ(Numbers(info.fixed.dwProductVersionMS, info.fixed.dwProductVersionLS), numbers);
  EXPECT_EQ(info.String("FileVersion"), text);
  EXPECT_EQ(info.String("ProductVersion"), text);
  EXPECT_EQ(info.translations, std::vector<DWORD>{MAKELONG(0x0411, 1200)});
  EXPECT_EQ(info.String("ProductName"), "MORVANE Shredder");
  EXPECT_EQ(info.String("CompanyName"), "MORVANE");
  EXPECT_EQ(info.String("LegalCopyright"), Ansi(app::texts::kCopyright)) << "the about box's notice";
}

TEST(VersionResources, TheProgramIsVersion111InJapanese) {
  const std::optional<VersionInfo> info = ReadVersionInfo(BuildBinFolder() + "\\binshredder.exe");
  ASSERT_TRUE(info);
  // The about box states the version too, and the single-instance name.
  ExpectVersion(*info, {1, 11, 0, 0}, Ansi(app::texts::kProductVersion));
  EXPECT_EQ(info->fixed.dwFileType, static_cast<DWORD>(VFT_APP));
  EXPECT_EQ(Ansi(app::texts::kInstanceMutexName), std::string("MORVANE Shredder version ") + BINSHREDDER_VERSION_TEXT);
  EXPECT_EQ(info->String("OriginalFilename"), "binshredder.exe");
  EXPECT_EQ(info->String("InternalName"), "binshredder");
  EXPECT_EQ(info->String("FileDescription"), "MORVANE Shredder ファイル完全抹消ツール");
}

TEST(VersionResources, TheExtensionIsVersion1001) {
  const std::optional<VersionInfo> info = ReadVersionInfo(BuildBinFolder() + "\\shredmenu.dll");
  ASSERT_TRUE(info);
  ExpectVersion(*info, {1, 0, 0, 1}, "1.0.0.1");
  EXPECT_EQ(info->fixed.dwFileType, static_cast<DWORD>(VFT_DLL));
  EXPECT_EQ(info->String("OriginalFilename"), "shredmenu.dll");
  EXPECT_EQ(info->String("FileDescription"), "MORVANE Shredder エクスプローラー右クリックメニュー拡張");
}

// The common controls the running program has loaded.
std::string LoadedCommonControls(DWORD pid) {
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPMODULE, pid);
  if (snapshot == INVALID_HANDLE_VALUE) return {};
  std::string path;
  MODULEENTRY32 module{};
  module.dwSize = sizeof(module);
  for (BOOL more = Module32First(snapshot, &module); more; more = Module32Next(snapshot, &module)) {
    if (_stricmp(module.szModule, "comctl32.dll") == 0) path = module.szExePath;
  }
  CloseHandle(snapshot);
  return path;
}

TEST(Manifest, TheRunningProgramHasTheCommonControls6) {
  AppFolder app("manifest");
  uidrv::Process process = app.Start();
  HWND window = app.WaitMainWindow(process);
  ASSERT_TRUE(window);
  // Version 6 is a side-by-side assembly; without the manifest the system's
  // version 5 is loaded. (Wine's copy of version 6 still reports 5.81 from
  // DllGetVersion, so the place it came from tells.)
  std::string path = LoadedCommonControls(process.pid);
  std::transform(path.begin(), path.end(), path.begin(), [](unsigned char c) { return std::tolower(c); });
  EXPECT_NE(path.find("\\winsxs\\"), std::string::npos) << path;
  EXPECT_NE(path.find("microsoft.windows.common-controls_6595b64144ccf1df_6."), std::string::npos) << path;
  uidrv::Post(window, WM_CLOSE, 0, 0);
  EXPECT_EQ(uidrv::WaitExit(process), 0u);
}

}  // namespace
