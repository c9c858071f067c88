// Guards the test environment itself: the known desktop picture is on the
// virtual screen, real input lands on the exact pixel, and the clipboard
// gives back an image this process put on it.
#include <gtest/gtest.h>

#include "harness_win.h"

namespace e2e {
namespace {

TEST(Environment, DesktopShowsTheKnownPicture) {
  Image s = CaptureScreen();
  ASSERT_EQ(s.width, 1920);
  ASSERT_EQ(s.height, 1080);
  EXPECT_EQ(s.at(150, 150), Rgb(255, 0, 0));
  EXPECT_EQ(s.at(400, 150), Rgb(0, 255, 0));
  EXPECT_EQ(s.at(650, 150), Rgb(0, 0, 255));
  EXPECT_EQ(s.at(1400, 150), Rgb(10, 0, 255));
  // Checkerboard: 2x2 cells alternate.
  EXPECT_NE(s.at(500, 400), s.at(502, 400));
}

TEST(Environment, MouseLandsOnTheExactPixel) {
  const POINT targets[] = {{0, 0}, {1, 1}, {1919, 1079}, {957, 533}, {1234, 77}};
  for (POINT t : targets) {
    // The harness places the pointer itself when a move lands elsewhere;
    // here the move alone must land.
    const bool landed = MoveTo(t.x, t.y);
    POINT p = CursorPos();
    EXPECT_TRUE(landed) << "the move to " << t.x << "," << t.y << " needed the harness's own placement";
    EXPECT_EQ(p.x, t.x);
    EXPECT_EQ(p.y, t.y);
  }
}

TEST(Environment, ClipboardGivesBackAnImageWithinOneProcess) {
  Image img;
  img.width = 3;
  img.height = 2;
  img.px = {Rgb(1, 2, 3), Rgb(255, 0, 0), Rgb(0, 255, 0), Rgb(0, 0, 255), Rgb(9, 9, 9), Rgb(200, 100, 50)};
  ASSERT_TRUE(SetClipboardImage(img));
  auto back = ClipboardImage();
  ASSERT_TRUE(back.has_value());
  EXPECT_EQ(back->px, img.px);
  ASSERT_TRUE(ClearClipboard());
  EXPECT_FALSE(ClipboardHasBitmap());
}

TEST(Environment, PngFilesRoundTrip) {
  TempDir dir;
  Image img;
  img.width = 2;
  img.height = 2;
  img.px = {Rgb(10, 20, 30), Rgb(40, 50, 60), Rgb(70, 80, 90), Rgb(255, 255, 255)};
  ASSERT_TRUE(EncodePng(img, dir / L"a.png"));
  auto back = DecodeImageFile(dir / L"a.png");
  ASSERT_TRUE(back.has_value());
  EXPECT_EQ(back->px, img.px);
  EXPECT_FALSE(DecodeImageFile(dir / L"missing.png").has_value());
}

}  // namespace
}  // namespace e2e
