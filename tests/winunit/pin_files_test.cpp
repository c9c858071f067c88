// The pin layer's add-from-file operation, in-process: good files of each
// kind become centred images at their own size; every bad file adds
// nothing, leaves imgnum and the pins alone, and the next file still works.
#include "imaging_support_win.h"
#include "pinned/gdiplus_resize_win.h"
#include "common/process_win.h"
#include "pinned/pin_layer_win.h"

namespace vardo::testing_imaging {
namespace {

const auto* const kEnv = ::testing::AddGlobalTestEnvironment(new GdiplusEnvironment);

bool WritePng(const PixelBuffer& p, const std::wstring& path) {
  Gdiplus::GpBitmap* raw = nullptr;
  if (gp::GdipCreateBitmapFromScan0(p.width, p.height, p.width * 4, PixelFormat32bppARGB,
                                    reinterpret_cast<BYTE*>(const_cast<uint32_t*>(p.pixels.data())),
                                    &raw) != Gdiplus::Ok)
    return false;
  GpBitmapPtr bmp(raw);
  const auto png = FindEncoderByMime(L"image/png");
  return png && gp::GdipSaveImageToFile(bmp.get(), path.c_str(), &png->clsid, nullptr) == Gdiplus::Ok;
}

bool WriteEncoded(const PixelBuffer& p, const std::wstring& path, const wchar_t* mime) {
  UniqueBitmap bmp = BitmapFrom(p);
  Gdiplus::GpBitmap* raw = nullptr;
  if (!bmp || gp::GdipCreateBitmapFromHBITMAP(bmp.get(), nullptr, &raw) != Gdiplus::Ok) return false;
  GpBitmapPtr gbmp(raw);
  const auto enc = FindEncoderByMime(mime);
  return enc && gp::GdipSaveImageToFile(gbmp.get(), path.c_str(), &enc->clsid, nullptr) == Gdiplus::Ok;
}

int ChildCount(HWND parent) {
  int n = 0;
  EnumChildWindows(
      parent,
      [](HWND, LPARAM lp) -> BOOL {
        ++*reinterpret_cast<int*>(lp);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&n));
  return n;
}

uint32_t At(const PixelBuffer& p, int x, int y) { return p.pixels[static_cast<size_t>(y) * p.width + x] & 0xFFFFFF; }

// Left half opaque red, right half fully transparent, a half-transparent
// blue stripe at the bottom.
PixelBuffer WithTransparency(int w, int h) {
  PixelBuffer p;
  p.width = w;
  p.height = h;
  p.pixels.resize(static_cast<size_t>(w) * h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      p.pixels[static_cast<size_t>(y) * w + x] =
          y >= h - 4 ? 0x800000FFu : (x < w / 2 ? 0xFFFF0000u : 0x00000000u);
  return p;
}

TEST(PinFiles, GoodFilesAreAddedCentredAtTheirOwnSizeOverWhite) {
  PinLayer& layer = afterdoch();
  ScratchDir dir;
  ASSERT_TRUE(WritePng(WithTransparency(40, 30), dir / L"alpha.png"));
  const PixelBuffer solid = MakePicture(24, 18, [](int x, int y) { return (x < 12 ? 0x00C000u : 0x0000C0u) + y; });
  ASSERT_TRUE(WriteEncoded(solid, dir / L"solid.BMP", L"image/bmp"));
  ASSERT_TRUE(WriteEncoded(solid, dir / L"图片 一.jpg", L"image/jpeg"));

  const int sw = GetSystemMetrics(SM_CXSCREEN), sh = GetSystemMetrics(SM_CYSCREEN);
  const struct {
    const wchar_t* name;
    int w, h;
  } files[] = {{L"alpha.png", 40, 30}, {L"solid.BMP", 24, 18}, {L"图片 一.jpg", 24, 18}};
  for (const auto& f : files) {
    const std::string before = layer.imgnum;
    const int n = std::stoi(before);
    ASSERT_TRUE(layer.AddImageFile(before, dir / f.name)) << Narrow(f.name);
    EXPECT_EQ(layer.imgnum, std::to_string(n + 1));
    PinnedImage* image = layer.Image(n);
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->box().width, f.w);
    EXPECT_EQ(image->box().height, f.h);
    EXPECT_EQ(image->box().left, (sw - f.w) / 2);
    EXPECT_EQ(image->box().top, (sh - f.h) / 2);
    EXPECT_TRUE(IsWindowVisible(image->hwnd()) || !IsWindowVisible(layer.hwnd()));
    // In front of every other image.
    EXPECT_EQ(GetWindow(layer.hwnd(), GW_CHILD), image->hwnd()) << Narrow(f.name);
    wchar_t caption[32] = {};
    SendMessageW(image->caption(), WM_GETTEXT, 32, reinterpret_cast<LPARAM>(caption));
    EXPECT_EQ(std::wstring(caption), Widen(before + "#"));
  }
  // Transparency lies over white; opaque pixels keep their colour.
  PinnedImage* first = layer.Image(std::stoi(layer.imgnum) - 3);
  ASSERT_NE(first, nullptr);
  auto px = PixelsFromHBitmap(first->picture());
  ASSERT_TRUE(px);
  EXPECT_EQ(At(*px, 5, 5), 0xFF0000u);
  EXPECT_EQ(At(*px, 35, 5), 0xFFFFFFu);
  EXPECT_LE(ChannelDiff(At(*px, 20, 28), 0x7F7FFFu), 3);
}

TEST(PinFiles, BadFilesAddNothingAndTheNextGoodFileWorks) {
  PinLayer& layer = afterdoch();
  ScratchDir dir;
  ASSERT_TRUE(WritePng(WithTransparency(20, 20), dir / L"good.png"));
  const auto good = ReadBytes(dir / L"good.png");
  ASSERT_TRUE(WriteBytes(dir / L"empty.png", {}));
  ASSERT_TRUE(WriteBytes(dir / L"truncated.png", std::vector<uint8_t>(good.begin(), good.begin() + 50)));
  const std::string words = "plain words";
  ASSERT_TRUE(WriteBytes(dir / L"words.jpg", std::vector<uint8_t>(words.begin(), words.end())));
  ASSERT_TRUE(WriteBytes(dir / L"noextension", good));
  CreateDirectoryW((dir / L"folder.png").c_str(), nullptr);
  // A PNG whose header claims 100000 x 100000 pixels.
  std::vector<uint8_t> huge = good;
  for (int i = 0; i < 2; ++i) {
    huge[16 + 4 * i] = 0x00;
    huge[17 + 4 * i] = 0x01;
    huge[18 + 4 * i] = 0x86;
    huge[19 + 4 * i] = 0xA0;
  }
  ASSERT_TRUE(WriteBytes(dir / L"huge.png", huge));

  ASSERT_TRUE(layer.AddImageFile(layer.imgnum, dir / L"good.png"));
  const int kept = std::stoi(layer.imgnum) - 1;
  const pin::Rect kept_box = layer.Image(kept)->box();
  const std::string start = layer.imgnum;
  const int children = ChildCount(layer.hwnd());

  const struct {
    const char* what;
    std::wstring path;
  } bad[] = {{"missing", dir / L"missing.png"}, {"empty", dir / L"empty.png"},
             {"truncated", dir / L"truncated.png"}, {"not a picture", dir / L"words.jpg"},
             {"no dot", dir / L"noextension"},     {"a folder", dir / L"folder.png"},
             {"over the pixel limit", dir / L"huge.png"}, {"empty path", L""}};
  for (const auto& b : bad) {
    EXPECT_FALSE(layer.AddImageFile(layer.imgnum, b.path)) << b.what;
    EXPECT_EQ(layer.imgnum, start) << b.what;
    EXPECT_EQ(layer.Image(std::stoi(start)), nullptr) << b.what;
    EXPECT_EQ(ChildCount(layer.hwnd()), children) << b.what;
  }
  // An index other than the next free one would replace a pin: refused.
  EXPECT_FALSE(layer.AddImageFile(std::to_string(kept), dir / L"good.png"));
  EXPECT_FALSE(layer.AddImageFile("x", dir / L"good.png"));
  EXPECT_EQ(layer.imgnum, start);
  ASSERT_NE(layer.Image(kept), nullptr);
  EXPECT_EQ(layer.Image(kept)->box().left, kept_box.left);

  ASSERT_TRUE(layer.AddImageFile(layer.imgnum, dir / L"good.png"));
  EXPECT_EQ(layer.imgnum, std::to_string(std::stoi(start) + 1));
  EXPECT_NE(layer.Image(std::stoi(start)), nullptr);
  EXPECT_EQ(ChildCount(layer.hwnd()), children + 2);  // image and caption
  RemoveDirectoryW((dir / L"folder.png").c_str());
}

}  // namespace
}  // namespace vardo::testing_imaging
