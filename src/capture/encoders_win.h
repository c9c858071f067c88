// Saving GDI+ images with the codecs of the fixed encoder table.
#pragma once
#include <windows.h>

#include <string>

#include "capture/encoders.h"
#include "common/gdiplus_win.h"

namespace vardo {

// The codec CLSID of an encoder index (see EncoderClsidText); all zero for
// indices outside 0..7.
CLSID EncoderClsid(int index);

// Each returns the GDI+ status of the save (Ok when the file was written).
// The file appears only when complete: a failed save leaves no file and
// keeps an earlier file of the same name.
GpStatus SavePng(Gdiplus::GpImage* image, const std::wstring& path);
// JPEG with the quality parameter (0..100; the tools use 80).
GpStatus SaveJpeg(Gdiplus::GpImage* image, const std::wstring& path, long quality);
// GDI+'s GIF encoder writes a broken file from 24/32-bit images on some
// systems, so the picture is first reduced to an 8-bit palette of its own
// colours (exact up to 256 colours). Returns GenericError when no complete
// file was written; an earlier file of that name is then kept.
GpStatus SaveGif(Gdiplus::GpImage* image, const std::wstring& path);
// A 24-bit BMP written by our own encoder (the platform picture writer is
// not dependable). Same failure rule as SaveGif.
GpStatus SaveBmp(Gdiplus::GpImage* image, const std::wstring& path);

}  // namespace vardo
