#include "shredder/engine/checked_file.h"

#include <cstring>
#include <vector>

#include "common/paths.h"
#include "shredder/engine/delete_disposition.h"

namespace engine {
namespace {

FactsOverride g_factsOverride = nullptr;

}  // namespace

void SetFactsOverride(FactsOverride override) {
  g_factsOverride = override;
}

FileFacts FactsOf(HANDLE handle, const std::wstring& extendedPath, const BY_HANDLE_FILE_INFORMATION& info) {
  FileFacts facts;
  facts.attributes = info.dwFileAttributes;
  if (facts.attributes & FILE_ATTRIBUTE_REPARSE_POINT) {
    FILE_ATTRIBUTE_TAG_INFO tag{};
    if (GetFileInformationByHandleEx(handle, FileAttributeTagInfo, &tag, sizeof(tag))) facts.tag = tag.ReparseTag;
  }
  // A link is not followed, so where it leads is not asked.
  facts.elsewhere = !IsLink(facts.attributes, facts.tag) && !HandleIsAt(handle, extendedPath, IdOf(info));
  if (g_factsOverride) g_factsOverride(extendedPath, facts);
  return facts;
}

bool EntryIsLink(const std::wstring& extendedPath) {
  WIN32_FIND_DATAW entry;
  wf::FindHandle found(
      FindFirstFileExW(extendedPath.c_str(), FindExInfoBasic, &entry, FindExSearchNameMatch, nullptr, 0));
  return found && IsLink(entry.dwFileAttributes, entry.dwReserved0);
}

CheckedFile::CheckedFile(const std::wstring& path, bool otherNamesAllowed)
    : extended_(paths::ToExtended(path).value_or(path)) {
  handle_.Reset(CreateFileW(extended_.c_str(), FILE_READ_ATTRIBUTES | FILE_WRITE_ATTRIBUTES | DELETE | SYNCHRONIZE,
                            FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                            FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  if (!handle_) {
    error_ = GetLastError();
    const DWORD error = error_;
    // Told apart only for the message: a folder or a link that cannot be
    // opened (someone works in it) is still a folder or a link.
    const DWORD attributes = GetFileAttributesW(extended_.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
      check_ = FileCheck::Link;
    } else if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
      check_ = FileCheck::Folder;
    } else if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND || error == ERROR_INVALID_NAME ||
               error == ERROR_BAD_NETPATH) {
      check_ = FileCheck::Missing;
    } else {
      check_ = FileCheck::InUse;
    }
    return;
  }
  BY_HANDLE_FILE_INFORMATION info;
  if (!GetFileInformationByHandle(handle_.Get(), &info)) {
    error_ = GetLastError();
    check_ = FileCheck::InUse;
    return;
  }
  names_ = info.nNumberOfLinks;
  id_ = IdOf(info);
  const FileFacts facts = FactsOf(handle_.Get(), extended_, info);
  attributes_ = facts.attributes;
  tag_ = facts.tag;
  if (IsLink(attributes_, tag_)) {
    check_ = FileCheck::Link;
  } else if (facts.elsewhere) {
    check_ = EntryIsLink(extended_) ? FileCheck::Link : FileCheck::ThroughLink;
  } else if (attributes_ & FILE_ATTRIBUTE_DIRECTORY) {
    check_ = FileCheck::Folder;
  } else if (names_ > 1 && !otherNamesAllowed) {
    check_ = FileCheck::HardLinked;
  } else {
    check_ = FileCheck::File;
  }
}

bool CheckedFile::SetAttributes(DWORD attributes) {
  FILE_BASIC_INFO basic{};
  // Zero times mean "leave as they are".
  basic.FileAttributes = attributes == 0 ? FILE_ATTRIBUTE_NORMAL : attributes;
  if (!SetFileInformationByHandle(handle_.Get(), FileBasicInfo, &basic, sizeof(basic))) {
    error_ = GetLastError();
    return false;
  }
  attributes_ = attributes;
  return true;
}

std::uint64_t CheckedFile::Length() const {
  LARGE_INTEGER size{};
  return GetFileSizeEx(handle_.Get(), &size) ? static_cast<std::uint64_t>(size.QuadPart) : 0;
}

wf::UniqueFile CheckedFile::OpenForWriting() const {
  // Others may read but not write meanwhile; deletion must be shared with
  // the checked handle, which holds it. Read too, where the holes of a
  // sparse file can only be found by reading it.
  wf::UniqueFile writer(
      ReOpenFile(handle_.Get(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_DELETE, 0));
  if (!writer) writer.Reset(ReOpenFile(handle_.Get(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_DELETE, 0));
  return writer;
}

bool CheckedFile::RenameTo(const std::wstring& extendedTarget, bool replace) {
  const std::size_t nameBytes = extendedTarget.size() * sizeof(wchar_t);
  std::vector<unsigned char> buffer(sizeof(FILE_RENAME_INFO) + nameBytes, 0);
  auto* rename = reinterpret_cast<FILE_RENAME_INFO*>(buffer.data());
  rename->ReplaceIfExists = replace ? TRUE : FALSE;
  rename->RootDirectory = nullptr;
  rename->FileNameLength = static_cast<DWORD>(nameBytes);
  std::memcpy(rename->FileName, extendedTarget.data(), nameBytes);
  if (!SetFileInformationByHandle(handle_.Get(), FileRenameInfo, rename, static_cast<DWORD>(buffer.size()))) {
    error_ = GetLastError();
    return false;
  }
  extended_ = extendedTarget;
  return true;
}

bool CheckedFile::OpenElsewhere() const {
  // Sharing nothing but deletion, which this object's own handle needs: any
  // other handle that reads or writes the content refuses it.
  wf::UniqueFile probe(ReOpenFile(handle_.Get(), GENERIC_READ, FILE_SHARE_DELETE,
                                  FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_BACKUP_SEMANTICS));
  return !probe && GetLastError() == ERROR_SHARING_VIOLATION;
}

bool CheckedFile::Remove() {
  if (!MarkDeletedPosix(handle_.Get())) {
    // Without POSIX semantics (before Windows 10, on FAT, under Wine) a name
    // that another program keeps open would stay after the handle is closed,
    // and could not be given back: then it is not deleted at all.
    if (OpenElsewhere()) {
      error_ = ERROR_SHARING_VIOLATION;
      return false;
    }
    if (!MarkDeletedOnClose(handle_.Get())) {
      error_ = GetLastError();
      return false;
    }
  }
  handle_.Reset();
  const bool gone = GetFileAttributesW(extended_.c_str()) == INVALID_FILE_ATTRIBUTES &&
                    (GetLastError() == ERROR_FILE_NOT_FOUND || GetLastError() == ERROR_PATH_NOT_FOUND);
  // A name still there, or pending until another program lets go (which
  // Windows answers with "access denied"), is no failure of a call of ours.
  error_ = 0;
  return gone;
}

}  // namespace engine
