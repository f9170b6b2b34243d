// The application object of binshredder.
#pragma once

#include "winframe/app.h"

class CMainApp : public wf::App {
 public:
  using wf::App::App;

  // Removes a free-space erase's leftover fill from every drive, sets the
  // profile to OPTION.INI next to the executable, or in the user's own
  // folder where the user may not write beside it (settings_place.h), writes
  // the first settings when that file is missing, and runs the main window
  // modally for the whole life of the process. Always false: there is no message loop
  // after the window's own.
  bool InitInstance();
};
