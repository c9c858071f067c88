// The pin layer's geometry and small state rules, free of any window:
// handle placement, centring, the highlight frame and its blink, image
// indices, collapsing and expanding, caption sizing and image dragging.
// Lengths are physical pixels unless a name says twips.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "common/geometry.h"

namespace vardo::pin {

using vardo::Point;
using vardo::Rect;
using vardo::Size;

constexpr int kHandleSize96 = 36;          // the handle tile, pixels at 96 DPI
constexpr int kHandleMarginTwips = 500;    // from the layer's top and right edges
constexpr int kCollapsedTwips = 450;       // a collapsed image's side
constexpr int kFrameGapTwips = 15;         // highlight frame just outside the image
constexpr int kCaptionExtraWidthTwips = 1000;
constexpr int kCaptionExtraHeightTwips = 100;
constexpr int kMaxImageIndex = 32767;

// Top-left corner of the handle: right edge less its width less 500 twips,
// 500 twips from the top.
Point HandlePosition(int layer_width, int handle_width, int dpi);

// Where the handle goes when the screen changes size. A handle still at its
// start place for the old size goes to the start place for the new one; one
// the user dragged elsewhere stays, unless it is no longer wholly on the new
// screen, and then it goes back to the start place.
Point HandleAfterScreenChange(const Rect& handle, Size old_screen, Size new_screen, int dpi);

// Where an image goes when the screen changes size: it stays while any part
// of it is still on the screen; one wholly off it comes back just inside the
// nearest edges (its top-left corner on the screen if it is larger).
Point BoxAfterScreenChange(const Rect& box, Size new_screen);

// A box of the given size centred on a screen of the given size.
Rect CentreOnScreen(Size screen, Size box);

// The highlight frame's rectangle around an image.
Rect HighlightFrame(const Rect& image, int dpi);

// One tick of the highlight blinker. Colours are 0x00BBGGRR.
struct BlinkTick {
  bool show = true;
  uint32_t colour = 0;  // valid when show
  bool stop = false;
};
BlinkTick BlinkAt(int counter);

// Decimal text of a hidden index field ("1", "27") -> its value; nothing
// for text that is not a whole number between 1 and kMaxImageIndex.
std::optional<int> ParseIndex(std::string_view text);

// Takes the next free index from the text of `imgnum` and advances it.
// Nothing (and `imgnum` unchanged) once the index range is used up or the
// field holds something other than an index.
std::optional<int> TakeIndex(std::string& imgnum);

// Lower-cased text after the last "." of a file's name (folders in the
// path do not count); empty when the name has no ".".
std::string FileTypeOf(std::string_view path);

// Caption of a new image: its index followed by "#".
std::string CaptionFor(int index);

// Collapse state of one pinned image and what a double-click does to it.
struct PinGeometry {
  Rect box;                 // the image box on the layer
  Size picture;             // the picture's own size
  std::string marker;       // "1" = collapsed
  bool caption_visible = false;
  Point caption_pos;
  bool tooltip = true;      // the image's hint is dropped once it expanded again
};
bool IsCollapsed(const PinGeometry& g);
// Collapses an expanded image or expands a collapsed one. `caption_height`
// is the caption box's current height.
void ToggleCollapse(PinGeometry& g, int caption_height, int dpi);

// Where an image goes when the pointer, at `pointer` in the dragged item's
// own coordinates, moved from the grab point `grab`.
Point DragStep(Point image_pos, Point pointer, Point grab);

// The caption sits on top of its image's left edge.
Point CaptionPosition(Point image_pos, int caption_height);

// The caption box for text of the given extent (measured with the layer's
// font): text width + 1000 twips by text height + 100 twips.
Size CaptionBoxSize(Size text_extent, int dpi);

}  // namespace vardo::pin
