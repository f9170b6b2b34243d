#include "shredder/engine/file_wipe.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "common/paths.h"
#include "shredder/captions.h"
#include "shredder/engine/engine_texts.h"
#include "shredder/engine/overwrite_stream.h"
#include "shredder/engine/pass_writer.h"
#include "winframe/handles.h"
#include "winframe/prompt.h"

namespace engine {

// Word 0 is the tick count. The others make two files wiped in the same
// millisecond, or by two processes, start different streams: the
// performance counter, the system time, the process and thread, a count of
// the files wiped by this process (never zero in the bits the seeding
// keeps, so the state is never all zero) and a stack address.
void MakeSeed(const WorkContext& work, std::uint32_t (&words)[8]) {
  static std::uint32_t wiped = 0;
  ++wiped;
  LARGE_INTEGER counter{};
  QueryPerformanceCounter(&counter);
  FILETIME now{};
  GetSystemTimeAsFileTime(&now);
  words[0] = GetTickCount();
  words[1] = counter.LowPart;
  words[2] = now.dwLowDateTime;
  words[3] = GetCurrentProcessId();
  words[4] = GetCurrentThreadId();
  words[5] = 1 + (wiped & 0x1FFFFFFF);
  words[6] = static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(&counter));
  words[7] = static_cast<std::uint32_t>(counter.LowPart >> 14) ^ static_cast<std::uint32_t>(counter.HighPart);
  if (work.seed) work.seed(words);
}

namespace {

std::wstring Quoted(const std::wstring& path) {
  return L"\"" + path + L"\"";
}

}  // namespace

std::wstring CheckMessage(FileCheck check, const std::wstring& shownPath) {
  switch (check) {
    case FileCheck::Missing:
      return texts::kStatusNotRead;
    case FileCheck::Link:
      return Quoted(shownPath) + texts::kLinkNotOverwritten;
    case FileCheck::ThroughLink:
      return Quoted(shownPath) + texts::kReachedThroughLink;
    case FileCheck::HardLinked:
      return Quoted(shownPath) + texts::kHardLinkedNotOverwritten;
    case FileCheck::Folder:  // it has no content of its own to overwrite
    case FileCheck::InUse:
    case FileCheck::File:
      break;
  }
  return texts::kCannotOpen;
}

bool WipeFile(const WorkContext& work, const std::wstring& path) {
  CheckedFile file(path);
  return WipeFile(work, file, path);
}

bool WipeFile(const WorkContext& work, CheckedFile& file, const std::wstring& shownPath) {
  auto fail = [&work](const std::wstring& text) {
    wf::Prompt(work.owner, text, captions::kError, captions::kErrorFlags);
    return false;
  };
  // Writing through a link would destroy what it leads to, and a file with
  // another name is still in use under that name: neither was chosen.
  if (file.Check() != FileCheck::File) return fail(CheckMessage(file.Check(), shownPath));

  COverwriteStream stream;
  stream.SetWordCount(COverwriteStream::kWordCount);
  std::uint32_t seed[COverwriteStream::kWordCount];
  MakeSeed(work, seed);
  stream.Seed(seed);

  const DWORD cleared =
      file.Attributes() & ~static_cast<DWORD>(FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
  if (!file.SetAttributes(cleared)) return fail(texts::kStatusNotWritten);
  if (work.passes <= 0) return true;

  // Every pass covers the length measured here, before the first.
  const std::uint64_t length = file.Length();
  wf::UniqueFile writer = file.OpenForWriting();
  if (!writer) return fail(texts::kCannotOpen);
  switch (WritePasses(work, writer.Get(), stream, length, shownPath)) {
    case PassesOutcome::Written:
      break;
    case PassesOutcome::NotWritten:
      return fail(texts::kNotOverwritten);
    case PassesOutcome::Stopped:
      return false;  // the user asked: partly overwritten, left where it is
  }
  stream.Release(false);
  return true;
}

bool IsFolder(const std::wstring& path) {
  const DWORD attributes = GetFileAttributesW(paths::ToExtended(path).value_or(path).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool WipeRecycledFile(const WorkContext& work, const std::wstring& path) {
  CheckedFile file(path);
  if (!WipeFile(work, file, path)) return false;
  RemoveRecycledFile(work, file);
  return true;
}

void RemoveRecycledFile(const WorkContext& work, CheckedFile& file) {
  if (!work.workFolder.empty()) {
    const std::optional<std::wstring> extendedWork = paths::ToExtended(work.workFolder);
    if (extendedWork && GetFileAttributesW(extendedWork->c_str()) == INVALID_FILE_ATTRIBUTES) {
      CreateDirectoryW(extendedWork->c_str(), nullptr);
    }
    if (const std::optional<std::wstring> temporary = CreateTemporaryFile(work.workFolder, L"")) {
      if (file.RenameTo(*temporary, true)) {
        file.Delete();
        return;
      }
      DeleteFileW(temporary->c_str());
    }
  }
  // Another volume (or no work folder): a meaningless name where it is.
  const std::wstring folder = paths::FolderOf(file.ExtendedPath());
  if (const std::optional<std::wstring> temporary = CreateTemporaryFile(folder, L"")) {
    if (file.RenameTo(*temporary, true)) {
      file.Delete();
      return;
    }
    DeleteFileW(temporary->c_str());
  }
}

std::wstring CreateWorkFolder(const WorkContext& work, const std::wstring& folder) {
  const std::optional<std::wstring> path = paths::Join(folder, texts::kWorkFolderName);
  const std::optional<std::wstring> extended = path ? paths::ToExtended(*path) : std::nullopt;
  if (!extended) {
    wf::Prompt(work.owner, texts::kWorkFolderPathTooLong, work.appName, MB_ICONERROR);
    return {};
  }
  if (GetFileAttributesW(extended->c_str()) == INVALID_FILE_ATTRIBUTES &&
      !CreateDirectoryW(extended->c_str(), nullptr)) {
    wf::Prompt(work.owner, texts::kWorkFolderNotCreated, work.appName, MB_ICONERROR);
  }
  return *path;
}

}  // namespace engine
