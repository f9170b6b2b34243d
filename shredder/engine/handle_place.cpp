#include "shredder/engine/handle_place.h"

#include <winioctl.h>
#include <winnetwk.h>

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <optional>
#include <vector>

#include "common/paths.h"
#include "shredder/engine/volume_place.h"
#include "winframe/drives.h"
#include "winframe/handles.h"

namespace engine {
namespace {

bool SameText(const std::wstring& a, const std::wstring& b) {
  return CompareStringOrdinal(a.data(), static_cast<int>(a.size()), b.data(), static_cast<int>(b.size()), TRUE) ==
         CSTR_EQUAL;
}

std::wstring FinalPath(HANDLE handle, DWORD flags) {
  // The platform says how much room the path needs, or (Wine) only that it
  // needs more: then take the most a path can have.
  std::wstring path(MAX_PATH, L'\0');
  for (int attempt = 0; attempt < 3; ++attempt) {
    const DWORD length = GetFinalPathNameByHandleW(handle, path.data(), static_cast<DWORD>(path.size()), flags);
    if (length != 0 && length < path.size()) {
      path.resize(length);
      return path;
    }
    if (length == 0 && GetLastError() != ERROR_MORE_DATA && GetLastError() != ERROR_NOT_ENOUGH_MEMORY) return {};
    path.assign(std::max<std::size_t>(length + 1, paths::kMaxPath), L'\0');
  }
  return {};
}

std::wstring LongForm(const std::wstring& path) {
  const DWORD length = GetLongPathNameW(path.c_str(), nullptr, 0);
  if (length == 0) return {};
  std::wstring longForm(length, L'\0');
  longForm.resize(GetLongPathNameW(path.c_str(), longForm.data(), length));
  return longForm;
}

// "\\?\C:" or "\\?\UNC\server\share" of an extended path, and what follows.
bool SplitRoot(const std::wstring& extended, std::wstring& root, std::wstring& rest) {
  constexpr std::wstring_view kUnc = L"\\\\?\\UNC\\";
  std::size_t end;
  if (extended.compare(0, kUnc.size(), kUnc) == 0) {
    const std::size_t server = extended.find(L'\\', kUnc.size());
    if (server == std::wstring::npos) return false;
    end = extended.find(L'\\', server + 1);
  } else {
    end = 6;  // "\\?\C:"
  }
  if (end == std::wstring::npos || end > extended.size()) return false;
  root = extended.substr(0, end);
  rest = extended.substr(end);
  return true;
}

// The handle's path below its volume's root, as the file system has it.
std::wstring NameBelowRoot(HANDLE handle) {
  std::vector<unsigned char> buffer(sizeof(FILE_NAME_INFO) + paths::kMaxPath * sizeof(wchar_t));
  auto* name = reinterpret_cast<FILE_NAME_INFO*>(buffer.data());
  if (!GetFileInformationByHandleEx(handle, FileNameInfo, name, static_cast<DWORD>(buffer.size()))) return {};
  return std::wstring(name->FileName, name->FileNameLength / sizeof(wchar_t));
}

// "\\?\UNC\server\share\..." for a path on a drive mapped to that share.
std::wstring ShareForm(const std::wstring& extended) {
  std::wstring root, rest;
  if (!SplitRoot(extended, root, rest) || root.size() != 6) return {};
  const std::wstring drive = root.substr(4);  // "Z:"
  wchar_t remote[MAX_PATH + 1] = {};
  DWORD length = MAX_PATH + 1;
  if (WNetGetConnectionW(drive.c_str(), remote, &length) != NO_ERROR) return {};
  const std::wstring share = remote;
  if (share.size() < 3 || share.compare(0, 2, L"\\\\") != 0) return {};
  return L"\\\\?\\UNC\\" + share.substr(2) + rest;
}

// The drives, subst drives and mount points of this system.
class SystemVolumeLayout final : public VolumeLayout {
 public:
  std::optional<std::wstring> SubstituteOf(wchar_t driveLetter) override {
    return wf::SubstituteOf(std::wstring{driveLetter, L':'});
  }

