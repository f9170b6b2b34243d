// The drives of this system, and the system's boxes about them.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

namespace wf {

// The roots of the drives ("C:\\"), in the platform's order.
std::vector<std::wstring> DriveRoots();

// The folder that the drive of `path` ("S:\\..." or "S:") stands for when it
// is a subst drive ("C:\\data"); nothing for a drive of its own.
std::optional<std::wstring> SubstituteOf(const std::wstring& path);

// Turns the system's "no disk in the drive" box off for this thread while it
// lives: an empty card reader, or a card pulled out, is simply not readable,
// and a thread doing disk work never stalls on a box nobody sees.
class QuietDriveErrors {
 public:
  QuietDriveErrors();
  ~QuietDriveErrors();
  QuietDriveErrors(const QuietDriveErrors&) = delete;
  QuietDriveErrors& operator=(const QuietDriveErrors&) = delete;

 private:
  DWORD previous_ = 0;
};

}  // namespace wf
