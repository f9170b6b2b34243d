// What a run did to the files it reached, counted by what can be promised of
// each, and the sentences that say so: a file counts as erased only when its
// content was overwritten where it lies and its name is gone.
#pragma once

#include <string>

namespace engine {

struct EraseTally {
  int erased = 0;       // overwritten in place, every stream too, and its name gone
  int elsewhere = 0;    // removed; its content lies elsewhere and was written only as the platform allows
  int streamsLeft = 0;  // removed; a named data stream of it could not be overwritten
  int nameStayed = 0;   // overwritten, but its name could not be removed
};

// The lines for the files removed without being overwritten where they lie,
// each after a line break; empty when there were none.
std::wstring NotInPlaceLines(const EraseTally& tally);

// The closing message of a batch: how many files were erased, then the
// files removed without being overwritten in place; "no file was deleted"
// when there were none of either.
std::wstring BatchResult(const EraseTally& tally);

}  // namespace engine
