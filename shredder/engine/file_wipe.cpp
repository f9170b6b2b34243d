#include "shredder/engine/file_wipe.h"

#include <winioctl.h>
#include <winternl.h>

#include <algorithm>
#include <cstdint>
#include <optional>
#include <vector>

#include "common/paths.h"
#include "common/text_format.h"
#include "shredder/captions.h"
#include "shredder/engine/engine_texts.h"
#include "shredder/engine/file_facts.h"
#include "shredder/engine/overwrite_stream.h"
#include "shredder/engine/pass_plan.h"
#include "shredder/engine/pass_writer.h"
#include "shredder/engine/stream_seed.h"
#include "shredder/engine/temporary_file.h"
#include "winframe/handles.h"
#include "winframe/prompt.h"
#include "winframe/system_error.h"
#include "winframe/worker_thread.h"

namespace engine {

// A file at least this large is removed on another thread (RemoveUnderTemporaryName).
constexpr std::uint64_t kLengthRemovedAside = std::uint64_t{16} << 20;

namespace {

// The volume's unit of allocation, asked of the handle: the path may be one
// the volume functions do not take (a subst drive, a mount point).
std::uint32_t ClusterSize(HANDLE file) {
  IO_STATUS_BLOCK status{};
  FILE_FS_SIZE_INFORMATION size{};
  if (NtQueryVolumeInformationFile(file, &status, &size, sizeof(size), FileFsSizeInformation) != 0) return 0;
  return size.SectorsPerAllocationUnit * size.BytesPerSector;
}

// The ranges the file system has allocated to a file with holes; nothing
// when it cannot say (Wine cannot).
std::optional<std::vector<ByteRange>> AllocatedRanges(HANDLE file, std::uint64_t length) {
  std::vector<ByteRange> ranges;
  FILE_ALLOCATED_RANGE_BUFFER query{};
  query.Length.QuadPart = static_cast<LONGLONG>(length);
  std::vector<FILE_ALLOCATED_RANGE_BUFFER> found(64);
  for (;;) {
    DWORD got = 0;
    const BOOL ok = DeviceIoControl(file, FSCTL_QUERY_ALLOCATED_RANGES, &query, sizeof(query), found.data(),
                                    static_cast<DWORD>(found.size() * sizeof(found[0])), &got, nullptr);
    if (!ok && GetLastError() != ERROR_MORE_DATA) return std::nullopt;
    const std::size_t count = got / sizeof(found[0]);
    for (std::size_t i = 0; i < count; ++i) {
      ranges.push_back({static_cast<std::uint64_t>(found[i].FileOffset.QuadPart),
                        static_cast<std::uint64_t>(found[i].Length.QuadPart)});
    }
    if (ok || count == 0) return ranges;
    // More than fitted: ask again from the end of the last one given.
    const std::uint64_t next = ranges.back().offset + ranges.back().length;
    query.FileOffset.QuadPart = static_cast<LONGLONG>(next);
    query.Length.QuadPart = static_cast<LONGLONG>(length > next ? length - next : 0);
  }
}

// The pieces of a file that hold data, found by reading it: where the file
// system cannot list the allocated ranges, writing the holes too would fill
// the volume.
std::optional<std::vector<ByteRange>> DataRanges(HANDLE file, std::uint64_t length, std::uint32_t cluster) {
  constexpr std::size_t kBlock = std::size_t{1} << 20;
  std::vector<std::uint8_t> block(kBlock);
  std::vector<ByteRange> ranges;
  LARGE_INTEGER start{};
  if (!SetFilePointerEx(file, start, nullptr, FILE_BEGIN)) return std::nullopt;
  for (std::uint64_t offset = 0; offset < length;) {
    DWORD got = 0;
    const auto want = static_cast<DWORD>(std::min<std::uint64_t>(kBlock, length - offset));
    if (!ReadFile(file, block.data(), want, &got, nullptr)) return std::nullopt;
    if (got == 0) {
      SetLastError(ERROR_HANDLE_EOF);  // shorter than it said a moment ago
      return std::nullopt;
    }
    AddDataRanges(block.data(), got, offset, cluster == 0 ? 4096 : cluster, ranges);
    offset += got;
  }
  return ranges;
}

// What each pass writes, from what the file holds now.
std::optional<std::vector<ByteRange>> PassRanges(HANDLE file, DWORD attributes) {
  FILE_STANDARD_INFO standard{};
  if (!GetFileInformationByHandleEx(file, FileStandardInfo, &standard, sizeof(standard))) return std::nullopt;
  FileLayout layout;
  layout.length = static_cast<std::uint64_t>(standard.EndOfFile.QuadPart);
  layout.allocation = static_cast<std::uint64_t>(standard.AllocationSize.QuadPart);
  layout.cluster = ClusterSize(file);
  if (!MayHaveHoles(layout, (attributes & FILE_ATTRIBUTE_SPARSE_FILE) != 0)) return DensePass(layout);
  if (std::optional<std::vector<ByteRange>> allocated = AllocatedRanges(file, layout.length)) {
    return SparsePass(layout, std::move(*allocated));
  }
  return DataRanges(file, layout.length, layout.cluster);
}

// Overwrites every named data stream of the file with passes of the same
// stream, through the file's own name, which the checked handle holds in
// place. False when one could not be overwritten, or the streams could not be
// listed on a file system that has them.
bool WipeStreams(const WorkContext& work, const CheckedFile& file, COverwriteStream& stream,
                 const std::wstring& shownPath) {
  WIN32_FIND_STREAM_DATA found;
  wf::FindHandle search(FindFirstStreamW(file.ExtendedPath().c_str(), FindStreamInfoStandard, &found, 0));
  if (!search) {
    // None at all, or a file system without them (FAT, Wine).
    const DWORD error = GetLastError();
    return error == ERROR_HANDLE_EOF || error == ERROR_INVALID_PARAMETER || error == ERROR_INVALID_FUNCTION ||
           error == ERROR_NOT_SUPPORTED;
  }
  bool wiped = true;
  do {
    const std::optional<std::wstring> name = NamedDataStream(found.cStreamName);
    if (!name) continue;
    wf::UniqueFile named(CreateFileW((file.ExtendedPath() + L":" + *name + L":$DATA").c_str(),
                                     GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0,
                                     nullptr));
    const std::optional<std::vector<ByteRange>> ranges =
        named ? PassRanges(named.Get(), file.Attributes()) : std::nullopt;
    wiped =
        ranges && WritePasses(work, named.Get(), stream, *ranges, shownPath).outcome == PassesOutcome::Written && wiped;
    if (StopRequested(work)) return wiped;
  } while (FindNextStreamW(search.Get(), &found));
  return wiped;
}

}  // namespace

std::wstring CheckMessage(FileCheck check, const std::wstring& shownPath) {
  switch (check) {
    case FileCheck::Missing:  // gone, or a folder on its way renamed
      return texts::Quoted(shownPath) + texts::kMissing;
    case FileCheck::Folder:  // it has no content of its own to overwrite
      return texts::Quoted(shownPath) + texts::kFolderNotProcessed;
    case FileCheck::Link:
      return texts::Quoted(shownPath) + texts::kLinkNotOverwritten;
    case FileCheck::ThroughLink:
      return texts::Quoted(shownPath) + texts::kReachedThroughLink;
    case FileCheck::HardLinked:
      return texts::Quoted(shownPath) + texts::kHardLinkedNotOverwritten;
    case FileCheck::InUse:
    case FileCheck::File:
      break;
  }
  return text::FormatText(texts::kCannotOpenFormat, shownPath);
}

bool WipeFile(const WorkContext& work, const std::wstring& path) {
  CheckedFile file(path);
  return WipeFile(work, file, path) == WipeOutcome::Wiped;
}

WipeOutcome WipeFile(const WorkContext& work, CheckedFile& file, const std::wstring& shownPath) {
  // Told with the system's reason for the failure, where it gave one.
  auto fail = [&work, &shownPath](const wchar_t* format, DWORD error, WipeOutcome outcome) {
    const std::wstring message = text::FormatText(format, shownPath);
    wf::Prompt(work.owner, wf::WithReason(message, error), captions::kError, captions::kErrorFlags);
    return outcome;
  };
  // Writing through a link would destroy what it leads to, and a file with
  // another name is still in use under that name: neither was chosen.
  if (file.Check() == FileCheck::InUse) return fail(texts::kCannotOpenFormat, file.Error(), WipeOutcome::CannotOpen);
  if (file.Check() != FileCheck::File) {
    wf::Prompt(work.owner, CheckMessage(file.Check(), shownPath), captions::kError, captions::kErrorFlags);
    return WipeOutcome::Declined;
  }

  COverwriteStream stream;
  stream.SetWordCount(COverwriteStream::kWordCount);
  std::uint32_t seed[COverwriteStream::kWordCount];
  MakeSeed(work, seed);
  stream.Seed(seed);

  const DWORD cleared =
      file.Attributes() & ~static_cast<DWORD>(FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
  if (!file.SetAttributes(cleared)) return fail(texts::kStatusNotWrittenFormat, file.Error(), WipeOutcome::CannotOpen);

  const ContentPlace content = file.Content();
  // A placeholder's content is not on this computer: writing would fetch it.
  if (content != ContentPlace::NotLocal) {
    wf::UniqueFile writer = file.OpenForWriting();
    if (!writer) return fail(texts::kCannotOpenFormat, GetLastError(), WipeOutcome::CannotOpen);
    // Every pass covers what the file holds now, before the first.
    const std::optional<std::vector<ByteRange>> ranges = PassRanges(writer.Get(), file.Attributes());
    if (!ranges) return fail(texts::kNotOverwrittenFormat, GetLastError(), WipeOutcome::NotWritten);
    const PassesResult passes = WritePasses(work, writer.Get(), stream, *ranges, shownPath);
    switch (passes.outcome) {
      case PassesOutcome::Written:
        break;
      case PassesOutcome::NoSpace:
        return fail(texts::kNotOverwrittenNoSpaceFormat, passes.error, WipeOutcome::NoSpace);
      case PassesOutcome::NotWritten:
        return fail(texts::kNotOverwrittenFormat, passes.error, WipeOutcome::NotWritten);
      case PassesOutcome::Stopped:
        return WipeOutcome::Stopped;  // the user asked: partly overwritten, left where it is
    }
  }
  const bool streamsWiped = WipeStreams(work, file, stream, shownPath);
  stream.Release(false);
  // Pressed during the last pass, a stop still ends the run there.
  if (StopRequested(work)) return WipeOutcome::Stopped;
  if (content != ContentPlace::InPlace) return WipeOutcome::WipedElsewhere;
  return streamsWiped ? WipeOutcome::Wiped : WipeOutcome::StreamsLeft;
}

std::wstring RemovalMessage(const RemovalResult& result, const std::wstring& shownPath) {
  switch (result.removal) {
    case Removal::NotRenamed:
      return wf::WithReason(text::FormatText(texts::kNotRemovedFormat, shownPath), result.error);
    case Removal::NameStayed:
      return wf::WithReason(texts::Quoted(shownPath) + texts::kNameStayed, result.error);
    case Removal::TemporaryNameStayed:
      return wf::WithReason(texts::Quoted(shownPath) +
                                text::FormatText(texts::kTemporaryNameStayedFormat, paths::ShownForm(result.temporary)),
                            result.error);
    case Removal::Removed:
      break;
  }
  return {};
}

bool IsFolder(const std::wstring& path) {
  const DWORD attributes = GetFileAttributesW(paths::ToExtended(path).value_or(path).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool WipeRecycledFile(const WorkContext& work, const std::wstring& path) {
  CheckedFile file(path);
  return MayBeRemoved(WipeFile(work, file, path)) && RemoveRecycledFile(work, file).removal == Removal::Removed;
}

RemovalResult RemoveUnderTemporaryName(CheckedFile& file, const std::wstring& folder, const wchar_t* prefix) {
  const std::wstring original = file.ExtendedPath();
  DWORD error = 0;
  const std::optional<std::wstring> temporary = CreateTemporaryFile(folder, prefix, error);
  if (!temporary) return {Removal::NotRenamed, error, {}};
  if (!file.RenameTo(*temporary, true)) {
    DeleteFileW(temporary->c_str());
    return {Removal::NotRenamed, file.Error(), {}};
  }
  // The platform frees a large file's clusters when its name goes, which
  // takes a while: the windows are served meanwhile.
  bool removed = false;
  if (file.Length() >= kLengthRemovedAside) {
    wf::WhileServing([&] { removed = file.Remove(); });
  } else {
    removed = file.Remove();
  }
  if (removed) return {Removal::Removed, 0, {}};
  const DWORD notRemoved = file.Error();
  // Where the handle is still there to do it, and nobody took the name meanwhile.
  if (file.RenameTo(original, false)) return {Removal::NameStayed, notRemoved, {}};
  return {Removal::TemporaryNameStayed, notRemoved, *temporary};
}

RemovalResult RemoveRecycledFile(const WorkContext& work, CheckedFile& file) {
  if (!work.workFolder.empty()) {
    const std::optional<std::wstring> extendedWork = paths::ToExtended(work.workFolder);
    if (extendedWork && GetFileAttributesW(extendedWork->c_str()) == INVALID_FILE_ATTRIBUTES) {
      CreateDirectoryW(extendedWork->c_str(), nullptr);
    }
    const RemovalResult inWorkFolder = RemoveUnderTemporaryName(file, work.workFolder, L"");
    if (inWorkFolder.removal != Removal::NotRenamed) return inWorkFolder;  // else another volume
  }
  // Another volume (or no work folder): a meaningless name where it is.
  return RemoveUnderTemporaryName(file, paths::FolderOf(file.ExtendedPath()), L"");
}

std::wstring CreateWorkFolder(const WorkContext& work, const std::vector<std::wstring>& parents) {
  bool tooLong = !parents.empty();
  DWORD error = ERROR_SUCCESS;
  for (const std::wstring& parent : parents) {
    const std::optional<std::wstring> path = paths::Join(parent, texts::kWorkFolderName);
    const std::optional<std::wstring> extended = path ? paths::ToExtended(*path) : std::nullopt;
    const std::optional<std::wstring> extendedParent = paths::ToExtended(parent);
    if (!extended || !extendedParent) continue;
    tooLong = false;
    if (GetFileAttributesW(extended->c_str()) != INVALID_FILE_ATTRIBUTES) return *path;
    // A folder of the program's own in the user's folders may not be there yet.
    CreateDirectoryW(extendedParent->c_str(), nullptr);
    if (CreateDirectoryW(extended->c_str(), nullptr)) return *path;
    error = GetLastError();
  }
  // Files on the work folder's volume are then removed in their own folders.
  const std::wstring text =
      tooLong ? std::wstring(texts::kWorkFolderPathTooLong) : wf::WithReason(texts::kWorkFolderNotCreated, error);
  wf::Prompt(work.owner, text, work.appName, MB_ICONERROR);
  return {};
}

std::wstring CreateWorkFolder(const WorkContext& work, const std::wstring& folder) {
  return CreateWorkFolder(work, std::vector<std::wstring>{folder});
}

}  // namespace engine
