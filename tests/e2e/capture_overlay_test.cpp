// The capture overlay through the real Vardo.exe: the handle menu's "截图"
// freezes the screen; selecting, resizing, moving, resetting, re-capturing
// and closing are driven with real mouse and keyboard input and checked on
// the screen's pixels.
#include <gtest/gtest.h>

#include <cstdlib>

#include "capture_support_win.h"

namespace e2e {
namespace {

constexpr uint32_t kOrange = 0xFF8000;  // handles

// The eight handles, `size` square, centred on the corners and edge middles.
::testing::AssertionResult HandlesAt(const Image& s, Sel sel, int size) {
  const int half = size / 2;
  const int xs[3] = {sel.left - half, sel.left + sel.width / 2 - half, sel.left + sel.width - half};
  const int ys[3] = {sel.top - half, sel.top + sel.height / 2 - half, sel.top + sel.height - half};
  const int col[8] = {0, 1, 2, 0, 2, 0, 1, 2}, row[8] = {0, 0, 0, 1, 1, 2, 2, 2};
  for (int i = 0; i < 8; ++i) {
    const int hx = xs[col[i]], hy = ys[row[i]];
    for (int y = hy; y < hy + size; ++y)
      for (int x = hx; x < hx + size; ++x)
        if (s.at(x, y) != kOrange)
          return ::testing::AssertionFailure() << "handle " << i << " pixel " << x << "," << y << " is not orange but "
                                               << std::hex << s.at(x, y);
    // Exactly `size`: the pixels just beyond are not handle.
    if (s.at(hx + size, hy + size) == kOrange || s.at(hx - 1, hy - 1) == kOrange)
      return ::testing::AssertionFailure() << "handle " << i << " is larger than " << size;
  }
  return ::testing::AssertionSuccess();
}

int CountOrange(const Image& s, int x0, int y0, int x1, int y1) {
  int n = 0;
  for (int y = y0; y < y1; ++y)
    for (int x = x0; x < x1; ++x) n += s.at(x, y) == kOrange;
  return n;
}

// The screen once the handles show at `sel` (within 3 s), or as it is then.
Image ShotOnceHandlesAt(Sel sel, int size) {
  Image shot;
  WaitUntil([&] { return bool(HandlesAt(shot = CaptureScreen(), sel, size)); }, 3000);
  return shot;
}

bool Near(int v, int lo, int hi, int margin) { return v >= lo - margin && v < hi + margin; }

// Outside the selection every pixel is the frozen one at 85/255; inside it
// is the frozen pixel itself. The outline, handles, toolbar and the corner
// where the handle menu was are left out, and so is the magnifier.
void ExpectDimmedOutside(const Image& shot, const Image& ref, Sel sel, RECT toolbar, RECT magnifier) {
  int inside_wrong = 0, outside_wrong = 0, inside_seen = 0;
  POINT first_wrong{-1, -1};
  for (int y = 0; y < shot.height; y += 3) {
    for (int x = 0; x < shot.width; x += 3) {
      if (x >= 1500 && y < 400) continue;
      if (x >= toolbar.left && x < toolbar.right && y >= toolbar.top && y < toolbar.bottom) continue;
      if (x >= magnifier.left && x < magnifier.right && y >= magnifier.top && y < magnifier.bottom) continue;
      const bool near_x = Near(x, sel.left, sel.left + 1, 8) || Near(x, sel.left + sel.width, sel.left + sel.width + 1, 8);
      const bool near_y = Near(y, sel.top, sel.top + 1, 8) || Near(y, sel.top + sel.height, sel.top + sel.height + 1, 8);
      const bool in_x = x >= sel.left && x < sel.left + sel.width, in_y = y >= sel.top && y < sel.top + sel.height;
      if ((near_x && Near(y, sel.top, sel.top + sel.height, 8)) || (near_y && Near(x, sel.left, sel.left + sel.width, 8)))
        continue;
      if (in_x && in_y) {
        ++inside_seen;
        inside_wrong += ColourDistance(shot.at(x, y), ref.at(x, y)) > 1;
      } else if (ColourDistance(shot.at(x, y), Dimmed(ref.at(x, y))) > 2) {
        if (!outside_wrong++) first_wrong = {x, y};
      }
    }
  }
  EXPECT_GT(inside_seen, 100);
  EXPECT_EQ(inside_wrong, 0) << "undimmed pixels inside the selection differ from the frozen picture";
  EXPECT_EQ(outside_wrong, 0) << "pixels outside the selection are not the frozen picture dimmed to 85/255, first at "
                              << first_wrong.x << "," << first_wrong.y << std::hex << " (shown "
                              << shot.at(first_wrong.x, first_wrong.y) << ", before the capture "
                              << ref.at(first_wrong.x, first_wrong.y) << ")";
}

TEST_F(CaptureOverlay, FreezesTheScreenDimsOutsideTheSelectionAndExiGivesTheLayerBack) {
  Target target(1300, 650, 400, 250);
  ASSERT_TRUE(target.hwnd());
  ASSERT_TRUE(FocusAsTheMenuLeavesIt());
  WaitUntil([&] { return CaptureRect(1500, 775, 1, 1).at(0, 0) == kTargetColour; }, 3000);
  const Image ref = CaptureScreen();
  ASSERT_EQ(ref.at(1500, 775), kTargetColour);

  HWND overlay = OpenOverlay();
  ASSERT_TRUE(overlay) << "choosing 截图 opened no overlay";
  EXPECT_FALSE(IsWindowVisible(layer_));
  RECT r = RectOf(overlay);
  EXPECT_EQ(r.left, 0);
  EXPECT_EQ(r.top, 0);
  EXPECT_EQ(r.right, 1920);
  EXPECT_EQ(r.bottom, 1080);
  EXPECT_TRUE(IsTopmost(overlay));

  // The live window changes; the overlay keeps the picture it froze.
  ASSERT_TRUE(target.Switch());
  Settle(300);
  Image shot;
  WaitUntil([&] { return ColourDistance((shot = CaptureScreen()).at(1500, 775), Dimmed(kTargetColour)) <= 2; }, 3000);
  EXPECT_LE(ColourDistance(shot.at(1500, 775), Dimmed(kTargetColour)), 2) << std::hex << shot.at(1500, 775);

  DragSlowly(1200, 600, 1600, 800);
  // Once the handles and the magnifier have come to their places.
  EXPECT_TRUE(WaitUntil([&] {
    shot = CaptureScreen();
    return HandlesAt(shot, Sel{1200, 600, 400, 200}, 6) && MagnifierAt(MagnifierFor(1600, 800));
  }, 3000));
  shot = CaptureScreen();
  EXPECT_EQ(shot.at(1400, 700), kTargetColour) << "the selection shows the frozen window undimmed";
  EXPECT_TRUE(HandlesAt(shot, Sel{1200, 600, 400, 200}, 6));
  ASSERT_TRUE(Toolbar());
  ExpectDimmedOutside(shot, ref, Sel{1200, 600, 400, 200}, RectOf(Toolbar()), MagnifierFor(1600, 800));

  HWND exi = FindWindowExW(Toolbar(), nullptr, L"VardoCaptureExi", nullptr);
  ASSERT_TRUE(exi);
  RECT e = RectOf(exi);
  EXPECT_EQ(TextOf(exi), L"退出");
  const Image button = CaptureRect(e.left, e.top, e.right - e.left, e.bottom - e.top);
  EXPECT_EQ(button.at(1, 1), Rgb(255, 0, 0));
  EXPECT_EQ(button.at(button.width / 2, button.height / 2), Rgb(255, 255, 255)) << "the close cross";
  Click((e.left + e.right) / 2, (e.top + e.bottom) / 2);
  EXPECT_TRUE(WaitUntil([&] { return !IsWindow(overlay); }, 3000)) << "Exi should close the overlay";
  EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(layer_) != FALSE; }, 3000)) << "the layer comes back";
  uint32_t live = 0;
  WaitUntil([&] { return (live = CaptureRect(1500, 775, 1, 1).at(0, 0)) == kTargetSwitched; }, 3000);
  EXPECT_EQ(live, kTargetSwitched) << "the live window did change";
}

