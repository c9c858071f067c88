// modGDIPlusResize: an image file of any format GDI+ reads, turned into an
// ordinary opaque bitmap, optionally scaled, with transparent areas laid
// over a solid colour.
#pragma once
#include <windows.h>

#include <optional>
#include <string>

#include "common/handles_win.h"

namespace vardo {

// GDI+ start-up (version 1) and shut-down around a use of the loader.
// StartGdip returns 0 when GDI+ could not start; StopGdip(0) does nothing.
ULONG_PTR StartGdip();
void StopGdip(ULONG_PTR token);
// StartGdip for a scope.
class GdipScope {
 public:
  GdipScope() : token_(StartGdip()) {}
  ~GdipScope() { StopGdip(token_); }
  GdipScope(const GdipScope&) = delete;
  GdipScope& operator=(const GdipScope&) = delete;

 private:
  ULONG_PTR token_;
};

constexpr int kLoadPictureErrorNumber = 999;

struct LoadError {
  int number = kLoadPictureErrorNumber;
  std::wstring source;       // "GDI+ Module"
  std::wstring description;  // "Error loading picture " + path
};

// Either a bitmap or the error; never both.
struct LoadedPicture {
  UniqueBitmap bitmap;
  std::optional<LoadError> error;
  explicit operator bool() const { return bitmap != nullptr; }
};

// Loads `path` into a new bitmap of the display's colour depth, width x
// height pixels. A width or height of -1 takes the picture's own size for
// both (a single -1 discards the other value); the variables then receive
// it. With keep_ratio the picture keeps its aspect ratio, anchored at the
// top left, and the rest of the canvas shows `back`; without it the picture
// is stretched over the whole canvas. Partly transparent pixels are blended
// onto `back` (a colour value; system colour codes are resolved), so the
// result never has an alpha channel. Drawn with high-quality bicubic
// filtering. GDI+ must be started by the caller (StartGdip).
//
// Fails with error 999 (source "GDI+ Module", description "Error loading
// picture " + path) and leaves width and height untouched when the file is
// missing, a folder, empty, truncated or not a picture, when its header
// claims more than the pixel limit of common/imagesize.h or contradicts the
// file (a PNG with more data than its pixels can need, a metafile claiming
// more bytes than the file holds; both refused from the header alone,
// before anything is decoded), when the requested canvas is outside that
// limit or cannot be created, or when drawing fails. A GIF is decoded from
// its first frame alone.
LoadedPicture LoadPictureScaled(const std::wstring& path, int& width, int& height,
                                COLORREF back = RGB(255, 255, 255), bool keep_ratio = false);

}  // namespace vardo
