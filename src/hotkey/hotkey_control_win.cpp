#include "hotkey/hotkey_control_win.h"

#include <imm.h>
#include <windowsx.h>

#include <utility>

#include "common/dpi_win.h"
#include "common/process_win.h"
#include "hotkey/settings_store_win.h"
#include "hotkey/stored_value.h"

namespace vardo::hotkey {

namespace {

constexpr wchar_t kMsgWndClass[] = L"VardoHotKeyMsgWnd";
constexpr int kHotKeyId = 1;
constexpr wchar_t kSection[] = L"hotkey";

// The keyboard layout's own name for a key, from its scan code without the
// extended-key bit (keys sharing a scan code with the keypad get the keypad
// key's name).
std::string KeyNameOf(int virtual_key) {
  UINT scan = MapVirtualKeyW(static_cast<UINT>(virtual_key), MAPVK_VK_TO_VSC);
  wchar_t buf[kProfileBufferChars] = {};
  int n = GetKeyNameTextW(static_cast<LONG>(scan << 16), buf, kProfileBufferChars);
  return n > 0 ? Narrow(std::wstring(buf, static_cast<size_t>(n))) : std::string();
}

int ShiftState() {
  int s = 0;
  if (GetKeyState(VK_SHIFT) < 0) s |= kShiftState;
  if (GetKeyState(VK_CONTROL) < 0) s |= kCtrlState;
  if (GetKeyState(VK_MENU) < 0) s |= kAltState;
  return s;
}

}  // namespace

bool HotKey::MessageWindow::Create(HotKey* owner) {
  owner_ = owner;
  if (!Window::RegisterClass(kMsgWndClass)) return false;
  return Window::Create(0, kMsgWndClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE);
}

LRESULT HotKey::MessageWindow::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_HOTKEY) {
    // Every hotkey of this window means the same thing: the control's own.
    if (owner_) owner_->RaiseEvents();
    return 0;
  }
  return Window::HandleMessage(msg, wp, lp);
}

HotKey::HotKey(std::wstring instance_name, HotKeyStoreOptions options)
    : name_(std::move(instance_name)), options_(std::move(options)) {}

HotKey::~HotKey() {
  Terminate();
  if (box_ && IsWindow(box_)) DestroyWindow(box_);
  box_ = nullptr;
}

PropertyError HotKey::SetINIFileName(const std::wstring& file_name) {
  if (created_) return PropertyError::kSetNotPermittedAtRunTime;
  options_.ini_file_name = file_name;
  return PropertyError::kNone;
}

PropertyError HotKey::SetSettingLocation(int location) {
  if (created_) return PropertyError::kSetNotPermittedAtRunTime;
  options_.setting_location = location;
  return PropertyError::kNone;
}

PropertyError HotKey::SetRegKeyName(const std::wstring& reg_key_name) {
  if (created_) return PropertyError::kSetNotPermittedAtRunTime;
  options_.reg_key_name = reg_key_name;
  return PropertyError::kNone;
}

bool HotKey::Create(HWND parent, int x, int y, int width, int height, int control_id) {
  if (created_) return box_ != nullptr;
  box_ = CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", L"NULL", WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL,
                         x, y, width, height, parent,
                         reinterpret_cast<HMENU>(static_cast<INT_PTR>(control_id)), GetModuleHandleW(nullptr),
                         nullptr);
  if (!box_) return false;
  created_ = true;
  SetDpi(DpiOf(box_));
  // The box takes key presses, not text: no input method composes into it.
  ImmAssociateContextEx(box_, nullptr, 0);

  msg_wnd_.Create(this);
  Attach(box_);
  LoadSettings();
  return true;
}

void HotKey::Terminate() {
  if (enabled_ && MsgWnd()) UnregisterHotKey(MsgWnd(), kHotKeyId);
  enabled_ = false;
  Detach();
  msg_wnd_.Destroy();
}