TEST_F(CaptureOverlay, DragSelectsInEitherDirectionWithHandlesAndToolbar) {
  ASSERT_TRUE(OpenOverlay());
  // A click where no window is highlighted (the bare desktop under Wine)
  // fixes nothing: no empty selection, no toolbar off the screen.
  Click(1200, 700);
  Settle(300);
  EXPECT_FALSE(Toolbar() && IsWindowVisible(Toolbar())) << "an empty selection was fixed";
  // Bottom-right to top-left.
  DragSlowly(1200, 700, 900, 400);
  Image shot = ShotOnceHandlesAt(Sel{900, 400, 300, 300}, 6);
  EXPECT_TRUE(HandlesAt(shot, Sel{900, 400, 300, 300}, 6));
  WaitUntil([&] { return Toolbar() && IsWindowVisible(Toolbar()); }, 3000);
  ASSERT_TRUE(Toolbar());
  EXPECT_TRUE(IsWindowVisible(Toolbar()));
  RECT t = RectOf(Toolbar());
  // Room above: above the selection, right edges aligned.
  EXPECT_EQ(t.left, 1200 - 225);
  EXPECT_EQ(t.top, 400 - 113 - 5);
  EXPECT_EQ(t.right - t.left, 225);
  EXPECT_EQ(t.bottom - t.top, 113);
  // The outline is 1 px in the highlight colour once fixed.
  EXPECT_EQ(shot.at(1000, 400), Highlight());
  EXPECT_NE(shot.at(1000, 401), Highlight());

  // Reset, then top-left to bottom-right.
  RightClick(1500, 900);
  Settle(200);
  DragSlowly(300, 300, 600, 500);
  EXPECT_TRUE(HandlesAt(ShotOnceHandlesAt(Sel{300, 300, 300, 200}, 6), Sel{300, 300, 300, 200}, 6));
}

