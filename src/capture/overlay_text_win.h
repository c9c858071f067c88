// The overlay's text: the open text box `PT` (a multi-line edit control,
// so typing and input methods work as anywhere) and the committed labels
// `Label1`, which the overlay draws itself from their state so that the
// outputs are composed from the same state as the screen.
//
// The box grows with its text; it is dragged by its frame (inside it the
// pointer places the caret and selects text, as in any edit box) and a
// double-click commits it. A label is dragged anywhere on it, edited again
// with a double-click and deleted from its right-click menu.
#pragma once
#include <windows.h>

#include <functional>
#include <optional>
#include <string>

#include "capture/label_paint_win.h"
#include "capture/text_labels.h"
#include "capture/tool_style.h"
#include "common/drag_win.h"
#include "common/window_win.h"

namespace vardo {

class OverlayText : private ControlHook {
 public:
  // Makes the hidden box on the overlay window.
  bool Create(HWND overlay, int dpi);
  // Drops the labels and the box (the overlay window goes with it).
  void Destroy();

  // The colour and font of new text; an open new box takes them at once.
  void SetStyle(uint32_t colour, const capture::FontSpec& font);
  // The text tool's release: the box opens at `top_left` (an open box
  // moves there with its text).
  void OpenBoxAt(capture::Point top_left);
  bool box_open() const;
  HWND box() const { return control(); }

  // Pointer events over the overlay, outside the box; true when a label
  // took them. `menu` pops up the text-label menu and tells whether its
  // delete item was chosen.
  bool Press(capture::Point p);
  bool Move(capture::Point p);
  bool Release();
  bool DoubleClick(capture::Point p);
  bool RightPress(capture::Point p, const std::function<bool()>& menu);
  void CaptureLost() { drag_.reset(); }
  bool dragging() const { return drag_.has_value(); }

  // The overlay's messages about the box.
  void OnBoxCommand(WORD code);
  LRESULT BoxColours(HDC dc) const;

  // The visible labels, on screen.
  void Paint(HDC dc);
  // Everything the outputs carry: the visible labels and the text typed
  // in the open box, drawn where they show.
  void DrawOutput(HDC dc);

  const capture::TextLabels& labels() const { return labels_; }

 private:
  bool OnControlMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT* result) override;
  // Double-click on the box: commits it; false (box kept) when no label
  // index is left.
  bool Commit();
  // Delete item of the label menu on label `menu_label_`.
  void delabel1();
  void FitBox();
  void SetFont(const capture::FontSpec& f);
  void PaintFrame() const;
  std::wstring BoxText() const;
  capture::Rect BoxRect() const;
  bool OnFrame(POINT client) const;
  void InvalidateLabel(const capture::TextLabel& l) const;
  void DrawLabels(HDC dc);

  HWND overlay_ = nullptr;
  int padding_ = 16;
  LabelFonts fonts_;
  capture::TextLabels labels_;
  // New text.
  uint32_t colour_ = capture::kInitialColour;
  capture::FontSpec font_;
  // What the open box shows: new text, or the look of the label it edits.
  uint32_t box_colour_ = capture::kInitialColour;
  capture::FontSpec box_font_;
  PointerDrag box_drag_;
  struct LabelDrag {
    int index;
    capture::Point grab;  // the press point inside the label
  };
  std::optional<LabelDrag> drag_;
  int menu_label_ = 0;
  bool fitting_ = false;
};

}  // namespace vardo
