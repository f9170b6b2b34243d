#include "shredder/app/saved_placement.h"

#include "shredder/settings/settings_keys.h"
#include "shredder/settings/settings_store.h"

namespace app {

WindowGeometry CurrentGeometry(HWND window) {
  RECT rect{};
  GetWindowRect(window, &rect);
  return {rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top};
}

WindowGeometry ReadSavedGeometry(HWND window) {
  const WindowGeometry own = CurrentGeometry(window);
  RECT desktop{};
  GetWindowRect(GetDesktopWindow(), &desktop);
  const WindowGeometry fallback =
      DefaultGeometry(own.width, own.height, {desktop.left, desktop.top, desktop.right, desktop.bottom});
  WindowGeometry saved;
  saved.width = settings::ReadInt(settings::kDlgWidth, fallback.width);
  saved.height = settings::ReadInt(settings::kDlgHeight, fallback.height);
  saved.left = settings::ReadInt(settings::kDlgLeft, fallback.left);
  saved.top = settings::ReadInt(settings::kDlgTop, fallback.top);
  return saved;
}

void WriteSavedGeometry(const WindowGeometry& geometry) {
  settings::WriteInt(settings::kDlgLeft, geometry.left);
  settings::WriteInt(settings::kDlgTop, geometry.top);
  settings::WriteInt(settings::kDlgWidth, geometry.width);
  settings::WriteInt(settings::kDlgHeight, geometry.height);
}

}  // namespace app
