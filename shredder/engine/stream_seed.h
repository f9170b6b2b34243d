// The seed of a file's overwrite stream: words from the clock, the process and
// a count, so that no two streams start alike.
#pragma once

#include <cstdint>

#include "shredder/engine/work_context.h"

namespace engine {

// Fresh seed words for one file's stream (then work.seed, when set, has its
// say). Not for two threads at once: it counts the files it seeds.
void MakeSeed(const WorkContext& work, std::uint32_t (&words)[8]);

}  // namespace engine
