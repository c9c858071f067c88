// The overlay's text labels: committed from the open text box, movable,
// editable again with a double-click and deleted one at a time from their
// menu. Indices count from 1 and are never reused in one capture; the last
// one is 32767.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "capture/geometry.h"
#include "capture/tool_style.h"

namespace vardo::capture {

struct TextLabel {
  int index = 0;
  Rect box;
  std::string text;     // UTF-8
  uint32_t colour = 0;  // 0x00BBGGRR
  FontSpec font;
  bool visible = true;  // hidden while it is open in the text box
};

class TextLabels {
 public:
  static constexpr int kLastIndex = 32767;

  // Double-click on the open box. A new label takes the box, text, colour
  // and font; a label being edited takes the text and the box's size and
  // is shown again. Returns the label's index, or nothing when no index is
  // left (the box then stays open and nothing changes).
  std::optional<int> Commit(const Rect& box, const std::string& text, uint32_t colour, const FontSpec& font);

  // Double-click on label k: it is hidden and becomes the one being edited.
  // Returns it, or null when there is no such label.
  const TextLabel* BeginEdit(int k);
  // The label being edited, 0 for none.
  int editing() const { return editing_; }

  // Deletes label k (its menu's "删除"); the others and the next index stay.
  bool Delete(int k);

  // The visible label under p that is drawn last (on top), 0 for none.
  int LabelAt(Point p) const;
  // Moves label k so that its top-left is at `top_left`, and puts it on top.
  void MoveTo(int k, Point top_left);

  const TextLabel* Find(int k) const;
  // In drawing order: later ones cover earlier ones.
  const std::vector<TextLabel>& labels() const { return labels_; }
  int next_index() const { return next_; }

 private:
  TextLabel* FindMutable(int k);

  std::vector<TextLabel> labels_;
  int next_ = 1;
  int editing_ = 0;
};

// The open text box `PT` grows with its text: the text's extent plus
// `padding` on each axis (half of it on each side), never less than one
// line high.
Size TextBoxSize(Size text, int line_height, int padding);

// Where a label's (and the box's) text starts inside its box.
Point TextOrigin(const Rect& box, int padding);

}  // namespace vardo::capture
