// The magnifier panel `Va`: a child of the overlay that follows the cursor,
// with the enlarged view `View`, the marker `Cross` and the readouts `Size`
// and `RGBCO`. It never takes the pointer: presses and moves over it go to
// the overlay beneath.
#pragma once
#include <windows.h>

#include <string>

#include "capture/magnifier.h"
#include "common/handles_win.h"
#include "common/window_win.h"

namespace vardo {

class Magnifier : public Window {
 public:
  static constexpr wchar_t kClassName[] = L"VardoCaptureMagnifier";

  bool Create(HWND overlay, int dpi);
  // Moves the panel beside `cursor` (overlay pixels) and shows the frozen
  // pixels round it, `colour` (0x00BBGGRR, the surface as shown there) and
  // the selection's size.
  void Update(capture::Point cursor, uint32_t colour, capture::Size selection, const MemoryCanvas& frozen);
  // Raises the panel above its sibling windows (the toolbar).
  void BringToTop();

 protected:
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;
  void OnPaint(HDC dc, const RECT& update) override;

 private:
  void SetLabel(HWND label, std::wstring& shown, const std::string& text);

  capture::MagnifierLayout layout_;
  capture::Size screen_{};
  MemoryCanvas view_;  // the enlarged pixels
  HWND size_ = nullptr;
  HWND rgbco_ = nullptr;
  std::wstring size_text_;
  std::wstring rgb_text_;
  uint32_t cross_ = 0xFFFFFF;  // 0x00BBGGRR
  UniqueBrush back_;
  UniqueFont font_;
};

}  // namespace vardo
