// The measuring lines on the ruler's frozen picture and everything done to
// them: drawing a line with the measuring tick, moving labels, recolouring
// and deleting. All positions are physical pixels on the frozen picture.
#pragma once
#include <functional>
#include <string>
#include <vector>

#include "common/color.h"
#include "common/direction.h"
#include "common/geometry.h"
#include "ruler/measure.h"

namespace vardo::ruler {

struct MeasureLine {
  int index = 0;
  LineGeometry geometry;
  Size label_size;
  std::string text;        // the length, "101px"
  ColorValue color = kRed;  // segment, ticks and label text
  bool highlighted = false;  // segment blue while its label is held
  bool shown = false;        // laid out at least once
};

class LineBoard {
 public:
  // Line indices are 16-bit in the design; past this no line is made.
  static constexpr int kMaxIndex = 32767;

  // `measure` gives a label's size for its text; `tick_half` is the
  // DPI-scaled half-length of the end ticks.
  LineBoard(std::function<Size(const std::string&)> measure, int dpi, int tick_half);

  // ---- drawing a line --------------------------------------------------------
  // A left press on the picture: line next_index() starts at `at`, in the
  // current colour. Returns false (and makes nothing) past the last index.
  bool Begin(Point at);
  bool drawing() const { return drawing_; }
  // The measuring tick with the pointer's position: refreshes the axis
  // code and the live length; when the axis changed the line follows it
  // at once.
  void Tick(Point pointer);
  // A pointer move with the left button held: lays the line out along the
  // axis code (nothing while no axis is known yet).
  void DragTo(Point pointer);
  // Release: the next press gets the next index. A line that was never laid
  // out is dropped (it was never seen).
  void Finish();

  // The live length label's text ("" until the first tick).
  const std::string& live_text() const { return live_text_; }

  // ---- labels ------------------------------------------------------------------
  // Index of the topmost label containing p, or 0.
  int LabelAt(Point p) const;
  // Left press on a label: its line becomes the active one and its segment
  // turns blue.
  void BeginLabelDrag(int index, Point pointer);
  // Only the label follows the pointer, and comes to the front.
  void DragLabelTo(Point pointer);
  // Release: the active line takes the current colour.
  void EndLabelDrag();
  bool label_dragging() const { return label_drag_; }
  // Right press on a label: its line becomes the one the menu acts on.
  void ChooseForMenu(int index);

  // ---- commands on the active line (nothing when it does not exist) -----------
  // The line, its ticks and label text take the colour, as do new lines.
  void SetColor(ColorValue c);
  void Delete();

  // ---- state ---------------------------------------------------------------------
  int next_index() const { return next_index_; }
  int active() const { return active_; }
  ColorValue color() const { return color_; }
  Axis axis() const { return direction_.axis; }
  // In stacking order, bottom first.
  const std::vector<MeasureLine>& lines() const { return lines_; }
  const MeasureLine* Find(int index) const;
  // Pixels covered by the line and its label (empty when not shown).
  static Rect Bounds(const MeasureLine& line);
  // What changed on the picture since the last call, then forgets it.
  Rect TakeDirty();

 private:
  MeasureLine* FindMutable(int index);
  MeasureLine* Drawn();
  void LayOut(MeasureLine& line);
  void Touch(const MeasureLine& line) { dirty_ = Union(dirty_, Bounds(line)); }

  std::function<Size(const std::string&)> measure_;
  int dpi_;
  int tick_half_;
  std::vector<MeasureLine> lines_;
  int next_index_ = 1;
  int active_ = 0;
  ColorValue color_ = kRed;
  DirectionState direction_;
  Point drag_pointer_;
  bool drawing_ = false;
  bool label_drag_ = false;
  Point grab_;  // pointer offset inside the held label
  std::string live_text_;
  Rect dirty_;
};

}  // namespace vardo::ruler
