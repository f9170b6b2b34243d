// Where the main window stands: its outer rectangle in screen pixels, as it
// is saved in OPTION.INI, and where it goes when nothing is saved.
#pragma once

namespace app {

struct WindowGeometry {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
};

struct ScreenRect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
};

// Without a saved place the window keeps its own size and sits 100 pixels in
// from the bottom-right corner of the desktop.
WindowGeometry DefaultGeometry(int width, int height, const ScreenRect& desktop);

}  // namespace app
