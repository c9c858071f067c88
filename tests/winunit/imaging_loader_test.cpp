// LoadPictureScaled: files of every kind in, opaque display-depth bitmaps or
// error 999 out.
#include <chrono>

#include "common/imagesize.h"
#include "imaging_support_win.h"
#include "pinned/gdiplus_resize_win.h"

namespace vardo::testing_imaging {
namespace {

class GdipEnvironment : public ::testing::Environment {
 public:
  void SetUp() override { token_ = StartGdip(); }
  void TearDown() override { StopGdip(token_); }

 private:
  ULONG_PTR token_ = 0;
};
const auto* const kEnv = ::testing::AddGlobalTestEnvironment(new GdipEnvironment);

PixelBuffer Opaque(int w, int h, uint32_t (*f)(int, int)) {
  PixelBuffer p = MakePicture(w, h, f);
  for (auto& c : p.pixels) c |= 0xFF000000u;
  return p;
}

uint32_t At(const PixelBuffer& p, int x, int y) { return p.pixels[static_cast<size_t>(y) * p.width + x] & 0xFFFFFF; }

PixelBuffer PixelsOf(const LoadedPicture& pic) {
  auto px = PixelsFromHBitmap(pic.bitmap.get());
  return px ? *px : PixelBuffer{};
}

void ExpectFailure(const LoadedPicture& pic, const std::wstring& path, const char* what) {
  EXPECT_FALSE(pic) << what;
  EXPECT_FALSE(pic.bitmap) << what;
  ASSERT_TRUE(pic.error) << what;
  EXPECT_EQ(pic.error->number, 999) << what;
  EXPECT_EQ(pic.error->source, L"GDI+ Module") << what;
  EXPECT_EQ(pic.error->description, L"Error loading picture " + path) << what;
}

TEST(ImagingLoader, MinusOneTakesThePicturesOwnSizeForBothSides) {
  ScratchDir dir;
  const PixelBuffer src = Opaque(37, 23, [](int x, int y) { return x < 18 ? 0xC02010u : (y < 11 ? 0x10C020u : 0x2010C0u); });
  const std::wstring path = dir / L"own.png";
  ASSERT_TRUE(WritePng(src, path));
  const struct {
    int w, h;
  } asks[] = {{-1, -1}, {-1, 200}, {50, -1}};
  for (const auto& a : asks) {
    int w = a.w, h = a.h;
    const LoadedPicture pic = LoadPictureScaled(path, w, h);
    ASSERT_TRUE(pic) << a.w << "," << a.h;
    EXPECT_FALSE(pic.error);
    EXPECT_EQ(w, 37);
    EXPECT_EQ(h, 23);
    const PixelBuffer got = PixelsOf(pic);
    ASSERT_EQ(got.width, 37);
    ASSERT_EQ(got.height, 23);
    // Away from the colour edges the pixels are the file's.
    for (auto [x, y] : {std::pair{2, 2}, {10, 20}, {30, 3}, {30, 20}})
      EXPECT_LE(ChannelDiff(At(got, x, y), At(src, x, y)), 2) << x << "," << y;
  }
  // Display colour depth, whatever the file held.
  int w = -1, h = -1;
  const LoadedPicture pic = LoadPictureScaled(path, w, h);
  BITMAP bm{};
  ASSERT_EQ(GetObjectW(pic.bitmap.get(), sizeof bm, &bm), static_cast<int>(sizeof bm));
  WindowDc screen(nullptr);
  EXPECT_EQ(bm.bmBitsPixel, GetDeviceCaps(screen.get(), BITSPIXEL));
}

TEST(ImagingLoader, ScalesWithAndWithoutKeepingTheRatio) {
  ScratchDir dir;
  // 200 x 100: left half red, right half blue.
  const PixelBuffer src = Opaque(200, 100, [](int x, int) { return x < 100 ? 0xFF0000u : 0x0000FFu; });
  const std::wstring path = dir / L"wide.png";
  ASSERT_TRUE(WritePng(src, path));

  int w = 100, h = 100;
  const LoadedPicture stretched = LoadPictureScaled(path, w, h, RGB(0, 255, 0), false);
  ASSERT_TRUE(stretched);
  PixelBuffer got = PixelsOf(stretched);
  ASSERT_EQ(got.width, 100);
  ASSERT_EQ(got.height, 100);
  for (int y : {1, 50, 98}) {
    EXPECT_LE(ChannelDiff(At(got, 20, y), 0xFF0000u), 2) << y;
    EXPECT_LE(ChannelDiff(At(got, 80, y), 0x0000FFu), 2) << y;
  }

  w = 100, h = 100;
  const LoadedPicture kept = LoadPictureScaled(path, w, h, RGB(0, 255, 0), true);
  ASSERT_TRUE(kept);
  EXPECT_EQ(w, 100);
  EXPECT_EQ(h, 100);
  got = PixelsOf(kept);
  ASSERT_EQ(got.height, 100);
  // Drawn 100 x 50 at the top; the lower half keeps the back colour.
  EXPECT_LE(ChannelDiff(At(got, 20, 25), 0xFF0000u), 2);
  EXPECT_LE(ChannelDiff(At(got, 80, 25), 0x0000FFu), 2);
  EXPECT_LE(ChannelDiff(At(got, 20, 45), 0xFF0000u), 2);
  int back = 0;
  for (int y = 50; y < 100; ++y)
    for (int x = 0; x < 100; ++x) back += At(got, x, y) == 0x00FF00u;
  EXPECT_EQ(back, 50 * 100);

  // A tall picture keeps its ratio the other way: 50 x 100 at the left.
  const PixelBuffer tall = Opaque(100, 200, [](int, int) { return 0x808080u; });
  ASSERT_TRUE(WritePng(tall, dir / L"tall.png"));
  w = 100, h = 100;
  const LoadedPicture side = LoadPictureScaled(dir / L"tall.png", w, h, RGB(255, 255, 0), true);
  ASSERT_TRUE(side);
  got = PixelsOf(side);
  EXPECT_LE(ChannelDiff(At(got, 25, 50), 0x808080u), 2);
  EXPECT_EQ(At(got, 75, 50), 0xFFFF00u);
}

TEST(ImagingLoader, TransparencyIsLaidOverTheBackColour) {
  ScratchDir dir;
  // Transparent, with an opaque red square and a half-transparent blue band.
  PixelBuffer src = MakePicture(20, 20, [](int, int) { return 0u; });
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 20; ++x) {
      uint32_t& c = src.pixels[static_cast<size_t>(y) * 20 + x];
      if (x >= 5 && x < 15 && y >= 5 && y < 15) c = 0xFFFF0000u;
      if (y >= 17) c = 0x800000FFu;
    }
  const std::wstring path = dir / L"alpha.png";
  ASSERT_TRUE(WritePng(src, path));

