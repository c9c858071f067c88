#include "shell/settings_win.h"

#include "common/dpi_win.h"
#include "common/drag_win.h"
#include "common/process_win.h"
#include "hotkey/settings_store_win.h"
#include "pinned/pin_layer_win.h"
#include "shell/capture_request_win.h"

namespace vardo {

namespace {

// A capture request put off until a menu loop has ended.
constexpr UINT kMsgCaptureRequest = WM_APP + 40;

constexpr wchar_t kClassName[] = L"VardoSettings";
constexpr COLORREF kOutlineColour = RGB(0, 192, 192);

int ControlIdOf(shell::SettingsControl c) {
  switch (c) {
    case shell::SettingsControl::chkCheck1:
      return SettingsWindow::kChkCheck1;
    case shell::SettingsControl::Command1:
      return SettingsWindow::kCommand1;
    case shell::SettingsControl::Command2:
      return SettingsWindow::kCommand2;
    case shell::SettingsControl::Command3:
      return SettingsWindow::kCommand3;
    case shell::SettingsControl::Label1:
      return SettingsWindow::kLabel1;
    case shell::SettingsControl::HotKey1:
      return SettingsWindow::kHotKey1;
  }
  return 0;
}

}  // namespace

SettingsWindow& sett() {
  static SettingsWindow window;
  return window;
}

bool SettingsWindow::CreateWindowOnce() {
  if (hwnd()) return true;
  HINSTANCE inst = GetModuleHandleW(nullptr);
  auto class_icon = static_cast<HICON>(LoadImageW(inst, MAKEINTRESOURCEW(1), IMAGE_ICON, 0, 0,
                                                  LR_DEFAULTSIZE | LR_SHARED));
  auto class_small = static_cast<HICON>(LoadImageW(inst, MAKEINTRESOURCEW(1), IMAGE_ICON,
                                                   GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON),
                                                   LR_SHARED));
  if (!RegisterClass(kClassName, 0, nullptr, GetSysColorBrush(COLOR_BTNFACE), class_icon, class_small))
    return false;
  dpi_ = ScreenDpi();
  shell::Box client = shell::ScaleBox({0, 0, shell::kSettingsClientWidth, shell::kSettingsClientHeight}, dpi_);
  shell::Box at = shell::CentreOnScreen(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN),
                                        client.width, client.height);
  // Borderless: the window is exactly its client area. The minimise box
  // lets the taskbar minimise it, which hides it.
  if (!Create(WS_EX_CONTROLPARENT, kClassName, L"Form1", WS_POPUP | WS_CLIPCHILDREN | WS_SYSMENU | WS_MINIMIZEBOX,
              at.left, at.top, at.width, at.height))
    return false;
  int dpi = DpiOf(hwnd());
  if (dpi != dpi_) {
    dpi_ = dpi;
    client = shell::ScaleBox({0, 0, shell::kSettingsClientWidth, shell::kSettingsClientHeight}, dpi_);
    at = shell::CentreOnScreen(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), client.width,
                               client.height);
    SetWindowPos(hwnd(), nullptr, at.left, at.top, at.width, at.height, SWP_NOZORDER | SWP_NOACTIVATE);
  }
  CreateControls();
  ApplyLayout(dpi_);
  return true;
}

void SettingsWindow::ShowCentred() {
  if (!CreateWindowOnce()) return;
  RECT r{};
  GetWindowRect(hwnd(), &r);
  shell::Box at = shell::CentreOnScreen(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN),
                                        r.right - r.left, r.bottom - r.top);
  // Made there already at the first show: moving it again only costs time.
  if (at.left != r.left || at.top != r.top)
    SetWindowPos(hwnd(), nullptr, at.left, at.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  ShowWindow(hwnd(), SW_SHOWNORMAL);
  UpdateWindow(hwnd());
}

void SettingsWindow::CreateControls() {
  for (const shell::ControlSpec& entry : shell::SettingsControls()) {
    HWND c = entry.kind == shell::ControlKind::HotKeyEntry ? CreateHotKey1Slot(entry.at96) : CreateControl(entry);
    switch (entry.id) {
      case shell::SettingsControl::chkCheck1:
        chk_check1_ = c;
        chk_check1_release_.Attach(c, [this] { chkCheck1_MouseUp(); });
        break;
      case shell::SettingsControl::Command1:
        command1_ = c;
        break;
      case shell::SettingsControl::Command2:
        command2_ = c;
        break;
      case shell::SettingsControl::Command3:
        command3_ = c;
        break;
      case shell::SettingsControl::Label1:
        label1_ = c;
        break;
      case shell::SettingsControl::HotKey1:
        hotkey1_ = c;
        break;
    }
  }
}

