#include "shredder/app/main_dialog.h"

#include <commctrl.h>

#include "common/paths.h"
#include "common/program_contract.h"
#include "shredder/app/about_dialog.h"
#include "shredder/app/app_texts.h"
#include "shredder/app/auto_erase.h"
#include "shredder/app/command_line.h"
#include "shredder/app/saved_placement.h"
#include "shredder/app/single_instance.h"
#include "shredder/captions.h"
#include "shredder/engine/file_wipe.h"
#include "shredder/engine/selected_files.h"
#include "shredder/freespace/drive_dialog.h"
#include "shredder/freespace/fill_folder.h"
#include "shredder/freespace/free_space.h"
#include "shredder/recyclebin/recycle_bin.h"
#include "shredder/resources/resource.h"
#include "shredder/settings/option_dialog.h"
#include "shredder/settings/rb_verb.h"
#include "shredder/settings/registry.h"
#include "shredder/settings/settings_keys.h"
#include "shredder/settings/settings_store.h"
#include "winframe/app.h"
#include "winframe/module.h"
#include "winframe/prompt.h"

namespace {

struct ButtonPicture {
  int control;
  int bitmap;
  const wchar_t* tip;
};

// Pictures and tooltips, in the order they are attached.
constexpr ButtonPicture kButtonPictures[] = {
    {IDOK, IDB_ERASE, app::texts::kTipErase},          {IDC_OPTION, IDB_OPTION, app::texts::kTipOption},
    {IDCANCEL, IDB_HIDE, app::texts::kTipHide},        {IDC_WEB, IDB_WEB, app::texts::kTipWeb},
    {IDC_HELP_BUTTON, IDB_HELP, app::texts::kTipHelp},
};

HINSTANCE Instance() {
  return GetModuleHandleW(nullptr);
}

// Windows gives a program about five seconds at the session's end.
constexpr DWORD kEndSessionCleanUpMs = 4000;

}  // namespace

CMainDialog::CMainDialog()
    : wf::Dialog(IDD_MAIN),
      icon_(static_cast<HICON>(LoadImageW(Instance(), MAKEINTRESOURCEW(IDI_MAIN), IMAGE_ICON, 0, 0, LR_DEFAULTSIZE))),
      freeSpaceProgress_(IDD_FREESPACE_PROGRESS) {
  // Beside the program unless the application object chose otherwise.
  if (const std::optional<std::wstring> module = wf::ModulePath()) {
    workFolderParents_.push_back(paths::FolderWithSeparator(*module));
  }
}

engine::WorkContext CMainDialog::WorkContext() {
  engine::WorkContext work;
  work.owner = Hwnd();
  if (const wf::App* app = wf::App::Current()) work.appName = app->Name();
  work.passes = settings::ReadOptions().overWriteTimes;
  work.progress = &progress_;
  work.workFolder = workFolder_;
  work.busy = &busy_;
  work.stop = &stop_;
  // A free-space erase that died while writing leaves its fill behind, which
  // would leave the next erase no room.
  work.tidyAfterCrash = freespace::RemoveLeftoverFillFolders;
  return work;
}

void CMainDialog::CreateWorkFolder() {
  workFolder_ = engine::CreateWorkFolder(WorkContext(), workFolderParents_);
}

void CMainDialog::ShredClipboardList() {
  engine::ShredClipboardList(WorkContext());
}

void CMainDialog::ShredCommandLineList(const std::wstring& commandLine) {
  engine::ShredCommandLineList(WorkContext(), commandLine);
}

void CMainDialog::ShredDroppedFiles(HDROP drop) {
  engine::ShredDroppedFiles(WorkContext(), drop);
}

void CMainDialog::ShredRecycleBin(bool interactive, engine::WhenTaken whenTaken) {
  // Only the recycle bin's erase uses the work folder: it is made for it,
  // and goes again when the erase left it empty (a No, an empty bin).
  CreateWorkFolder();
  recyclebin::ShredRecycleBin(
      WorkContext(), interactive,
      [this](const std::wstring& title, const std::wstring& text) { tray_.ShowBalloon(title, text); }, whenTaken);
  if (const std::optional<std::wstring> folder = paths::ToExtended(workFolder_)) RemoveDirectoryW(folder->c_str());
}