TEST_F(CaptureOverlay, ToolbarGoesAboveBelowOrInsideTheSelection) {
  ASSERT_TRUE(OpenOverlay());
  struct Case {
    const char* what;
    POINT from, to;
    POINT toolbar;
  } cases[] = {
      {"near the top with room below: below", {300, 50}, {700, 250}, {700 - 225, 255}},
      {"3 px from the top: the rule for below decides", {400, 3}, {800, 203}, {800 - 225, 208}},
      {"whole screen: inside along the top", {0, 0}, {1919, 1079}, {1919 - 225, 0}},
  };
  for (const Case& c : cases) {
    DragSlowly(c.from.x, c.from.y, c.to.x, c.to.y);
    WaitUntil([&] {
      const RECT now = RectOf(Toolbar());
      return Toolbar() && IsWindowVisible(Toolbar()) && now.left == c.toolbar.x && now.top == c.toolbar.y;
    }, 3000);
    ASSERT_TRUE(Toolbar());
    EXPECT_TRUE(IsWindowVisible(Toolbar())) << c.what;
    RECT t = RectOf(Toolbar());
    EXPECT_EQ(t.left, c.toolbar.x) << c.what;
    EXPECT_EQ(t.top, c.toolbar.y) << c.what;
    RightClick(1000, 1000);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(Toolbar()); }, 3000)) << "right click hides the toolbar";
  }
}

