// Colour and clamping helpers of the capture overlay.
#include <gtest/gtest.h>

#include "capture/helpers.h"

namespace vardo::capture {
namespace {

TEST(CaptureColour, SplitRgbReadsRedFromTheLowByte) {
  EXPECT_EQ(SplitRGB(0x0080FF), (Rgb{255, 128, 0}));
  EXPECT_EQ(SplitRGB(0xFFFFFF), (Rgb{255, 255, 255}));
  EXPECT_EQ(SplitRGB(0x123456), (Rgb{0x56, 0x34, 0x12}));
}

TEST(CaptureColour, InvertColorComplementsEachChannel) {
  EXPECT_EQ(InvertColor(0xFFFFFF), 0x000000u);
  EXPECT_EQ(InvertColor(0x000000), 0xFFFFFFu);
  EXPECT_EQ(InvertColor(0x0080FF), 0xFF7F00u);
}

TEST(CaptureColour, MakeArgbKeepsTheLowByteOfEachComponent) {
  EXPECT_EQ(MakeARGB(255, 255, 0, 0), 0xFFFF0000u);
  EXPECT_EQ(MakeARGB(170, 0, 0, 0), 0xAA000000u);
  EXPECT_EQ(MakeARGB(1, 2, 3, 4), 0x01020304u);
  // 256 keeps only its low byte.
  EXPECT_EQ(MakeARGB(256, 257, 0x1FF, 0), 0x0001FF00u);
  EXPECT_EQ(MakeARGB(-1, 0, 0, 0), 0xFF000000u);
}

TEST(CaptureClamp, ClampsToTheSurface) {
  struct Case {
    int in, size, out;
  } cases[] = {{-5, 1920, 0}, {0, 1920, 0}, {17, 1920, 17}, {1920, 1920, 1920}, {1921, 1920, 1920},
               {5000, 1080, 1080}};
  for (const Case& c : cases) {
    EXPECT_EQ(ClampX(c.in, c.size), c.out) << c.in;
    EXPECT_EQ(ClampY(c.in, c.size), c.out) << c.in;
  }
}

TEST(CaptureClamp, ClampsToTheSelectionInclusive) {
  // Selection spans 100..150 (left 100, width 50).
  struct Case {
    int in, out;
  } cases[] = {{99, 100}, {100, 100}, {125, 125}, {150, 150}, {151, 150}, {-7, 100}};
  for (const Case& c : cases) {
    EXPECT_EQ(ClampToSelX(c.in, 100, 50), c.out) << c.in;
    EXPECT_EQ(ClampToSelY(c.in, 100, 50), c.out) << c.in;
  }
}

TEST(CaptureFileName, ExtensionIsTheTextAfterTheLastDot) {
  EXPECT_EQ(FileExtension("a.b.png"), "png");
  EXPECT_EQ(FileExtension("shot.JPG"), "JPG");
  EXPECT_EQ(FileExtension("noext"), "");
  EXPECT_EQ(FileExtension(""), "");
  EXPECT_EQ(FileExtension("trailing."), "");
  EXPECT_EQ(FileExtension("截图.gif"), "gif");
}

}  // namespace
}  // namespace vardo::capture