void HotKey::LoadSettings() {
  // The INI path is set even when the registry holds the hotkey: the host's
  // own values (the "check" section) always go to the INI file.
  SetINIPath(options_.ini_file_name);
  ini_path_ = IniPath();
  std::wstring text = ReadValue(name_ + L"Text", L"NULL");
  // The codes as stored, whatever the text says: a value with a flag the
  // text does not show (MOD_NOREPEAT) is still registered with that flag,
  // never as the bare key.
  int key_code = ParseStoredNumber(Narrow(ReadValue(name_ + L"KeyCode", L"0")));
  int mod_key_code = ParseStoredNumber(Narrow(ReadValue(name_ + L"ModKeyCode", L"0")));
  capture_.Set(Narrow(text), key_code, mod_key_code);
  ShowCapture();
}

std::wstring HotKey::ReadValue(const std::wstring& key, const std::wstring& default_value) const {
  if (options_.setting_location != 0)
    return ReadRegistrySetting(options_.reg_key_name, kSection, key, default_value);
  std::wstring keep = IniPath();
  SetINIPathFull(ini_path_);
  std::wstring v = ReadINI(kSection, key, default_value);
  SetINIPathFull(keep);
  return v;
}

bool HotKey::WriteValue(const std::wstring& key, const std::wstring& value) const {
  if (options_.setting_location != 0) return WriteRegistrySetting(options_.reg_key_name, kSection, key, value);
  // This control's own file, even when another control set the shared path.
  std::wstring keep = IniPath();
  SetINIPathFull(ini_path_);
  const bool ok = WriteINI(kSection, key, value);
  SetINIPathFull(keep);
  return ok;
}

bool HotKey::SaveSettings() {
  if (!created_) return false;
  bool ok = WriteValue(name_ + L"Text", Text());
  ok = WriteValue(name_ + L"KeyCode", std::to_wstring(KeyCode())) && ok;
  ok = WriteValue(name_ + L"ModKeyCode", std::to_wstring(ModKeyCode())) && ok;
  return ok;
}

std::wstring HotKey::Text() const { return Widen(capture_.text()); }

void HotKey::RaiseEvents() {
  if (HotKeyPressed) HotKeyPressed();
}

void HotKey::ShowError(const wchar_t* text) const {
  HWND owner = box_ ? GetAncestor(box_, GA_ROOT) : nullptr;
  MessageBoxW(owner, text, L"错误", MB_OK | MB_ICONERROR);
}

void HotKey::SetHotKeyEnabled(bool enabled) {
  if (enabled == enabled_) return;
  if (!enabled) {
    UnregisterHotKey(MsgWnd(), kHotKeyId);
    enabled_ = false;
    return;
  }
  if (KeyCode() == 0) {
    ShowError(L"请设置热键");
    return;
  }
  // Without its own window the registration would go to the thread and never
  // reach this control: refuse it like any other failure.
  if (MsgWnd() && RegisterHotKey(MsgWnd(), kHotKeyId, static_cast<UINT>(ModKeyCode()), static_cast<UINT>(KeyCode()))) {
    enabled_ = true;
    return;
  }
  ShowError(L"热键正在使用");
  capture_.Clear();
  ShowCapture();
}

bool HotKey::Enabled() const { return box_ && IsWindowEnabled(box_); }

void HotKey::SetEnabled(bool enabled) {
  if (box_) EnableWindow(box_, enabled);
}

void HotKey::Move(int x, int y, int width, int height) {
  if (box_) MoveWindow(box_, x, y, width, height, TRUE);
}

void HotKey::SetDpi(int dpi) {
  if (!box_) return;
  if (font_ && dpi == font_dpi_) {
    // The window around the box may have given it its own font meanwhile.
    if (reinterpret_cast<HFONT>(SendMessageW(box_, WM_GETFONT, 0, 0)) != font_.get())
      SendMessageW(box_, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), TRUE);
    return;
  }
  UniqueFont font(CreatePointFont(L"Arial", 9, dpi));
  if (!font) return;
  SendMessageW(box_, WM_SETFONT, reinterpret_cast<WPARAM>(font.get()), TRUE);
  font_ = std::move(font);  // the old font is released only after the box let go of it
  font_dpi_ = dpi;
}

void HotKey::ShowCapture() {
  if (!box_) return;
  std::wstring text = Text();
  SetWindowTextW(box_, text.c_str());
  int end = GetWindowTextLengthW(box_);
  SendMessageW(box_, EM_SETSEL, static_cast<WPARAM>(end), static_cast<LPARAM>(end));
}

