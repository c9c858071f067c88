// The selection state machine of the capture overlay: detection, press,
// rubber-band drag, the fixed selection with its handles, and moving it.
// Mouse events come in overlay pixels (the same as screen pixels).
#pragma once
#include <vector>

#include "capture/geometry.h"

namespace vardo::capture {

enum class Phase { Detecting, Pressed, Dragging, Selected, Annotating };
enum class Button { Left, Right, Middle, Other };

// What the window has to do after an event.
struct Reaction {
  bool redraw = false;          // dimming and outline changed
  bool stop_detection = false;  // stop the Pos timer (a drag began)
  bool fixed = false;           // selection just fixed: place and show the toolbar
  bool reset = false;           // back to detection: hide the toolbar, restart Pos
  bool capture_mouse = false;   // a press that the overlay follows until release
};

class SelectionModel {
 public:
  // Move events ignored after a press, so a click with a small tremor still
  // counts as a click on the highlighted window.
  static constexpr int kIgnoredMoves = 6;
  static constexpr int kToolNone = -1;

  SelectionModel(Size surface_size, Size handle_px);

  // ReLoad: back to detection. The outline stays where it is until the next
  // detection tick moves it.
  Reaction Reset();

  // Detection tick: outline onto the first candidate under the cursor.
  Reaction Detect(const std::vector<WinRect>& candidates, Point cursor);

  Reaction Press(Button button, Point p);
  Reaction Move(Point p, bool left_down);
  Reaction Release(Button button, Point p);

  // Tool buttons (annotation); kToolNone gives the selection back.
  void SetToolMode(int mode) { tool_mode_ = mode; }

  Phase phase() const;
  bool selected() const { return selected_; }
  int tool_mode() const { return tool_mode_; }
  const Rect& selection() const { return sqr_; }
  // Outline width in design pixels: 4 while detecting, 1 once fixed.
  int border_width() const { return selected_ ? 1 : 4; }
  const HandleRects& handles() const { return handles_; }
  Size handle_size() const { return handle_; }
  Size surface() const { return surface_; }
  // Handle being dragged, or -1.
  int active_handle() const { return active_handle_; }
  // Index of the handle under p (the last drawn wins), or -1.
  int HandleAt(Point p) const;

 private:
  void PlaceHandles() { handles_ = capture::PlaceHandles(sqr_, handle_); }
  void RubberBand(Point p);

  Size surface_;
  Size handle_;
  Rect sqr_{};
  HandleRects handles_{};
  bool selected_ = false;
  bool pressed_ = false;   // left press on the surface seen, not yet released
  bool dragging_ = false;  // rubber band running
  int drag_count_ = 0;
  Point start_{};
  int tool_mode_ = kToolNone;
  int active_handle_ = -1;
  Point grab_{};
  int anchor_right_ = 0;
  int anchor_bottom_ = 0;
};

}  // namespace vardo::capture
