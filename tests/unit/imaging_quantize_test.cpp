#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <cstdio>
#include <random>
#include <set>
#include <vector>

#include "common/quantize.h"

namespace vardo {
namespace {

int ChannelDiff(uint32_t a, uint32_t b) {
  int worst = 0;
  for (int s = 0; s <= 16; s += 8) {
    const int d = std::abs(static_cast<int>((a >> s) & 0xFF) - static_cast<int>((b >> s) & 0xFF));
    if (d > worst) worst = d;
  }
  return worst;
}

// Every index is inside the palette; returns the largest and the mean error.
void CheckMapping(const std::vector<uint32_t>& px, const QuantizedImage& q, int& max_err, double& mean_err) {
  ASSERT_LE(q.palette.size(), 256u);
  ASSERT_EQ(q.indices.size(), px.size());
  max_err = 0;
  double sum = 0;
  for (size_t i = 0; i < px.size(); ++i) {
    ASSERT_LT(q.indices[i], q.palette.size());
    const int d = ChannelDiff(px[i], q.palette[q.indices[i]]);
    sum += d;
    if (d > max_err) max_err = d;
  }
  mean_err = px.empty() ? 0 : sum / static_cast<double>(px.size());
}

TEST(ImagingQuantize, UpTo256ColoursAreKeptExactly) {
  for (int distinct : {1, 2, 3, 17, 255, 256}) {
    std::vector<uint32_t> px;
    for (int i = 0; i < 5000; ++i) {
      const uint32_t c = static_cast<uint32_t>((i * 7) % distinct) * 0x010305u + 0x000A0000u;
      px.push_back(c | (static_cast<uint32_t>(i) << 24));  // alpha must not matter
    }
    const QuantizedImage q = QuantizeColors(px.data(), px.size());
    EXPECT_EQ(q.palette.size(), static_cast<size_t>(distinct));
    int max_err = -1;
    double mean = -1;
    CheckMapping(px, q, max_err, mean);
    EXPECT_EQ(max_err, 0) << distinct << " colours";
    for (uint32_t c : q.palette) EXPECT_EQ(c & 0xFF000000u, 0u);
  }
}

TEST(ImagingQuantize, OneColourTooManyStaysClose) {
  // 257 colours spread over the whole cube: nothing may be lost badly.
  std::vector<uint32_t> px;
  for (int i = 0; i < 257; ++i)
    for (int k = 0; k < 10; ++k) px.push_back(static_cast<uint32_t>(i) * 0x00FEDCBAu % 0x01000000u);
  std::set<uint32_t> distinct(px.begin(), px.end());
  ASSERT_EQ(distinct.size(), 257u);
  const QuantizedImage q = QuantizeColors(px.data(), px.size());
  int max_err = 0;
  double mean = 0;
  CheckMapping(px, q, max_err, mean);
  EXPECT_LE(max_err, 24);
  EXPECT_LT(mean, 2.0);
}

TEST(ImagingQuantize, OverAThousandCloseColoursUseTheWholePalette) {
  // A screenshot's soft gradient: about 1,500 colours within 12 levels on
  // each channel, a handful of coarse histogram cells. All 256 entries are
  // used and every pixel stays within a level or two.
  const int w = 400, h = 300;
  std::vector<uint32_t> px;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      px.push_back(static_cast<uint32_t>(100 + x / 36) << 16 | static_cast<uint32_t>(50 + y / 27) << 8 |
                   static_cast<uint32_t>(80 + (x * 5 + y * 3) % 11));
  const std::set<uint32_t> distinct(px.begin(), px.end());
  ASSERT_GT(distinct.size(), 1000u);
  const QuantizedImage q = QuantizeColors(px.data(), px.size());
  EXPECT_EQ(q.palette.size(), 256u);
  int max_err = 0;
  double mean = 0;
  CheckMapping(px, q, max_err, mean);
  EXPECT_LE(max_err, 2);
  EXPECT_LT(mean, 1.0);  // coarse cells gave 8 colours, 2.4 and 4
}

TEST(ImagingQuantize, SmoothGradientHasSmallError) {
  // A full-HD two-way ramp: 65536 colours on a plane of the colour cube.
  const int w = 1920, h = 1080;
  std::vector<uint32_t> px(static_cast<size_t>(w) * h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      px[static_cast<size_t>(y) * w + x] =
          0xFF000000u | static_cast<uint32_t>(x * 255 / (w - 1)) << 16 | static_cast<uint32_t>(y * 255 / (h - 1)) << 8 | 0x60;
  const QuantizedImage q = QuantizeColors(px.data(), px.size());
  EXPECT_EQ(q.palette.size(), 256u);
  int max_err = 0;
  double mean = 0;
  CheckMapping(px, q, max_err, mean);
  EXPECT_LT(mean, 6.0);  // 16 x 16 cells of the plane average 5.3
  EXPECT_LE(max_err, 16);
}

TEST(ImagingQuantize, VolumeFillingColoursBeatAUniformPalette) {
  // Colours filling the cube: the hardest case. A fixed 6x7x6 palette is the
  // baseline a quantiser must beat.
  std::vector<uint32_t> px;
  std::mt19937 rng(7);
  for (int i = 0; i < 200000; ++i) px.push_back(rng() & 0xFFFFFF);
  const QuantizedImage q = QuantizeColors(px.data(), px.size());
  int max_err = 0;
  double mean = 0;
  CheckMapping(px, q, max_err, mean);
  double uniform = 0;
  auto level = [](uint32_t v, int n) {
    const int step = 255 / (n - 1);
    return static_cast<uint32_t>((static_cast<int>(v) + step / 2) / step * step);
  };
  for (uint32_t c : px) {
    const uint32_t u = level(c >> 16, 6) << 16 | level((c >> 8) & 0xFF, 7) << 8 | level(c & 0xFF, 6);
    uniform += ChannelDiff(c, u);
  }
  uniform /= static_cast<double>(px.size());
  EXPECT_LT(mean, uniform);
  std::printf("random colours: quantiser mean %.2f, uniform palette mean %.2f\n", mean, uniform);
}

TEST(ImagingQuantize, EmptyInputGivesEmptyResult) {
  const QuantizedImage q = QuantizeColors(nullptr, 0);
  EXPECT_TRUE(q.palette.empty());
  EXPECT_TRUE(q.indices.empty());
}

}  // namespace
}  // namespace vardo
