#include <fcntl.h>
#include <io.h>
#include <shlwapi.h>

#include <cstdint>
#include <cstdio>

#include "shredder/engine/file_wipe.h"

#include "common/paths.h"
#include "shredder/captions.h"
#include "shredder/engine/engine_texts.h"
#include "shredder/engine/file_kind.h"
#include "shredder/engine/overwrite_stream.h"
#include "winframe/file_status.h"
#include "winframe/handles.h"
#include "winframe/prompt.h"

namespace engine {
namespace {

// The attributes SetFileAttributes accepts; the others (directory,
// compressed, reparse point, ...) are states, not settings.
constexpr DWORD kSettableAttributes = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                                      FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_NORMAL | FILE_ATTRIBUTE_TEMPORARY |
                                      FILE_ATTRIBUTE_OFFLINE | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;

// Writes `status` back with `attributes`, leaving the file's times as they are.
bool WriteAttributes(const std::string& path, wf::FileStatus status, DWORD attributes) {
  status.attributes = attributes & kSettableAttributes;
  status.modified = FILETIME{};
  return wf::SetFileStatus(path, status);
}

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

// Opened for writing over the existing content (never truncated), with
// writing denied to others while we hold it.
wf::UniqueFile OpenExistingForWriting(const std::string& path) {
  return wf::UniqueFile(CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
}

bool SameFile(const BY_HANDLE_FILE_INFORMATION& a, const BY_HANDLE_FILE_INFORMATION& b) {
  return a.dwVolumeSerialNumber == b.dwVolumeSerialNumber && a.nFileIndexHigh == b.nFileIndexHigh &&
         a.nFileIndexLow == b.nFileIndexLow;
}

enum class PassResult { Written, NotOpened, NotWritten };

// One pass over the file measured before the first: the stream from offset
// 0 over `length`, in place, then flushed to the device, so that the next
// pass (and a deletion right after the last) finds it on the disk.
PassResult OverwritePass(const std::string& path, const BY_HANDLE_FILE_INFORMATION& measured, COverwriteStream& stream,
                         std::uint64_t length) {
  wf::UniqueFile handle = OpenExistingForWriting(path);
  BY_HANDLE_FILE_INFORMATION info;
  // Only the file that was measured, and only while it has one name.
  if (!handle || !GetFileInformationByHandle(handle.Get(), &info) || !SameFile(info, measured) ||
      info.nNumberOfLinks > 1) {
    return PassResult::NotOpened;
  }
  const int descriptor = _open_osfhandle(reinterpret_cast<std::intptr_t>(handle.Get()), _O_BINARY);
  if (descriptor == -1) return PassResult::NotWritten;
  handle.Release();  // the descriptor owns it now
  // "w" on an open descriptor does not truncate; the handle opened the file as it was.
  std::FILE* file = _fdopen(descriptor, "wb");
  if (!file) {
    _close(descriptor);
    return PassResult::NotWritten;
  }
  // The writer hands over large pieces; buffering them again gains nothing.
  std::setvbuf(file, nullptr, _IONBF, 0);
  bool written = stream.WriteStream(file, length) && std::fflush(file) == 0 && _commit(descriptor) == 0;
  if (std::fclose(file) != 0) written = false;
  return written ? PassResult::Written : PassResult::NotWritten;
}

std::string Quoted(const std::string& path) {
  return "\"" + path + "\"";
}

}  // namespace

bool WipeFile(const WorkContext& work, const std::string& path) {
  auto fail = [&work](const std::string& text) {
    wf::Prompt(work.owner, text, captions::kError, captions::kErrorFlags);
    return false;
  };

  COverwriteStream stream;
  stream.SetWordCount(COverwriteStream::kWordCount);
  std::uint32_t seed[COverwriteStream::kWordCount];
  MakeSeed(work, seed);
  stream.Seed(seed);

  wf::FileStatus status;
  if (!wf::GetFileStatus(path, status)) return fail(texts::kStatusNotRead);
  // A folder has no content of its own to overwrite; its attributes stay.
  if (status.attributes & FILE_ATTRIBUTE_DIRECTORY) return fail(texts::kCannotOpen);
  // Writing through a link would destroy what it leads to, and a file with
  // another name is still in use under that name: neither was chosen. The
  // callers decline both before they get here; this holds for any caller.
  if (status.attributes & FILE_ATTRIBUTE_REPARSE_POINT) {
    return fail(Quoted(path) + texts::kLinkNotOverwritten);
  }
  if (HardLinkCount(path) > 1) return fail(Quoted(path) + texts::kHardLinkedNotOverwritten);
  const DWORD cleared =
      status.attributes & ~static_cast<DWORD>(FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
  if (!WriteAttributes(path, status, cleared)) return fail(texts::kStatusNotWritten);

  // Every pass covers the length measured here, before the first.
  BY_HANDLE_FILE_INFORMATION measured;
  LARGE_INTEGER size;
  {
    wf::UniqueFile file = OpenExistingForWriting(path);
    if (!file || !GetFileInformationByHandle(file.Get(), &measured) || !GetFileSizeEx(file.Get(), &size)) {
      return fail(texts::kCannotOpen);
    }
    if (measured.nNumberOfLinks > 1) return fail(Quoted(path) + texts::kHardLinkedNotOverwritten);
  }
  const auto length = static_cast<std::uint64_t>(size.QuadPart);

  for (int pass = 1; pass <= work.passes; ++pass) {
    switch (OverwritePass(path, measured, stream, length)) {
      case PassResult::NotOpened:
        return fail(texts::kCannotOpen);
      case PassResult::NotWritten:
        return fail(texts::kNotOverwritten);
      case PassResult::Written:
        break;
    }
    if (work.afterPass) work.afterPass(path, pass);
  }
  stream.Release(false);
  return true;
}

bool IsFolder(const std::string& path) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool ClearReadOnly(const std::string& path) {
  wf::FileStatus status;
  if (!wf::GetFileStatus(path, status) || !(status.attributes & FILE_ATTRIBUTE_READONLY)) return false;
  return WriteAttributes(path, status, status.attributes & ~static_cast<DWORD>(FILE_ATTRIBUTE_READONLY));
}

bool WipeRecycledFile(const WorkContext& work, const std::string& path, const std::string& name) {
  if (!WipeFile(work, path)) return false;
  // From here on the file is wiped. Whatever cannot be done below leaves it
  // where it is, for the platform's emptying of the recycle bin; nothing is
  // moved or deleted except through a name the system gave out.
  const std::string& workFolder = work.workFolder;
  if (workFolder.empty()) return true;
  if (!PathFileExistsA(workFolder.c_str())) CreateDirectoryA(workFolder.c_str(), nullptr);
  const std::optional<std::string> moved = paths::Join(workFolder + "\\", name);
  if (!moved) return true;
  char temporary[paths::kMaxPath] = {};
  if (GetTempFileNameA(workFolder.c_str(), "", 0, temporary) == 0) return true;
  DeleteFileA(temporary);
  if (!MoveFileA(path.c_str(), moved->c_str())) return true;
  if (MoveFileA(moved->c_str(), temporary)) DeleteFileA(temporary);
  return true;
}

std::string CreateWorkFolder(const WorkContext& work, const std::string& folder) {
  const std::optional<std::string> path = paths::Join(folder, texts::kWorkFolderName);
  if (!path) {
    wf::Prompt(work.owner, texts::kWorkFolderPathTooLong, work.appName, MB_ICONERROR);
    return {};
  }
  if (!PathFileExistsA(path->c_str()) && !CreateDirectoryA(path->c_str(), nullptr)) {
    wf::Prompt(work.owner, texts::kWorkFolderNotCreated, work.appName, MB_ICONERROR);
  }
  return *path;
}

}  // namespace engine
