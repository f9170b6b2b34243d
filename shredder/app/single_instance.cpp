#include "shredder/app/single_instance.h"

#include <windows.h>

#include "shredder/app/app_texts.h"

bool ClaimSingleInstance() {
  // Deliberately never closed: the mutex marks this process as the windowed
  // instance until it ends.
  static HANDLE mutex = nullptr;
  mutex = CreateMutexW(nullptr, TRUE, app::texts::kInstanceMutexName);
  return !(mutex && GetLastError() == ERROR_ALREADY_EXISTS);
}