TEST_F(CaptureOverlay, RightClickReturnsToDetectionAndAClickFixesTheHighlightedWindow) {
  Target target(1300, 650, 400, 250);
  ASSERT_TRUE(target.hwnd());
  ASSERT_TRUE(FocusAsTheMenuLeavesIt());
  const Image ref = CaptureScreen();
  ASSERT_TRUE(OpenOverlay());
  DragSlowly(300, 300, 600, 500);
  ASSERT_TRUE(HandlesAt(ShotOnceHandlesAt(Sel{300, 300, 300, 200}, 6), Sel{300, 300, 300, 200}, 6));

  RightClick(1000, 300);
  EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(Toolbar()); }, 3000));
  MoveTo(1500, 775);
  Settle(400);
  // Once the handles have gone and the window under the cursor is outlined.
  Image shot;
  WaitUntil([&] {
    shot = CaptureScreen();
    if (CountOrange(shot, 280, 280, 620, 520) != 0) return false;
    for (int x = 1298; x < 1302; ++x)
      if (shot.at(x, 775) != Highlight()) return false;
    return true;
  }, 3000);
  EXPECT_EQ(CountOrange(shot, 280, 280, 620, 520), 0) << "handles are gone";
  // The window under the cursor is outlined 4 px wide, 2 px outside it.
  for (int x = 1298; x < 1302; ++x) EXPECT_EQ(shot.at(x, 775), Highlight()) << x;
  EXPECT_NE(shot.at(1302, 775), Highlight());
  EXPECT_EQ(shot.at(1500, 775), kTargetColour) << "the highlighted window is undimmed";
  EXPECT_LE(ColourDistance(shot.at(1200, 775), Dimmed(ref.at(1200, 775))), 2) << "around it is dimmed";

  // A click without a drag (a few pixels of tremor) fixes that rectangle.
  MoveTo(1500, 775);
  LeftDown();
  for (int i = 1; i <= 5; ++i) {
    MoveTo(1500 + i, 775);
    ::Sleep(10);
  }
  LeftUp();
  shot = ShotOnceHandlesAt(Sel{1298, 648, 404, 254}, 6);
  EXPECT_TRUE(HandlesAt(shot, Sel{1298, 648, 404, 254}, 6));
  RECT t = RectOf(Toolbar());
  EXPECT_EQ(t.left, 1702 - 225);
  EXPECT_EQ(t.top, 648 - 113 - 5);
  // Once fixed, moving elsewhere no longer changes the outline.
  MoveTo(300, 300);
  Settle(300);
  EXPECT_TRUE(HandlesAt(CaptureScreen(), Sel{1298, 648, 404, 254}, 6));
}

TEST_F(CaptureOverlay, HandleDragsResizeAndNeverFlip) {
  const Image ref = CaptureScreen();
  ASSERT_TRUE(OpenOverlay());
  DragSlowly(600, 300, 1000, 600);
  const Image before = ShotOnceHandlesAt(Sel{600, 300, 400, 300}, 6);
  ASSERT_TRUE(HandlesAt(before, Sel{600, 300, 400, 300}, 6));

  // Middle-left handle far past the right edge: zero width at the right
  // edge, never a flipped rectangle.
  DragSlowly(599, 450, 1200, 450);
  Image shot = ShotOnceHandlesAt(Sel{1000, 300, 0, 300}, 6);
  EXPECT_TRUE(HandlesAt(shot, Sel{1000, 300, 0, 300}, 6));
  EXPECT_EQ(CountOrange(shot, 1010, 280, 1220, 620), 0) << "nothing beyond the right edge";
  EXPECT_LE(ColourDistance(shot.at(800, 450), Dimmed(before.at(800, 450))), 2) << "the old inside is dimmed";

  // Bottom-right handle (on top of the stacked handles) outwards.
  DragSlowly(1000, 600, 1100, 700);
  shot = ShotOnceHandlesAt(Sel{1000, 300, 100, 400}, 6);
  EXPECT_TRUE(HandlesAt(shot, Sel{1000, 300, 100, 400}, 6));
  EXPECT_LE(ColourDistance(shot.at(1050, 500), ref.at(1050, 500)), 1) << "the new inside is undimmed";

  // Top-middle handle dragged below the bottom stops at zero height.
  DragSlowly(1050, 300, 1050, 950);
  EXPECT_TRUE(HandlesAt(ShotOnceHandlesAt(Sel{1000, 700, 100, 0}, 6), Sel{1000, 700, 100, 0}, 6));
}

TEST_F(CaptureOverlay, DraggingInsideCentresTheSelectionAndTheToolbarDragsOnItsOwn) {
  ASSERT_TRUE(OpenOverlay());
  DragSlowly(600, 300, 900, 500);
  ASSERT_TRUE(HandlesAt(ShotOnceHandlesAt(Sel{600, 300, 300, 200}, 6), Sel{600, 300, 300, 200}, 6));
  const RECT toolbar = RectOf(Toolbar());
  DragSlowly(750, 400, 1200, 700);
  Park(300, 900);
  Image shot = ShotOnceHandlesAt(Sel{1050, 600, 300, 200}, 6);
  EXPECT_TRUE(HandlesAt(shot, Sel{1050, 600, 300, 200}, 6));
  // (Below the toolbar, whose slider thumbs are orange too.)
  EXPECT_EQ(CountOrange(shot, 580, toolbar.bottom, 920, 520), 0) << "no handles left at the old place";
  const RECT now = RectOf(Toolbar());
  EXPECT_EQ(now.left, toolbar.left) << "the toolbar stays where it was";
  EXPECT_EQ(now.top, toolbar.top);

  // Dragging the toolbar's background moves the toolbar, not the selection.
  DragSlowly(now.left + 40, now.top + 60, now.left + 140, now.top + 140);
  RECT moved{};
  WaitUntil([&] {
    moved = RectOf(Toolbar());
    return moved.left == now.left + 100 && moved.top == now.top + 80;
  }, 3000);
  EXPECT_EQ(moved.left, now.left + 100);
  EXPECT_EQ(moved.top, now.top + 80);
  EXPECT_TRUE(HandlesAt(ShotOnceHandlesAt(Sel{1050, 600, 300, 200}, 6), Sel{1050, 600, 300, 200}, 6));
}

