#include "shredder/engine/pass_writer.h"

#include <algorithm>
#include <array>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <vector>

#include "shredder/engine/progress_dialog.h"
#include "winframe/handles.h"
#include "winframe/message_pump.h"

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
// The windows are served at least this often while the threads work.
constexpr DWORD kServeEveryMs = 50;
// Looking for messages is a trip to the window system: a run over many small
// files looks at most this often.
constexpr DWORD kServeAtMostEveryMs = 20;

bool Rewind(HANDLE file) {
  LARGE_INTEGER start{};
  return SetFilePointerEx(file, start, nullptr, FILE_BEGIN) != FALSE;
}

// A short write (a full disk) ends the pass rather than writing again.
bool WriteAll(HANDLE file, const std::uint8_t* data, std::size_t bytes) {
  DWORD written = 0;
  return WriteFile(file, data, static_cast<DWORD>(bytes), &written, nullptr) && written == bytes;
}

void ShowWithin(const WorkContext& work, std::uint64_t done, std::uint64_t total) {
  if (work.progress && total > 0) work.progress->ShowWithinItem(static_cast<double>(done) / static_cast<double>(total));
}

PassesOutcome WriteInline(const WorkContext& work, HANDLE file, COverwriteStream& stream, std::uint64_t chunks,
                          const std::wstring& shownPath) {
  std::vector<std::uint8_t> piece(static_cast<std::size_t>(chunks) * kChunk);
  for (int pass = 1; pass <= work.passes; ++pass) {
    if (StopRequested(work)) return PassesOutcome::Stopped;
    stream.Generate(piece.data(), static_cast<std::size_t>(chunks));
    if (!Rewind(file) || !WriteAll(file, piece.data(), piece.size()) || !FlushFileBuffers(file)) {
      return PassesOutcome::NotWritten;
    }
    if (work.afterPass) work.afterPass(shownPath, pass);
    ShowWithin(work, static_cast<std::uint64_t>(pass), static_cast<std::uint64_t>(work.passes));
    ServeMessages();
  }
  return PassesOutcome::Written;
}

// The passes of a large file on two threads: one makes the stream piece by
// piece into a ring, the other writes the pieces in order and flushes each
// pass. The calling thread serves its windows until the writer is done.
class Pipeline {
 public:
  Pipeline(const WorkContext& work, HANDLE file, COverwriteStream& stream, std::uint64_t chunks)
      : work_(work),
        file_(file),
        stream_(stream),
        chunksPerPass_(chunks),
        attention_(CreateEventW(nullptr, FALSE, FALSE, nullptr)) {
    for (Piece& piece : ring_) piece.bytes.resize(kPieceBytes);
  }

  PassesOutcome Run(const std::wstring& shownPath) {
    if (!attention_) return PassesOutcome::NotWritten;
    const std::uint64_t total = static_cast<std::uint64_t>(work_.passes) * chunksPerPass_ * kChunk;
    std::thread maker([this] { Make(); });
    std::thread writer([this] { Write(); });
    {
      wf::MessagePump pump;
      for (;;) {
        pump.Wait(attention_.Get(), kServeEveryMs);
        ShowWithin(work_, written_.load(), total);
        std::unique_lock lock(mutex_);
        if (passWaiting_ != 0) {
          const int pass = passWaiting_;
          lock.unlock();
          work_.afterPass(shownPath, pass);
          lock.lock();
          passWaiting_ = 0;
          changed_.notify_all();
        }
        if (finished_) break;
      }
    }
    writer.join();
    maker.join();
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
      for (std::uint64_t left = chunksPerPass_; left > 0;) {
        const auto chunks = static_cast<std::size_t>(std::min<std::uint64_t>(left, kPieceBytes / kChunk));
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [this] { return stopping_ || made_ - taken_ < kRingPieces; });
        if (stopping_) return;
        Piece& piece = ring_[made_ % kRingPieces];
        lock.unlock();  // the writer does not touch a piece it has not been given
        stream_.Generate(piece.bytes.data(), chunks);
        piece.size = chunks * kChunk;
        lock.lock();
        ++made_;
        changed_.notify_all();
        left -= chunks;
      }
    }
  }

  void Write() {
    outcome_ = WritePasses();
    std::lock_guard lock(mutex_);
    stopping_ = true;
    finished_ = true;
    changed_.notify_all();
    SetEvent(attention_.Get());
  }

  PassesOutcome WritePasses() {
    for (int pass = 1; pass <= work_.passes; ++pass) {
      if (!Rewind(file_)) return PassesOutcome::NotWritten;
      std::uint64_t unflushed = 0;
      for (std::uint64_t left = chunksPerPass_; left > 0;) {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [this] { return taken_ < made_; });
        const Piece& piece = ring_[taken_ % kRingPieces];
        lock.unlock();
        if (StopRequested(work_)) return PassesOutcome::Stopped;
        if (!WriteAll(file_, piece.bytes.data(), piece.size)) return PassesOutcome::NotWritten;
        written_ += piece.size;
        left -= piece.size / kChunk;
        unflushed += piece.size;
        if (unflushed >= kFlushEveryBytes && left > 0) {
          if (!FlushFileBuffers(file_)) return PassesOutcome::NotWritten;
          unflushed = 0;
        }
        lock.lock();
        ++taken_;
        changed_.notify_all();
      }
      if (!FlushFileBuffers(file_)) return PassesOutcome::NotWritten;
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
  HANDLE file_;
  COverwriteStream& stream_;
  const std::uint64_t chunksPerPass_;
  wf::UniqueHandle attention_;  // the writer has a pass to show, or is done
  std::array<Piece, kRingPieces> ring_;
  std::mutex mutex_;
  std::condition_variable changed_;
  std::size_t made_ = 0;
  std::size_t taken_ = 0;
  bool stopping_ = false;
  bool finished_ = false;
  int passWaiting_ = 0;
  std::atomic<std::uint64_t> written_{0};
  PassesOutcome outcome_ = PassesOutcome::NotWritten;
};

}  // namespace

PassesOutcome WritePasses(const WorkContext& work, HANDLE file, COverwriteStream& stream, std::uint64_t length,
                          const std::wstring& shownPath) {
  if (work.passes <= 0) return PassesOutcome::Written;
  // More than `length` bytes: one chunk beyond the last whole one.
  const std::uint64_t chunks = length / kChunk + 1;
  if (chunks * kChunk <= kInlineBytes) return WriteInline(work, file, stream, chunks, shownPath);
  Pipeline pipeline(work, file, stream, chunks);
  return pipeline.Run(shownPath);
}

void ServeMessages() {
  thread_local DWORD lastServed = GetTickCount() - kServeAtMostEveryMs;
  const DWORD now = GetTickCount();
  if (now - lastServed < kServeAtMostEveryMs) return;
  lastServed = now;
  wf::MessagePump().Drain();
}

}  // namespace engine