void CMainDialog::EraseFreeSpace(const std::wstring& root) {
  engine::WorkContext work = WorkContext();
  work.progress = &freeSpaceProgress_;
  freespace::EraseFreeSpace(work, root, {settings::ReadFreeSpaceSpeed, settings::WriteFreeSpaceSpeed});
}

void CMainDialog::ChooseDriveForFreeSpace() {
  // Not while an erase runs, and one list at a time: the tray's menu can
  // still ask for one while it is open.
  if (busy_.IsBusy() || choosingDrive_) return;
  choosingDrive_ = true;
  CDriveDialog drives;
  const bool chosen = drives.DoModal(Hwnd()) == IDOK;
  choosingDrive_ = false;
  if (chosen) EraseFreeSpace(drives.Chosen());
}

bool CMainDialog::TestRBWrite() {
  if (settings::ProbeClassesRootWritable(Hwnd())) return true;
  // Without write access the verb cannot be toggled: the options go grey.
  disabledOptionPicture_.Reset(LoadImageW(Instance(), MAKEINTRESOURCEW(IDB_OPTION_DISABLED), IMAGE_BITMAP, 0, 0, 0));
  SendDlgItemMessageW(Hwnd(), IDC_OPTION, BM_SETIMAGE, IMAGE_BITMAP,
                      reinterpret_cast<LPARAM>(disabledOptionPicture_.Get()));
  EnableWindow(Item(IDC_OPTION), FALSE);
  EnableMenuItem(GetMenu(Hwnd()), ID_MENU_OPTION, MF_BYCOMMAND | MF_GRAYED);
  return false;
}

BOOL CMainDialog::OnInitDialog() {
  if (wf::App* app = wf::App::Current()) app->SetMainWindow(Hwnd());
  AddSystemMenuEntry();
  if (icon_) {
    SendMessageW(Hwnd(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon_.Get()));
    SendMessageW(Hwnd(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon_.Get()));
  }

  const std::wstring modulePath = wf::ModulePath().value_or(L"");

  // The wide command line: names arrive as they were written, not as the
  // ANSI code page would spell them (a look-alike may name another file).
  const wchar_t* raw = GetCommandLineW();
  const app::Route route = app::RouteCommandLine(app::CommandTail(raw), raw, modulePath);
  switch (route.mode) {
    case app::RunMode::RecycleBin:
      ShredRecycleBin(true);
      PostQuitMessage(0);
      return FALSE;
    case app::RunMode::HandOff:
      ShredClipboardList();
      PostQuitMessage(0);
      return FALSE;
    case app::RunMode::CommandLineFiles:
      ShredCommandLineList(route.tail);
      PostQuitMessage(0);
      return FALSE;
    case app::RunMode::FreeSpace:
      EraseFreeSpace(route.driveRoot);
      PostQuitMessage(0);
      return FALSE;
    case app::RunMode::CleanUp:
      freespace::CleanUpLeftovers(WorkContext());
      PostQuitMessage(0);
      return FALSE;
    case app::RunMode::Windowed:
      break;
  }

  geometry_ = app::ReadSavedGeometry(Hwnd());
  if (!ClaimSingleInstance()) {
    wf::Prompt(Hwnd(), app::texts::kAlreadyRunning, captions::kError, captions::kErrorFlags);
    if (HWND running = FindWindowW(nullptr, app::texts::kRunningWindowTitle)) {
      SetForegroundWindow(running);
      SendMessageW(running, WM_TRAYNOTIFY, 0, WM_LBUTTONDOWN);
    }
    PostQuitMessage(0);
    return FALSE;
  }
  SetWindowTextW(Hwnd(), app::texts::kRunningWindowTitle);
  tray_.Add(Hwnd(), WM_TRAYNOTIFY, IDI_TRAY, app::texts::kTrayTip);
  ShowAtGeometry();
  SetUpButtons();
  TestRBWrite();
  RegisterProgramPath();
  ArmAutoEraseTimer();
  return TRUE;
}

