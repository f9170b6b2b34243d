#include "shredder/app/placement.h"

namespace app {

WindowGeometry DefaultGeometry(int width, int height, const ScreenRect& desktop) {
  constexpr int kInset = 100;
  return {desktop.right - width - kInset, desktop.bottom - height - kInset, width, height};
}

}  // namespace app