void HotKey::txtHotKey_KeyDown(int key, int shift) {
  if (KeyCapture::Ignores(key)) return;
  if (KeyDown) KeyDown(key, shift);
  capture_.KeyDown(key, shift, KeyNameOf);
  // Editing the combination always leaves it unregistered.
  if (enabled_) SetHotKeyEnabled(false);
  ShowCapture();
}

void HotKey::txtHotKey_KeyUp(int key, int shift) {
  capture_.KeyUp(key);
  ShowCapture();
  if (KeyUp) KeyUp(key, shift);
}

void HotKey::RaiseMouse(const std::function<void(int, int, float, float)>& event, int button, WPARAM wp,
                        LPARAM lp) {
  if (!event) return;
  int shift = 0;
  if (wp & MK_SHIFT) shift |= kShiftState;
  if (wp & MK_CONTROL) shift |= kCtrlState;
  if (GetKeyState(VK_MENU) < 0) shift |= kAltState;
  if (button < 0) {  // a move: the buttons held
    button = 0;
    if (wp & MK_LBUTTON) button |= 1;
    if (wp & MK_RBUTTON) button |= 2;
    if (wp & MK_MBUTTON) button |= 4;
  }
  event(button, shift, static_cast<float>(GET_X_LPARAM(lp)), static_cast<float>(GET_Y_LPARAM(lp)));
}

bool HotKey::OnControlMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT* result) {
  switch (msg) {
    case WM_GETDLGCODE: {
      // Enter and Esc, with or without modifiers, are keys to capture, not
      // the host window's default and cancel buttons. Tab is left to the
      // window's keyboard navigation.
      *result = CallPrevious(msg, wp, lp);
      const MSG* m = reinterpret_cast<const MSG*>(lp);
      if (m && (m->message == WM_KEYDOWN || m->message == WM_SYSKEYDOWN) &&
          (m->wParam == VK_RETURN || m->wParam == VK_ESCAPE))
        *result |= DLGC_WANTMESSAGE;
      return true;
    }
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
      // The box's own key handling (Shift+Insert pastes, Delete edits, Alt
      // opens the window menu) never runs: the key is the value.
      txtHotKey_KeyDown(static_cast<int>(wp), ShiftState());
      *result = 0;
      return true;
    case WM_KEYUP:
    case WM_SYSKEYUP:
      txtHotKey_KeyUp(static_cast<int>(wp), ShiftState());
      *result = 0;
      return true;
    case WM_CHAR:
    case WM_SYSCHAR:
    case WM_IME_CHAR:
    case WM_PASTE:
    case WM_CUT:
    case WM_CLEAR:
    case WM_UNDO:
    case WM_CONTEXTMENU:
      // Typed characters, clipboard edits and the context menu never change
      // the text.
      *result = 0;
      return true;
    case WM_KILLFOCUS:
      // Alt+Tab, Shift+Tab, a click elsewhere with Ctrl held: the release
      // reaches another window. The box shows what that release would have
      // left, and the host hears of it as of a release.
      if (capture_.FocusLost()) {
        ShowCapture();
        int key = 0, shift = 0;
        if (KeyUp) KeyUp(key, shift);
      }
      return false;
    case WM_LBUTTONDOWN:
      left_down_ = true;
      RaiseMouse(MouseDown, 1, wp, lp);
      return false;
    case WM_RBUTTONDOWN:
      RaiseMouse(MouseDown, 2, wp, lp);
      return false;
    case WM_MBUTTONDOWN:
      RaiseMouse(MouseDown, 4, wp, lp);
      return false;
    case WM_MOUSEMOVE:
      RaiseMouse(MouseMove, -1, wp, lp);
      return false;
    case WM_LBUTTONUP: {
      bool clicked = left_down_;
      left_down_ = false;
      RaiseMouse(MouseUp, 1, wp, lp);
      if (clicked && Click) Click();
      return false;
    }
    case WM_RBUTTONUP:
      RaiseMouse(MouseUp, 2, wp, lp);
      return false;
    case WM_MBUTTONUP:
      RaiseMouse(MouseUp, 4, wp, lp);
      return false;
    case WM_LBUTTONDBLCLK:
      if (DblClick) DblClick();
      return false;
    default:
      return false;
  }
}

}  // namespace vardo::hotkey
