// End-to-end test harness: starts the real programs, waits for their
// windows, sends real input (SendInput) and observes windows, screen
// pixels, the clipboard and files, as a user or another program would.
#pragma once
#include <windows.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace e2e {

// ---- paths and files -------------------------------------------------------
// The output folder (holds Vardo.exe and apps\); the tests live in out\tests.
std::wstring OutDir();
std::wstring TestsDir();
// A fresh, empty folder under %TEMP%, removed by the destructor.
class TempDir {
 public:
  explicit TempDir(const std::wstring& tag = L"e2e");
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::wstring& path() const { return path_; }
  std::wstring operator/(const std::wstring& name) const { return path_ + L"\\" + name; }

 private:
  std::wstring path_;
};
bool FileExists(const std::wstring& path);
std::vector<uint8_t> ReadFileBytes(const std::wstring& path);
bool WriteFileBytes(const std::wstring& path, const std::vector<uint8_t>& bytes);
bool CopyFileTo(const std::wstring& from, const std::wstring& to);
std::string Utf8(const std::wstring& w);

// ---- processes ---------------------------------------------------------------
// A started program inside a kill-on-close job: it never outlives the test.
class Process {
 public:
  Process() = default;
  explicit Process(const std::wstring& exe, const std::wstring& args = L"", const std::wstring& cwd = L"");
  ~Process();
  Process(Process&& other) noexcept;
  Process& operator=(Process&& other) noexcept;
  Process(const Process&) = delete;
  Process& operator=(const Process&) = delete;

  bool started() const { return process_ != nullptr; }
  DWORD pid() const { return pid_; }
  bool Running() const;
  // Waits for the process to end; returns false on time-out.
  bool WaitExit(DWORD timeout_ms, DWORD* exit_code = nullptr);
  void Kill();

 private:
  HANDLE job_ = nullptr;
  HANDLE process_ = nullptr;
  DWORD pid_ = 0;
};

// Polls `cond` every `poll_ms` until it holds or `timeout_ms` passes.
bool WaitUntil(const std::function<bool()>& cond, DWORD timeout_ms = 5000, DWORD poll_ms = 10);
void Sleep(DWORD ms);
// Lets the target process run its message loop for a moment.
void Settle(DWORD ms = 100);

// ---- windows -----------------------------------------------------------------
struct WindowInfo {
  HWND hwnd;
  std::wstring cls;
  std::wstring title;
  RECT rect;
  bool visible;
};
std::wstring ClassOf(HWND w);
std::wstring TextOf(HWND w);  // WM_GETTEXT, works across processes
RECT RectOf(HWND w);
DWORD ProcessOf(HWND w);
std::vector<HWND> TopWindows(DWORD pid, bool visible_only = true);
std::vector<HWND> ChildWindows(HWND parent, bool visible_only = true);  // all descendants
// First top-level window of `pid` matching pred; waits up to timeout_ms.
HWND WaitForWindow(DWORD pid, const std::function<bool(HWND)>& pred, DWORD timeout_ms = 5000);
HWND WaitForTitle(DWORD pid, const std::wstring& title, DWORD timeout_ms = 5000);
HWND FindChildByText(HWND parent, const std::wstring& text);
// A message box's message: its longest text that is not a button's.
std::wstring MessageText(HWND box);
HWND FindChildByClass(HWND parent, const std::wstring& cls);
bool IsTopmost(HWND w);
// Whether a popup menu of any process is open (class "#32768").
bool MenuOpen();
// The open popup menu's window (the first one found), or null.
HWND OpenMenuWindow();
// The centre of item `i` of `count` equally high items of an open menu.
POINT MenuItemPoint(HWND menu, int i, int count);
// Chooses as a held right button does: pressed at (x, y), dragged onto item
// `i` of the `count` items of the menu that opens, released there. False
// when no menu opened or it did not close.
bool ChooseWithHeldRightButton(int x, int y, int i, int count);

// ---- input (SendInput) ---------------------------------------------------------
// Puts the pointer on (x, y). False when the SendInput move landed
// elsewhere and the pointer had to be placed there directly instead.
bool MoveTo(int x, int y);
// Buttons are pressed and released where the last MoveTo put the pointer.
void LeftDown();
void LeftUp();
void RightDown();
void RightUp();
void MiddleDown();
void MiddleUp();
void Click(int x, int y);
void RightClick(int x, int y);
void DoubleClick(int x, int y);
// Press at (x0, y0), move in `steps` steps to (x1, y1), release.
void Drag(int x0, int y0, int x1, int y1, int steps = 12, DWORD step_ms = 5);
void KeyDown(WORD vk);
void KeyUp(WORD vk);
void Tap(WORD vk);
// Presses the keys in order, then releases them in reverse order.
void Chord(const std::vector<WORD>& vks);
void TypeText(const std::wstring& text);
POINT CursorPos();

// ---- pixels --------------------------------------------------------------------
// 0x00RRGGBB pixels, top-down.
struct Image {
  int width = 0;
  int height = 0;
  std::vector<uint32_t> px;
  uint32_t at(int x, int y) const { return px[static_cast<size_t>(y) * width + x]; }
  bool empty() const { return px.empty(); }
};
inline int R(uint32_t c) { return (c >> 16) & 0xFF; }
inline int G(uint32_t c) { return (c >> 8) & 0xFF; }
inline int B(uint32_t c) { return c & 0xFF; }
inline uint32_t Rgb(int r, int g, int b) { return (uint32_t(r) << 16) | (uint32_t(g) << 8) | uint32_t(b); }
// Largest per-channel difference.
int ColourDistance(uint32_t a, uint32_t b);
SIZE ScreenSize();
Image CaptureScreen();
Image CaptureRect(int x, int y, int w, int h);
Image ImageFromBitmap(HBITMAP bmp);
// Decodes an image file with GDI+ (PNG, JPEG, GIF, BMP, TIFF).
std::optional<Image> DecodeImageFile(const std::wstring& path);
// Writes a PNG with GDI+ (for test input files).
bool EncodePng(const Image& img, const std::wstring& path);
// Writes 0xAARRGGBB pixels, top-down, as a PNG that keeps its alpha.
bool EncodeArgbPng(int width, int height, std::vector<uint32_t> argb, const std::wstring& path);
// The screen as it should look without any test window: the desktop picture.
// Counts pixels of `a` and `b` (same size) that differ by more than `tol`.
size_t CountDifferent(const Image& a, const Image& b, int tol = 0);

// ---- clipboard -------------------------------------------------------------------
std::optional<Image> ClipboardImage();
std::optional<std::wstring> ClipboardText();
bool ClipboardHasBitmap();
bool ClearClipboard();
bool SetClipboardImage(const Image& img);
bool SetClipboardText(const std::wstring& text);
// Holds the clipboard open, as another program busy with it does, until
// Release() or the end of its scope.
class ClipboardHold {
 public:
  ClipboardHold();
  ~ClipboardHold() { Release(); }
  ClipboardHold(const ClipboardHold&) = delete;
  ClipboardHold& operator=(const ClipboardHold&) = delete;
  bool held() const { return held_; }
  void Release();

 private:
  bool held_ = false;
};

// ---- DPI -------------------------------------------------------------------------
// Sets the DPI that programs started afterwards see (HKCU LogPixels);
// restores the previous value when destroyed.
class ScopedDpi {
 public:
  explicit ScopedDpi(DWORD dpi);
  ~ScopedDpi();

 private:
  DWORD previous_ = 96;
  bool had_previous_ = false;
};

}  // namespace e2e
