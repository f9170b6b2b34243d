#include "shredder/engine/held_folder.h"

#include "shredder/engine/checked_file.h"
#include "shredder/engine/file_facts.h"

namespace engine {

FolderHold HoldFolder(const std::wstring& extended, DWORD access, wf::UniqueFile& held, DWORD* error) {
  DWORD ignored = 0;
  DWORD& reason = error ? *error : ignored;
  held.Reset(CreateFileW(extended.c_str(), access | FILE_LIST_DIRECTORY | FILE_READ_ATTRIBUTES | SYNCHRONIZE,
                         FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                         FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
  if (!held) {
    switch (reason = GetLastError()) {
      case ERROR_FILE_NOT_FOUND:
      case ERROR_PATH_NOT_FOUND:
        return FolderHold::Missing;
      case ERROR_SHARING_VIOLATION:
        return FolderHold::InUse;
      default:
        return FolderHold::Failed;
    }
  }
  BY_HANDLE_FILE_INFORMATION info;
  if (!GetFileInformationByHandle(held.Get(), &info)) {
    reason = GetLastError();
    return FolderHold::Failed;
  }
  // What the platform says, or what a test has it say (SetFactsOverride).
  const FileFacts facts = FactsOf(held.Get(), extended, info);
  if (IsLink(facts.attributes, facts.tag)) return FolderHold::Link;
  if (facts.elsewhere || (facts.attributes & FILE_ATTRIBUTE_REPARSE_POINT) ||
      !(facts.attributes & FILE_ATTRIBUTE_DIRECTORY)) {
    // Wine shows a link to a folder as the folder it leads to.
    return EntryIsLink(extended) ? FolderHold::Link : FolderHold::Elsewhere;
  }
  return FolderHold::Held;
}

}  // namespace engine
