#include "common/tray_win.h"

namespace vardo {

bool TrayIcon::Add(HWND owner, UINT id, UINT callback_message, HICON icon, const wchar_t* tip) {
  Remove();
  data_ = NOTIFYICONDATAW{};
  data_.cbSize = sizeof(data_);
  data_.hWnd = owner;
  data_.uID = id;
  data_.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  data_.uCallbackMessage = callback_message;
  data_.hIcon = icon;
  if (tip) lstrcpynW(data_.szTip, tip, ARRAYSIZE(data_.szTip));
  added_once_ = true;
  shown_ = Shell_NotifyIconW(NIM_ADD, &data_) != FALSE;
  return shown_;
}

bool TrayIcon::Restore() {
  if (!added_once_) return false;
  shown_ = Shell_NotifyIconW(NIM_ADD, &data_) != FALSE;
  return shown_;
}

void TrayIcon::Remove() {
  if (!added_once_) return;
  Shell_NotifyIconW(NIM_DELETE, &data_);
  shown_ = false;
  added_once_ = false;
}

}  // namespace vardo
