#include "shredder/engine/erase_turn.h"

#include "shredder/engine/engine_texts.h"
#include "shredder/engine/wait_dialog.h"
#include "winframe/message_pump.h"

namespace engine {
namespace {

// A free lock comes within this time; the waiting window shows only after it.
constexpr DWORD kQuietWaitMs = 200;
// How often the waiting window looks at which erase writes.
constexpr DWORD kWaitTickMs = 250;

// The shared record of the kind of the erase that writes: one number in
// memory that the session's processes share under one name.
struct HolderRecord {
  wf::UniqueHandle mapping;
  wf::MappedView view;
};

HolderRecord OpenHolderRecord() {
  HolderRecord record;
  record.mapping.Reset(
      CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, sizeof(LONG), texts::kEraseHolderName));
  if (record.mapping) {
    record.view.Reset(MapViewOfFile(record.mapping.Get(), FILE_MAP_READ | FILE_MAP_WRITE, 0, 0, sizeof(LONG)));
  }
  return record;
}

void WriteRecord(const wf::MappedView& view, EraseKind kind) {
  if (view) InterlockedExchange(static_cast<volatile LONG*>(view.Get()), static_cast<LONG>(kind));
}

EraseKind ReadRecord(const wf::MappedView& view) {
  if (!view) return EraseKind::Unknown;
  const LONG value = InterlockedCompareExchange(static_cast<volatile LONG*>(view.Get()), 0, 0);
  return KindOfRecord(static_cast<std::uint32_t>(value));
}

}  // namespace

EraseTurn::EraseTurn(const WorkContext& work, EraseKind kind, WhenTaken whenTaken)
    : lock_(EraseLock::Request(whenTaken == WhenTaken::Wait)), busy_(work.busy) {
  if (!AwaitLock(work)) return;
  const EraseLock::State state = lock_.Current();
  if (state != EraseLock::State::Held && state != EraseLock::State::HeldAfterCrash &&
      state != EraseLock::State::Unavailable) {
    return;
  }
  taken_ = true;
  if (state == EraseLock::State::HeldAfterCrash && work.tidyAfterCrash) work.tidyAfterCrash();
  HolderRecord record = OpenHolderRecord();
  recordMapping_ = std::move(record.mapping);
  record_ = std::move(record.view);
  WriteRecord(record_, kind);
  if (busy_) busy_->writing_ = true;
  shutdownReason_.emplace(work.owner, texts::kEndSessionBlocked);
  awake_.emplace();
}

EraseTurn::~EraseTurn() {
  End();
}

void EraseTurn::End() {
  awake_.reset();
  shutdownReason_.reset();
  if (taken_ && busy_) busy_->writing_ = false;
  // Before the lock goes: the next erase writes its own kind.
  if (taken_) WriteRecord(record_, EraseKind::Unknown);
  record_.Reset();
  recordMapping_.Reset();
  lock_.Release();
  taken_ = false;
}

// Waits until the request for the lock has settled, serving this thread's
// windows meanwhile; the waiting window shows once it is clear that another
// erase writes. False when the wait was given up.
bool EraseTurn::AwaitLock(const WorkContext& work) {
  wf::MessagePump pump;
  const auto settled = [&](DWORD timeoutMs) {
    return lock_.Current() != EraseLock::State::Waiting || pump.Wait(lock_.Settled(), timeoutMs);
  };
  if (settled(kQuietWaitMs)) return true;
  waited_ = true;
  CWaitDialog window;
  window.Open();
  const HolderRecord record = OpenHolderRecord();
  for (;;) {
    window.ShowWriting(ReadRecord(record.view));
    if (settled(kWaitTickMs)) return true;
    if (window.StopAsked() || StopRequested(work)) return false;
  }
}

}  // namespace engine