HWND SettingsWindow::CreateControl(const shell::ControlSpec& entry) {
  const wchar_t* cls = L"BUTTON";
  DWORD style = WS_CHILD | WS_VISIBLE;
  switch (entry.kind) {
    case shell::ControlKind::CheckBox:
      style |= BS_AUTOCHECKBOX | WS_TABSTOP;
      break;
    case shell::ControlKind::Button:
      // The default-hotkey caption is longer than its button is wide.
      style |= BS_PUSHBUTTON | BS_MULTILINE | WS_TABSTOP;
      break;
    case shell::ControlKind::Label:
      cls = L"STATIC";
      style |= SS_LEFT;
      break;
    case shell::ControlKind::HotKeyEntry:
      break;
  }
  std::wstring caption = Widen(std::string(entry.caption));
  shell::Box b = shell::ScaleBox(entry.at96, dpi_);
  return CreateWindowExW(0, cls, caption.c_str(), style, b.left, b.top, b.width, b.height, hwnd(),
                         reinterpret_cast<HMENU>(static_cast<INT_PTR>(ControlIdOf(entry.id))),
                         GetModuleHandleW(nullptr), nullptr);
}

// HotKey1 sits on Label1's row between Label1 and Command3; it loads its
// value from "set.ini" beside the program and is not registered at start.
HWND SettingsWindow::CreateHotKey1Slot(const shell::Box& at96) {
  shell::Box b = shell::ScaleBox(at96, dpi_);
  hotkey1_control_.HotKeyPressed = [this] { HotKey1_HotKeyPressed(); };
  hotkey1_control_.KeyUp = [this](int&, int&) { HotKey1_KeyUp(); };
  if (!hotkey1_control_.Create(hwnd(), b.left, b.top, b.width, b.height, kHotKey1)) return nullptr;
  return hotkey1_control_.txtHotKey();
}

void SettingsWindow::chkCheck1_MouseUp() {
  bool ticked = SendMessageW(chk_check1_, BM_GETCHECK, 0, 0) == BST_CHECKED;
  hotkey1_control_.SetHotKeyEnabled(ticked);
  // A refused registration leaves the box cleared.
  SendMessageW(chk_check1_, BM_SETCHECK, hotkey1_control_.HotKeyEnabled() ? BST_CHECKED : BST_UNCHECKED, 0);
}

void SettingsWindow::Command1_Click() {
  bool ok = hotkey1_control_.SaveSettings();
  bool ticked = SendMessageW(chk_check1_, BM_GETCHECK, 0, 0) == BST_CHECKED;
  ok = hotkey::WriteINI(L"check", L"checka", ticked ? L"1" : L"0") && ok;
  if (!ok) ShowSaveFailed();
}

void SettingsWindow::Command3_Click() {
  // Takes effect at the next start; the entry and any registration stay.
  bool ok = hotkey::WriteINI(L"hotkey", L"HotKey1Text", L"Print Screen");
  ok = hotkey::WriteINI(L"hotkey", L"HotKey1KeyCode", L"44") && ok;
  ok = hotkey::WriteINI(L"hotkey", L"HotKey1ModKeyCode", L"0") && ok;
  if (!ok) ShowSaveFailed();
}

void SettingsWindow::ShowSaveFailed() {
  // A read-only or locked file, or a folder of that name: the hotkey in
  // use stays as it is, but the next start will not find what was saved.
  const std::wstring text = L"热键设置没有保存：无法写入 \"" + hotkey::IniPath() + L"\"。";
  MessageBoxW(hwnd(), text.c_str(), L"错误", MB_OK | MB_ICONWARNING);
}

void SettingsWindow::HotKey1_HotKeyPressed() {
  // Pressed while a menu of this thread is open (the handle's, a pin's, a
  // text label's): the menu would stay active under the capture and take
  // its first keys and clicks, choosing "删除" or "退出" unseen. Close it,
  // and start the capture once its loop has ended.
  GUITHREADINFO gti{};
  gti.cbSize = sizeof(gti);
  if (GetGUIThreadInfo(GetCurrentThreadId(), &gti) && (gti.flags & GUI_INMENUMODE)) {
    EndMenu();
    PostMessageW(hwnd(), kMsgCaptureRequest, 0, 0);
    return;
  }
  CaptureRequest();
}

