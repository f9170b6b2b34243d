#include "shredder/engine/pass_writer.h"

#include <algorithm>
#include <array>
#include <condition_variable>
#include <mutex>
#include <vector>

#include "shredder/engine/progress_dialog.h"
#include "winframe/handles.h"
#include "winframe/message_pump.h"
#include "winframe/worker_thread.h"

namespace engine {
namespace {

constexpr std::size_t kChunk = COverwriteStream::kChunkBytes;
// Written at a time: large enough to keep the device busy, small enough that
// a stop takes effect at once.
constexpr std::size_t kPieceBytes = std::size_t{1} << 20;
// Pieces made ahead of the writer: enough to keep the maker busy while the
// writer waits for a flush of kFlushEveryBytes.
constexpr std::size_t kRingPieces = 8;
// Within a pass the writer also flushes every so many bytes, so that the
// device writes while the stream is made instead of all at once at the end of
// the pass, with the maker standing still.
constexpr std::uint64_t kFlushEveryBytes = kRingPieces * kPieceBytes;
// A pass of at most one piece is written on the calling thread: it takes a
// few milliseconds, and threads would cost more than they save.
constexpr std::uint64_t kInlineBytes = kPieceBytes;
// Looking for messages is a trip to the window system: a run over many small
// files looks at most this often.
constexpr DWORD kServeAtMostEveryMs = 20;

// Writes a pass over its ranges, piece by piece, in order.
class PassCursor {
 public:
  PassCursor(HANDLE file, const std::vector<ByteRange>& ranges) : file_(file), ranges_(ranges) {}

  void Rewind() {
    index_ = 0;
    within_ = 0;
  }

  // A short write (a full disk) ends the pass rather than writing again.
  PassesOutcome Write(const std::uint8_t* data, std::size_t bytes) {
    while (bytes > 0) {
      if (index_ == ranges_.size()) return PassesOutcome::NotWritten;
      const ByteRange& range = ranges_[index_];
      if (within_ == 0) {
        LARGE_INTEGER at{};
        at.QuadPart = static_cast<LONGLONG>(range.offset);
        if (!SetFilePointerEx(file_, at, nullptr, FILE_BEGIN)) return Failure();
      }
      const auto take = static_cast<DWORD>(std::min<std::uint64_t>(bytes, range.length - within_));
      DWORD written = 0;
      SetLastError(NO_ERROR);  // a short write that says nothing found the disk full
      if (!WriteFile(file_, data, take, &written, nullptr) || written != take) return Failure();
      data += take;
      bytes -= take;
      within_ += take;
      if (within_ == range.length) {
        ++index_;
        within_ = 0;
      }
    }
    return PassesOutcome::Written;
  }

  PassesOutcome Flush() { return FlushFileBuffers(file_) ? PassesOutcome::Written : Failure(); }

  // The system's code for the piece or flush that failed.
  DWORD Error() const { return error_; }

 private:
  PassesOutcome Failure() {
    const DWORD error = GetLastError();
    error_ = error == NO_ERROR ? ERROR_DISK_FULL : error;
    return error == ERROR_DISK_FULL || error == ERROR_HANDLE_DISK_FULL || error == NO_ERROR ? PassesOutcome::NoSpace
                                                                                            : PassesOutcome::NotWritten;
  }

  HANDLE file_;
  DWORD error_ = 0;
  const std::vector<ByteRange>& ranges_;
  std::size_t index_ = 0;
  std::uint64_t within_ = 0;
};

std::size_t ChunksFor(std::uint64_t bytes) {
  return static_cast<std::size_t>((bytes + kChunk - 1) / kChunk);
}

void ShowWithin(const WorkContext& work, std::uint64_t done, std::uint64_t total) {
  if (total == 0) return;
  const double fraction = static_cast<double>(done) / static_cast<double>(total);
  if (work.withinFile) {
    work.withinFile(fraction);  // a worker's passes: the window is moved by its own thread
  } else if (work.progress) {
    work.progress->ShowWithinItem(fraction);
  }
}

PassesOutcome WriteInline(const WorkContext& work, PassCursor& cursor, COverwriteStream& stream,
                          std::uint64_t passBytes, const std::wstring& shownPath) {
  std::vector<std::uint8_t> piece(ChunksFor(passBytes) * kChunk);
  for (int pass = 1; pass <= work.passes; ++pass) {
    if (StopRequested(work)) return PassesOutcome::Stopped;
    stream.Generate(piece.data(), ChunksFor(passBytes));
    cursor.Rewind();
    PassesOutcome outcome = cursor.Write(piece.data(), static_cast<std::size_t>(passBytes));
    if (outcome == PassesOutcome::Written) outcome = cursor.Flush();
    if (outcome != PassesOutcome::Written) return outcome;
    if (work.afterPass) work.afterPass(shownPath, pass);
    ShowWithin(work, static_cast<std::uint64_t>(pass), static_cast<std::uint64_t>(work.passes));
    ServeMessages();
  }
  return PassesOutcome::Written;
}

// The passes of a large file on two threads: one makes the stream piece by
// piece into a ring, the other writes the pieces in order and flushes each
// pass. The calling thread serves its windows until the writer is done; a
// thread that cannot be had ends the passes unwritten, with its reason.
class Pipeline {
 public:
  Pipeline(const WorkContext& work, PassCursor& cursor, COverwriteStream& stream, std::uint64_t passBytes)
      : work_(work),
        cursor_(cursor),
        stream_(stream),
        passBytes_(passBytes),
        attention_(CreateEventW(nullptr, FALSE, FALSE, nullptr)) {
    for (Piece& piece : ring_) piece.bytes.resize(kPieceBytes);
  }