  std::optional<std::uint32_t> SerialOf(const std::wstring& root) override {
    const std::wstring withSeparator = root.back() == L'\\' ? root : root + L"\\";
    DWORD serial = 0;
    if (!GetVolumeInformationW(withSeparator.c_str(), nullptr, 0, &serial, nullptr, nullptr, nullptr, 0)) {
      return std::nullopt;
    }
    return serial;
  }

  Step StepAt(const std::wstring& path) override {
    Step step;
    const DWORD attributes = GetFileAttributesW(path.c_str());
    step.exists = attributes != INVALID_FILE_ATTRIBUTES;
    step.reparse = step.exists && (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
    if (!step.reparse) return step;
    wf::UniqueFile folder(CreateFileW(path.c_str(), FILE_READ_ATTRIBUTES,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                      FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    std::vector<unsigned char> buffer(MAXIMUM_REPARSE_DATA_BUFFER_SIZE);
    DWORD got = 0;
    if (!folder ||
        !DeviceIoControl(folder.Get(), FSCTL_GET_REPARSE_POINT, nullptr, 0, buffer.data(),
                         static_cast<DWORD>(buffer.size()), &got, nullptr) ||
        got < sizeof(MountPointData)) {
      return step;  // tag 0: unknown, and so taken for a link
    }
    MountPointData data;
    std::memcpy(&data, buffer.data(), sizeof(data));
    step.tag = data.tag;
    if (data.tag == kMountPointTag) {
      const std::size_t at = offsetof(MountPointData, pathBuffer) + data.substituteOffset;
      if (at + data.substituteLength <= got) {
        step.target.assign(data.substituteLength / sizeof(wchar_t), L'\0');
        std::memcpy(step.target.data(), buffer.data() + at, step.target.size() * sizeof(wchar_t));
      }
    }
    return step;
  }

 private:
  // The head of a mount point's reparse data (REPARSE_DATA_BUFFER).
  struct MountPointData {
    std::uint32_t tag;
    std::uint16_t dataLength;
    std::uint16_t reserved;
    std::uint16_t substituteOffset;
    std::uint16_t substituteLength;
    std::uint16_t printOffset;
    std::uint16_t printLength;
    wchar_t pathBuffer[1];
  };
};

// Whether a handle whose final path is the chosen one without the dots and
// blanks that end its names is that file itself. Wine names such a file so
// (Windows keeps them), which is also how it names another file without
// them, if there is one: a link to that one is not the chosen file.
bool IsChosenDespiteTrailingDots(const std::wstring& final, const std::wstring& extendedPath, const FileId& id) {
  const std::wstring plain = paths::WithoutTrailingDotsAndBlanks(extendedPath);
  if (plain == extendedPath || !SameText(final, plain)) return false;
  wf::UniqueFile other(CreateFileW(plain.c_str(), FILE_READ_ATTRIBUTES,
                                   FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                   FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  BY_HANDLE_FILE_INFORMATION info;
  if (!other || !GetFileInformationByHandle(other.Get(), &info)) return true;
  return !(IdOf(info) == id);
}

}  // namespace

bool HandleIsAt(HANDLE handle, const std::wstring& extendedPath, const FileId& id) {
  const std::wstring final = FinalPath(handle, VOLUME_NAME_DOS);
  if (!final.empty() && SameText(final, extendedPath)) return true;
  const std::wstring longForm = LongForm(extendedPath);
  if (!final.empty()) {
    if (!longForm.empty() && SameText(final, longForm)) return true;
    // A drive mapped to a share names the file by the drive, the handle by
    // the share.
    const std::wstring shareForm = ShareForm(extendedPath);
    if (!shareForm.empty() && SameText(final, shareForm)) return true;
    if (IsChosenDespiteTrailingDots(final, extendedPath, id)) return true;
  }
  // Spelled another way than the platform names it (a subst drive, a folder
  // where a volume is mounted, a volume that has a drive letter too), or not
  // named in full (Wine has room for MAX_PATH only): the same volume, and the
  // same path below its root as the chosen path has without following links.
  const std::wstring below = NameBelowRoot(handle);
  if (below.empty()) return false;
  SystemVolumeLayout layout;
  const std::optional<VolumePlace> place = PlaceOf(longForm.empty() ? extendedPath : longForm, layout);
  return place && place->serial == id.volume && SameText(place->below, below);
}

}  // namespace engine
