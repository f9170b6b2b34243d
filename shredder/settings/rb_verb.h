// The probe that tells, at start-up, whether the recycle bin's verb can be
// written at all. (Its check and toggle are COptionDialog's.)
#pragma once

#include <windows.h>

namespace settings {

// Creates and deletes a probe key under the recycle bin's class; false when
// HKEY_CLASSES_ROOT cannot be written there. A probe key that cannot be
// closed or removed again is reported in a box owned by `owner`.
bool ProbeClassesRootWritable(HWND owner);

}  // namespace settings
