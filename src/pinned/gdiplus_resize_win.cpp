#include "pinned/gdiplus_resize_win.h"

#include "common/gdiplus_win.h"
#include "common/imagesize.h"

namespace vardo {
namespace {

LoadError LoadFailure(const std::wstring& path) {
  return LoadError{kLoadPictureErrorNumber, L"GDI+ Module", L"Error loading picture " + path};
}

// Reads the file's header and decides whether GDI+ may decode it. Formats
// the probe does not know (metafiles, or garbage GDI+ will reject) pass;
// their size is checked again once GDI+ has opened them.
bool HeaderAllowsDecoding(const std::wstring& path) {
  UniqueHandle f(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                             OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!f || f.get() == INVALID_HANDLE_VALUE) return false;  // missing, a folder, no access
  LARGE_INTEGER size{};
  if (!GetFileSizeEx(f.get(), &size) || size.QuadPart <= 0) return false;
  HANDLE h = f.get();
  const ImageProbe probe = ProbeImage([h](uint64_t offset, uint8_t* buf, size_t n) -> size_t {
    OVERLAPPED at{};
    at.Offset = static_cast<DWORD>(offset);
    at.OffsetHigh = static_cast<DWORD>(offset >> 32);
    DWORD got = 0;
    if (n > 0xFFFF || !ReadFile(h, buf, static_cast<DWORD>(n), &got, &at)) return 0;
    return got;
  });
  if (probe.format == ImageFormat::Unknown) return true;
  return probe.size_known && ImageSizeAllowed(probe.width, probe.height);
}

COLORREF ResolveColour(COLORREF c) {
  // Values with the top bit set name a system colour by its index.
  if (c & 0x80000000u) return GetSysColor(static_cast<int>(c & 0xFF));
  return c & 0x00FFFFFFu;
}

// A memory DC holding a new display-depth bitmap filled with the back colour.
struct Canvas {
  UniqueMemDc dc;
  UniqueBitmap bitmap;
  HGDIOBJ previous = nullptr;
  Canvas() = default;
  Canvas(const Canvas&) = delete;
  Canvas& operator=(const Canvas&) = delete;
  ~Canvas() {
    // The bitmap can only be deleted once it is out of the DC.
    if (dc && previous && previous != HGDI_ERROR) SelectObject(dc.get(), previous);
  }
};

bool PrepareCanvas(int width, int height, COLORREF back, Canvas& canvas) {
  canvas.dc.reset(CreateCompatibleDC(nullptr));
  if (!canvas.dc) return false;
  HDC dc = canvas.dc.get();
  canvas.bitmap.reset(CreateBitmap(width, height, static_cast<UINT>(GetDeviceCaps(dc, PLANES)),
                                   static_cast<UINT>(GetDeviceCaps(dc, BITSPIXEL)), nullptr));
  if (!canvas.bitmap) return false;
  canvas.previous = SelectObject(dc, canvas.bitmap.get());
  if (!canvas.previous || canvas.previous == HGDI_ERROR) return false;
  UniqueBrush brush(CreateSolidBrush(ResolveColour(back)));
  if (!brush) return false;
  SelectGuard keep(dc, brush.get());
  return PatBlt(dc, 0, 0, width, height, PATCOPY) != FALSE;
}

bool DrawScaled(Gdiplus::GpImage* image, HDC dc, int width, int height, bool keep_ratio, int own_w,
                int own_h) {
  Gdiplus::GpGraphics* raw = nullptr;
  if (gp::GdipCreateFromHDC(dc, &raw) != Gdiplus::Ok) return false;
  GpGraphicsPtr graphics(raw);
  gp::GdipSetInterpolationMode(graphics.get(), Gdiplus::InterpolationModeHighQualityBicubic);
  if (!keep_ratio) return gp::GdipDrawImageRectI(graphics.get(), image, 0, 0, width, height) == Gdiplus::Ok;
  const FittedSize drawn = FitKeepingRatio(own_w, own_h, width, height);
  return gp::GdipDrawImageRectRectI(graphics.get(), image, 0, 0, drawn.width, drawn.height, 0, 0, own_w, own_h,
                                    Gdiplus::UnitPixel, nullptr, nullptr, nullptr) == Gdiplus::Ok;
}

// Puts the DC's first bitmap back, which hands out the drawn one.
UniqueBitmap TakeBitmap(Canvas& canvas) {
  SelectObject(canvas.dc.get(), canvas.previous);
  canvas.previous = nullptr;
  canvas.dc.reset();
  return std::move(canvas.bitmap);
}

}  // namespace

ULONG_PTR StartGdip() {
  Gdiplus::GdiplusStartupInput in;
  in.GdiplusVersion = 1;
  in.DebugEventCallback = nullptr;
  in.SuppressBackgroundThread = FALSE;
  in.SuppressExternalCodecs = FALSE;
  ULONG_PTR token = 0;
  if (Gdiplus::GdiplusStartup(&token, &in, nullptr) != Gdiplus::Ok) return 0;
  return token;
}

void StopGdip(ULONG_PTR token) {
  if (token) Gdiplus::GdiplusShutdown(token);
}

LoadedPicture LoadPictureScaled(const std::wstring& path, int& width, int& height, COLORREF back,
                                bool keep_ratio) {
  LoadedPicture result;
  if (path.empty() || !HeaderAllowsDecoding(path)) {
    result.error = LoadFailure(path);
    return result;
  }
  Gdiplus::GpImage* raw = nullptr;
  if (gp::GdipLoadImageFromFile(path.c_str(), &raw) != Gdiplus::Ok || !raw) {
    result.error = LoadFailure(path);
    return result;
  }
  GpImagePtr image(raw);
  UINT own_w = 0, own_h = 0;
  gp::GdipGetImageWidth(image.get(), &own_w);
  gp::GdipGetImageHeight(image.get(), &own_h);
  if (!ImageSizeAllowed(own_w, own_h)) {
    result.error = LoadFailure(path);
    return result;
  }
  int w = width, h = height;
  if (w == -1 || h == -1) {
    w = static_cast<int>(own_w);
    h = static_cast<int>(own_h);
  }
  Canvas canvas;
  if (!ImageSizeAllowed(w, h) || !PrepareCanvas(w, h, back, canvas) ||
      !DrawScaled(image.get(), canvas.dc.get(), w, h, keep_ratio, static_cast<int>(own_w),
                  static_cast<int>(own_h))) {
    result.error = LoadFailure(path);
    return result;
  }
  image.reset();
  result.bitmap = TakeBitmap(canvas);
  width = w;
  height = h;
  return result;
}

}  // namespace vardo
