// GDI+ through its flat API, with owning wrappers. gdiplus.dll is
// delay-loaded; InitProcess() must run first.
#pragma once
#include <windows.h>

#include <algorithm>
namespace Gdiplus {
using std::max;
using std::min;
}  // namespace Gdiplus
#include <gdiplus.h>

#include <memory>

namespace vardo {

namespace gp = Gdiplus::DllExports;
using Gdiplus::GpStatus;

// GdiplusStartup/GdiplusShutdown around a scope.
class GdiplusSession {
 public:
  GdiplusSession();
  ~GdiplusSession();
  GdiplusSession(const GdiplusSession&) = delete;
  GdiplusSession& operator=(const GdiplusSession&) = delete;
  bool ok() const { return token_ != 0; }

 private:
  ULONG_PTR token_ = 0;
};

struct GpImageDeleter {
  void operator()(Gdiplus::GpImage* p) const noexcept {
    if (p) gp::GdipDisposeImage(p);
  }
};
struct GpGraphicsDeleter {
  void operator()(Gdiplus::GpGraphics* p) const noexcept {
    if (p) gp::GdipDeleteGraphics(p);
  }
};
struct GpBrushDeleter {
  void operator()(Gdiplus::GpBrush* p) const noexcept {
    if (p) gp::GdipDeleteBrush(p);
  }
};
struct GpPenDeleter {
  void operator()(Gdiplus::GpPen* p) const noexcept {
    if (p) gp::GdipDeletePen(p);
  }
};
struct GpPathDeleter {
  void operator()(Gdiplus::GpPath* p) const noexcept {
    if (p) gp::GdipDeletePath(p);
  }
};
using GpImagePtr = std::unique_ptr<Gdiplus::GpImage, GpImageDeleter>;
using GpBitmapPtr = std::unique_ptr<Gdiplus::GpBitmap, GpImageDeleter>;
using GpGraphicsPtr = std::unique_ptr<Gdiplus::GpGraphics, GpGraphicsDeleter>;
using GpBrushPtr = std::unique_ptr<Gdiplus::GpBrush, GpBrushDeleter>;
using GpPenPtr = std::unique_ptr<Gdiplus::GpPen, GpPenDeleter>;
using GpPathPtr = std::unique_ptr<Gdiplus::GpPath, GpPathDeleter>;

}  // namespace vardo
