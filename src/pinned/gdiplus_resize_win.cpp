#include "pinned/gdiplus_resize_win.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "common/gdiplus_win.h"
#include "common/imagesize.h"

namespace vardo {
namespace {

LoadError LoadFailure(const std::wstring& path) {
  return LoadError{kLoadPictureErrorNumber, L"GDI+ Module", L"Error loading picture " + path};
}

// Reads the file's header and decides whether GDI+ may decode it. Formats
// the probe does not know (garbage GDI+ will reject) pass, and so do
// consistent metafiles; their size is checked again once GDI+ has opened
// them. For a GIF, `gif_first_frame` receives the first frame (header,
// tables, the frame's data and a trailer): decoders read every frame of a
// file at once, and only the first is shown.
bool HeaderAllowsDecoding(const std::wstring& path, std::vector<uint8_t>& gif_first_frame) {
  UniqueHandle f(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                             OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!f || f.get() == INVALID_HANDLE_VALUE) return false;  // missing, a folder, no access
  LARGE_INTEGER size{};
  if (!GetFileSizeEx(f.get(), &size) || size.QuadPart <= 0) return false;
  HANDLE h = f.get();
  auto read = [h](uint64_t offset, uint8_t* buf, size_t n) -> size_t {
    OVERLAPPED at{};
    at.Offset = static_cast<DWORD>(offset);
    at.OffsetHigh = static_cast<DWORD>(offset >> 32);
    DWORD got = 0;
    if (n > 0xFFFF || !ReadFile(h, buf, static_cast<DWORD>(n), &got, &at)) return 0;
    return got;
  };
  const ImageProbe probe = ProbeImage(read);
  if (!probe.consistent) return false;
  if (probe.format == ImageFormat::Unknown || probe.format == ImageFormat::Emf || probe.format == ImageFormat::Wmf)
    return true;
  if (!probe.size_known || !ImageSizeAllowed(probe.width, probe.height)) return false;
  // A frame larger than this is read from the file as it is.
  constexpr uint64_t kMaxFirstFrameBytes = uint64_t{256} << 20;
  if (probe.format == ImageFormat::Gif && probe.first_frame_end > 0 && probe.first_frame_end <= kMaxFirstFrameBytes &&
      probe.first_frame_end < static_cast<uint64_t>(size.QuadPart)) {
    gif_first_frame.resize(static_cast<size_t>(probe.first_frame_end) + 1);
    for (size_t at = 0; at + 1 < gif_first_frame.size();) {
      const size_t n = std::min<size_t>(gif_first_frame.size() - 1 - at, 0xFFFF);
      if (read(at, gif_first_frame.data() + at, n) != n) return false;
      at += n;
    }
    gif_first_frame.back() = 0x3B;  // trailer
  }
  return true;
}

// GDI+ opens a picture held in memory; the stream owns its copy.
GpStatus LoadFromMemory(const std::vector<uint8_t>& bytes, Gdiplus::GpImage** image) {
  HGLOBAL mem = GlobalAlloc(GMEM_MOVEABLE, bytes.size());
  if (!mem) return Gdiplus::OutOfMemory;
  void* p = GlobalLock(mem);
  if (!p) {
    GlobalFree(mem);
    return Gdiplus::OutOfMemory;
  }
  memcpy(p, bytes.data(), bytes.size());
  GlobalUnlock(mem);
  IStream* stream = nullptr;
  if (FAILED(CreateStreamOnHGlobal(mem, TRUE, &stream)) || !stream) {
    GlobalFree(mem);
    return Gdiplus::OutOfMemory;
  }
  const GpStatus status = gp::GdipLoadImageFromStream(stream, image);
  stream->Release();  // GDI+ keeps its own reference while the image lives
  return status;
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
  std::vector<uint8_t> gif_first_frame;
  if (path.empty() || !HeaderAllowsDecoding(path, gif_first_frame)) {
    result.error = LoadFailure(path);
    return result;
  }
  Gdiplus::GpImage* raw = nullptr;
  const GpStatus status = gif_first_frame.empty() ? gp::GdipLoadImageFromFile(path.c_str(), &raw)
                                                  : LoadFromMemory(gif_first_frame, &raw);
  if (status != Gdiplus::Ok || !raw) {
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
