// The overwrite passes of one file. The stream is made ahead while the last
// piece is written, so that the writing hides behind it; the calling thread,
// which owns the windows, meanwhile serves its messages, moves the progress
// window on within the file and watches for a stop.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "shredder/engine/overwrite_stream.h"
#include "shredder/engine/pass_plan.h"
#include "shredder/engine/work_context.h"

namespace engine {

enum class PassesOutcome {
  Written,     // every pass written and flushed to the device
  NoSpace,     // the volume had no room for a piece (a pass that needs more than the file holds)
  NotWritten,  // a piece could not be written, or a flush failed (the device refused)
  Stopped,     // stopped after a piece: the file is partly overwritten
};

struct PassesResult {
  PassesOutcome outcome = PassesOutcome::Written;
  DWORD error = 0;  // the system's code for a piece or a flush that failed
};

// Writes work.passes passes (the default where it is not positive) of
// `stream` through `file`, each over `ranges`
// (pass_plan.h) in order, the stream running on from range to range and
// from pass to pass (one chunk of 16 bytes after another, the last cut to
// what the ranges hold), flushed to the device before the next pass begins.
// work.afterPass is called on the calling thread after each flush, with
// `shownPath`, before the next pass is written. Called on a worker thread
// (work.withinFile set), it tells work.withinFile how far it is instead of
// moving the progress window; it serves that thread's messages all the same.
PassesResult WritePasses(const WorkContext& work, HANDLE file, COverwriteStream& stream,
                         const std::vector<ByteRange>& ranges, const std::wstring& shownPath);

// Handles the calling thread's waiting window messages (between the files of
// a run, say), unless it did so a moment ago.
void ServeMessages();

}  // namespace engine
