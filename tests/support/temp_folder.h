// A fresh folder on drive C: for one test, removed with everything in it.
#pragma once

#include <cstdint>
#include <string>

class TempFolder {
 public:
  explicit TempFolder(const std::string& root = "C:\\wintests");
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  // The folder, without a trailing backslash.
  const std::string& Path() const { return path_; }
  std::string operator/(const std::string& name) const { return path_ + "\\" + name; }

  // Writes a file of the folder (or any path) and returns its full path.
  std::string WriteFile(const std::string& name, const std::string& content) const;

 private:
  std::string path_;
};

// Helpers for files by full path.
bool FileExists(const std::string& path);
std::string ReadWholeFile(const std::string& path);
bool WriteWholeFile(const std::string& path, const std::string& content);
// Removes a folder and all it holds, read-only files included.
void RemoveTree(const std::string& path);
