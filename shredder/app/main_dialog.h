// The main tool window: its set-up and the routing of the command line, its
// buttons, menus, tray icon and timer, and the exit sequence. The work itself
// (erases, batches, wiping) is done by the engine and the recycle bin, which
// get what they need from WorkContext().
#pragma once

#include <windows.h>
// after windows.h, which it needs
#include <shellapi.h>

#include <array>
#include <string>
#include <vector>

#include "shredder/app/placement.h"
#include "shredder/app/tray_icon.h"
#include "shredder/engine/erase_turn.h"
#include "shredder/engine/progress_dialog.h"
#include "shredder/engine/work_context.h"
#include "winframe/dialog.h"
#include "winframe/handles.h"

class CMainDialog : public wf::Dialog {
 public:
  CMainDialog();

  // What the operations get from the window: itself as the owner of their
  // message boxes, the pass count read now, the progress window, the work
  // folder, the busy flag and the stop signal.
  engine::WorkContext WorkContext();
  bool IsBusy() const { return busy_.IsBusy(); }

  // The operations the window starts.
  // Where the recycle bin's erase makes the work folder, in the order tried
  // (engine::CreateWorkFolder); the program's folder until told otherwise.
  void SetWorkFolderParents(std::vector<std::wstring> parents) { workFolderParents_ = std::move(parents); }
  void CreateWorkFolder();
  const std::wstring& WorkFolder() const { return workFolder_; }
  void ShredClipboardList();
  void ShredCommandLineList(const std::wstring& commandLine);
  void ShredDroppedFiles(HDROP drop);
  void ShredRecycleBin(bool interactive, engine::WhenTaken whenTaken = engine::WhenTaken::Wait);
  // The free-space erase of one drive ("D:\"), and the drive list before it.
  void EraseFreeSpace(const std::wstring& root);
  void ChooseDriveForFreeSpace();
  // False (and the options disabled) when HKEY_CLASSES_ROOT cannot be written.
  bool TestRBWrite();

  void ArmAutoEraseTimer();
  void CaptureGeometry();
  void ShowAtGeometry();
  void HideToTray();
  const app::WindowGeometry& Geometry() const { return geometry_; }

  CProgressDialog& Progress() { return progress_; }
  const NOTIFYICONDATAW& TrayIcon() const { return tray_.Record(); }

 protected:
  BOOL OnInitDialog() override;
  bool OnCommand(int id, int code, HWND control) override;
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
  bool PreTranslateMessage(MSG& message) override;

 private:
  void AddSystemMenuEntry();
  void SetUpButtons();
  void RegisterProgramPath();
  void Restore();
  void ExitSequence();
  void OpenOptions();
  void OpenAboutBox(bool guarded);
  void OpenHelp();
  void PaintMinimisedIcon();

  wf::IconHandle icon_;
  HWND tooltip_ = nullptr;
  CProgressDialog progress_;
  CProgressDialog freeSpaceProgress_;
  int aboutGuard_ = 1;
  bool choosingDrive_ = false;
  app::TrayIcon tray_;
  app::WindowGeometry geometry_;
  std::vector<std::wstring> workFolderParents_;
  std::wstring workFolder_;
  engine::BusyFlag busy_;
  engine::StopSignal stop_;
  std::array<wf::GdiObject, 5> buttonPictures_;
  wf::GdiObject disabledOptionPicture_;
};

// Opens the product web page in the browser; needs no window.
void OpenWebPage();
