#include "colorpick/app_win.h"

#include "colorpick/menus_win.h"

namespace vardo::colorpick {

namespace {
constexpr wchar_t kAppClass[] = L"kestil.colorForm2";
constexpr UINT kTrayMessage = WM_APP + 1;
constexpr UINT kTrayId = 1;
// "开始" waits for its menu to leave the screen before freezing it.
constexpr UINT_PTR kStartTimer = 1;
constexpr UINT kStartDelayMs = 250;
}  // namespace

KestilApp::~KestilApp() {
  tray_.Remove();
  picker_.reset();
  Destroy();
}

bool KestilApp::Start() {
  HINSTANCE inst = GetModuleHandleW(nullptr);
  icon_.reset(static_cast<HICON>(LoadImageW(inst, MAKEINTRESOURCEW(1), IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                                            GetSystemMetrics(SM_CYSMICON), LR_DEFAULTCOLOR)));
  if (!icon_) icon_.reset(CopyIcon(LoadIconW(nullptr, IDI_APPLICATION)));
  Window::RegisterClass(kAppClass, 0, nullptr, nullptr, icon_.get(), icon_.get());
  // A hidden top-level window (not message-only): the icon's menu needs a
  // window that can be brought to the foreground.
  if (!Window::Create(WS_EX_TOOLWINDOW, kAppClass, L"kestil.menu", WS_POPUP, 0, 0, 0, 0)) return false;
  callout_menu_ = BuildCalloutMenu();
  tray_menu_ = BuildTrayMenu();
  taskbar_created_ = RegisterWindowMessageW(L"TaskbarCreated");
  picker_ = std::make_unique<PickerWindow>(static_cast<PickerHost&>(*this));
  return picker_->Open();
}

void KestilApp::ScreenFrozen() {
  // The icon appears once the screen is copied (so it is not in the
  // picture) and before the picker shows (so the picker ends up in front
  // with the keyboard).
  if (!tray_.shown()) tray_.Add(hwnd(), kTrayId, kTrayMessage, icon_.get(), L"kestil");
}

void KestilApp::StartPicking() {
  if (picker_ && picker_->IsOpen()) {
    picker_->BringForward();
    return;
  }
  picker_ = std::make_unique<PickerWindow>(static_cast<PickerHost&>(*this));
  picker_->Open();
}

void KestilApp::ExitProgram() {
  tray_.Remove();
  if (picker_) picker_->Close();
  PostQuitMessage(0);
}

void KestilApp::OnTrayCallback(LPARAM lp) {
  if (!IsTrayMenuTrigger(lp)) return;
  SetForegroundWindow(hwnd());
  switch (TrackMenuAtCursor(tray_menu_.get(), hwnd())) {
    case kCmdStart:
      if (picker_ && picker_->IsOpen()) StartPicking();
      else SetTimer(hwnd(), kStartTimer, kStartDelayMs, nullptr);
      break;
    case kCmdQuit:
      ExitProgram();
      break;
    default:
      break;
  }
}

LRESULT KestilApp::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == kTrayMessage) {
    OnTrayCallback(lp);
    return 0;
  }
  if (msg == WM_TIMER && wp == kStartTimer) {
    KillTimer(hwnd(), kStartTimer);
    StartPicking();
    return 0;
  }
  if (taskbar_created_ && msg == taskbar_created_) {
    tray_.Restore();
    return 0;
  }
  if (msg == WM_ENDSESSION && wp) tray_.Remove();
  if (msg == WM_CLOSE) {
    // Asked to close from outside (task managers, the session): end as
    // "退出" does, leaving no icon behind.
    ExitProgram();
    return 0;
  }
  return Window::HandleMessage(msg, wp, lp);
}

}  // namespace vardo::colorpick
