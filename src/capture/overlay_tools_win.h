// The overlay's drawing tools on screen: the stroke from press to release,
// its preview (`D_Sap` for the rectangle, ellipse and text box, `D_Arr` for
// the arrow) painted over the surface, the strokes burnt into the surface
// on release, the eraser painting the frozen picture back as it moves, and
// its grey round cursor. Every change asks for a repaint of only the
// pixels it touches.
#pragma once
#include <windows.h>

#include <optional>
#include <vector>

#include "capture/annotation.h"
#include "capture/stroke_draw_win.h"
#include "capture/tool_style.h"
#include "common/handles_win.h"

namespace vardo {

class OverlayTools {
 public:
  // On the overlay's window, drawing into `surface` and erasing back to
  // `clean` (both screen-sized DIB canvases that outlive the tools).
  void Attach(HWND overlay, const MemoryCanvas& surface, const MemoryCanvas& clean);
  // Lets go of the GDI+ objects (before GDI+ shuts down).
  void Detach();

  // A tool button was chosen: strokes are confined to `selection` from now on.
  void Choose(int mode, const capture::Rect& selection);
  // Back to detection: a stroke in progress is dropped, the cursor hidden.
  void Reset();
  int mode() const { return mode_; }

  // Left press over the surface with the tool chosen.
  void Press(capture::Point p, const capture::ToolStyle& style);
  // Any pointer move over the overlay; `width` is the pen width set now.
  void Move(capture::Point p, bool left_down, double width);
  // The release at `last` (or a lost capture, with no point). For the
  // text tool, where the text box goes.
  std::optional<capture::Point> Release(std::optional<capture::Point> last = std::nullopt);
  bool stroke_running() const { return stroke_.has_value(); }

  // The preview and the eraser's cursor, over whatever the surface shows.
  void Paint(HDC dc) const;

 private:
  struct Preview {
    capture::Tool tool;
    capture::Rect box;
    capture::Point from, to;
    int width;
    uint32_t colour;
  };
  void ShowPreview(const std::optional<Preview>& next);
  void ShowCursor(const std::optional<capture::Rect>& next);
  void Invalidate(HRGN region) const;
  // Both regions (either may be null) in one request to the window system.
  void Invalidate(HRGN a, HRGN b) const;
  void Invalidate(const capture::Rect& r) const;

  HWND overlay_ = nullptr;
  const MemoryCanvas* canvas_ = nullptr;
  GpBitmapPtr surface_;
  GpBitmapPtr clean_;
  int mode_ = -1;
  capture::Rect clip_{};
  std::optional<capture::Stroke> stroke_;
  capture::StrokePen pen_{};
  uint32_t colour_ = 0;
  EraserPen eraser_;
  std::optional<Preview> preview_;
  UniqueRgn preview_area_;  // what the shown preview can touch
  std::optional<capture::Rect> cursor_;
};

}  // namespace vardo
