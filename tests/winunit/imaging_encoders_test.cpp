// GIF, BMP, PNG and JPEG files written from bitmaps, decoded back with GDI+.
#include <chrono>
#include <cstdio>

#include "capture/encoders_win.h"
#include "common/bmpfile.h"
#include "common/quantize.h"
#include "imaging_support_win.h"

namespace vardo::testing_imaging {
namespace {

const auto* const kEnv = ::testing::AddGlobalTestEnvironment(new GdiplusEnvironment);

GpBitmapPtr GpBitmapFrom(const PixelBuffer& p) {
  Gdiplus::GpBitmap* b = nullptr;
  // GDI+ reads the caller's buffer; clone so the image owns its pixels.
  Gdiplus::GpBitmap* view = nullptr;
  if (gp::GdipCreateBitmapFromScan0(p.width, p.height, p.width * 4, PixelFormat32bppRGB,
                                    reinterpret_cast<BYTE*>(const_cast<uint32_t*>(p.pixels.data())),
                                    &view) != Gdiplus::Ok)
    return nullptr;
  gp::GdipCloneBitmapAreaI(0, 0, p.width, p.height, PixelFormat32bppRGB, view, &b);
  gp::GdipDisposeImage(view);
  return GpBitmapPtr(b);
}

TEST(ImagingGif, FullHdCaptureDecodesToTheSameSizeAndCloseColours) {
  ScratchDir dir;
  const PixelBuffer src = ScreenLikePicture(1920, 1080);
  auto t0 = std::chrono::steady_clock::now();
  const QuantizedImage q = QuantizeColors(src.pixels.data(), src.pixels.size());
  auto t1 = std::chrono::steady_clock::now();
  std::printf("quantising 1920x1080: %lld ms\n",
              static_cast<long long>(std::chrono::duration_cast<std::chrono::milliseconds>(t1 - t0).count()));
  EXPECT_LT(t1 - t0, std::chrono::milliseconds(400));  // generous for a loaded machine

  UniqueBitmap bmp = BitmapFrom(src);
  ASSERT_TRUE(bmp);
  const std::wstring path = dir / L"shot.gif";
  t0 = std::chrono::steady_clock::now();
  ASSERT_TRUE(SaveHBitmapAsGif(bmp.get(), path));
  t1 = std::chrono::steady_clock::now();
  std::printf("GIF of 1920x1080 written in %lld ms\n",
              static_cast<long long>(std::chrono::duration_cast<std::chrono::milliseconds>(t1 - t0).count()));

  const auto back = Decode(path);
  ASSERT_TRUE(back);
  EXPECT_EQ(back->width, 1920);
  EXPECT_EQ(back->height, 1080);
  const Difference d = Compare(src, *back);
  std::printf("GIF difference: mean %.2f, max %d\n", d.mean, d.max);
  EXPECT_LT(d.mean, 4.0);
  EXPECT_LE(d.max, 48);
  EXPECT_EQ(dir.Files().size(), 1u) << "no temporary file may stay behind";
}

TEST(ImagingGif, FewColoursAreExactThroughEveryEntryPoint) {
  ScratchDir dir;
  const uint32_t colours[] = {0x000000, 0xFFFFFF, 0xFF0000, 0x00FF00, 0x0000FF, 0x123456, 0xFEDCBA};
  const PixelBuffer src = MakePicture(257, 131, [&](int x, int y) { return colours[(x / 10 + y / 7) % 7]; });

  UniqueBitmap bmp = BitmapFrom(src);
  ASSERT_TRUE(SaveHBitmapAsGif(bmp.get(), dir / L"hbitmap.gif"));
  GpBitmapPtr gpb = GpBitmapFrom(src);
  ASSERT_TRUE(gpb);
  EXPECT_EQ(SaveGif(gpb.get(), dir / L"gdiplus.gif"), Gdiplus::Ok);
  const PixelBuffer one = MakePicture(1, 1, [](int, int) { return 0x00336699u; });
  ASSERT_TRUE(SavePixelsAsGif(one, dir / L"one.gif"));

  for (const wchar_t* name : {L"hbitmap.gif", L"gdiplus.gif"}) {
    const auto back = Decode(dir / name);
    ASSERT_TRUE(back);
    EXPECT_EQ(Compare(src, *back).max, 0);
  }
  const auto dot = Decode(dir / L"one.gif");
  ASSERT_TRUE(dot);
  ASSERT_EQ(dot->pixels.size(), 1u);
  EXPECT_EQ(dot->pixels[0] & 0xFFFFFF, 0x336699u);
}

TEST(ImagingGif, FailedSavesLeaveNoFileAndKeepAnEarlierOne) {
  ScratchDir dir;
  const PixelBuffer src = MakePicture(8, 8, [](int x, int) { return x * 0x102030u; });
  UniqueBitmap bmp = BitmapFrom(src);

  EXPECT_FALSE(SaveHBitmapAsGif(bmp.get(), dir / L"missing\\folder\\x.gif"));
  EXPECT_FALSE(SaveHBitmapAsBmp(bmp.get(), dir / L"missing\\folder\\x.bmp"));
  EXPECT_FALSE(SaveHBitmapAsGif(bmp.get(), L""));

  const std::wstring keep = dir / L"keep.gif";
  const std::vector<uint8_t> earlier = {'e', 'a', 'r', 'l', 'i', 'e', 'r'};
  ASSERT_TRUE(WriteBytes(keep, earlier));
  EXPECT_FALSE(SaveHBitmapAsGif(nullptr, keep));
  EXPECT_FALSE(SaveHBitmapAsBmp(reinterpret_cast<HBITMAP>(GetStockObject(BLACK_BRUSH)), keep));
  EXPECT_NE(SaveGif(nullptr, keep), Gdiplus::Ok);
  EXPECT_EQ(ReadBytes(keep), earlier);

  // A folder in the way of the file name.
  CreateDirectoryW((dir / L"taken.gif").c_str(), nullptr);
  EXPECT_FALSE(SaveHBitmapAsGif(bmp.get(), dir / L"taken.gif"));
  RemoveDirectoryW((dir / L"taken.gif").c_str());
  EXPECT_EQ(dir.Files(), std::vector<std::wstring>{L"keep.gif"});

  // A good save replaces the earlier file.
  EXPECT_TRUE(SaveHBitmapAsGif(bmp.get(), keep));
  EXPECT_TRUE(Decode(keep));
}

TEST(ImagingBmp, WrittenBytesMatchTheEncoderAndDecodeExactly) {
  ScratchDir dir;
  // Odd widths need row padding; 4 needs none.
  for (int w : {1, 3, 4, 5, 101}) {
    const PixelBuffer src =
        MakePicture(w, 7, [](int x, int y) { return static_cast<uint32_t>(x * 0x0A0B0C + y * 0x332211); });
    UniqueBitmap bmp = BitmapFrom(src);
    const std::wstring path = dir / (L"w" + std::to_wstring(w) + L".bmp");
    ASSERT_TRUE(SaveHBitmapAsBmp(bmp.get(), path));
    const auto bytes = ReadBytes(path);
    EXPECT_EQ(bytes, EncodeBmp24(src.pixels.data(), w, 7)) << "width " << w;
    const auto back = Decode(path);
    ASSERT_TRUE(back);
    EXPECT_EQ(back->width, w);
    EXPECT_EQ(Compare(src, *back).max, 0) << "width " << w;
  }
  // Through the GDI+ image entry point.
  const PixelBuffer src = ScreenLikePicture(64, 48);
  GpBitmapPtr gpb = GpBitmapFrom(src);
  ASSERT_EQ(SaveBmp(gpb.get(), dir / L"gp.bmp"), Gdiplus::Ok);
  const auto back = Decode(dir / L"gp.bmp");
  ASSERT_TRUE(back);
  EXPECT_EQ(Compare(src, *back).max, 0);
}

TEST(ImagingEncoders, TableIndicesNameTheRightGdiplusEncoders) {
  const struct {
    int index;
    const wchar_t* mime;
  } rows[] = {{kEncoderBmp, L"image/bmp"},
              {kEncoderJpeg, L"image/jpeg"},
              {kEncoderPng, L"image/png"},
              {kEncoderGif, L"image/gif"},
              {kEncoderTiff, L"image/tiff"}};
  for (const auto& r : rows) {
    const auto info = FindEncoderByClsid(EncoderClsid(r.index));
    ASSERT_TRUE(info) << r.index;
    EXPECT_EQ(info->mime_type, r.mime);
    const auto by_mime = FindEncoderByMime(r.mime);
    ASSERT_TRUE(by_mime);
    EXPECT_TRUE(IsEqualCLSID(by_mime->clsid, EncoderClsid(r.index)));
  }
  EXPECT_TRUE(FindEncoderByMime(L"IMAGE/PNG"));
  EXPECT_FALSE(FindEncoderByMime(L"image/none"));
  // EMF, WMF and ICO have decoders only, but their identifiers are the codecs'.
  EXPECT_EQ(EncoderClsid(kEncoderIco).Data1, 0x557CF407u);
  EXPECT_EQ(EncoderClsid(kEncoderEmf).Data1, 0x557CF403u);
}

TEST(ImagingEncoders, ZeroIdentifierIsRefusedAndLeavesNoFile) {
  ScratchDir dir;
  GpBitmapPtr gpb = GpBitmapFrom(MakePicture(4, 4, [](int, int) { return 0x808080u; }));
  const std::wstring path = dir / L"zero.png";
  for (int index : {-1, 8, 1000}) {
    const CLSID id = EncoderClsid(index);
    EXPECT_TRUE(IsEqualCLSID(id, CLSID{})) << index;
    EXPECT_NE(gp::GdipSaveImageToFile(gpb.get(), path.c_str(), &id, nullptr), Gdiplus::Ok);
    DeleteFileW(path.c_str());  // GDI+ may leave an empty file behind
    EXPECT_NE(SaveImageReplacing(gpb.get(), path, id, nullptr), Gdiplus::Ok);
    EXPECT_TRUE(dir.Files().empty()) << index;
  }
  // A failed save into a missing folder or over a folder keeps what was there.
  EXPECT_NE(SavePng(gpb.get(), dir / L"none\\a.png"), Gdiplus::Ok);
  const std::wstring keep = dir / L"keep.jpg";
  ASSERT_TRUE(WriteBytes(keep, {1, 2, 3}));
  EXPECT_NE(SaveImageReplacing(gpb.get(), keep, CLSID{}, nullptr), Gdiplus::Ok);
  EXPECT_EQ(ReadBytes(keep), (std::vector<uint8_t>{1, 2, 3}));
  EXPECT_EQ(dir.Files(), std::vector<std::wstring>{L"keep.jpg"});
}

TEST(ImagingEncoders, PngIsExactAndJpegAtQuality80IsClose) {
  ScratchDir dir;
  const PixelBuffer src = ScreenLikePicture(320, 240);
  GpBitmapPtr gpb = GpBitmapFrom(src);
  ASSERT_TRUE(gpb);
  ASSERT_EQ(SavePng(gpb.get(), dir / L"a.png"), Gdiplus::Ok);
  auto back = Decode(dir / L"a.png");
  ASSERT_TRUE(back);
  EXPECT_EQ(Compare(src, *back).max, 0);

  for (long q : {10L, 80L, 100L})
    ASSERT_EQ(SaveJpeg(gpb.get(), dir / (L"q" + std::to_wstring(q) + L".jpg"), q), Gdiplus::Ok);
  const size_t s10 = ReadBytes(dir / L"q10.jpg").size();
  const size_t s80 = ReadBytes(dir / L"q80.jpg").size();
  const size_t s100 = ReadBytes(dir / L"q100.jpg").size();
  if (s10 == s100) {
    // Wine's GDI+ ignores the quality; Windows' encoder honours it.
    std::printf("this GDI+ ignores the JPEG quality (%zu bytes at 10, 80 and 100)\n", s80);
  } else {
    EXPECT_LT(s10, s80);
    EXPECT_LT(s80, s100);
  }
  back = Decode(dir / L"q80.jpg");
  ASSERT_TRUE(back);
  EXPECT_EQ(back->width, 320);
  EXPECT_EQ(back->height, 240);
  // Lossy, but the smooth top third stays close.
  const size_t third = src.pixels.size() / 3;
  double sum = 0;
  for (size_t i = 0; i < third; ++i) sum += ChannelDiff(src.pixels[i], back->pixels[i]);
  EXPECT_LT(sum / static_cast<double>(third), 4.0);
}

TEST(ImagingEncoders, NonAsciiFileNamesWork) {
  ScratchDir dir;
  const PixelBuffer src = MakePicture(10, 6, [](int x, int y) { return x * 0x010000u + y * 0x20u; });
  UniqueBitmap bmp = BitmapFrom(src);
  GpBitmapPtr gpb = GpBitmapFrom(src);
  const std::wstring names[] = {L"截图 1.gif", L"截图 2.bmp", L"Größe.png"};
  EXPECT_TRUE(SaveHBitmapAsGif(bmp.get(), dir / names[0]));
  EXPECT_TRUE(SaveHBitmapAsBmp(bmp.get(), dir / names[1]));
  EXPECT_EQ(SavePng(gpb.get(), dir / names[2]), Gdiplus::Ok);
  for (const auto& n : names) {
    const auto back = Decode(dir / n);
    ASSERT_TRUE(back);
    EXPECT_EQ(Compare(src, *back).max, 0);
  }
}

}  // namespace
}  // namespace vardo::testing_imaging
