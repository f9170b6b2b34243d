// The application object: instance handle, main window, application name and
// the private profile file that holds every setting.
#pragma once

#include <windows.h>

#include <string>

namespace wf {

class App {
 public:
  explicit App(HINSTANCE instance);
  virtual ~App();
  App(const App&) = delete;
  App& operator=(const App&) = delete;

  // The one application object of the process (null before it exists).
  static App* Current() { return current_; }

  HINSTANCE Instance() const { return instance_; }
  HWND MainWindow() const { return mainWindow_; }
  void SetMainWindow(HWND window) { mainWindow_ = window; }

  // The executable's file name without extension: the caption of
  // application-level message boxes.
  const std::wstring& Name() const { return name_; }

  // Profile file. With no path set, reads give the default and writes do
  // nothing, so nothing ever lands in the system's WIN.INI. The file itself
  // stays in the ANSI code page, as the platform writes it; its keys and
  // values are ASCII.
  void SetProfilePath(std::wstring path) { profilePath_ = std::move(path); }
  const std::wstring& ProfilePath() const { return profilePath_; }
  int GetProfileInt(const wchar_t* section, const wchar_t* key, int defaultValue) const;
  // The whole text of a value; empty when it or the key is absent.
  std::wstring GetProfileString(const wchar_t* section, const wchar_t* key) const;
  // False when the file could not be written; GetLastError says why.
  bool WriteProfileInt(const wchar_t* section, const wchar_t* key, int value) const;

  // Message box owned by the main window, captioned with the application name.
  int MessageBox(const std::wstring& text, UINT flags) const;

 private:
  static App* current_;
  HINSTANCE instance_;
  HWND mainWindow_ = nullptr;
  std::wstring name_;
  std::wstring profilePath_;
};

}  // namespace wf