  PassesOutcome Run(const std::wstring& shownPath) {
    if (!attention_) return PassesOutcome::NotWritten;
    const std::uint64_t total = static_cast<std::uint64_t>(work_.passes) * passBytes_;
    wf::WorkerThread maker;
    DWORD error = maker.Start([this] { Make(); });
    if (error == NO_ERROR) {
      error = wf::WhileServing([this] { Write(); },
                               [&] {
                                 ShowWithin(work_, written_.load(), total);
                                 HandOverPass(shownPath);
                               },
                               wf::kServeEveryMs, attention_.Get());
    }
    if (error != NO_ERROR) {
      Write(PassesOutcome::NotWritten);  // no writer: the maker ends too
      maker.Join();
      SetLastError(error);
      return PassesOutcome::NotWritten;
    }
    maker.Join();
    return outcome_;
  }

 private:
  struct Piece {
    std::vector<std::uint8_t> bytes;
    std::size_t size = 0;
  };

  // The maker: every pass's pieces in order, the stream running on.
  void Make() {
    for (int pass = 1; pass <= work_.passes; ++pass) {
      for (std::uint64_t left = passBytes_; left > 0;) {
        const auto bytes = static_cast<std::size_t>(std::min<std::uint64_t>(left, kPieceBytes));
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [this] { return stopping_ || made_ - taken_ < kRingPieces; });
        if (stopping_) return;
        Piece& piece = ring_[made_ % kRingPieces];
        lock.unlock();  // the writer does not touch a piece it has not been given
        stream_.Generate(piece.bytes.data(), ChunksFor(bytes));
        piece.size = bytes;
        lock.lock();
        ++made_;
        changed_.notify_all();
        left -= bytes;
      }
    }
  }

  void Write() { Write(WritePasses()); }

  void Write(PassesOutcome outcome) {
    outcome_ = outcome;
    std::lock_guard lock(mutex_);
    stopping_ = true;
    changed_.notify_all();
  }

  // On the calling thread: a pass the writer has flushed is shown to
  // work.afterPass before the next one begins.
  void HandOverPass(const std::wstring& shownPath) {
    std::unique_lock lock(mutex_);
    if (passWaiting_ == 0) return;
    const int pass = passWaiting_;
    lock.unlock();
    work_.afterPass(shownPath, pass);
    lock.lock();
    passWaiting_ = 0;
    changed_.notify_all();
  }

  PassesOutcome WritePasses() {
    for (int pass = 1; pass <= work_.passes; ++pass) {
      cursor_.Rewind();
      std::uint64_t unflushed = 0;
      for (std::uint64_t left = passBytes_; left > 0;) {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [this] { return taken_ < made_; });
        const Piece& piece = ring_[taken_ % kRingPieces];
        lock.unlock();
        if (StopRequested(work_)) return PassesOutcome::Stopped;
        const PassesOutcome outcome = cursor_.Write(piece.bytes.data(), piece.size);
        if (outcome != PassesOutcome::Written) return outcome;
        written_ += piece.size;
        left -= piece.size;
        unflushed += piece.size;
        if (unflushed >= kFlushEveryBytes && left > 0) {
          if (const PassesOutcome flushed = cursor_.Flush(); flushed != PassesOutcome::Written) return flushed;
          unflushed = 0;
        }
        lock.lock();
        ++taken_;
        changed_.notify_all();
      }
      if (const PassesOutcome flushed = cursor_.Flush(); flushed != PassesOutcome::Written) return flushed;
      if (work_.afterPass) {
        // Looked at on the calling thread before the next pass begins.
        std::unique_lock lock(mutex_);
        passWaiting_ = pass;
        SetEvent(attention_.Get());
        changed_.wait(lock, [this] { return passWaiting_ == 0; });
      }
    }
    return PassesOutcome::Written;
  }

  const WorkContext& work_;
  PassCursor& cursor_;
  COverwriteStream& stream_;
  const std::uint64_t passBytes_;
  wf::UniqueHandle attention_;  // the writer has a pass to show
  std::array<Piece, kRingPieces> ring_;
  std::mutex mutex_;
  std::condition_variable changed_;
  std::size_t made_ = 0;
  std::size_t taken_ = 0;
  bool stopping_ = false;
  int passWaiting_ = 0;
  std::atomic<std::uint64_t> written_{0};
  PassesOutcome outcome_ = PassesOutcome::NotWritten;
};

}  // namespace

PassesResult WritePasses(const WorkContext& work, HANDLE file, COverwriteStream& stream,
                         const std::vector<ByteRange>& ranges, const std::wstring& shownPath) {
  if (work.passes <= 0) {
    // No caller can switch overwriting off: a file is never called wiped
    // after no pass at all.
    WorkContext withPasses = work;
    withPasses.passes = kDefaultPasses;
    return WritePasses(withPasses, file, stream, ranges, shownPath);
  }
  PassCursor cursor(file, ranges);
  const std::uint64_t passBytes = TotalBytes(ranges);
  PassesOutcome outcome;
  if (passBytes <= kInlineBytes) {
    outcome = WriteInline(work, cursor, stream, passBytes, shownPath);
  } else {
    Pipeline pipeline(work, cursor, stream, passBytes);
    outcome = pipeline.Run(shownPath);
  }
  return {outcome, cursor.Error()};
}

void ServeMessages() {
  thread_local DWORD lastServed = GetTickCount() - kServeAtMostEveryMs;
  const DWORD now = GetTickCount();
  if (now - lastServed < kServeAtMostEveryMs) return;
  lastServed = now;
  wf::MessagePump().Drain();
}

}  // namespace engine
