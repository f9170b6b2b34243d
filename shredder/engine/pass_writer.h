// The overwrite passes of one file. The stream is made ahead while the last
// piece is written, so that the writing hides behind it; the calling thread,
// which owns the windows, meanwhile serves its messages, moves the progress
// window on within the file and watches for a stop.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "shredder/engine/overwrite_stream.h"
#include "shredder/engine/work_context.h"

namespace engine {

enum class PassesOutcome {
  Written,     // every pass written and flushed to the device
  NotWritten,  // a piece could not be written in full (a full disk), or a flush failed
  Stopped,     // stopped after a piece: the file is partly overwritten
};

// Writes work.passes passes of `stream` over `length` bytes through `file`:
// each from offset 0, floor(length / 16) + 1 chunks, the stream running on
// from pass to pass, flushed to the device before the next pass begins.
// work.afterPass is called on the calling thread after each flush, with
// `shownPath`, before the next pass is written.
PassesOutcome WritePasses(const WorkContext& work, HANDLE file, COverwriteStream& stream, std::uint64_t length,
                          const std::wstring& shownPath);

// Handles the calling thread's waiting window messages (between the files of
// a run, say), unless it did so a moment ago.
void ServeMessages();

}  // namespace engine
