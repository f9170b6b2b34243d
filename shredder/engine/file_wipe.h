// Wiping single files: the passes over a file, the small file operations
// around them, the removal of a wiped recycle-bin file through the work
// folder, and that folder itself.
#pragma once

#include <string>

#include "shredder/engine/work_context.h"

namespace engine {

// Overwrites the file work.passes times, each pass from its first byte with
// the stream running on; false (after telling the user) when it could not
// be wiped.
bool WipeFile(const WorkContext& work, const std::string& path);

bool IsFolder(const std::string& path);

// Clears the read-only attribute; true when it was set.
bool ClearReadOnly(const std::string& path);

// Wipes a recycle-bin file (full path and bare name of a directory-search
// entry) and removes it through the work folder; false when it could not be
// wiped, in which case it stays where it was.
bool WipeRecycledFile(const WorkContext& work, const std::string& path, const std::string& name);

// The work folder in `folder` (which ends in a backslash), created when
// missing; failures are told in the application's own box. Empty when no
// such path can be built.
std::string CreateWorkFolder(const WorkContext& work, const std::string& folder);

}  // namespace engine
