// The magnifier: its layout at 96 and 144 DPI, which frozen pixels it
// shows at the screen's edges, pixel replication into the view, the marker
// on the cursor's own pixel and the readout texts.
#include <gtest/gtest.h>

#include <vector>

#include "capture/geometry.h"
#include "capture/magnifier.h"

namespace vardo::capture {
namespace {

constexpr Size kScreen{1920, 1080};
constexpr uint32_t kBack = 0x404040;

// A picture whose every pixel tells where it is.
std::vector<uint32_t> Numbered(Size s) {
  std::vector<uint32_t> px(static_cast<size_t>(s.width) * s.height);
  for (int y = 0; y < s.height; ++y)
    for (int x = 0; x < s.width; ++x) px[static_cast<size_t>(y) * s.width + x] = static_cast<uint32_t>(x << 12 | y);
  return px;
}

TEST(CaptureMagnifier, PlacementScalesWithTheDpi) {
  const MagnifierLayout m144 = LayoutMagnifier(144);
  EXPECT_EQ(m144.panel, (Size{195, 242}));
  // The +gap rule at 144 DPI: 1920 - 195 + 30 = 1755 is the last x to the right.
  EXPECT_EQ(PlaceMagnifier({1755, 100}, m144.panel, kScreen, m144.gap).x, 1785);
  EXPECT_EQ(PlaceMagnifier({1756, 100}, m144.panel, kScreen, m144.gap).x, 1756 - 195 - 30);
}

TEST(CaptureMagnifier, ShowsTheTwentyPixelsRoundTheCursorAndBackgroundBeyondTheScreen) {
  const Size shot{40, 30};
  const std::vector<uint32_t> px = Numbered(shot);
  const PixelView from{px.data(), shot, shot.width};
  const Size view{130, 130};
  std::vector<uint32_t> out(static_cast<size_t>(view.width) * view.height);
  auto at = [&](int x, int y) { return out[static_cast<size_t>(y) * view.width + x]; };
  auto source = [&](int x, int y) { return static_cast<uint32_t>(x << 12 | y); };

  // In the middle: cell i shows source pixel cursor - 10 + i, 6 or 7 px wide.
  EXPECT_EQ(MagnifierSource({20, 15}), (Rect{10, 5, 20, 20}));
  Magnify(from, MagnifierSource({20, 15}), out.data(), view, view.width, kBack);
  for (int i = 0; i < kMagnifiedPixels; ++i) {
    const int first = CellStart(i, 130), last = CellStart(i + 1, 130) - 1;
    EXPECT_TRUE(last - first == 5 || last - first == 6) << i;
    EXPECT_EQ(at(first, 0), source(10 + i, 5)) << i;
    EXPECT_EQ(at(last, 129), source(10 + i, 24)) << i;
  }
  // The cursor's own pixel is under the marker.
  const Rect cross = CrossRect(view);
  EXPECT_EQ(cross, (Rect{65, 65, 7, 7}));
  EXPECT_EQ(at(cross.left, cross.top), source(20, 15));
  EXPECT_EQ(at(cross.right() - 1, cross.bottom() - 1), source(20, 15));
  EXPECT_NE(at(cross.left - 1, cross.top), source(20, 15));

  // Top-left corner of the screen: the first ten cells show background.
  Magnify(from, MagnifierSource({0, 0}), out.data(), view, view.width, kBack);
  EXPECT_EQ(at(0, 0), kBack);
  EXPECT_EQ(at(CellStart(10, 130) - 1, 129), kBack);
  EXPECT_EQ(at(CellStart(10, 130), CellStart(10, 130)), source(0, 0));
  EXPECT_EQ(at(129, 129), source(9, 9));
  // Bottom-right: the last nine columns and rows lie beyond the screen.
  Magnify(from, MagnifierSource({39, 29}), out.data(), view, view.width, kBack);
  EXPECT_EQ(at(cross.left, cross.top), source(39, 29));
  EXPECT_EQ(at(CellStart(11, 130), 0), kBack);
  EXPECT_EQ(at(129, 129), kBack);
  EXPECT_EQ(at(0, 0), source(29, 19));

  // At 144 DPI the cells are 9 or 10 px and the marker is still on the cursor.
  const Size big{195, 195};
  std::vector<uint32_t> out2(static_cast<size_t>(big.width) * big.height);
  Magnify(from, MagnifierSource({20, 15}), out2.data(), big, big.width, kBack);
  const Rect c2 = CrossRect(big);
  EXPECT_EQ(c2.width, 10);
  EXPECT_EQ(out2[static_cast<size_t>(c2.top) * big.width + c2.left], source(20, 15));
  EXPECT_EQ(out2[static_cast<size_t>(c2.bottom() - 1) * big.width + c2.right() - 1], source(20, 15));
}

TEST(CaptureMagnifier, ReadoutTexts) {
  EXPECT_EQ(RgbReadout(0x0080FF), "RGB(255 , 128 , 0)");
  EXPECT_EQ(RgbReadout(0), "RGB(0 , 0 , 0)");
  EXPECT_EQ(RgbReadout(0x0A141E), "RGB(30 , 20 , 10)");
  EXPECT_EQ(SizeReadout(404, 254), "404 × 254");
  EXPECT_EQ(SizeReadout(0, 0), "0 × 0");
  EXPECT_EQ(ColourOfPixel(0x00FF8000), 0x0080FFu);  // DIB 0x00RRGGBB to 0x00BBGGRR
}

}  // namespace
}  // namespace vardo::capture
