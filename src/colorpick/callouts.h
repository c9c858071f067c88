// The colour callouts dropped on the frozen picture: a swatch filled with
// the picked colour, a leader from the picked pixel to the swatch and a
// label with the colour code. All positions are physical pixels on the
// frozen picture.
#pragma once
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "colorpick/notation.h"
#include "common/direction.h"

namespace vardo::colorpick {

struct Point {
  int x = 0, y = 0;
  bool operator==(const Point&) const = default;
};
struct Size {
  int cx = 0, cy = 0;
  bool operator==(const Size&) const = default;
};

using vardo::kBlue;
using vardo::kGreen;
using vardo::kRed;
using vardo::kWhite;
using vardo::kYellow;
inline constexpr ColorValue kLabelGreen = MakeColor(192, 255, 192);

// Where the parts of one callout go for a pointer position.
struct CalloutGeometry {
  Point diag_end;          // end of the 45-degree leader (starts at the picked pixel)
  bool flat_shown = false;  // the horizontal leader from diag_end to flat_end
  Point flat_end;
  Point swatch;            // top-left corners
  Point label;
};

// Lays a callout out for the pointer. `octant` 0 (no direction known yet)
// keeps everything at the picked pixel, swatch and label on its right.
// `raise` lifts the label in octants 1 and 8, where it would otherwise sit
// on the horizontal leader.
CalloutGeometry LayoutCallout(Point start, Point pointer, int octant, Size swatch, Size label, int raise);

struct Callout {
  int index = 0;
  ColorValue color = 0;
  Point start;
  CalloutGeometry geometry;
  Size label_size;
  LabelTexts texts;
  ColorValue line_color = kRed;
  ColorValue text_color = kRed;
  bool opaque = true;
  ColorValue background = kLabelGreen;
};

// All callouts of one picker window and the commands on them.
class CalloutBoard {
 public:
  // Indices are 16-bit in the design; beyond this no callout is made.
  static constexpr int kMaxIndex = 32767;

  // `measure` gives a label's size for its text; `swatch` and `raise` are
  // the DPI-scaled swatch side and label lift.
  CalloutBoard(std::function<Size(const std::string&)> measure, int swatch, int raise);

  // ---- making a callout ------------------------------------------------------
  // A press on the picture: a new callout at `at` with the picked colour.
  // Returns false (and makes nothing) once the index limit is reached.
  bool Begin(Point at, ColorValue color);
  bool dragging() const { return dragging_; }
  // Every pointer move over the picture (the last position is what the
  // direction tick classifies).
  void NotePointer(Point p) { last_pointer_ = p; }
  // The direction tick: classifies the last pointer position. Once a
  // left-button move has laid the new callout out, a change of octant lays
  // it out again at once; a callout that only other buttons have moved
  // (a right or middle press) keeps its place. True when it moved.
  bool Tick();
  // A move with the left button held: lays the new callout out.
  void DragTo(Point pointer);
  // Release: the next press gets the next index.
  void Finish();

  // ---- labels --------------------------------------------------------------------
  // Index of the topmost label containing p, or 0.
  int LabelAt(Point p) const;
  // Left press on a label: it becomes active and its lines turn blue.
  void BeginLabelDrag(int index, Point pointer);
  // Left-button move: the label follows the pointer and comes to the front.
  void DragLabelTo(Point pointer);
  // Release: the active callout's lines turn red.
  void EndLabelDrag();
  bool label_dragging() const { return label_drag_; }
  // Right press on a label: it becomes the target of the callout menu.
  void ChooseForMenu(int index);

  // ---- commands on the active callout (ignored when it does not exist) -----------
  void SetLineColor(ColorValue c);  // lines and text; also for new callouts
  void SetBackground(ColorValue c);  // opaque label; also for new callouts
  void SetTransparent();             // transparent label; also for new callouts
  void ClearBackground();            // transparent label only
  void ShowDecimal();
  void ShowHexadecimal();
  void Delete();
  // The active label's text as shown, when the callout exists.
  std::optional<std::string> ActiveText() const;

  // ---- state -----------------------------------------------------------------------
  int next_index() const { return next_index_; }
  int active() const { return active_; }
  const DirectionState& direction() const { return direction_; }
  // Bottom to top.
  const std::vector<Callout>& callouts() const { return callouts_; }
  const Callout* Find(int index) const;
  ColorValue style_line() const { return style_line_; }

 private:
  Callout* FindMutable(int index);
  Callout* Newest();
  void Relayout(Callout& c);

  std::function<Size(const std::string&)> measure_;
  int swatch_;
  int raise_;
  std::vector<Callout> callouts_;
  int next_index_ = 1;
  int active_ = 0;
  LabelTexts menu_texts_;  // the active label's texts when its menu opened
  ColorValue style_line_ = kRed;
  ColorValue style_background_ = kLabelGreen;
  bool style_opaque_ = true;
  DirectionState direction_;
  Point last_pointer_;
  Point drag_pointer_;
  bool dragging_ = false;
  bool left_moved_ = false;  // a left-button move has laid the new callout out
  bool label_drag_ = false;
  Point grab_;  // pointer offset inside the dragged label
};

}  // namespace vardo::colorpick
