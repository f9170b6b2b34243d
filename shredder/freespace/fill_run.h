// The writing of a free-space erase, in the fill folder: the fill of the free
// space by two writers per core, each file with a stream of its own, in large
// unbuffered, write-through writes; then, on NTFS, the record tree. It runs
// on threads of its own; the window thread reads the counts meanwhile.
//
// Every file it makes is marked for deletion as soon as it is made, and its
// handle is held until LetGo: however the process ends (a crash, a kill, the
// session's end), the system takes the files, and the space comes back. Each
// is flushed before it is held: a system may drop what a deleted file has
// not yet written.
#pragma once

#include <windows.h>

#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

#include "shredder/engine/overwrite_stream.h"
#include "shredder/engine/work_context.h"
#include "shredder/freespace/free_space_rules.h"
#include "winframe/handles.h"

namespace freespace {

class FillRun {
 public:
  using End = FillEnd;

  // `folder` is the held fill folder in the "\\?\" form.
  FillRun(std::wstring folder, const FillPlan& plan, const engine::WorkContext& work);

  // Makes the root of the record tree; called before the fill, since a full
  // volume has no room for its name.
  bool PrepareRecords();
  // Fills with `writers` writers at once; returns when all have ended.
  End FillData(unsigned writers);
  // Takes free file records with the tree until the file system refuses one.
  End FillRecords();
  // Writes the folders of the fill to the device: their blocks came from the
  // free space, and a folder removed before the file system wrote it would
  // leave them as they were.
  void FlushFolders();
  // Closes the files of the run, which the system then deletes.
  void LetGo();

  std::uint64_t BytesWritten() const { return bytes_.load(); }
  std::uint64_t Records() const { return records_.load(); }
  // Why the run failed: the first error a write, a flush or a thread met.
  DWORD Error() const { return error_.load(); }

 private:
  class File;

  void Writer();
  // One fill file through `file`; false when the writer is to end.
  bool WriteFillFile(HANDLE file, std::uint8_t* buffer);
  bool WriteRecordFile(const std::wstring& path, std::size_t& payload);
  // Makes a file of the run, marked for deletion; empty when it cannot be made.
  wf::UniqueFile MakeFile(const std::wstring& path, DWORD flags);
  void Hold(wf::UniqueFile file);
  // A write refused for want of room: the volume, or the account's share of it.
  void NoRoom(DWORD error);
  void Seed(COverwriteStream& stream);
  bool Ending() const;
  void Fail(DWORD error);

  const std::wstring folder_;
  const FillPlan plan_;
  const engine::WorkContext& work_;
  DWORD started_ = 0;
  std::atomic<std::uint32_t> nextFile_{0};
  std::atomic<std::uint64_t> bytes_{0};
  std::atomic<std::uint64_t> records_{0};
  std::atomic<bool> full_{false};
  std::atomic<bool> share_{false};
  std::atomic<bool> failed_{false};
  std::atomic<DWORD> error_{NO_ERROR};
  std::mutex seeding_;
  std::mutex holding_;
  std::vector<wf::UniqueFile> held_;
};

}  // namespace freespace
