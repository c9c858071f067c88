#include "capture/text_labels.h"

#include <algorithm>

namespace vardo::capture {

std::optional<int> TextLabels::Commit(const Rect& box, const std::string& text, uint32_t colour,
                                      const FontSpec& font) {
  if (editing_) {
    TextLabel* l = FindMutable(editing_);
    editing_ = 0;
    if (l) {
      // The label stays where it was and grows with its new text.
      l->text = text;
      l->box.width = box.width;
      l->box.height = box.height;
      l->visible = true;
      return l->index;
    }
    // Deleted meanwhile: the text becomes a new label.
  }
  if (next_ > kLastIndex) return std::nullopt;
  labels_.push_back(TextLabel{next_, box, text, colour, font, true});
  return next_++;
}

const TextLabel* TextLabels::BeginEdit(int k) {
  TextLabel* l = FindMutable(k);
  if (!l) return nullptr;
  // A second double-click while another is open shows that one again.
  if (editing_ && editing_ != k)
    if (TextLabel* open = FindMutable(editing_)) open->visible = true;
  l->visible = false;
  editing_ = k;
  return l;
}

bool TextLabels::Delete(int k) {
  auto it = std::find_if(labels_.begin(), labels_.end(), [k](const TextLabel& l) { return l.index == k; });
  if (it == labels_.end()) return false;
  labels_.erase(it);
  if (editing_ == k) editing_ = 0;
  return true;
}

int TextLabels::LabelAt(Point p) const {
  for (auto it = labels_.rbegin(); it != labels_.rend(); ++it)
    if (it->visible && it->box.Contains(p)) return it->index;
  return 0;
}

void TextLabels::MoveTo(int k, Point top_left) {
  auto it = std::find_if(labels_.begin(), labels_.end(), [k](const TextLabel& l) { return l.index == k; });
  if (it == labels_.end()) return;
  TextLabel moved = *it;
  moved.box.left = top_left.x;
  moved.box.top = top_left.y;
  labels_.erase(it);
  labels_.push_back(moved);
}

const TextLabel* TextLabels::Find(int k) const {
  for (const TextLabel& l : labels_)
    if (l.index == k) return &l;
  return nullptr;
}

TextLabel* TextLabels::FindMutable(int k) {
  return const_cast<TextLabel*>(static_cast<const TextLabels*>(this)->Find(k));
}

Size TextBoxSize(Size text, int line_height, int padding) {
  return Size{std::max(text.width, 0) + padding, std::max(text.height, line_height) + padding};
}

Point TextOrigin(const Rect& box, int padding) { return Point{box.left + padding / 2, box.top + padding / 2}; }

}  // namespace vardo::capture