  int w = -1, h = -1;
  const LoadedPicture white = LoadPictureScaled(path, w, h);
  ASSERT_TRUE(white);
  PixelBuffer got = PixelsOf(white);
  EXPECT_EQ(At(got, 1, 1), 0xFFFFFFu);
  EXPECT_LE(ChannelDiff(At(got, 10, 10), 0xFF0000u), 2);
  EXPECT_LE(ChannelDiff(At(got, 10, 18), 0x7F7FFFu), 3);  // half blue over white

  w = -1, h = -1;
  const LoadedPicture dark = LoadPictureScaled(path, w, h, RGB(10, 20, 30));
  ASSERT_TRUE(dark);
  got = PixelsOf(dark);
  EXPECT_EQ(At(got, 1, 1), 0x0A141Eu);
  EXPECT_LE(ChannelDiff(At(got, 10, 10), 0xFF0000u), 2);
}

TEST(ImagingLoader, BadFilesAndSizesFailWithError999) {
  ScratchDir dir;
  const PixelBuffer src = Opaque(16, 16, [](int x, int) { return x * 0x101010u; });
  ASSERT_TRUE(WritePng(src, dir / L"good.png"));
  const auto good = ReadBytes(dir / L"good.png");
  ASSERT_GT(good.size(), 60u);
  ASSERT_TRUE(WriteBytes(dir / L"empty.png", {}));
  ASSERT_TRUE(WriteBytes(dir / L"truncated.png", std::vector<uint8_t>(good.begin(), good.begin() + 60)));
  ASSERT_TRUE(WriteBytes(dir / L"header-only.png", std::vector<uint8_t>(good.begin(), good.begin() + 33)));
  const std::string text = "just some words, not a picture";
  ASSERT_TRUE(WriteBytes(dir / L"words.png", std::vector<uint8_t>(text.begin(), text.end())));
  CreateDirectoryW((dir / L"folder.png").c_str(), nullptr);

  const struct {
    const char* what;
    std::wstring path;
  } files[] = {{"missing", dir / L"missing.png"},   {"empty", dir / L"empty.png"},
               {"truncated", dir / L"truncated.png"}, {"header only", dir / L"header-only.png"},
               {"not a picture", dir / L"words.png"}, {"a folder", dir / L"folder.png"},
               {"empty path", L""}};
  for (const auto& f : files) {
    int w = 7, h = 9;
    const LoadedPicture pic = LoadPictureScaled(f.path, w, h);
    ExpectFailure(pic, f.path, f.what);
    EXPECT_EQ(w, 7) << f.what;
    EXPECT_EQ(h, 9) << f.what;
  }
  // Canvases that cannot or must not be made.
  const struct {
    int w, h;
  } sizes[] = {{0, 10}, {10, 0}, {-5, 10}, {100000, 100000}, {40000, 1}, {16, -2}};
  for (const auto& s : sizes) {
    int w = s.w, h = s.h;
    const LoadedPicture pic = LoadPictureScaled(dir / L"good.png", w, h);
    ExpectFailure(pic, dir / L"good.png", "canvas size");
    EXPECT_EQ(w, s.w);
    EXPECT_EQ(h, s.h);
  }
  RemoveDirectoryW((dir / L"folder.png").c_str());
}

TEST(ImagingLoader, HugeHeadersAreRefusedFastWithoutDecoding) {
  ScratchDir dir;
  // Tiny files whose headers claim 30000 x 30000 (900 megapixels): decoding
  // such a file takes gigabytes and brings the process down under Wine.
  std::vector<uint8_t> png = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A, 0, 0, 0, 13, 'I', 'H', 'D', 'R',
                              0, 0, 0x75, 0x30, 0, 0, 0x75, 0x30, 8, 2, 0, 0, 0, 0x12, 0x34, 0x56, 0x78};
  png.insert(png.end(), {0, 0, 0, 0, 'I', 'E', 'N', 'D', 0xAE, 0x42, 0x60, 0x82});
  std::vector<uint8_t> bmp(54, 0);
  bmp[0] = 'B', bmp[1] = 'M', bmp[10] = 54, bmp[14] = 40;
  bmp[18] = 0x30, bmp[19] = 0x75;            // width 30000
  bmp[22] = 0xD0, bmp[23] = 0x8A, bmp[24] = 0xFF, bmp[25] = 0xFF;  // height -30000 (top-down)
  bmp[26] = 1, bmp[28] = 24;
  std::vector<uint8_t> gif = {'G', 'I', 'F', '8', '9', 'a', 0x30, 0x75, 0x30, 0x75, 0, 0, 0,
                              0x2C, 0, 0, 0, 0, 1, 0, 1, 0, 0, 2, 2, 0x44, 0x01, 0, 0x3B};
  const struct {
    const wchar_t* name;
    std::vector<uint8_t> bytes;
  } files[] = {{L"huge.png", png}, {L"huge.bmp", bmp}, {L"huge.gif", gif}};
  for (const auto& f : files) {
    const std::wstring path = dir / f.name;
    ASSERT_TRUE(WriteBytes(path, f.bytes));
    int w = -1, h = -1;
    const auto t0 = std::chrono::steady_clock::now();
    const LoadedPicture pic = LoadPictureScaled(path, w, h);
    const auto took = std::chrono::steady_clock::now() - t0;
    ExpectFailure(pic, path, "huge header");
    EXPECT_LT(took, std::chrono::milliseconds(500));
    EXPECT_EQ(w, -1);
  }
}

TEST(ImagingLoader, NonAsciiPathsLoad) {
  ScratchDir dir;
  const PixelBuffer src = Opaque(12, 8, [](int, int) { return 0x336699u; });
  const std::wstring path = dir / L"截图 Größe.png";
  ASSERT_TRUE(WritePng(src, path));
  int w = -1, h = -1;
  const LoadedPicture pic = LoadPictureScaled(path, w, h);
  ASSERT_TRUE(pic);
  EXPECT_EQ(w, 12);
  EXPECT_EQ(At(PixelsOf(pic), 5, 5), 0x336699u);
  const std::wstring missing = dir / L"没有.png";
  int w2 = -1, h2 = -1;
  ExpectFailure(LoadPictureScaled(missing, w2, h2), missing, "missing non-ASCII");
}

}  // namespace
}  // namespace vardo::testing_imaging
