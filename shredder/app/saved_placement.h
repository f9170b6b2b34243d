// The main window's place and size in OPTION.INI: read at the windowed start,
// written when the window closes.
#pragma once

#include <windows.h>

#include "shredder/app/placement.h"

namespace app {

// The window's current outer rectangle.
WindowGeometry CurrentGeometry(HWND window);

// The saved geometry; each value that is missing falls back to the window's
// own size and the default place computed from that size (not from a saved
// one).
WindowGeometry ReadSavedGeometry(HWND window);

void WriteSavedGeometry(const WindowGeometry& geometry);

}  // namespace app
