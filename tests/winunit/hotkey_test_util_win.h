// Helpers of the hotkey's in-process tests: a host window, key presses with
// a matching keyboard state, and a watcher that answers message boxes.
#pragma once
#include <windows.h>

#include <atomic>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace hotkey_test {

inline void Pump() {
  MSG m;
  while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&m);
    DispatchMessageW(&m);
  }
}

// A plain top-level window to host the control.
inline HWND MakeHost() {
  static bool registered = false;
  if (!registered) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"HotKeyTestHost";
    RegisterClassW(&wc);
    registered = true;
  }
  return CreateWindowExW(0, L"HotKeyTestHost", L"host", WS_OVERLAPPEDWINDOW, 0, 0, 400, 200, nullptr, nullptr,
                         GetModuleHandleW(nullptr), nullptr);
}

// Sets the thread's keyboard state so that exactly `held` keys are down.
inline void HoldKeys(const std::vector<int>& held) {
  BYTE keys[256] = {};
  for (int vk : held) {
    keys[vk] = 0x80;
    if (vk == VK_SHIFT) keys[VK_LSHIFT] = 0x80;
    if (vk == VK_CONTROL) keys[VK_LCONTROL] = 0x80;
    if (vk == VK_MENU) keys[VK_LMENU] = 0x80;
  }
  SetKeyboardState(keys);
}

// Key-down of `vk` while `held` (including vk itself, when a modifier) are
// down, as the box would receive it.
inline void Down(HWND box, int vk, const std::vector<int>& held = {}) {
  HoldKeys(held);
  bool alt = false;
  for (int h : held) alt = alt || h == VK_MENU;
  SendMessageW(box, alt ? WM_SYSKEYDOWN : WM_KEYDOWN, static_cast<WPARAM>(vk), 1);
}

inline void Up(HWND box, int vk, const std::vector<int>& held = {}) {
  HoldKeys(held);
  SendMessageW(box, WM_KEYUP, static_cast<WPARAM>(vk), static_cast<LPARAM>(0xC0000001u));
}

inline std::wstring BoxText(HWND box) {
  wchar_t buf[512] = {};
  GetWindowTextW(box, buf, 512);
  return buf;
}

// Watches this process for message boxes titled "错误": records the text of
// each and dismisses it with OK.
class ErrorBoxWatcher {
 public:
  ErrorBoxWatcher() : thread_([this] { Run(); }) {}
  ~ErrorBoxWatcher() {
    stop_ = true;
    thread_.join();
  }
  std::vector<std::wstring> Texts() {
    std::lock_guard<std::mutex> lock(mutex_);
    return texts_;
  }

 private:
  struct Found {
    HWND dlg = nullptr;
  };
  static BOOL CALLBACK FindDialog(HWND w, LPARAM lp) {
    DWORD pid = 0;
    GetWindowThreadProcessId(w, &pid);
    wchar_t cls[64] = {}, title[64] = {};
    GetClassNameW(w, cls, 64);
    GetWindowTextW(w, title, 64);
    if (pid == GetCurrentProcessId() && IsWindowVisible(w) && std::wstring(cls) == L"#32770" &&
        std::wstring(title) == L"错误") {
      reinterpret_cast<Found*>(lp)->dlg = w;
      return FALSE;
    }
    return TRUE;
  }
  static BOOL CALLBACK LongestStatic(HWND w, LPARAM lp) {
    wchar_t cls[64] = {};
    GetClassNameW(w, cls, 64);
    if (_wcsicmp(cls, L"Static") == 0) {
      wchar_t text[256] = {};
      SendMessageW(w, WM_GETTEXT, 256, reinterpret_cast<LPARAM>(text));
      auto* best = reinterpret_cast<std::wstring*>(lp);
      if (wcslen(text) > best->size()) *best = text;
    }
    return TRUE;
  }
  void Run() {
    while (!stop_) {
      Found f;
      EnumWindows(FindDialog, reinterpret_cast<LPARAM>(&f));
      if (f.dlg) {
        std::wstring text;
        EnumChildWindows(f.dlg, LongestStatic, reinterpret_cast<LPARAM>(&text));
        {
          std::lock_guard<std::mutex> lock(mutex_);
          texts_.push_back(text);
        }
        PostMessageW(f.dlg, WM_COMMAND, IDOK, 0);
        for (int i = 0; i < 200 && IsWindow(f.dlg); ++i) Sleep(5);
      }
      Sleep(20);
    }
  }
  std::atomic<bool> stop_{false};
  std::mutex mutex_;
  std::vector<std::wstring> texts_;
  std::thread thread_;
};

}  // namespace hotkey_test
