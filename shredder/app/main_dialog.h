// The main tool window. Besides the window itself it owns the work of the
// program: the erase of the recycle bin, the shredding of selected files, the
// wiping of single files, the work folder and the progress window. Those
// operations are defined in the folders of their subsystems.
#pragma once

#include <windows.h>
#include <shellapi.h>

#include <array>
#include <string>

#include "shredder/engine/progress_dialog.h"
#include "winframe/dialog.h"
#include "winframe/handles.h"

struct WindowGeometry {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
};

class CMainDialog : public wf::Dialog {
 public:
  CMainDialog();
  ~CMainDialog() override;

  // Only one erase or batch runs at a time: their message boxes run nested
  // message loops in which a button, the tray, a drop or the timer could
  // otherwise start a second one. Hold a guard for the length of the work;
  // a request that does not get it is refused without a message.
  class WorkGuard {
   public:
    explicit WorkGuard(CMainDialog& owner) : owner_(owner), acquired_(!owner.busy_) { owner_.busy_ = true; }
    ~WorkGuard() {
      if (acquired_) owner_.busy_ = false;
    }
    WorkGuard(const WorkGuard&) = delete;
    WorkGuard& operator=(const WorkGuard&) = delete;
    bool Acquired() const { return acquired_; }

   private:
    CMainDialog& owner_;
    bool acquired_;
  };
  bool IsBusy() const { return busy_; }

  // --- engine: file wiping (shredder/engine/file_wipe.cpp)
  // Overwrites the file OverWriteTimes times; false (after telling the user)
  // when it could not be wiped.
  bool WipeFile(const std::string& path);
  bool IsFolder(const std::string& path);
  // Clears the read-only attribute; true when it was set.
  bool ClearReadOnly(const std::string& path);
  // Wipes a recycle-bin file (full path and bare name of a directory-search
  // entry) and removes it through the work folder.
  bool WipeRecycledFile(const std::string& path, const std::string& name);
  // `folder` ends in a backslash; the work folder is folder + "work_temp".
  void CreateWorkFolder(const std::string& folder);
  const std::string& WorkFolder() const { return workFolder_; }

  // --- engine: selected files (shredder/engine/selected_files.cpp)
  void ShredClipboardList();
  void ShredCommandLineList(const std::string& commandLine);
  void ShredDroppedFiles(HDROP drop);

  // --- recycle bin (shredder/recyclebin/)
  long long CountRecycleBinItems();
  std::string GetRecycleBinFolder(const std::string& root);
  void ShredRecycleBin(bool interactive);
  bool ShredRecycleBinFolder(const std::string& folder, bool topLevel, bool interactive, long long itemTotal);

  // --- settings (shredder/settings/)
  // False (and the options disabled) when HKEY_CLASSES_ROOT cannot be written.
  bool TestRBWrite();

  // --- window and tray (shredder/app/main_dialog.cpp)
  void ArmAutoEraseTimer();
  void CaptureGeometry();
  void ShowAtGeometry();
  void HideToTray();
  const WindowGeometry& Geometry() const { return geometry_; }

  CProgressDialog& Progress() { return progress_; }
  NOTIFYICONDATAA& TrayIcon() { return tray_; }

 protected:
  BOOL OnInitDialog() override;
  bool OnCommand(int id, int code, HWND control) override;
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
  bool PreTranslateMessage(MSG& message) override;

 private:
  void AddSystemMenuEntry();
  void ReadGeometry();
  void AddTrayIcon();
  void SetUpButtons();
  void RegisterProgramPath();
  void Restore();
  void ExitSequence();
  void OpenOptions();
  void OpenAboutBox(bool guarded);
  void OpenHelp();
  void ShowTrayMenu();
  void PaintMinimisedIcon();
  void ShowErasedBalloon();
  // One item of a selected-file batch (shredder/engine/selected_files.cpp):
  // false when the batch must stop there; `erased` counts the files removed.
  bool RemoveShreddedFile(const std::string& item, int& erased);

  HICON icon_ = nullptr;
  HWND tooltip_ = nullptr;
  CProgressDialog progress_;
  int aboutGuard_ = 1;
  NOTIFYICONDATAA tray_{};
  UINT taskbarCreated_ = 0;  // the shell's broadcast after it restarts
  WindowGeometry geometry_;
  std::string workFolder_;
  bool busy_ = false;
  int unwipedFiles_ = 0;  // files of the current erase that could not be wiped
  std::array<wf::GdiObject, 5> buttonPictures_;
  wf::GdiObject disabledOptionPicture_;
};

// Opens the product web page in the browser; needs no window.
void OpenWebPage();
