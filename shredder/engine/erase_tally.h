// What a run did to the files it reached, counted by what can be promised of
// each, and the sentences that say so: a file counts as erased only when its
// content was overwritten where it lies and its name is gone.
#pragma once

#include <string>

namespace engine {

enum class WipeOutcome {
  Wiped,           // every pass written where the content lies, named streams too, and flushed
  WipedElsewhere,  // its content lies elsewhere (compressed, encrypted, kept by a reparse
                   // point or in the cloud): written only as the platform allows
  StreamsLeft,     // its content overwritten, but a named data stream could not be
  Declined,        // not a file of its own to overwrite (a link, a folder, other names, gone)
  CannotOpen,      // held by another program, or no access
  NoSpace,         // a pass needed room the volume did not have
  NotWritten,      // the device refused a write
  Stopped,         // the user stopped the run; partly overwritten, left where it is
};

// Whether the file may go now: it was overwritten as far as it can be.
inline bool MayBeRemoved(WipeOutcome outcome) {
  return outcome == WipeOutcome::Wiped || outcome == WipeOutcome::WipedElsewhere || outcome == WipeOutcome::StreamsLeft;
}

struct EraseTally {
  int erased = 0;       // overwritten in place, every stream too, and its name gone
  int elsewhere = 0;    // removed; its content lies elsewhere and was written only as the platform allows
  int streamsLeft = 0;  // removed; a named data stream of it could not be overwritten
  int nameStayed = 0;   // overwritten, but its name could not be removed
};

// Counts a file whose name is gone by what can be promised of it: erased,
// or removed with its content elsewhere or a stream left.
void CountRemoved(EraseTally& tally, WipeOutcome outcome);

// The lines for the files removed without being overwritten where they lie,
// each after a line break; empty when there were none.
std::wstring NotInPlaceLines(const EraseTally& tally);

// The closing message of a batch: how many files were erased, then the
// files removed without being overwritten in place; "no file was deleted"
// when there were none of either.
std::wstring BatchResult(const EraseTally& tally);

}  // namespace engine
