#include "shredder/freespace/fill_run.h"

#include <deque>
#include <new>
#include <vector>

#include "shredder/engine/delete_disposition.h"
#include "shredder/engine/stream_seed.h"
#include "winframe/handles.h"
#include "winframe/worker_thread.h"

namespace freespace {
namespace {

// ERROR_DISK_QUOTA_EXCEEDED, which MinGW's headers lack: the account's share
// of the volume is full, which is all of it that this run can reach.
constexpr DWORD kDiskQuotaExceeded = 1295;

bool MeansNoRoom(DWORD error) {
  return error == ERROR_DISK_FULL || error == ERROR_HANDLE_DISK_FULL || error == kDiskQuotaExceeded;
}

// Page-aligned, as unbuffered writes need their memory.
class WriteBuffer {
 public:
  explicit WriteBuffer(std::size_t bytes)
      : data_(static_cast<std::uint8_t*>(VirtualAlloc(nullptr, bytes, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE))) {}
  ~WriteBuffer() {
    if (data_) VirtualFree(data_, 0, MEM_RELEASE);
  }
  WriteBuffer(const WriteBuffer&) = delete;
  WriteBuffer& operator=(const WriteBuffer&) = delete;
  std::uint8_t* Data() const { return data_; }

 private:
  std::uint8_t* data_;
};

}  // namespace

FillRun::FillRun(std::wstring folder, const FillPlan& plan, const engine::WorkContext& work)
    : folder_(std::move(folder)), plan_(plan), work_(work) {}

bool FillRun::PrepareRecords() {
  return CreateDirectoryW((folder_ + L"\\" + kRecordTreeName).c_str(), nullptr) != FALSE;
}

FillRun::End FillRun::FillData(unsigned writers) {
  started_ = GetTickCount();
  {
    std::vector<wf::WorkerThread> threads(writers);
    for (wf::WorkerThread& thread : threads) {
      // No thread to be had: those that started end at once.
      if (const DWORD error = thread.Start([this] { Writer(); }); error != NO_ERROR) {
        Fail(error);
        break;
      }
    }
    for (wf::WorkerThread& thread : threads) thread.Join();
  }
  if (failed_) return End::Failed;
  if (engine::StopRequested(work_)) return End::Stopped;
  if (!full_) return End::Planned;
  return share_ ? End::Share : End::Full;
}

void FillRun::Seed(COverwriteStream& stream) {
  std::uint32_t words[COverwriteStream::kWordCount];
  {
    std::lock_guard lock(seeding_);
    engine::MakeSeed(work_, words);
  }
  stream.SetWordCount(COverwriteStream::kWordCount);
  stream.Seed(words);
}

bool FillRun::Ending() const {
  return failed_ || engine::StopRequested(work_) ||
         (plan_.timeLimitMs != 0 && GetTickCount() - started_ >= plan_.timeLimitMs);
}

void FillRun::Fail(DWORD error) {
  DWORD none = NO_ERROR;
  error_.compare_exchange_strong(none, error);
  failed_ = true;
}

void FillRun::NoRoom(DWORD error) {
  if (error == kDiskQuotaExceeded) share_ = true;
  full_ = true;
}

wf::UniqueFile FillRun::MakeFile(const std::wstring& path, DWORD flags) {
  wf::UniqueFile file(
      CreateFileW(path.c_str(), GENERIC_WRITE | DELETE, FILE_SHARE_READ, nullptr, CREATE_NEW, flags, nullptr));
  if (!file) return file;
  if (!engine::MarkDeleted(file.Get())) {
    // Not to be left behind by a crash, nor written so.
    const DWORD error = GetLastError();
    file.Reset();
    DeleteFileW(path.c_str());
    SetLastError(error);
  }
  return file;
}

void FillRun::Hold(wf::UniqueFile file) {
  std::lock_guard lock(holding_);
  held_.push_back(std::move(file));
}

void FillRun::LetGo() {
  std::lock_guard lock(holding_);
  held_.clear();
}

void FillRun::Writer() {
  try {
    WriteBuffer buffer(static_cast<std::size_t>(plan_.writeBytes));
    if (!buffer.Data()) return Fail(GetLastError());
    for (unsigned files = 0; plan_.filesPerWriter == 0 || files < plan_.filesPerWriter; ++files) {
      // Once the volume is full, a new file would only find it full.
      if (Ending() || full_) return;
      wf::UniqueFile file =
          MakeFile(folder_ + L"\\" + FillFileName(nextFile_++), FILE_FLAG_NO_BUFFERING | FILE_FLAG_WRITE_THROUGH);
      if (!file) {
        const DWORD error = GetLastError();
        return MeansNoRoom(error) ? NoRoom(error) : Fail(error);
      }
      const bool goOn = WriteFillFile(file.Get(), buffer.Data());
      Hold(std::move(file));
      if (!goOn) return;
    }
  } catch (const std::bad_alloc&) {
    Fail(ERROR_NOT_ENOUGH_MEMORY);
  }
}

// One fill file as FillOneFile sees it: the stream written through the
// handle from the writer's buffer.
class FillRun::File final : public FillFileTarget {
 public:
  File(FillRun& run, HANDLE file, std::uint8_t* buffer) : run_(run), file_(file), buffer_(buffer) {
    run_.Seed(stream_);
  }

