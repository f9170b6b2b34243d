// A folder held open while it is searched or emptied: opened only where its
// path says, never through a link, and without sharing deletion, so that
// while it is held nobody renames it, removes it or puts something else in
// its place. The recycle bin's walk and the free-space fill hold theirs so.
#pragma once

#include <windows.h>

#include <string>

#include "winframe/handles.h"

namespace engine {

enum class FolderHold {
  Held,       // the folder itself, where its path says
  Missing,    // nothing there
  InUse,      // another handle keeps it from being opened so (a run that holds it)
  Link,       // itself a link: it holds nothing of its own
  Elsewhere,  // a file, or a folder reached through a link on the way
  Failed,     // it could not be opened or looked at
};

// Opens `extended` (a "\\?\" path) with `access` besides what a search needs
// (DELETE, to remove it through the handle later). `error`, when given, is
// the system's reason for Missing, InUse and Failed.
FolderHold HoldFolder(const std::wstring& extended, DWORD access, wf::UniqueFile& held, DWORD* error = nullptr);

}  // namespace engine
