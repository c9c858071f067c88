// Shared pieces of the imaging tests: GDI+ for the whole program, a
// scratch folder, synthetic pictures as bitmaps and decoding files back.
#pragma once
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "common/gdiplus_io_win.h"
#include "common/gdiplus_win.h"
#include "common/handles_win.h"

namespace vardo::testing_imaging {

// GDI+ running for every test of the program.
class GdiplusEnvironment : public ::testing::Environment {
 public:
  void SetUp() override { session_ = std::make_unique<GdiplusSession>(); }
  void TearDown() override { session_.reset(); }

 private:
  std::unique_ptr<GdiplusSession> session_;
};

// A fresh folder under %TEMP%, removed with its files afterwards.
class ScratchDir {
 public:
  ScratchDir() {
    wchar_t tmp[MAX_PATH];
    GetTempPathW(MAX_PATH, tmp);
    path_ = std::wstring(tmp) + L"imaging-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
            std::to_wstring(counter_++);
    CreateDirectoryW(path_.c_str(), nullptr);
  }
  ~ScratchDir() {
    for (auto& f : Files()) DeleteFileW((path_ + L"\\" + f).c_str());
    RemoveDirectoryW(path_.c_str());
  }
  ScratchDir(const ScratchDir&) = delete;
  ScratchDir& operator=(const ScratchDir&) = delete;
  std::wstring operator/(const std::wstring& name) const { return path_ + L"\\" + name; }
  const std::wstring& path() const { return path_; }
  std::vector<std::wstring> Files() const {
    std::vector<std::wstring> out;
    WIN32_FIND_DATAW fd;
    HANDLE h = FindFirstFileW((path_ + L"\\*").c_str(), &fd);
    if (h == INVALID_HANDLE_VALUE) return out;
    do {
      if (!(fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) out.push_back(fd.cFileName);
    } while (FindNextFileW(h, &fd));
    FindClose(h);
    return out;
  }

 private:
  static inline int counter_ = 0;
  std::wstring path_;
};

inline std::vector<uint8_t> ReadBytes(const std::wstring& path) {
  std::vector<uint8_t> out;
  UniqueHandle f(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
  if (!f || f.get() == INVALID_HANDLE_VALUE) return out;
  LARGE_INTEGER size{};
  GetFileSizeEx(f.get(), &size);
  out.resize(static_cast<size_t>(size.QuadPart));
  DWORD got = 0;
  if (!out.empty() && (!ReadFile(f.get(), out.data(), static_cast<DWORD>(out.size()), &got, nullptr) ||
                       got != out.size()))
    out.clear();
  return out;
}

inline bool WriteBytes(const std::wstring& path, const std::vector<uint8_t>& bytes) {
  UniqueHandle f(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
  if (!f || f.get() == INVALID_HANDLE_VALUE) return false;
  DWORD wrote = 0;
  return bytes.empty() ||
         (WriteFile(f.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &wrote, nullptr) &&
          wrote == bytes.size());
}

// All windows below `parent`.
inline int ChildCount(HWND parent) {
  int n = 0;
  EnumChildWindows(
      parent,
      [](HWND, LPARAM lp) -> BOOL {
        ++*reinterpret_cast<int*>(lp);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&n));
  return n;
}

inline bool FileExists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// A picture made by f(x, y) -> 0x00RRGGBB.
template <class F>
PixelBuffer MakePicture(int w, int h, F f) {
  PixelBuffer p;
  p.width = w;
  p.height = h;
  p.pixels.resize(static_cast<size_t>(w) * static_cast<size_t>(h));
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) p.pixels[static_cast<size_t>(y) * w + x] = f(x, y) & 0x00FFFFFFu;
  return p;
}

// A 32-bit device-independent bitmap holding the picture, as a capture
// produces.
inline UniqueBitmap BitmapFrom(const PixelBuffer& p) {
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof bi.bmiHeader;
  bi.bmiHeader.biWidth = p.width;
  bi.bmiHeader.biHeight = -p.height;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  bi.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  UniqueBitmap bmp(CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (bmp && bits) memcpy(bits, p.pixels.data(), p.pixels.size() * 4);
  GdiFlush();
  return bmp;
}

// Writes 0xAARRGGBB pixels as a PNG with alpha. GDI+ must be running.
inline bool WritePng(const PixelBuffer& p, const std::wstring& path) {
  Gdiplus::GpBitmap* raw = nullptr;
  if (gp::GdipCreateBitmapFromScan0(p.width, p.height, p.width * 4, PixelFormat32bppARGB,
                                    reinterpret_cast<BYTE*>(const_cast<uint32_t*>(p.pixels.data())),
                                    &raw) != Gdiplus::Ok)
    return false;
  GpBitmapPtr bmp(raw);
  const auto png = FindEncoderByMime(L"image/png");
  return png && gp::GdipSaveImageToFile(bmp.get(), path.c_str(), &png->clsid, nullptr) == Gdiplus::Ok;
}

// Hands the bitmap to the clipboard as CF_BITMAP (the clipboard owns it
// afterwards).
inline bool PutBitmapOnClipboard(HBITMAP bitmap) {
  if (!OpenClipboard(nullptr)) return false;
  EmptyClipboard();
  bool ok = SetClipboardData(CF_BITMAP, bitmap) != nullptr;
  CloseClipboard();
  return ok;
}

inline GpImagePtr LoadImage(const std::wstring& path) {
  Gdiplus::GpImage* img = nullptr;
  if (gp::GdipLoadImageFromFile(path.c_str(), &img) != Gdiplus::Ok) return nullptr;
  return GpImagePtr(img);
}

// Decodes a file with GDI+ into plain pixels.
inline std::optional<PixelBuffer> Decode(const std::wstring& path) {
  auto img = LoadImage(path);
  if (!img) return std::nullopt;
  return PixelsFromGpImage(img.get());
}

inline int ChannelDiff(uint32_t a, uint32_t b) {
  int worst = 0;
  for (int s = 0; s <= 16; s += 8) {
    const int d = std::abs(static_cast<int>((a >> s) & 0xFF) - static_cast<int>((b >> s) & 0xFF));
    worst = d > worst ? d : worst;
  }
  return worst;
}

struct Difference {
  int max = 0;
  double mean = 0;  // mean of the per-pixel largest channel difference
};
inline Difference Compare(const PixelBuffer& a, const PixelBuffer& b) {
  Difference d;
  if (a.pixels.size() != b.pixels.size() || a.pixels.empty()) return {255, 255};
  double sum = 0;
  for (size_t i = 0; i < a.pixels.size(); ++i) {
    const int c = ChannelDiff(a.pixels[i], b.pixels[i]);
    sum += c;
    d.max = c > d.max ? c : d.max;
  }
  d.mean = sum / static_cast<double>(a.pixels.size());
  return d;
}

// A screen-like picture with far more than 256 colours: smooth gradients,
// hard-edged blocks and small noisy text-like marks.
inline PixelBuffer ScreenLikePicture(int w, int h) {
  return MakePicture(w, h, [w, h](int x, int y) -> uint32_t {
    if (y < h / 3) return static_cast<uint32_t>((x * 255 / (w - 1)) << 16 | (y * 255 / (h - 1)) << 8 | 0x80);
    if (y < 2 * h / 3) return ((x / 64 + y / 64) % 2) ? 0x00F0F0F0u : 0x002050A0u;
    const uint32_t n = static_cast<uint32_t>(x * 7919 + y * 104729) * 2654435761u;
    const uint32_t grey = (n >> 24) & 0xFF;  // anti-aliased text shades
    return (x % 9 < 2 || y % 13 < 2) ? grey * 0x010101u : 0x00FFFFFFu;
  });
}

}  // namespace vardo::testing_imaging
