#include "common/gdiplus_io_win.h"

#include <cwctype>
#include <new>

#include "common/bmpfile.h"
#include "common/handles_win.h"

namespace vardo {
namespace {

using Gdiplus::GpBitmap;
using Gdiplus::GpImage;

bool SameTextIgnoringCase(std::wstring_view a, std::wstring_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (std::towlower(a[i]) != std::towlower(b[i])) return false;
  return true;
}

bool ReplaceWith(const std::wstring& temp, const std::wstring& path) {
  if (MoveFileExW(temp.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_COPY_ALLOWED)) return true;
  DeleteFileW(temp.c_str());
  return false;
}

// True when the file holds at least a GIF header and a trailer byte.
bool LooksLikeGif(const std::wstring& path) {
  UniqueHandle f(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                             FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!f || f.get() == INVALID_HANDLE_VALUE) return false;
  LARGE_INTEGER size{};
  char head[6] = {};
  DWORD got = 0;
  if (!GetFileSizeEx(f.get(), &size) || size.QuadPart < 14) return false;
  if (!ReadFile(f.get(), head, sizeof head, &got, nullptr) || got != sizeof head) return false;
  return std::string_view(head, 6) == "GIF87a" || std::string_view(head, 6) == "GIF89a";
}

std::optional<PixelBuffer> LockArgb(GpBitmap* bmp, int w, int h) {
  PixelBuffer out;
  try {
    out.pixels.resize(static_cast<size_t>(w) * static_cast<size_t>(h));
  } catch (const std::bad_alloc&) {
    return std::nullopt;
  }
  out.width = w;
  out.height = h;
  // Let GDI+ convert straight into our buffer.
  Gdiplus::BitmapData data{};
  data.Width = static_cast<UINT>(w);
  data.Height = static_cast<UINT>(h);
  data.Stride = w * 4;
  data.PixelFormat = PixelFormat32bppARGB;
  data.Scan0 = out.pixels.data();
  Gdiplus::GpRect rect(0, 0, w, h);
  const UINT mode = static_cast<UINT>(Gdiplus::ImageLockModeRead) | static_cast<UINT>(Gdiplus::ImageLockModeUserInputBuf);
  if (gp::GdipBitmapLockBits(bmp, &rect, mode,
                             PixelFormat32bppARGB, &data) != Gdiplus::Ok)
    return std::nullopt;
  gp::GdipBitmapUnlockBits(bmp, &data);
  return out;
}

}  // namespace

// A name beside `path` for the file being written, so that `path` itself
// only ever holds a complete file.
std::wstring TempNameBeside(const std::wstring& path) {
  const std::wstring suffix = L"~" + std::to_wstring(GetCurrentProcessId()) + L".tmp";
  std::wstring temp = path + suffix;
  if (temp.size() < MAX_PATH) return temp;
  // The long form is taken as it stands, so it is made from the full path
  // with its ".." and "/" resolved.
  std::vector<wchar_t> full(32768);
  const DWORD n = GetFullPathNameW(path.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
  if (n == 0 || n >= full.size()) return temp;
  const std::wstring f(full.data(), n);
  if (f.rfind(L"\\\\?\\", 0) == 0) return f + suffix;
  if (f.rfind(L"\\\\.\\", 0) == 0) return temp;  // a device, not a file
  if (f.rfind(L"\\\\", 0) == 0) return L"\\\\?\\UNC\\" + f.substr(2) + suffix;
  return L"\\\\?\\" + f + suffix;
}

std::vector<ImageEncoderInfo> ListImageEncoders() {
  std::vector<ImageEncoderInfo> out;
  UINT count = 0, bytes = 0;
  if (gp::GdipGetImageEncodersSize(&count, &bytes) != Gdiplus::Ok || count == 0 || bytes == 0) return out;
  std::vector<uint8_t> buf(bytes);
  auto* codecs = reinterpret_cast<Gdiplus::ImageCodecInfo*>(buf.data());
  if (gp::GdipGetImageEncoders(count, bytes, codecs) != Gdiplus::Ok) return out;
  auto text = [](const WCHAR* s) { return s ? std::wstring(s) : std::wstring(); };
  for (UINT i = 0; i < count; ++i) {
    out.push_back({codecs[i].Clsid, text(codecs[i].MimeType), text(codecs[i].FilenameExtension),
                   text(codecs[i].FormatDescription)});
  }
  return out;
}

std::optional<ImageEncoderInfo> FindEncoderByMime(std::wstring_view mime) {
  for (auto& e : ListImageEncoders())
    if (SameTextIgnoringCase(e.mime_type, mime)) return e;
  return std::nullopt;
}

std::optional<ImageEncoderInfo> FindEncoderByClsid(const CLSID& clsid) {
  for (auto& e : ListImageEncoders())
    if (IsEqualCLSID(e.clsid, clsid)) return e;
  return std::nullopt;
}

std::optional<PixelBuffer> PixelsFromHBitmap(HBITMAP bitmap) {
  BITMAP bm{};
  if (!bitmap || GetObjectW(bitmap, sizeof bm, &bm) != sizeof bm || bm.bmWidth <= 0 || bm.bmHeight == 0)
    return std::nullopt;
  PixelBuffer out;
  out.width = bm.bmWidth;
  out.height = bm.bmHeight < 0 ? -bm.bmHeight : bm.bmHeight;
  try {
    out.pixels.resize(static_cast<size_t>(out.width) * static_cast<size_t>(out.height));
  } catch (const std::bad_alloc&) {
    return std::nullopt;
  }
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof bi.bmiHeader;
  bi.bmiHeader.biWidth = out.width;
  bi.bmiHeader.biHeight = -out.height;  // top-down
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  bi.bmiHeader.biCompression = BI_RGB;
  UniqueMemDc dc(CreateCompatibleDC(nullptr));
  if (!dc) return std::nullopt;
  const int rows = GetDIBits(dc.get(), bitmap, 0, static_cast<UINT>(out.height), out.pixels.data(), &bi,
                             DIB_RGB_COLORS);
  if (rows != out.height) return std::nullopt;
  return out;
}

std::optional<PixelBuffer> PixelsFromGpImage(GpImage* image) {
  if (!image) return std::nullopt;
  UINT w = 0, h = 0;
  if (gp::GdipGetImageWidth(image, &w) != Gdiplus::Ok || gp::GdipGetImageHeight(image, &h) != Gdiplus::Ok ||
      w == 0 || h == 0 || w > 0x7FFF'FFFF / 4 || h > 0x7FFF'FFFF)
    return std::nullopt;
  Gdiplus::ImageType type = Gdiplus::ImageTypeUnknown;
  gp::GdipGetImageType(image, &type);
  if (type == Gdiplus::ImageTypeBitmap)
    return LockArgb(static_cast<GpBitmap*>(image), static_cast<int>(w), static_cast<int>(h));

  // A metafile: render it onto a transparent bitmap of its own size.
  GpBitmap* raw = nullptr;
  if (gp::GdipCreateBitmapFromScan0(static_cast<INT>(w), static_cast<INT>(h), 0, PixelFormat32bppARGB, nullptr,
                                    &raw) != Gdiplus::Ok)
    return std::nullopt;
  GpBitmapPtr canvas(raw);
  Gdiplus::GpGraphics* g = nullptr;
  if (gp::GdipGetImageGraphicsContext(canvas.get(), &g) != Gdiplus::Ok) return std::nullopt;
  GpGraphicsPtr graphics(g);
  if (gp::GdipDrawImageRectI(graphics.get(), image, 0, 0, static_cast<INT>(w), static_cast<INT>(h)) !=
      Gdiplus::Ok)
    return std::nullopt;
  graphics.reset();
  return LockArgb(canvas.get(), static_cast<int>(w), static_cast<int>(h));
}

GpStatus SaveImageReplacing(GpImage* image, const std::wstring& path, const CLSID& encoder,
                            const Gdiplus::EncoderParameters* params) {
  if (!image || path.empty()) return Gdiplus::InvalidParameter;
  const std::wstring temp = TempNameBeside(path);
  const GpStatus st = gp::GdipSaveImageToFile(image, temp.c_str(), &encoder, params);
  if (st != Gdiplus::Ok) {
    DeleteFileW(temp.c_str());  // GDI+ may have created it before failing
    return st;
  }
  return ReplaceWith(temp, path) ? Gdiplus::Ok : Gdiplus::Win32Error;
}

bool WriteFileReplacing(const std::wstring& path, const void* data, size_t size) {
  if (path.empty() || (!data && size)) return false;
  const std::wstring temp = TempNameBeside(path);
  bool ok = false;
  {
    UniqueHandle f(CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                               nullptr));
    if (!f || f.get() == INVALID_HANDLE_VALUE) return false;
    ok = true;
    const auto* p = static_cast<const uint8_t*>(data);
    size_t left = size;
    while (ok && left > 0) {
      const DWORD chunk = left > (1u << 30) ? (1u << 30) : static_cast<DWORD>(left);
      DWORD wrote = 0;
      ok = WriteFile(f.get(), p, chunk, &wrote, nullptr) && wrote == chunk;
      p += chunk;
      left -= chunk;
    }
  }
  if (!ok) {
    DeleteFileW(temp.c_str());
    return false;
  }
  return ReplaceWith(temp, path);
}

bool SaveQuantizedGif(const QuantizedImage& image, int width, int height, const std::wstring& path) {
  if (width <= 0 || height <= 0 || path.empty() || image.palette.empty() || image.palette.size() > 256 ||
      image.indices.size() != static_cast<size_t>(width) * static_cast<size_t>(height))
    return false;
  GdiplusSession session;  // nests with any session the caller holds
  if (!session.ok()) return false;
  const auto encoder = FindEncoderByMime(L"image/gif");
  if (!encoder) return false;

  GpBitmap* raw = nullptr;
  if (gp::GdipCreateBitmapFromScan0(width, height, 0, PixelFormat8bppIndexed, nullptr, &raw) != Gdiplus::Ok)
    return false;
  GpBitmapPtr bmp(raw);

  // A GIF colour table holds at least two entries.
  const size_t entries = image.palette.size() < 2 ? 2 : image.palette.size();
  std::vector<uint8_t> pal_buf(sizeof(Gdiplus::ColorPalette) + entries * sizeof(Gdiplus::ARGB));
  auto* pal = reinterpret_cast<Gdiplus::ColorPalette*>(pal_buf.data());
  pal->Flags = 0;
  pal->Count = static_cast<UINT>(entries);
  for (size_t i = 0; i < entries; ++i) {
    const uint32_t c = i < image.palette.size() ? image.palette[i] : image.palette[0];
    pal->Entries[i] = 0xFF000000u | (c & 0x00FFFFFFu);
  }
  if (gp::GdipSetImagePalette(bmp.get(), pal) != Gdiplus::Ok) return false;

  Gdiplus::BitmapData data{};
  Gdiplus::GpRect rect(0, 0, width, height);
  if (gp::GdipBitmapLockBits(bmp.get(), &rect, Gdiplus::ImageLockModeWrite, PixelFormat8bppIndexed, &data) !=
      Gdiplus::Ok)
    return false;
  for (int y = 0; y < height; ++y) {
    auto* row = static_cast<uint8_t*>(data.Scan0) + static_cast<ptrdiff_t>(y) * data.Stride;
    const uint8_t* src = image.indices.data() + static_cast<size_t>(y) * static_cast<size_t>(width);
    std::copy(src, src + width, row);
  }
  if (gp::GdipBitmapUnlockBits(bmp.get(), &data) != Gdiplus::Ok) return false;

  const std::wstring temp = TempNameBeside(path);
  const GpStatus st = gp::GdipSaveImageToFile(bmp.get(), temp.c_str(), &encoder->clsid, nullptr);
  if (st != Gdiplus::Ok || !LooksLikeGif(temp)) {
    DeleteFileW(temp.c_str());
    return false;
  }
  return ReplaceWith(temp, path);
}

bool SavePixelsAsGif(const PixelBuffer& pixels, const std::wstring& path) {
  if (pixels.width <= 0 || pixels.height <= 0 ||
      pixels.pixels.size() != static_cast<size_t>(pixels.width) * static_cast<size_t>(pixels.height))
    return false;
  // The palette indices take a byte per pixel: a large picture may not
  // find the memory, and that is a failed save, not the end of the program.
  try {
    const QuantizedImage q = QuantizeColors(pixels.pixels.data(), pixels.pixels.size());
    return SaveQuantizedGif(q, pixels.width, pixels.height, path);
  } catch (const std::bad_alloc&) {
    return false;
  }
}

bool SaveHBitmapAsGif(HBITMAP bitmap, const std::wstring& path) {
  const auto px = PixelsFromHBitmap(bitmap);
  return px && SavePixelsAsGif(*px, path);
}

bool SavePixelsAsBmp(const PixelBuffer& pixels, const std::wstring& path) {
  if (pixels.width <= 0 || pixels.height <= 0 ||
      pixels.pixels.size() != static_cast<size_t>(pixels.width) * static_cast<size_t>(pixels.height))
    return false;
  std::vector<uint8_t> bytes;
  try {
    bytes = EncodeBmp24(pixels.pixels.data(), pixels.width, pixels.height);
  } catch (const std::bad_alloc&) {
    return false;
  }
  return !bytes.empty() && WriteFileReplacing(path, bytes.data(), bytes.size());
}

bool SaveHBitmapAsBmp(HBITMAP bitmap, const std::wstring& path) {
  const auto px = PixelsFromHBitmap(bitmap);
  return px && SavePixelsAsBmp(*px, path);
}

}  // namespace vardo
