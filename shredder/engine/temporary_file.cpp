#include "shredder/engine/temporary_file.h"

#include <windows.h>

#include "common/paths.h"
#include "common/text_format.h"
#include "winframe/handles.h"

namespace engine {

std::optional<std::wstring> CreateTemporaryFile(const std::wstring& folder, const wchar_t* prefix, DWORD& error) {
  error = ERROR_FILENAME_EXCED_RANGE;
  const std::optional<std::wstring> extendedFolder = paths::ToExtended(folder);
  if (!extendedFolder) return std::nullopt;
  const std::wstring base = extendedFolder->back() == L'\\' ? *extendedFolder : *extendedFolder + L"\\";
  // As the platform's own temporary names: a 16-bit number from the clock,
  // counted on past names that are taken.
  const DWORD start = GetTickCount();
  for (DWORD attempt = 0; attempt < 0x10000; ++attempt) {
    const DWORD unique = (start + attempt) & 0xFFFF;
    if (unique == 0) continue;
    const std::wstring path = base + prefix + text::HexDigits(unique) + L".tmp";
    wf::UniqueFile file(
        CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file) return path;
    error = GetLastError();
    if (error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS) continue;
    // Denied is also what a name taken by a folder, or by a file on its way
    // out, answers; a folder that refuses new files says so for every name,
    // and then once is enough.
    if (error != ERROR_ACCESS_DENIED || GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES) break;
  }
  return std::nullopt;
}

}  // namespace engine
