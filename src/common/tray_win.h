// One icon in the notification area whose button releases open a menu.
#pragma once
#include <windows.h>
#include <shellapi.h>

namespace vardo {

class TrayIcon {
 public:
  TrayIcon() = default;
  ~TrayIcon() { Remove(); }
  TrayIcon(const TrayIcon&) = delete;
  TrayIcon& operator=(const TrayIcon&) = delete;

  // Adds the icon; its mouse messages arrive at `owner` as `callback_message`
  // with the mouse message number in the low word of lParam. The same
  // record is kept for Remove, so window and identifier always match.
  bool Add(HWND owner, UINT id, UINT callback_message, HICON icon, const wchar_t* tip);
  // Adds the kept record again (after the notification area restarted).
  bool Restore();
  void Remove();
  bool shown() const { return shown_; }

 private:
  NOTIFYICONDATAW data_{};
  bool added_once_ = false;
  bool shown_ = false;
};

// Whether a callback should open the menu: button releases only, so a
// press, a move or a double click does nothing.
inline bool IsTrayMenuTrigger(LPARAM lp) {
  const UINT m = LOWORD(lp);
  return m == WM_LBUTTONUP || m == WM_RBUTTONUP;
}

}  // namespace vardo
