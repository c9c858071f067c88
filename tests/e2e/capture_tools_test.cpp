// The capture overlay's drawing tools through the real Vardo.exe with real
// input: every tool drawn on one selection and copied once, each region of
// the copy checked against the frozen screen; the text labels committed,
// edited, moved and deleted; and a reset that keeps the labels while the
// strokes vanish, at 144 DPI, pinned.
#include <algorithm>
#include <string>
#include <utility>
#include <tuple>
#include <vector>

#include "capture_support_win.h"
#include "pin_support_win.h"

namespace e2e {
namespace {

const uint32_t kRed = Rgb(255, 0, 0);
const uint32_t kBlue = Rgb(0, 0, 255);
const uint32_t kGreen = Rgb(0, 255, 0);

class CaptureTools : public CaptureOverlay {
 protected:
  // A fresh capture with `s` dragged out.
  void Select(Sel s) {
    sel_ = s;
    ASSERT_TRUE(OpenOverlay());
    DragSlowly(s.left, s.top, s.left + s.width, s.top + s.height);
    ASSERT_TRUE(WaitUntil([&] { return Toolbar() && IsWindowVisible(Toolbar()); }, 3000));
  }
  // The toolbar's child with window text `tip`: its rectangle on screen.
  RECT Control(const wchar_t* tip) {
    HWND c = Toolbar() ? FindChildByText(Toolbar(), tip) : nullptr;
    EXPECT_TRUE(c) << Utf8(tip);
    return c ? RectOf(c) : RECT{};
  }
  // Palette swatch k (two rows of nine from x 40, y 4 in the colour band).
  void Swatch(int k) {
    const RECT t = RectOf(Toolbar());
    Click(t.left + Scaled(40 + 16 * (k / 2) + 6), t.top + Scaled(24 + 4 + 16 * (k % 2) + 6));
    Settle(150);
  }
  // Types `text` into the toolbar's box of row `row` (0 width, 1 alpha).
  void SetBox(int row, const std::wstring& text) {
    std::vector<HWND> boxes;
    for (HWND c : ChildWindows(Toolbar(), false))
      if (ClassOf(c) == L"Edit") boxes.push_back(c);
    std::sort(boxes.begin(), boxes.end(), [](HWND a, HWND b) { return RectOf(a).top < RectOf(b).top; });
    ASSERT_EQ(boxes.size(), 2u);
    const RECT r = RectOf(boxes[static_cast<size_t>(row)]);
    Click(r.right - 6, (r.top + r.bottom) / 2);
    Tap(VK_END);
    for (int i = 0; i < 6; ++i) Tap(VK_BACK);
    TypeText(text);
    ASSERT_TRUE(WaitUntil([&] { return TextOf(boxes[static_cast<size_t>(row)]) == text; }, 2000));
  }
  void Choose(const wchar_t* tip) {
    const RECT r = Control(tip);
    Click((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    Settle(150);
  }
  // The overlay's open text box (its own child, not the toolbar's boxes),
  // if it shows.
  HWND Box() const {
    HWND b = Overlay() ? FindWindowExW(Overlay(), nullptr, L"Edit", nullptr) : nullptr;
    return b && IsWindowVisible(b) ? b : nullptr;
  }
  std::optional<Image> Copy() {
    EXPECT_TRUE(ClearClipboard());
    const RECT r = Control(L"保存到剪贴板");
    Click((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    if (!WaitUntil([&] { return !Overlay(); }, 5000)) return std::nullopt;
    return ClipboardImage();
  }
  // Pixels of `img` (the copied selection) at screen point (x, y).
  uint32_t At(const Image& img, int x, int y) const { return img.at(x - sel_.left, y - sel_.top); }
  // How many pixels of the output's `r` (screen coordinates) are near `colour`.
  int CountNear(const Image& img, RECT r, uint32_t colour, int tol) const {
    int n = 0;
    for (int y = r.top; y < r.bottom; ++y)
      for (int x = r.left; x < r.right; ++x) n += ColourDistance(At(img, x, y), colour) <= tol;
    return n;
  }
  // How many pixels of `r` differ from the frozen screen `ref`.
  int CountChanged(const Image& img, const Image& ref, RECT r) const {
    int n = 0;
    for (int y = r.top; y < r.bottom; ++y)
      for (int x = r.left; x < r.right; ++x) n += At(img, x, y) != ref.at(x, y);
    return n;
  }
  Sel sel_{};
};

TEST_F(CaptureTools, EveryToolDrawsInsideTheSelectionAndTheCopyHoldsItAsShown) {
  const Image ref = CaptureScreen();
  Select({700, 300, 700, 450});  // x 700..1399, y 300..749
  const RECT tools = RectOf(Toolbar());
  for (const wchar_t* tip : {L"矩形", L"椭圆", L"文字", L"箭头", L"橡皮"}) EXPECT_TRUE(FindChildByText(Toolbar(), tip));
  // The row in its order; the hover marker `Under` round the button under
  // the pointer, the chosen one's `DownUn` after the click.
  const RECT rect_tool = Control(L"矩形");
  EXPECT_EQ(rect_tool.left - tools.left, 8);
  EXPECT_EQ(Control(L"椭圆").left - tools.left, 31);
  EXPECT_EQ(Control(L"箭头").left - tools.left, 52);
  EXPECT_EQ(Control(L"橡皮").left - tools.left, 75);
  EXPECT_EQ(Control(L"文字").left - tools.left, 95);
  MoveTo(rect_tool.left + 8, rect_tool.top + 8);
  EXPECT_TRUE(WaitUntil([&] { return CaptureRect(rect_tool.left - 2, rect_tool.top + 8, 1, 1).at(0, 0) == Rgb(36, 143, 251); }, 2000))
      << "no hover marker";
  Choose(L"矩形");
  EXPECT_TRUE(WaitUntil([&] { return CaptureRect(rect_tool.left - 2, rect_tool.top + 8, 1, 1).at(0, 0) == kBlue; }, 2000))
      << "no chosen-tool marker";

  // Rectangle in the initial red, width 5; then one dragged past the
  // selection's bottom-right corner, stopping at its edge.
  DragSlowly(750, 350, 900, 450);
  DragSlowly(1300, 650, 1600, 900);
  // The selection no longer moves with a tool chosen, and nothing is drawn
  // outside it.
  EXPECT_EQ(Readout(0), L"700 × 450");
  EXPECT_NE(CaptureRect(1402, 700, 1, 1).at(0, 0), kRed);

  // Ellipse after a palette click (blue).
  Swatch(7);
  Choose(L"椭圆");
  DragSlowly(950, 350, 1100, 450);

  // Arrows: at alpha 0 nothing shows; green at width 2.5 and alpha 255.
  Choose(L"箭头");
  SetBox(1, L"0");
  DragSlowly(750, 520, 950, 520);
  SetBox(1, L"255");
  Swatch(5);
  SetBox(0, L"2.5");
  DragSlowly(750, 600, 950, 600);

  // The eraser, 20 wide, across the rectangle's bottom edge; its grey
  // cursor follows the pointer.
  SetBox(0, L"20");
  Choose(L"橡皮");
  MoveTo(1200, 500);
  EXPECT_TRUE(WaitUntil([&] { return CaptureRect(1190, 500, 1, 1).at(0, 0) == Rgb(128, 128, 128); }, 2000))
      << "no eraser cursor";
  DragSlowly(800, 425, 800, 475);

  // Text, in the current green: a box dragged out opens at its top-left
  // and grows with its text; a double-click makes it a label.
  Choose(L"文字");
  DragSlowly(1000, 620, 1100, 660);
  HWND box = nullptr;
  ASSERT_TRUE(WaitUntil([&] { return (box = Box()) != nullptr; }, 2000)) << "no text box";
  EXPECT_EQ(RectOf(box).left, 1000);
  EXPECT_EQ(RectOf(box).top, 620);
  TypeText(L"Hi");
  ASSERT_TRUE(WaitUntil([&] { return TextOf(box) == L"Hi"; }, 2000));
  const LONG narrow = RectOf(box).right - RectOf(box).left;
  TypeText(L" there");
  EXPECT_TRUE(WaitUntil([&] { return RectOf(box).right - RectOf(box).left > narrow + 10; }, 2000)) << "the box did not grow";
  DoubleClick(1010, 630);
  ASSERT_TRUE(WaitUntil([&] { return !Box(); }, 2000)) << "not committed";
  // A double-click on the label opens it again with its text.
  DoubleClick(1012, 632);
  ASSERT_TRUE(WaitUntil([&] { return Box() && TextOf(Box()) == L"Hi there"; }, 2000)) << "the label did not reopen";
  EXPECT_EQ(RectOf(Box()).left, 1000);
  Tap(VK_END);
  TypeText(L"!");
  ASSERT_TRUE(WaitUntil([&] { return TextOf(Box()) == L"Hi there!"; }, 2000));
  DoubleClick(1010, 630);
  ASSERT_TRUE(WaitUntil([&] { return !Box(); }, 2000));
  // Two more labels from clicks; one is dragged away, the other deleted
  // from its menu.
  for (const auto& [x, y, text] : {std::tuple{1150, 680, L"Two"}, std::tuple{1000, 700, L"Gone"}}) {
    Click(x, y);
    ASSERT_TRUE(WaitUntil([&] { return Box() != nullptr; }, 2000));
    TypeText(text);
    ASSERT_TRUE(WaitUntil([&] { return TextOf(Box()) == text; }, 2000));
    DoubleClick(x + 10, y + 10);
    ASSERT_TRUE(WaitUntil([&] { return !Box(); }, 2000));
  }
  DragSlowly(1162, 692, 1262, 692);
  RightClick(1012, 712);
  Settle(300);
  // Control+Shift+C held while the label's menu is open starts no new
  // capture, which would take the menu's owner away.
  const HWND overlay = Overlay();
  KeyDown(VK_CONTROL);
  KeyDown(VK_SHIFT);
  KeyDown('C');
  EXPECT_EQ(WaitForOverlay(overlay, 800), nullptr) << "a new capture started under the menu";
  KeyUp('C');
  KeyUp(VK_SHIFT);
  KeyUp(VK_CONTROL);
  Settle(200);
  ASSERT_EQ(Overlay(), overlay);
  Tap(VK_DOWN);
  Settle(50);
  Tap(VK_RETURN);
  Settle(300);
  // Text typed in a box that stays open goes into the copy too.
  Click(1250, 620);
  ASSERT_TRUE(WaitUntil([&] { return Box() != nullptr; }, 2000));
  TypeText(L"Open");
  ASSERT_TRUE(WaitUntil([&] { return TextOf(Box()) == L"Open"; }, 2000));

  Park(1250, 720);
  const std::optional<Image> out = Copy();
  ASSERT_TRUE(out);
  ASSERT_EQ(out->width, 700);
  ASSERT_EQ(out->height, 450);

  // The rectangle: 5 px wide, centred on its edges, in red; its inside untouched.
  EXPECT_EQ(CountNear(*out, RECT{745, 400, 756, 401}, kRed, 0), 5);
  EXPECT_EQ(At(*out, 750, 400), kRed);
  EXPECT_EQ(At(*out, 800, 400), ref.at(800, 400));
  EXPECT_EQ(At(*out, 825, 348), kRed);
  // The one dragged past the corner ends on the selection's last column and row.
  EXPECT_EQ(At(*out, 1399, 700), kRed);
  EXPECT_EQ(At(*out, 1350, 749), kRed);
  EXPECT_EQ(At(*out, 1350, 700), ref.at(1350, 700));
  // The ellipse in blue round (1025, 400), radii 75 and 50: the 5 px pen
  // centred on its outline at the ends of both axes, nothing beyond it,
  // its inside untouched; where it runs slanted its edges are shaded.
  for (const auto& [x, y] : {std::pair{950, 400}, std::pair{1100, 400}, std::pair{1025, 350}, std::pair{1025, 450}})
    EXPECT_EQ(At(*out, x, y), kBlue) << x << "," << y;
  // (The outermost of the five is a shade off: the pen's edge bends away
  // from that pixel's side.)
  EXPECT_EQ(CountNear(*out, RECT{940, 400, 960, 401}, kBlue, 8), 5);
  EXPECT_EQ(CountNear(*out, RECT{1025, 340, 1026, 360}, kBlue, 8), 5);
  EXPECT_EQ(CountChanged(*out, ref, RECT{940, 398, 947, 403}), 0) << "outside the ellipse";
  EXPECT_EQ(CountChanged(*out, ref, RECT{1025, 340, 1026, 347}), 0) << "above the ellipse";
  EXPECT_EQ(At(*out, 1025, 400), ref.at(1025, 400));
  EXPECT_EQ(CountChanged(*out, ref, RECT{965, 385, 1086, 416}), 0) << "inside the ellipse";
  int shaded = 0;
  for (int y = 425; y < 448; ++y)
    for (int x = 1065; x < 1090; ++x) shaded += At(*out, x, y) != kBlue && At(*out, x, y) != ref.at(x, y);
  EXPECT_GE(shaded, 12) << "the ellipse is not anti-aliased";
  // Alpha 0 left nothing.
  EXPECT_EQ(CountChanged(*out, ref, RECT{740, 505, 960, 536}), 0);
  // The green arrow from (750, 600) to (950, 600) at width 2.5: row 600
  // whole and three quarters of rows 599 and 601; flat at its start, its
  // first pixel half covered. The head: a triangle 5 px wide at its base,
  // √3 × 2.5 px behind its tip at 950, 5 rows high a pixel in front of
  // its base, nothing past its tip or beside it.
  const int line = CountNear(*out, RECT{800, 590, 801, 611}, kGreen, 100);
  EXPECT_GE(line, 2);
  EXPECT_LE(line, 3);
  EXPECT_EQ(At(*out, 800, 600), kGreen);
  EXPECT_NE(At(*out, 800, 599), kGreen) << "a 2.5 px pen drawn as 3";
  EXPECT_EQ(CountChanged(*out, ref, RECT{800, 590, 801, 611}), 3);
  EXPECT_EQ(CountChanged(*out, ref, RECT{740, 590, 750, 611}), 0) << "before the arrow's start";
  EXPECT_EQ(CountChanged(*out, ref, RECT{946, 590, 947, 611}), 5) << "no arrow head";
  EXPECT_EQ(At(*out, 946, 600), kGreen);
  EXPECT_EQ(CountChanged(*out, ref, RECT{951, 590, 960, 611}), 0) << "past the arrow's tip";
  EXPECT_EQ(CountChanged(*out, ref, RECT{935, 590, 951, 597}), 0) << "above the arrow head";
  EXPECT_EQ(CountChanged(*out, ref, RECT{935, 604, 951, 611}), 0) << "below the arrow head";
  // The eraser gave back the frozen pixels, undimmed, across the edge;
  // the rest of the edge stays red.
  EXPECT_EQ(CountChanged(*out, ref, RECT{795, 440, 806, 461}), 0);
  EXPECT_EQ(At(*out, 850, 450), kRed);
  // The labels: the edited one, the moved one at its new place only, the
  // deleted one gone, and the open box's text.
  EXPECT_GE(CountNear(*out, RECT{1000, 620, 1100, 660}, kGreen, 100), 10) << "the edited label";
  EXPECT_GE(CountNear(*out, RECT{1250, 680, 1300, 715}, kGreen, 100), 8) << "the moved label";
  EXPECT_EQ(CountChanged(*out, ref, RECT{1150, 680, 1200, 715}), 0) << "where the moved label was";
  EXPECT_EQ(CountChanged(*out, ref, RECT{1000, 700, 1060, 740}), 0) << "the deleted label";
  EXPECT_GE(CountNear(*out, RECT{1250, 620, 1300, 655}, kGreen, 100), 8) << "the open box's text";
}

}  // namespace
}  // namespace e2e

namespace e2e {
namespace {

class CaptureToolsAt144Dpi : public CaptureTools {
 protected:
  int Dpi() const override { return 144; }
  ScopedDpi dpi_{144};
};

TEST_F(CaptureToolsAt144Dpi, AResetKeepsTheLabelsWhileStrokesVanishAndAPinCarriesBoth) {
  const Image ref = CaptureScreen();
  Select({700, 300, 600, 400});  // x 700..1299, y 300..699
  const RECT tools = RectOf(Toolbar());
  const RECT rect_tool = Control(L"矩形");
  EXPECT_EQ(rect_tool.left - tools.left, Scaled(8));
  EXPECT_EQ(rect_tool.right - rect_tool.left, Scaled(16));
  Choose(L"矩形");
  DragSlowly(750, 350, 900, 450);
  // Pen widths are physical pixels at any DPI.
  EXPECT_TRUE(WaitUntil([&] {
    const Image edge = CaptureRect(745, 400, 11, 1);
    return std::count(edge.px.begin(), edge.px.end(), kRed) == 5;
  }, 2000)) << "the rectangle is not 5 px wide on screen";

  // A text box from a click; a bigger font from "字体" applies to it at once.
  Choose(L"文字");
  Click(1000, 400);
  HWND box = nullptr;
  ASSERT_TRUE(WaitUntil([&] { return (box = Box()) != nullptr; }, 2000));
  TypeText(L"Aa");
  ASSERT_TRUE(WaitUntil([&] { return TextOf(box) == L"Aa"; }, 2000));
  const RECT small = RectOf(box);
  ASSERT_TRUE(ClickTool(L"字体"));
  HWND d = WaitForDialog([](HWND w) { return GetDlgItem(w, 0x472) != nullptr; });
  ASSERT_TRUE(d) << "no font dialog";
  // The size list's "28", chosen as a click in the list would.
  HWND sizes = GetDlgItem(d, 0x472);
  ASSERT_NE(SendMessageW(sizes, CB_SELECTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(L"28")), CB_ERR);
  SendMessageW(d, WM_COMMAND, MAKEWPARAM(0x472, CBN_SELCHANGE), reinterpret_cast<LPARAM>(sizes));
  PostMessageW(GetDlgItem(d, IDOK), BM_CLICK, 0, 0);
  ASSERT_TRUE(WaitUntil([&] { return !IsWindow(d); }, 3000));
  EXPECT_TRUE(WaitUntil([&] { return RectOf(box).bottom - RectOf(box).top > (small.bottom - small.top) * 3 / 2; }, 2000))
      << "the box did not take the font";
  // The box is dragged by its frame, then committed.
  const RECT at = RectOf(box);
  DragSlowly(at.left + 4, at.top + 4, at.left + 154, at.top + 104);
  EXPECT_TRUE(WaitUntil([&] { return RectOf(box).left == at.left + 150 && RectOf(box).top == at.top + 100; }, 2000))
      << RectOf(box).left << "," << RectOf(box).top;
  const RECT label = RectOf(box);
  DoubleClick((label.left + label.right) / 2, (label.top + label.bottom) / 2);
  ASSERT_TRUE(WaitUntil([&] { return !Box(); }, 2000));
  auto red_in_label = [&](const Image& img, int dx, int dy) {
    int n = 0;
    for (int y = label.top; y < label.bottom; ++y)
      for (int x = label.left; x < label.right; ++x) n += ColourDistance(img.at(x - dx, y - dy), kRed) <= 100;
    return n;
  };

  // A right click returns to detection: the stroke vanishes, the label stays.
  RightClick(1250, 650);
  ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(Toolbar()); }, 2000));
  EXPECT_TRUE(WaitUntil([&] { return CaptureRect(750, 400, 1, 1).at(0, 0) == ref.at(750, 400); }, 2000))
      << "the rectangle is still shown";
  EXPECT_GE(red_in_label(CaptureScreen(), 0, 0), 40) << "the label went with the reset";

  // A new selection starts with no tool: it moves again; an arrow then,
  // and the pin.
  DragSlowly(700, 300, 1300, 700);
  ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(Toolbar()); }, 2000));
  EXPECT_NE(CaptureRect(rect_tool.left - Scaled(2), rect_tool.top + Scaled(8), 1, 1).at(0, 0), kBlue)
      << "the chosen-tool marker stayed";
  Choose(L"箭头");
  DragSlowly(750, 650, 950, 650);
  ASSERT_TRUE(ClearClipboard());
  ASSERT_TRUE(ClickTool(L"贴图到屏幕"));
  ASSERT_TRUE(WaitUntil([&] { return !Overlay() && IsWindowVisible(layer_); }, 5000));
  const std::optional<Image> out = ClipboardImage();
  ASSERT_TRUE(out);
  ASSERT_EQ(out->width, 600);
  ASSERT_EQ(out->height, 400);
  EXPECT_EQ(At(*out, 750, 400), ref.at(750, 400)) << "the wiped rectangle came back";
  EXPECT_EQ(At(*out, 800, 650), kRed) << "no arrow";
  EXPECT_GE(red_in_label(*out, sel_.left, sel_.top), 40) << "no label";
  std::vector<HWND> images;
  ASSERT_TRUE(WaitUntil([&] { return (images = pins::Images(layer_)).size() == 1; }, 3000));
  const RECT p = RectOf(images[0]);
  EXPECT_TRUE(WaitUntil([&] { return CountDifferent(CaptureRect(p.left, p.top, 600, 400), *out) == 0; }, 3000))
      << "the pinned picture is not the output";
}

}  // namespace
}  // namespace e2e