void CMainDialog::AddSystemMenuEntry() {
  wchar_t text[64] = {};
  LoadStringW(Instance(), IDS_ABOUTBOX, text, static_cast<int>(std::size(text)));
  HMENU systemMenu = GetSystemMenu(Hwnd(), FALSE);
  if (systemMenu && text[0] != L'\0') {
    AppendMenuW(systemMenu, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(systemMenu, MF_STRING, IDM_ABOUTBOX_SYS, text);
  }
}

void CMainDialog::SetUpButtons() {
  tooltip_ = CreateWindowExW(0, TOOLTIPS_CLASSW, nullptr, WS_POPUP, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                             CW_USEDEFAULT, Hwnd(), nullptr, Instance(), nullptr);
  for (std::size_t i = 0; i < std::size(kButtonPictures); ++i) {
    const ButtonPicture& button = kButtonPictures[i];
    buttonPictures_[i].Reset(LoadImageW(Instance(), MAKEINTRESOURCEW(button.bitmap), IMAGE_BITMAP, 0, 0, 0));
    SendDlgItemMessageW(Hwnd(), button.control, BM_SETIMAGE, IMAGE_BITMAP,
                        reinterpret_cast<LPARAM>(buttonPictures_[i].Get()));
    if (!tooltip_) continue;
    TOOLINFOW tool{};
    tool.cbSize = TTTOOLINFOW_V2_SIZE;
    tool.uFlags = TTF_IDISHWND;
    tool.hwnd = Hwnd();
    tool.uId = reinterpret_cast<UINT_PTR>(Item(button.control));
    tool.lpszText = const_cast<wchar_t*>(button.tip);
    SendMessageW(tooltip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
  }
}

void CMainDialog::RegisterProgramPath() {
  // Written at every windowed start, so the context menu finds a moved
  // installation after its next start. No owner: no window is involved.
  if (const std::optional<std::wstring> module = wf::ModulePath()) {
    settings::RegWriteString(nullptr, contract::kProgramKey, HKEY_CURRENT_USER, *module, contract::kProgramPathValue);
  }
}

void CMainDialog::ArmAutoEraseTimer() {
  const settings::OptionValues options = settings::ReadOptions();
  const app::AutoEraseTimer timer = app::DecideAutoEraseTimer(options.autoDel, options.autoDelTimer);
  if (timer.action == app::AutoEraseTimer::Action::Arm) {
    SetTimer(Hwnd(), IDT_AUTOERASE, timer.periodMs, nullptr);
  } else if (timer.action == app::AutoEraseTimer::Action::Stop) {
    KillTimer(Hwnd(), IDT_AUTOERASE);
  }
}

void CMainDialog::CaptureGeometry() {
  geometry_ = app::CurrentGeometry(Hwnd());
}

void CMainDialog::ShowAtGeometry() {
  SetWindowPos(Hwnd(), HWND_TOP, geometry_.left, geometry_.top, geometry_.width, geometry_.height, SWP_SHOWWINDOW);
}

void CMainDialog::HideToTray() {
  CaptureGeometry();
  SetWindowPos(Hwnd(), HWND_TOP, 0, 0, 0, 0, SWP_HIDEWINDOW);
}

void CMainDialog::Restore() {
  if (IsWindowVisible(Hwnd())) CaptureGeometry();
  SetForegroundWindow(Hwnd());
  ShowAtGeometry();
}

void CMainDialog::ExitSequence() {
  tray_.Remove();
  const settings::OptionValues options = settings::ReadOptions();
  if (options.delOnQuit == 1) ShredRecycleBin(options.delOnQuitMsg != 0);
  CaptureGeometry();
  app::WriteSavedGeometry(geometry_);
  KillTimer(Hwnd(), IDT_AUTOERASE);
  PostQuitMessage(0);
}

void CMainDialog::OpenOptions() {
  // Not while an erase runs: its own windows would wait behind the dialog.
  if (busy_.IsBusy()) return;
  {
    COptionDialog options;
    options.DoModal(Hwnd());
  }
  // Whatever the dialog ended with, a changed interval or switch takes
  // effect now, and a running countdown starts again.
  ArmAutoEraseTimer();
}

void CMainDialog::OpenAboutBox(bool guarded) {
  // Modal to the main window, which is disabled meanwhile; the tray's menu
  // can still ask for a box, and the guard keeps it from opening a second.
  if (busy_.IsBusy()) return;  // not while an erase runs
  CAboutDialog about;
  if (!guarded) {
    about.DoModal(Hwnd());
    return;
  }
  if (aboutGuard_ != 1) return;
  aboutGuard_ = -1;
  about.DoModal(Hwnd());
  aboutGuard_ = 1;
}

void CMainDialog::OpenHelp() {
  const std::optional<std::wstring> module = wf::ModulePath();
  if (!module) return;
  if (const std::optional<std::wstring> help =
          paths::Join(paths::FolderWithSeparator(*module), app::texts::kHelpFileName)) {
    ShellExecuteW(nullptr, nullptr, help->c_str(), nullptr, nullptr, SW_SHOWNORMAL);
  }
}

void OpenWebPage() {
  ShellExecuteW(nullptr, nullptr, app::texts::kWebPageUrl, nullptr, nullptr, SW_SHOWNORMAL);
}

bool CMainDialog::OnCommand(int id, int, HWND) {
  switch (id) {
    case IDOK:
    case ID_TRAY_ERASE:
      ShredRecycleBin(true);
      return true;
    case IDCANCEL:
      HideToTray();
      return true;
    case IDC_OPTION:
    case ID_MENU_OPTION:
      OpenOptions();
      return true;
    case ID_MENU_FREESPACE:
    case ID_TRAY_FREESPACE:
      ChooseDriveForFreeSpace();
      return true;
    case ID_MENU_ABOUT:
    case ID_TRAY_ABOUT:
      OpenAboutBox(true);
      return true;
    case IDC_HELP_BUTTON:
    case ID_MENU_HELP:
      OpenHelp();
      return true;
    case IDC_WEB:
      OpenWebPage();
      return true;
    default:
      return false;
  }
}

bool CMainDialog::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  if (tray_.ReAddIfShellRestarted(message)) {
    result = 0;
    return true;
  }
  switch (message) {
    case WM_TRAYNOTIFY:
      if (lParam == WM_LBUTTONDOWN)
        Restore();
      else if (lParam == WM_RBUTTONUP)
        tray_.ShowPopup(Hwnd());
      result = 0;
      return true;
    case WM_CLOSE:
      // Refused while an erase or a batch runs, as its other re-entries are:
      // the windows answer meanwhile, and a close would end it half done.
      if (!busy_.IsBusy()) ExitSequence();
      result = 0;
      return true;
    case WM_QUERYENDSESSION:
      // Not while an erase writes: Windows shows the reason the erase gave
      // it, and the user decides. A question, a wait or a result is no
      // reason to keep the session.
      if (!busy_.IsWriting()) return false;
      result = FALSE;
      return true;
    case WM_ENDSESSION:
      // The session ends after all: the work stops as the stop button stops
      // it, before the process is ended in the middle of a pass. A shutdown
      // that was cancelled changes nothing.
      if (busy_.IsBusy() && wParam) stop_.Request();
      // The session may end as soon as this returns: the free-space erase
      // takes its fill away first, as far as a few seconds allow (the next
      // start removes what is left).
      if (wParam) freespace::WaitForCleanUp(kEndSessionCleanUpMs);
      return false;
    case WM_SYSCOMMAND:
      if ((wParam & 0xFFF0) == IDM_ABOUTBOX_SYS) {
        OpenAboutBox(false);
        result = 0;
        return true;
      }
      return false;
    case WM_TIMER:
      // Never waits: the next tick tries again.
      if (wParam == IDT_AUTOERASE) ShredRecycleBin(false, engine::WhenTaken::Skip);
      return false;
    case WM_DROPFILES:
      ShredDroppedFiles(reinterpret_cast<HDROP>(wParam));
      DragFinish(reinterpret_cast<HDROP>(wParam));
      result = 0;
      return true;
    case WM_QUERYDRAGICON:
      result = reinterpret_cast<LRESULT>(icon_.Get());
      return true;
    case WM_PAINT:
      if (!IsIconic(Hwnd()) || !icon_) return false;
      PaintMinimisedIcon();
      result = 0;
      return true;
    default:
      return false;
  }
}

void CMainDialog::PaintMinimisedIcon() {
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(Hwnd(), &paint);
  SendMessageW(Hwnd(), WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
  RECT client{};
  GetClientRect(Hwnd(), &client);
  const int x = (client.right - client.left - GetSystemMetrics(SM_CXICON) + 1) / 2;
  const int y = (client.bottom - client.top - GetSystemMetrics(SM_CYICON) + 1) / 2;
  DrawIcon(dc, x, y, icon_.Get());
  EndPaint(Hwnd(), &paint);
}

bool CMainDialog::PreTranslateMessage(MSG& message) {
  if (message.message == WM_MOUSEMOVE && tooltip_) {
    SendMessageW(tooltip_, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&message));
  }
  return false;
}
