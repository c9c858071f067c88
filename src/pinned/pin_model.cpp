#include "pinned/pin_model.h"

#include <charconv>

#include "common/units.h"

namespace vardo::pin {

Point HandlePosition(int layer_width, int handle_width, int dpi) {
  int margin = TwipsToPixels(kHandleMarginTwips, dpi);
  return {layer_width - handle_width - margin, margin};
}

Point HandleAfterScreenChange(const Rect& handle, Size old_screen, Size new_screen, int dpi) {
  const Point start = HandlePosition(new_screen.width, handle.width, dpi);
  if (Point{handle.left, handle.top} == HandlePosition(old_screen.width, handle.width, dpi)) return start;
  const bool on_screen = handle.left >= 0 && handle.top >= 0 && handle.right() <= new_screen.width &&
                         handle.bottom() <= new_screen.height;
  return on_screen ? Point{handle.left, handle.top} : start;
}

Point BoxAfterScreenChange(const Rect& box, Size new_screen) {
  if (box.Intersects(Rect{0, 0, new_screen.width, new_screen.height})) return {box.left, box.top};
  auto inside = [](int pos, int length, int screen) {
    const int last = screen - length > 0 ? screen - length : 0;
    return pos < 0 ? 0 : (pos > last ? last : pos);
  };
  return {inside(box.left, box.width, new_screen.width), inside(box.top, box.height, new_screen.height)};
}

Rect CentreOnScreen(Size screen, Size box) {
  return {(screen.width - box.width) / 2, (screen.height - box.height) / 2, box.width, box.height};
}

Rect HighlightFrame(const Rect& image, int dpi) {
  int gap = TwipsToPixels(kFrameGapTwips, dpi);
  return {image.left - gap, image.top - gap, image.width + 2 * gap, image.height + 2 * gap};
}

BlinkTick BlinkAt(int counter) {
  switch (counter) {
    case 0:
      return {true, 0x0000FF, false};  // red
    case 1:
      return {true, 0x00FFFF, false};  // yellow
    case 2:
      return {true, 0x00FF00, false};  // green
    default:
      return {false, 0, true};
  }
}

std::optional<int> ParseIndex(std::string_view text) {
  int value = 0;
  const char* end = text.data() + text.size();
  auto [ptr, ec] = std::from_chars(text.data(), end, value);
  if (text.empty() || ec != std::errc() || ptr != end) return std::nullopt;
  if (value < 1 || value > kMaxImageIndex) return std::nullopt;
  return value;
}

std::optional<int> TakeIndex(std::string& imgnum) {
  std::optional<int> n = ParseIndex(imgnum);
  if (!n) return std::nullopt;
  // The last index is handed out once; the field then stays past the range.
  imgnum = std::to_string(*n + 1);
  return n;
}

std::string CaptionFor(int index) {
  std::string caption = std::to_string(index);
  caption.push_back('#');
  return caption;
}

bool IsCollapsed(const PinGeometry& g) { return g.marker == "1"; }

void ToggleCollapse(PinGeometry& g, int caption_height, int dpi) {
  if (!IsCollapsed(g)) {
    int side = TwipsToPixels(kCollapsedTwips, dpi);
    g.box.width = side;
    g.box.height = side;
    g.marker.assign(1, '1');
    // The caption takes the place computed before the clamp below.
    g.caption_pos = CaptionPosition({g.box.left, g.box.top}, caption_height);
    g.caption_visible = true;
    if (g.box.left < 0) g.box.left = 0;
    if (g.box.top < 0) g.box.top = 0;
  } else {
    g.box.width = g.picture.width;
    g.box.height = g.picture.height;
    g.marker.assign(1, '2');
    g.tooltip = false;
    g.caption_visible = false;
  }
}

Point DragStep(Point image_pos, Point pointer, Point grab) {
  return {image_pos.x + (pointer.x - grab.x), image_pos.y + (pointer.y - grab.y)};
}

Point CaptionPosition(Point image_pos, int caption_height) { return {image_pos.x, image_pos.y - caption_height}; }

Size CaptionBoxSize(Size text_extent, int dpi) {
  return {text_extent.width + TwipsToPixels(kCaptionExtraWidthTwips, dpi),
          text_extent.height + TwipsToPixels(kCaptionExtraHeightTwips, dpi)};
}

std::string FileTypeOf(std::string_view path) {
  size_t name = path.find_last_of("\\/");
  std::string_view file = name == std::string_view::npos ? path : path.substr(name + 1);
  size_t dot = file.rfind('.');
  if (dot == std::string_view::npos) return {};
  std::string type(file.substr(dot + 1));
  for (char& c : type)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return type;
}

}  // namespace vardo::pin
