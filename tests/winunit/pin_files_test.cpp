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

bool WriteEncoded(const PixelBuffer& p, const std::wstring& path, const wchar_t* mime) {
  UniqueBitmap bmp = BitmapFrom(p);
  Gdiplus::GpBitmap* raw = nullptr;
  if (!bmp || gp::GdipCreateBitmapFromHBITMAP(bmp.get(), nullptr, &raw) != Gdiplus::Ok) return false;
  GpBitmapPtr gbmp(raw);
  const auto enc = FindEncoderByMime(mime);
  return enc && gp::GdipSaveImageToFile(gbmp.get(), path.c_str(), &enc->clsid, nullptr) == Gdiplus::Ok;
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

// An icon file holding one 32-bit 16 x 16 image: top half red, bottom
// half transparent.
std::vector<uint8_t> IconFile() {
  const int side = 16;
  std::vector<uint8_t> dib(40 + side * side * 4 + side * 4, 0);
  auto put32 = [](std::vector<uint8_t>& v, size_t at, uint32_t x) {
    for (int i = 0; i < 4; ++i) v[at + i] = static_cast<uint8_t>(x >> (8 * i));
  };
  put32(dib, 0, 40);
  put32(dib, 4, side);
  put32(dib, 8, side * 2);  // colour and mask rows
  dib[12] = 1;
  dib[14] = 32;
  for (int y = 0; y < side; ++y)  // bottom-up rows
    for (int x = 0; x < side; ++x) put32(dib, 40 + (y * side + x) * 4, y >= side / 2 ? 0xFFFF0000u : 0);
  for (int y = 0; y < side / 2; ++y)  // the mask marks the transparent half
    for (int b = 0; b < 2; ++b) dib[40 + side * side * 4 + y * 4 + b] = 0xFF;
  std::vector<uint8_t> file(6 + 16, 0);
  file[2] = 1;
  file[4] = 1;
  file[6] = side;
  file[7] = side;
  file[10] = 1;
  file[12] = 32;
  put32(file, 14, static_cast<uint32_t>(dib.size()));
  put32(file, 18, 22);
  file.insert(file.end(), dib.begin(), dib.end());
  return file;
}

// A metafile drawing a blue square over a yellow one, as an enhanced
// metafile or as a placeable Windows metafile.
bool WriteMetafile(const std::wstring& path, bool enhanced) {
  auto draw = [](HDC dc) {
    HBRUSH yellow = CreateSolidBrush(RGB(255, 255, 0));
    HBRUSH blue = CreateSolidBrush(RGB(0, 0, 255));
    RECT all{0, 0, 200, 100}, part{0, 0, 100, 100};
    FillRect(dc, &all, yellow);
    FillRect(dc, &part, blue);
    DeleteObject(yellow);
    DeleteObject(blue);
  };
  if (enhanced) {
    HDC screen = GetDC(nullptr);
    const int mm_x = GetDeviceCaps(screen, HORZSIZE) * 100, px_x = GetDeviceCaps(screen, HORZRES);
    const int mm_y = GetDeviceCaps(screen, VERTSIZE) * 100, px_y = GetDeviceCaps(screen, VERTRES);
    ReleaseDC(nullptr, screen);
    RECT frame{0, 0, 200 * mm_x / px_x, 100 * mm_y / px_y};  // 0.01 mm
    HDC dc = CreateEnhMetaFileW(nullptr, path.c_str(), &frame, nullptr);
    if (!dc) return false;
    draw(dc);
    HENHMETAFILE mf = CloseEnhMetaFile(dc);
    if (!mf) return false;
    DeleteEnhMetaFile(mf);
    return true;
  }
  HDC dc = CreateMetaFileW(nullptr);
  if (!dc) return false;
  SetWindowExtEx(dc, 200, 100, nullptr);
  draw(dc);
  HMETAFILE mf = CloseMetaFile(dc);
  if (!mf) return false;
  std::vector<uint8_t> bits(GetMetaFileBitsEx(mf, 0, nullptr));
  GetMetaFileBitsEx(mf, static_cast<UINT>(bits.size()), bits.data());
  DeleteMetaFile(mf);
  // The placeable header: key, no handle, bounds 0,0-200,100 at 96 units
  // per inch, reserved, checksum of the words before it.
  std::vector<uint8_t> head(22, 0);
  const uint16_t words[] = {0xCDD7, 0x9AC6, 0, 0, 0, 200, 100, 96, 0, 0};
  uint16_t sum = 0;
  for (int i = 0; i < 10; ++i) {
    head[2 * i] = static_cast<uint8_t>(words[i]);
    head[2 * i + 1] = static_cast<uint8_t>(words[i] >> 8);
    sum ^= words[i];
  }
  head[20] = static_cast<uint8_t>(sum);
  head[21] = static_cast<uint8_t>(sum >> 8);
  head.insert(head.end(), bits.begin(), bits.end());
  return WriteBytes(path, head);
}

TEST(PinFiles, GifIconAndMetafilesLoadToo) {
  PinLayer& layer = afterdoch();
  ScratchDir dir;
  const PixelBuffer bands = MakePicture(30, 20, [](int x, int) { return x < 15 ? 0xFF0000u : 0x00FF00u; });
  // (GDI+'s own GIF encoder writes broken files from 32-bit pictures under
  // Wine; ours goes through a palette.)
  ASSERT_TRUE(SavePixelsAsGif(bands, dir / L"bands.gif"));
  ASSERT_TRUE(WriteBytes(dir / L"tile.ico", IconFile()));
  ASSERT_TRUE(WriteMetafile(dir / L"squares.emf", true));
  ASSERT_TRUE(WriteMetafile(dir / L"squares.wmf", false));

  const struct {
    const wchar_t* name;
    int w, h;
    POINT a;
    uint32_t colour_a;
    POINT b;
    uint32_t colour_b;
  } files[] = {
      {L"bands.gif", 30, 20, {3, 3}, 0xFF0000u, {26, 16}, 0x00FF00u},
      // The icon's transparent half lies over white.
      {L"tile.ico", 16, 16, {4, 3}, 0xFF0000u, {4, 12}, 0xFFFFFFu},
      {L"squares.emf", 200, 100, {20, 50}, 0x0000FFu, {180, 50}, 0xFFFF00u},
      {L"squares.wmf", 200, 100, {20, 50}, 0x0000FFu, {180, 50}, 0xFFFF00u},
  };
  for (const auto& f : files) {
    SCOPED_TRACE(Narrow(f.name));
    const int n = std::stoi(layer.imgnum);
    ASSERT_TRUE(layer.AddImageFile(layer.imgnum, dir / f.name));
    PinnedImage* image = layer.Image(n);
    ASSERT_NE(image, nullptr);
    // Metafiles keep their proportions; their pixel size follows their
    // resolution, within a pixel or two.
    EXPECT_NEAR(image->box().width, f.w, 2);
    EXPECT_NEAR(image->box().height, f.h, 2);
    auto px = PixelsFromHBitmap(image->picture());
    ASSERT_TRUE(px);
    const int w = px->width, h = px->height;
    EXPECT_LE(ChannelDiff(At(*px, f.a.x * w / f.w, f.a.y * h / f.h), f.colour_a), 2);
    EXPECT_LE(ChannelDiff(At(*px, f.b.x * w / f.w, f.b.y * h / f.h), f.colour_b), 2);
  }
}

}  // namespace
}  // namespace vardo::testing_imaging
