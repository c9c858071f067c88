// Saving a pinned image ("保存为"), in-process: the format follows the
// name's extension in any case, the files decode back to the picture,
// names that select no format write nothing, and failed writes are
// reported while an earlier file stays whole.
#include "imaging_support_win.h"
#include "capture/picture_save_win.h"
#include "common/process_win.h"

namespace vardo::testing_imaging {
namespace {

const auto* const kEnv = ::testing::AddGlobalTestEnvironment(new GdiplusEnvironment);

PixelBuffer Sample() {
  // Under 256 colours, so GIF keeps every pixel: flat bands over steps
  // of a gradient.
  return MakePicture(64, 40, [](int x, int y) {
    if (y < 10) return x < 32 ? 0xFF0000u : 0x00FF00u;
    if (y < 20) return 0x0000FFu;
    return static_cast<uint32_t>(((x / 8 * 32) << 16) | ((y / 2 * 12) << 8) | 0x40);
  });
}

std::string Head(const std::wstring& path, size_t n) {
  const auto bytes = ReadBytes(path);
  return std::string(bytes.begin(), bytes.begin() + static_cast<long>(std::min(n, bytes.size())));
}

TEST(PinSave, EachKnownExtensionWritesItsFormatInAnyCase) {
  ScratchDir dir;
  const PixelBuffer picture = Sample();
  UniqueBitmap bitmap = BitmapFrom(picture);
  ASSERT_TRUE(bitmap);
  const struct {
    const wchar_t* name;
    std::string magic;
    double tolerance;  // mean worst-channel difference after decoding (JPEG blurs
                       // the saturated colour edges through chroma subsampling)
  } cases[] = {{L"a.png", "\x89PNG", 0}, {L"b.PNG", "\x89PNG", 0}, {L"c.jpg", "\xFF\xD8\xFF", 20},
               {L"d.JPG", "\xFF\xD8\xFF", 20}, {L"e.gif", "GIF8", 0}, {L"f.Bmp", "BM", 0},
               {L"图片 一.png", "\x89PNG", 0}};
  for (const auto& c : cases) {
    SCOPED_TRACE(Narrow(c.name));
    EXPECT_FALSE(capture::SavePictureFile(bitmap.get(), dir / c.name).has_value());
    EXPECT_EQ(Head(dir / c.name, c.magic.size()), c.magic);
    auto back = Decode(dir / c.name);
    ASSERT_TRUE(back);
    ASSERT_EQ(back->width, picture.width);
    ASSERT_EQ(back->height, picture.height);
    double sum = 0;
    for (size_t i = 0; i < picture.pixels.size(); ++i) sum += ChannelDiff(back->pixels[i], picture.pixels[i]);
    EXPECT_LE(sum / static_cast<double>(picture.pixels.size()), c.tolerance);
  }
  // BMP files come from the bitmap's own bits: a 24-bit file of the
  // picture's size, rows padded to four bytes, bottom-up.
  const auto bmp = ReadBytes(dir / L"f.Bmp");
  ASSERT_GE(bmp.size(), 54u);
  auto u32 = [&](size_t at) { return bmp[at] | bmp[at + 1] << 8 | bmp[at + 2] << 16 | static_cast<uint32_t>(bmp[at + 3]) << 24; };
  EXPECT_EQ(u32(2), bmp.size());
  EXPECT_EQ(u32(18), 64u);
  EXPECT_EQ(u32(22), 40u);
  EXPECT_EQ(bmp[28], 24);
  EXPECT_EQ(bmp.size(), 54u + 64u * 3u * 40u);
  // The bottom row first: its first pixel is the gradient's (0, 39).
  EXPECT_EQ(bmp[u32(10) + 0], 0x40);       // blue
  EXPECT_EQ(bmp[u32(10) + 1], 39 / 2 * 12);  // green
  EXPECT_EQ(bmp[u32(10) + 2], 0);          // red
}

TEST(PinSave, NamesThatSelectNoFormatWriteNothingAndAreNoError) {
  ScratchDir dir;
  UniqueBitmap bitmap = BitmapFrom(Sample());
  for (const wchar_t* name : {L"a.jpeg", L"b.tif", L"c.tiff", L"noextension", L"d.png.txt"}) {
    SCOPED_TRACE(Narrow(name));
    EXPECT_FALSE(capture::SavePictureFile(bitmap.get(), dir / name).has_value());
    EXPECT_FALSE(FileExists(dir / name));
  }
  EXPECT_TRUE(dir.Files().empty());
}

TEST(PinSave, FailedWritesAreReportedAndKeepAnEarlierFile) {
  ScratchDir dir;
  UniqueBitmap bitmap = BitmapFrom(Sample());
  // A folder that does not exist, and a name the file system refuses.
  for (const wchar_t* name : {L"missing\\x.png", L"missing\\y.gif", L"bad?name.bmp", L"bad|name.jpg"}) {
    SCOPED_TRACE(Narrow(name));
    auto error = capture::SavePictureFile(bitmap.get(), dir / name);
    ASSERT_TRUE(error.has_value());
    const std::string message = savepic::ErrorMessage(*error);
    EXPECT_EQ(message.rfind("在保存图片的过程中发生错误:\r\n\r\n错误号: ", 0), 0u) << message;
    EXPECT_NE(message.find("\r\n错误描述: "), std::string::npos) << message;
  }
  EXPECT_TRUE(dir.Files().empty());

  // A file that is in use cannot be replaced: the old one stays as it was.
  const std::wstring busy = dir / L"busy.png";
  ASSERT_FALSE(capture::SavePictureFile(bitmap.get(), busy).has_value());
  const auto before = ReadBytes(busy);
  {
    UniqueHandle lock(CreateFileW(busy.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_NE(lock.get(), INVALID_HANDLE_VALUE);
    UniqueBitmap other = BitmapFrom(MakePicture(8, 8, [](int, int) { return 0x123456u; }));
    EXPECT_TRUE(capture::SavePictureFile(other.get(), busy).has_value());
  }
  EXPECT_EQ(ReadBytes(busy), before);

  // Something that is not a picture.
  EXPECT_TRUE(capture::SavePictureFile(nullptr, dir / L"none.png").has_value());
  EXPECT_FALSE(FileExists(dir / L"none.png"));
}

}  // namespace
}  // namespace vardo::testing_imaging
