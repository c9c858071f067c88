// One window pattern: the static procedure stores `this` at creation and
// forwards every message to the object's HandleMessage.
#pragma once
#include <windows.h>

namespace vardo {

class Window {
 public:
  Window() = default;
  virtual ~Window();
  Window(const Window&) = delete;
  Window& operator=(const Window&) = delete;

  HWND hwnd() const { return hwnd_; }

  // Registers a window class whose procedure forwards to Window objects.
  static bool RegisterClass(const wchar_t* class_name, UINT style = 0, HCURSOR cursor = nullptr,
                            HBRUSH background = nullptr, HICON icon = nullptr, HICON small_icon = nullptr);

 protected:
  bool Create(DWORD ex_style, const wchar_t* class_name, const wchar_t* title, DWORD style, int x, int y,
              int width, int height, HWND parent = nullptr, HMENU menu = nullptr);
  // Destroys the window (if any) without deleting the object.
  void Destroy();
  // The default handling. WM_PAINT runs BeginPaint and EndPaint around
  // OnPaint, so a window that paints itself only overrides OnPaint.
  virtual LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp);
  // Paints the part `update` of the client area (nothing by default).
  virtual void OnPaint(HDC dc, const RECT& update);
  // Called after WM_NCDESTROY, when hwnd() is already null.
  virtual void OnDestroyed() {}

 private:
  static LRESULT CALLBACK StaticProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp);
  HWND hwnd_ = nullptr;
};

// Turns a window's left press and release into a click, as buttons do: the
// press captures the pointer, and a release inside the window after it is a
// click. A lost capture forgets the press.
class ClickTracker {
 public:
  // Feed it WM_LBUTTONDOWN, WM_LBUTTONUP and WM_CAPTURECHANGED (and, for a
  // window whose class takes double-clicks, WM_LBUTTONDBLCLK, which is the
  // second press of a quick pair); true when the message completes a click.
  bool OnMessage(HWND window, UINT msg, LPARAM lp);

 private:
  bool pressed_ = false;
};

// Forwards the messages of a child control (a subclassed system control or a
// plain child) to a callback object, keeping the control's own procedure.
class ControlHook {
 public:
  virtual ~ControlHook();
  bool Attach(HWND control);
  void Detach();
  HWND control() const { return control_; }

 protected:
  // Return true when the message was handled; *result is then returned.
  virtual bool OnControlMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT* result) = 0;
  // The control's own handling of a message, for a hook that adds to it.
  LRESULT CallPrevious(UINT msg, WPARAM wp, LPARAM lp);

 private:
  static LRESULT CALLBACK HookProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp);
  HWND control_ = nullptr;
};

}  // namespace vardo