void SettingsWindow::HotKey1_KeyUp() {
  // A key typed into the box unregistered the combination: the box no
  // longer says it is on.
  if (!hotkey1_control_.HotKeyEnabled()) SendMessageW(chk_check1_, BM_SETCHECK, BST_UNCHECKED, 0);
}

void SettingsWindow::ApplyLayout(int dpi) {
  dpi_ = dpi;
  font_.reset(CreateMessageFont(dpi));
  outline_pen_.reset(CreatePen(PS_INSIDEFRAME, ScaleForDpi(1, dpi), kOutlineColour));
  for (const shell::ControlSpec& entry : shell::SettingsControls()) {
    HWND c = GetDlgItem(hwnd(), ControlIdOf(entry.id));
    if (!c) continue;
    shell::Box b = shell::ScaleBox(entry.at96, dpi);
    // Controls are made at their place: only a DPI change moves them.
    RECT now{};
    GetWindowRect(c, &now);
    MapWindowPoints(nullptr, hwnd(), reinterpret_cast<POINT*>(&now), 2);
    if (now.left != b.left || now.top != b.top || now.right - now.left != b.width || now.bottom - now.top != b.height)
      SetWindowPos(c, nullptr, b.left, b.top, b.width, b.height, SWP_NOZORDER | SWP_NOACTIVATE);
    SendMessageW(c, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), IsWindowVisible(hwnd()));
  }
  hotkey1_control_.SetDpi(dpi);  // the entry box keeps its own Arial 9 pt
  if (IsWindowVisible(hwnd())) InvalidateRect(hwnd(), nullptr, TRUE);
}

void SettingsWindow::Paint() {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(hwnd(), &ps);
  // Shape1: the outline along the window's edge.
  shell::Box b = shell::ScaleBox(shell::OutlineBox(), dpi_);
  SelectGuard pen(dc, outline_pen_.get());
  SelectGuard brush(dc, GetStockObject(NULL_BRUSH));
  Rectangle(dc, b.left, b.top, b.right(), b.bottom());
  EndPaint(hwnd(), &ps);
}

void SettingsWindow::Command2_Click() { ShowWindow(hwnd(), SW_HIDE); }

LRESULT SettingsWindow::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case kMsgCaptureRequest:
      CaptureRequest();
      return 0;
    case WM_PAINT:
      Paint();
      return 0;
    case WM_COMMAND:
      if (LOWORD(wp) == kCommand2 && HIWORD(wp) == BN_CLICKED) {
        Command2_Click();
        return 0;
      }
      if (LOWORD(wp) == kCommand1 && HIWORD(wp) == BN_CLICKED) {
        Command1_Click();
        return 0;
      }
      if (LOWORD(wp) == kCommand3 && HIWORD(wp) == BN_CLICKED) {
        Command3_Click();
        return 0;
      }
      break;
    // Any free spot of the borderless window drags it. The pointer is
    // tracked here rather than through the title-bar move loop, which not
    // every platform runs for a window without a caption.
    case WM_LBUTTONDOWN:
      drag_.Begin(hwnd());
      return 0;
    case WM_MOUSEMOVE:
      if (wp & MK_LBUTTON) drag_.Move();
      return 0;
    case WM_LBUTTONUP:
      drag_.End();
      return 0;
    case WM_CAPTURECHANGED:
      drag_.Cancel();
      return 0;
    case WM_SIZE:
      if (wp == SIZE_MINIMIZED) ShowWindow(hwnd(), SW_HIDE);
      return 0;
    case WM_CLOSE:
      EndProgram();
    case WM_QUERYENDSESSION:
      // Agree; the program ends when the session really ends, so a
      // cancelled log-off keeps the pinned images.
      return TRUE;
    case WM_ENDSESSION:
      if (wp) EndProgram();
      return 0;
    case WM_DPICHANGED: {
      const RECT* r = reinterpret_cast<const RECT*>(lp);
      SetWindowPos(hwnd(), nullptr, r->left, r->top, r->right - r->left, r->bottom - r->top,
                   SWP_NOZORDER | SWP_NOACTIVATE);
      ApplyLayout(HIWORD(wp));
      return 0;
    }
    default:
      break;
  }
  return Window::HandleMessage(msg, wp, lp);
}

}  // namespace vardo
