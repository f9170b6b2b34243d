// Entry point of shredmenu.dll. It runs under the loader lock, so it only
// records the instance handle and turns off the thread notifications; all
// other work waits for the first call from COM.
#include <windows.h>

#include "contextmenu/server_module.h"

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) {
    shellext::SetModuleInstance(instance);
    DisableThreadLibraryCalls(instance);
  }
  return TRUE;
}