  Written Write(std::uint64_t bytes) override {
    stream_.Generate(buffer_, static_cast<std::size_t>(bytes / COverwriteStream::kChunkBytes));
    DWORD done = 0;
    const bool whole = WriteFile(file_, buffer_, static_cast<DWORD>(bytes), &done, nullptr) && done == bytes;
    const DWORD error = GetLastError();
    run_.bytes_ += done;
    if (whole) return {done, WriteEnd::Whole};
    // A short write is the volume running out; any other refusal ends the run.
    if (done == 0 && !MeansNoRoom(error)) {
      refused_ = error;
      return {done, WriteEnd::Refused};
    }
    run_.NoRoom(error);
    return {done, WriteEnd::NoRoom};
  }

  bool Flush() override {
    if (FlushFileBuffers(file_)) return true;
    refused_ = GetLastError();
    return false;
  }
  bool Ending() override { return run_.Ending(); }
  // Why a write or a flush was refused.
  DWORD Refused() const { return refused_; }

 private:
  FillRun& run_;
  HANDLE file_;
  std::uint8_t* buffer_;
  COverwriteStream stream_;
  DWORD refused_ = NO_ERROR;
};

bool FillRun::WriteFillFile(HANDLE file, std::uint8_t* buffer) {
  File target(*this, file, buffer);
  switch (FillOneFile(plan_, target)) {
    case FileFill::Written:
      return !Ending();
    case FileFill::NoRoom:
      return false;
    case FileFill::Ended:
      return false;
    case FileFill::Failed:
      Fail(target.Refused());
      return false;
  }
  return false;
}

FillRun::End FillRun::FillRecords() {
  // Breadth first, so that the tree stays shallow; every folder and file
  // takes one record, and the first the file system refuses ends it.
  // The files of each folder come first: a file system that keeps no data
  // in its records refuses the very first, before anything else is made.
  std::deque<std::wstring> folders{folder_ + L"\\" + kRecordTreeName};
  std::size_t payload = kLargestRecordPayload;
  for (; !folders.empty(); folders.pop_front()) {
    for (const wchar_t* name : kRecordFiles) {
      if (engine::StopRequested(work_)) return End::Stopped;
      if (!WriteRecordFile(folders.front() + L"\\" + name, payload)) return End::Full;
    }
    for (const wchar_t* name : kRecordFolders) {
      if (engine::StopRequested(work_)) return End::Stopped;
      const std::wstring path = folders.front() + L"\\" + name;
      if (!CreateDirectoryW(path.c_str(), nullptr)) return End::Full;
      ++records_;
      folders.push_back(path);
    }
  }
  return End::Full;
}

void FillRun::FlushFolders() {
  for (const std::wstring& path : {folder_, folder_ + L"\\" + kRecordTreeName}) {
    wf::UniqueFile folder(CreateFileW(path.c_str(), GENERIC_WRITE,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                      FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
    if (folder) FlushFileBuffers(folder.Get());
  }
}

bool FillRun::WriteRecordFile(const std::wstring& path, std::size_t& payload) {
  wf::UniqueFile made = MakeFile(path, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_WRITE_THROUGH);
  if (!made) return false;
  // It takes a record whatever it holds.
  const HANDLE file = made.Get();
  Hold(std::move(made));
  COverwriteStream stream;
  Seed(stream);
  std::vector<std::uint8_t> data(payload);
  // The largest size that stays inside the record; the one that fitted the
  // last file is tried first. A file system that keeps no data in its
  // records refuses them all.
  for (; payload >= kRecordPayloadStep; payload -= kRecordPayloadStep) {
    stream.Generate(data.data(), payload / COverwriteStream::kChunkBytes);
    DWORD done = 0;
    if (WriteFile(file, data.data(), static_cast<DWORD>(payload), &done, nullptr) && done == payload) {
      ++records_;
      return FlushFileBuffers(file) != FALSE;
    }
    LARGE_INTEGER start{};
    SetFilePointerEx(file, start, nullptr, FILE_BEGIN);
    SetEndOfFile(file);
  }
  return false;
}

}  // namespace freespace
