#include "shredder/settings/settings_place.h"

#include <aclapi.h>
#include <shlobj.h>

#include <memory>
#include <optional>

#include "common/paths.h"
#include "shredder/settings/settings_keys.h"
#include "winframe/handles.h"

namespace settings {
namespace {

struct LocalFreer {
  void operator()(void* memory) const { LocalFree(memory); }
};
using SecurityDescriptor = std::unique_ptr<void, LocalFreer>;

std::wstring Extended(const std::wstring& path) {
  return paths::ToExtended(path).value_or(path);
}

// Whether `token` may add files to the folder whose security is `descriptor`.
std::optional<bool> MayAddFiles(HANDLE token, PSECURITY_DESCRIPTOR descriptor) {
  wf::UniqueHandle asking;
  if (!token || !descriptor || !DuplicateToken(token, SecurityIdentification, asking.Put())) return std::nullopt;
  GENERIC_MAPPING mapping{FILE_GENERIC_READ, FILE_GENERIC_WRITE, FILE_GENERIC_EXECUTE, FILE_ALL_ACCESS};
  PRIVILEGE_SET privileges{};
  DWORD privilegesLength = sizeof(privileges);
  DWORD granted = 0;
  BOOL allowed = FALSE;
  if (!AccessCheck(descriptor, asking.Get(), FILE_ADD_FILE, &mapping, &privileges, &privilegesLength, &granted,
                   &allowed)) {
    return std::nullopt;
  }
  return allowed != FALSE;
}

TokenKind KindOf(HANDLE token) {
  TOKEN_ELEVATION_TYPE type = TokenElevationTypeDefault;
  DWORD length = 0;
  if (!GetTokenInformation(token, TokenElevationType, &type, sizeof(type), &length)) return TokenKind::Plain;
  if (type == TokenElevationTypeFull) return TokenKind::Elevated;
  if (type == TokenElevationTypeLimited) return TokenKind::Limited;
  return TokenKind::Plain;
}

std::optional<std::wstring> KnownFolder(REFKNOWNFOLDERID id) {
  wchar_t* path = nullptr;
  std::optional<std::wstring> folder;
  if (SUCCEEDED(SHGetKnownFolderPath(id, 0, nullptr, &path)) && path && path[0] != L'\0') folder = path;
  CoTaskMemFree(path);
  return folder;
}

}  // namespace

ProgramFolderFacts FolderFacts(const std::wstring& folder) {
  ProgramFolderFacts facts;
  wf::UniqueFile handle(CreateFileW(Extended(paths::FolderOf(folder)).c_str(), READ_CONTROL,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                    FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  if (!handle) return facts;
  DWORD flags = 0;
  if (GetVolumeInformationByHandleW(handle.Get(), nullptr, 0, nullptr, nullptr, &flags, nullptr, 0)) {
    facts.readOnlyVolume = (flags & FILE_READ_ONLY_VOLUME) != 0;
  }
  PSECURITY_DESCRIPTOR raw = nullptr;
  if (GetSecurityInfo(handle.Get(), SE_FILE_OBJECT,
                      OWNER_SECURITY_INFORMATION | GROUP_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION, nullptr,
                      nullptr, nullptr, nullptr, &raw) != ERROR_SUCCESS) {
    return facts;
  }
  const SecurityDescriptor descriptor(raw);

  wf::UniqueHandle token;
  if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY | TOKEN_DUPLICATE, token.Put())) return facts;
  facts.token = KindOf(token.Get());
  facts.ownTokenMayWrite = MayAddFiles(token.Get(), descriptor.get());
  if (facts.token != TokenKind::Plain) {
    TOKEN_LINKED_TOKEN linked{};
    DWORD length = 0;
    if (GetTokenInformation(token.Get(), TokenLinkedToken, &linked, sizeof(linked), &length)) {
      const wf::UniqueHandle owned(linked.LinkedToken);
      facts.linkedTokenMayWrite = MayAddFiles(owned.Get(), descriptor.get());
    }
  }
  return facts;
}

bool SettingsFileWritable(const std::wstring& folder) {
  const std::wstring file = Extended(folder + kProfileFileName);
  constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
  const bool exists = GetFileAttributesW(file.c_str()) != INVALID_FILE_ATTRIBUTES;
  // A missing one is made and gone again: the first-start settings are
  // written through the profile functions once the place is settled.
  const wf::UniqueFile opened(
      exists ? CreateFileW(file.c_str(), GENERIC_WRITE, kShareAll, nullptr, OPEN_EXISTING, 0, nullptr)
             : CreateFileW(file.c_str(), GENERIC_WRITE | DELETE, kShareAll, nullptr, CREATE_NEW,
                           FILE_FLAG_DELETE_ON_CLOSE, nullptr));
  if (opened) return true;
  // Only a refusal moves the settings: a file that another program holds
  // for a moment would otherwise send one start elsewhere than the next.
  const DWORD error = GetLastError();
  return error != ERROR_ACCESS_DENIED && error != ERROR_WRITE_PROTECT && error != ERROR_NETWORK_ACCESS_DENIED;
}

UserFolders CurrentUserFolders() {
  UserFolders folders;
  folders.roamingAppData = KnownFolder(FOLDERID_RoamingAppData);
  folders.localAppData = KnownFolder(FOLDERID_LocalAppData);
  wchar_t temporary[MAX_PATH + 1] = {};
  const DWORD length = GetTempPathW(static_cast<DWORD>(std::size(temporary)), temporary);
  if (length > 0 && length < std::size(temporary)) folders.temporary = std::wstring(temporary, length);
  return folders;
}

Places LocatePlaces(const std::wstring& programFolder) {
  const bool beside = UserMayWriteWithoutElevation(FolderFacts(programFolder)) && SettingsFileWritable(programFolder);
  return ChoosePlaces(beside, programFolder, CurrentUserFolders());
}

void PreparePerUserSettings(const Places& places) {
  if (!places.perUser) return;
  const std::wstring folder = Extended(places.settingsFolder);
  CreateDirectoryW(folder.c_str(), nullptr);
  const std::wstring file = Extended(places.settingsFolder + kProfileFileName);
  // Never over the user's own; a copy that fails leaves the first-start settings.
  if (CopyFileW(Extended(places.defaultsFile).c_str(), file.c_str(), TRUE)) {
    SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_NORMAL);
  }
}

}  // namespace settings