TEST_F(CaptureOverlay, ControlShiftCRecapturesOncePerPress) {
  Target target(1300, 650, 400, 250);
  ASSERT_TRUE(target.hwnd());
  ASSERT_TRUE(FocusAsTheMenuLeavesIt());
  HWND first = OpenOverlay();
  ASSERT_TRUE(first);
  ASSERT_TRUE(target.Switch());
  Settle(200);
  auto shows = [](uint32_t want) {
    return WaitUntil([&] { return ColourDistance(CaptureRect(1500, 775, 1, 1).at(0, 0), want) <= 2; }, 3000);
  };
  // Lets the overlay's message loop turn a few times, so its 100 ms chord
  // timer has seen the keys as they are now, however loaded the machine.
  auto let_timers_run = [](HWND overlay) {
    for (int i = 0; i < 4; ++i) {
      Settle(120);
      SendMessageTimeoutW(overlay, WM_NULL, 0, 0, SMTO_BLOCK, 3000, nullptr);
    }
  };
  EXPECT_TRUE(shows(Dimmed(kTargetColour)));

  KeyDown(VK_CONTROL);
  KeyDown(VK_SHIFT);
  KeyDown('C');
  HWND second = WaitForOverlay(first, 3000);
  EXPECT_TRUE(second) << "holding Control+Shift+C re-captures";
  EXPECT_TRUE(shows(Dimmed(kTargetSwitched))) << "the new freeze shows the window as it is now, not "
                                              << std::hex << CaptureRect(1500, 775, 1, 1).at(0, 0);
  // Still held: no second re-capture.
  let_timers_run(second);
  ::Sleep(300);
  EXPECT_TRUE(IsWindow(second) && IsWindowVisible(second)) << "held keys re-capture only once";
  EXPECT_EQ(Overlay(), second);
  KeyUp('C');
  KeyUp(VK_SHIFT);
  KeyUp(VK_CONTROL);
  let_timers_run(second);

  // Released and pressed again: one more.
  EXPECT_TRUE(Recapture(second)) << "a second press re-captures again";
}

TEST_F(CaptureOverlayAt144Dpi, CoversEveryPhysicalPixelWithScaledChrome) {
  HWND overlay = OpenOverlay();
  ASSERT_TRUE(overlay);
  RECT r = RectOf(overlay);
  EXPECT_EQ(r.left, 0);
  EXPECT_EQ(r.top, 0);
  EXPECT_EQ(r.right, 1920);
  EXPECT_EQ(r.bottom, 1080);
  DragSlowly(600, 300, 1000, 600);
  Image shot = ShotOnceHandlesAt(Sel{600, 300, 400, 300}, 9);
  EXPECT_TRUE(HandlesAt(shot, Sel{600, 300, 400, 300}, 9));
  RECT t = RectOf(Toolbar());
  EXPECT_EQ(t.right - t.left, 338);
  EXPECT_EQ(t.bottom - t.top, 170);
  EXPECT_EQ(t.left, 1000 - 338);
  EXPECT_EQ(t.top, 300 - 170 - 5);
  RECT e = RectOf(FindWindowExW(Toolbar(), nullptr, L"VardoCaptureExi", nullptr));
  EXPECT_EQ(e.left - t.left, 296);
  EXPECT_EQ(e.right - e.left, 38);
}

}  // namespace
}  // namespace e2e
