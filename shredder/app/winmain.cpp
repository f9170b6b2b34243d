#include <windows.h>

#include "shredder/app/main_app.h"
#include "winframe/dialog.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  CMainApp app(instance);
  app.InitInstance();
  return wf::Dialog::LastQuitCode();
}
