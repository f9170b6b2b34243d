// A fresh folder on drive C: for one test, removed with everything in it.
// Paths come in UTF-16 (any name, any length) and, for the end-to-end tests
// that speak the ANSI code page with the programs they drive, as ANSI text.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

class TempFolder {
 public:
  explicit TempFolder(const std::wstring& root = L"C:\\wintests");
  explicit TempFolder(const std::string& root);
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  // The folder, without a trailing backslash.
  const std::wstring& WidePath() const { return path_; }
  std::string Path() const;
  std::wstring operator/(const std::wstring& name) const { return path_ + L"\\" + name; }
  std::string operator/(const std::string& name) const { return Path() + "\\" + name; }

  // Writes a file of the folder (or any full path) and returns its full path.
  std::wstring WriteFile(const std::wstring& name, const std::string& content) const;
  std::string WriteFile(const std::string& name, const std::string& content) const;

 private:
  std::wstring path_;
};

// Helpers for files by full path, of any length.
bool FileExists(const std::wstring& path);
std::string ReadWholeFile(const std::wstring& path);
bool WriteWholeFile(const std::wstring& path, const std::string& content);
// Removes a folder and all it holds, read-only files included; a link is
// removed itself, never followed.
void RemoveTree(const std::wstring& path);
// The names in `folder` that `pattern` matches ("*", "ms*.tmp"), in the
// order the file system lists them, without "." and "..".
std::vector<std::wstring> NamesIn(const std::wstring& folder, const std::wstring& pattern = L"*");

// The same for paths in the ANSI code page.
bool FileExists(const std::string& path);
std::string ReadWholeFile(const std::string& path);
bool WriteWholeFile(const std::string& path, const std::string& content);
void RemoveTree(const std::string& path);
std::vector<std::string> NamesIn(const std::string& folder, const std::string& pattern = "*");

// The "\\?\" form of a full path, which the file functions take at any length.
std::wstring Long(const std::wstring& path);
// Makes folders named `name`, one in the other, under `root` until the path is
// longer than 420 characters (well past the old limit of 260); the deepest
// one, or nothing when one could not be made.
std::wstring MakeDeepFolder(std::wstring root, const std::wstring& name);
std::wstring Wide(const std::string& ansi);
std::string Ansi(const std::wstring& wide);
