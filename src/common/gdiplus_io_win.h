// Image files written through GDI+ or by our own encoders, and the pixels of
// bitmaps as plain 32-bit buffers.
#pragma once
#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/gdiplus_win.h"
#include "common/quantize.h"

namespace vardo {

// ---- encoders ----------------------------------------------------------------
struct ImageEncoderInfo {
  CLSID clsid{};
  std::wstring mime_type;   // "image/png"
  std::wstring extensions;  // "*.BMP;*.DIB;*.RLE"
  std::wstring format;      // "PNG"
};
// GDI+'s encoders in the order it lists them. GDI+ must be running.
std::vector<ImageEncoderInfo> ListImageEncoders();
// Case-insensitive MIME type lookup ("image/gif").
std::optional<ImageEncoderInfo> FindEncoderByMime(std::wstring_view mime);
std::optional<ImageEncoderInfo> FindEncoderByClsid(const CLSID& clsid);

// ---- pixels --------------------------------------------------------------------
// A top-down picture of 0xAARRGGBB values (BGRA bytes in memory).
struct PixelBuffer {
  int width = 0;
  int height = 0;
  std::vector<uint32_t> pixels;
};
// The bitmap's pixels (any depth; alpha is 0 for device bitmaps). The bitmap
// should not be selected into a device context. Empty when the handle is
// not a bitmap or memory runs out.
std::optional<PixelBuffer> PixelsFromHBitmap(HBITMAP bitmap);
// A GDI+ image's pixels, unpremultiplied ARGB; metafiles are rendered at
// their own size. GDI+ must be running.
std::optional<PixelBuffer> PixelsFromGpImage(Gdiplus::GpImage* image);

// ---- writing files ---------------------------------------------------------------
// The following writers put the file in place only when it is complete: they
// write a temporary file beside `path` and then replace `path` with it, so
// a failure leaves no partial file and keeps any earlier file of that name.
// They return false when nothing was written.

// The temporary name the writers use beside `path`. Where it would pass
// MAX_PATH while `path` itself does not, it is given in the long "\\?\"
// form, which plain file calls take at any length.
std::wstring TempNameBeside(const std::wstring& path);

// Saves through a GDI+ encoder. Returns the encoder's status; on failure
// (a zero or unknown encoder, an unwritable path) no file is left behind,
// which GDI+ itself does not promise.
GpStatus SaveImageReplacing(Gdiplus::GpImage* image, const std::wstring& path, const CLSID& encoder,
                            const Gdiplus::EncoderParameters* params);

// Writes bytes to a file.
bool WriteFileReplacing(const std::wstring& path, const void* data, size_t size);

// An 8-bit palette GIF of a quantised picture (indices.size() must be
// width*height). Starts GDI+ for itself if needed.
bool SaveQuantizedGif(const QuantizedImage& image, int width, int height, const std::wstring& path);
// A GIF with at most 256 colours: exact for pictures with that few
// colours, otherwise close (see QuantizeColors). Alpha is ignored.
bool SavePixelsAsGif(const PixelBuffer& pixels, const std::wstring& path);
bool SaveHBitmapAsGif(HBITMAP bitmap, const std::wstring& path);
// A 24-bit BMP written by our own encoder. Alpha is dropped.
bool SavePixelsAsBmp(const PixelBuffer& pixels, const std::wstring& path);
bool SaveHBitmapAsBmp(HBITMAP bitmap, const std::wstring& path);

}  // namespace vardo
