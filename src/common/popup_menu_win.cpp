#include "common/popup_menu_win.h"

namespace vardo {

UINT TrackMenuAtCursor(HMENU menu, HWND owner) {
  POINT pt{};
  GetCursorPos(&pt);
  UINT cmd = static_cast<UINT>(TrackPopupMenu(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_NONOTIFY | TPM_LEFTALIGN,
                                              pt.x, pt.y, 0, owner, nullptr));
  // Lets the menu close properly when the owner was brought forward for it.
  PostMessageW(owner, WM_NULL, 0, 0);
  return cmd;
}

}  // namespace vardo
