// Dialog base for modal and modeless dialogs from resource templates. One
// static procedure stores `this` at WM_INITDIALOG and routes everything to
// the virtual handlers below, in one place per class.
#pragma once

#include <windows.h>

namespace wf {

class Dialog {
 public:
  explicit Dialog(int templateId);
  virtual ~Dialog();
  Dialog(const Dialog&) = delete;
  Dialog& operator=(const Dialog&) = delete;

  // Runs the dialog in a modal loop of its own. The window is shown once its
  // initialisation has run, unless that ended the dialog or posted the quit
  // message. Returns the EndDialog result, or -1 when the loop was ended by
  // WM_QUIT (which is posted again for any outer loop) or creation failed.
  INT_PTR DoModal(HWND parent = nullptr);

  // Creates the dialog modeless; the template decides whether it is shown,
  // unless `hidden`, when the caller shows it itself.
  bool Create(HWND parent = nullptr, bool hidden = false);
  void Destroy();

  HWND Hwnd() const { return hwnd_; }
  HWND Item(int id) const { return GetDlgItem(hwnd_, id); }
  int TemplateId() const { return templateId_; }

  // The exit code of the last WM_QUIT that ended a modal loop.
  static int LastQuitCode() { return lastQuitCode_; }

 protected:
  virtual BOOL OnInitDialog() { return TRUE; }
  // Return true when the command was handled.
  virtual bool OnCommand(int id, int code, HWND control);
  // Sees every message first; return true and set `result` when handled.
  virtual bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
  // Sees every message of the modal loop before it is dispatched.
  virtual bool PreTranslateMessage(MSG& message);
  virtual void OnOK() { EndDialog(IDOK); }
  virtual void OnCancel() { EndDialog(IDCANCEL); }
  void EndDialog(INT_PTR result);

 private:
  static INT_PTR CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  static INT_PTR Dispatch(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

  int templateId_;
  HWND hwnd_ = nullptr;
  bool modalRunning_ = false;
  bool ended_ = false;
  INT_PTR result_ = -1;
  static int lastQuitCode_;
};

}  // namespace wf
