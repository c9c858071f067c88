// Owning wrappers for Win32 and GDI handles. Copies are deleted so a handle
// is released exactly once, by its owner.
#pragma once
#include <windows.h>

#include <memory>
#include <type_traits>

namespace vardo {

struct GdiObjectDeleter {
  void operator()(void* h) const noexcept {
    if (h) DeleteObject(static_cast<HGDIOBJ>(h));
  }
};
template <class H>
using GdiPtr = std::unique_ptr<std::remove_pointer_t<H>, GdiObjectDeleter>;
using UniqueBitmap = GdiPtr<HBITMAP>;
using UniqueBrush = GdiPtr<HBRUSH>;
using UniquePen = GdiPtr<HPEN>;
using UniqueFont = GdiPtr<HFONT>;
using UniqueRgn = GdiPtr<HRGN>;

struct MemDcDeleter {
  void operator()(HDC dc) const noexcept {
    if (dc) DeleteDC(dc);
  }
};
// A DC from CreateCompatibleDC.
using UniqueMemDc = std::unique_ptr<std::remove_pointer_t<HDC>, MemDcDeleter>;

struct IconDeleter {
  void operator()(HICON h) const noexcept {
    if (h) DestroyIcon(h);
  }
};
using UniqueIcon = std::unique_ptr<std::remove_pointer_t<HICON>, IconDeleter>;

struct MenuDeleter {
  void operator()(HMENU h) const noexcept {
    if (h) DestroyMenu(h);
  }
};
using UniqueMenu = std::unique_ptr<std::remove_pointer_t<HMENU>, MenuDeleter>;

struct KernelHandleDeleter {
  void operator()(HANDLE h) const noexcept {
    if (h && h != INVALID_HANDLE_VALUE) CloseHandle(h);
  }
};
using UniqueHandle = std::unique_ptr<void, KernelHandleDeleter>;

// A DC from GetDC/GetWindowDC; remembers its window for ReleaseDC.
class WindowDc {
 public:
  explicit WindowDc(HWND wnd, bool whole_window = false)
      : wnd_(wnd), dc_(whole_window ? GetWindowDC(wnd) : GetDC(wnd)) {}
  ~WindowDc() {
    if (dc_) ReleaseDC(wnd_, dc_);
  }
  WindowDc(const WindowDc&) = delete;
  WindowDc& operator=(const WindowDc&) = delete;
  HDC get() const { return dc_; }
  explicit operator bool() const { return dc_ != nullptr; }

 private:
  HWND wnd_;
  HDC dc_;
};

// Selects an object into a DC and puts the previous one back on scope exit.
class SelectGuard {
 public:
  SelectGuard(HDC dc, HGDIOBJ obj) : dc_(dc), old_(SelectObject(dc, obj)) {}
  ~SelectGuard() {
    if (old_ && old_ != HGDI_ERROR) SelectObject(dc_, old_);
  }
  SelectGuard(const SelectGuard&) = delete;
  SelectGuard& operator=(const SelectGuard&) = delete;

 private:
  HDC dc_;
  HGDIOBJ old_;
};

// A memory DC with its own bitmap selected; both released together.
class MemoryCanvas {
 public:
  MemoryCanvas() = default;
  // The bitmap is put out of the DC before either is deleted: Windows does
  // not delete a bitmap still selected into a DC, and deleting the DC then
  // leaves the bitmap behind for the life of the process.
  ~MemoryCanvas() { Reset(); }
  MemoryCanvas(const MemoryCanvas&) = delete;
  MemoryCanvas& operator=(const MemoryCanvas&) = delete;
  bool Create(HDC compatible_with, int width, int height);
  // 32-bit top-down DIB section; Bits() gives width*height BGRA pixels.
  bool CreateDib(int width, int height);
  HDC dc() const { return dc_.get(); }
  HBITMAP bitmap() const { return bmp_.get(); }
  void* bits() const { return bits_; }
  int width() const { return w_; }
  int height() const { return h_; }
  // Gives up the bitmap (deselected first); the canvas becomes empty.
  HBITMAP Release();
  void Reset();
  explicit operator bool() const { return dc_ != nullptr; }

 private:
  UniqueMemDc dc_;
  UniqueBitmap bmp_;
  HGDIOBJ old_ = nullptr;
  void* bits_ = nullptr;
  int w_ = 0, h_ = 0;
};

}  // namespace vardo
