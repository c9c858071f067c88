#include "common/handles_win.h"

namespace vardo {

bool MemoryCanvas::Create(HDC compatible_with, int width, int height) {
  Reset();
  if (width <= 0 || height <= 0) return false;
  UniqueMemDc dc(CreateCompatibleDC(compatible_with));
  if (!dc) return false;
  UniqueBitmap bmp(CreateCompatibleBitmap(compatible_with, width, height));
  if (!bmp) return false;
  old_ = SelectObject(dc.get(), bmp.get());
  dc_ = std::move(dc);
  bmp_ = std::move(bmp);
  w_ = width;
  h_ = height;
  return true;
}

bool MemoryCanvas::CreateDib(int width, int height) {
  Reset();
  if (width <= 0 || height <= 0) return false;
  UniqueMemDc dc(CreateCompatibleDC(nullptr));
  if (!dc) return false;
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
  bi.bmiHeader.biWidth = width;
  bi.bmiHeader.biHeight = -height;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  bi.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  UniqueBitmap bmp(CreateDIBSection(dc.get(), &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!bmp || !bits) return false;
  old_ = SelectObject(dc.get(), bmp.get());
  dc_ = std::move(dc);
  bmp_ = std::move(bmp);
  bits_ = bits;
  w_ = width;
  h_ = height;
  return true;
}

HBITMAP MemoryCanvas::Release() {
  if (dc_ && old_) SelectObject(dc_.get(), old_);
  old_ = nullptr;
  HBITMAP b = bmp_.release();
  dc_.reset();
  bits_ = nullptr;
  w_ = h_ = 0;
  return b;
}

void MemoryCanvas::Reset() {
  if (dc_ && old_) SelectObject(dc_.get(), old_);
  old_ = nullptr;
  dc_.reset();
  bmp_.reset();
  bits_ = nullptr;
  w_ = h_ = 0;
}

}  // namespace vardo
