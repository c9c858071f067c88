// Saving a real bitmap in every format the picker offers, decoded back.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "common/gdiplus_io_win.h"
#include "common/gdiplus_win.h"
#include "common/handles_win.h"
#include "common/savepic_win.h"

namespace vardo::savepic {
namespace {

// GDI+'s parameter GUIDs, written out (the import library has no data).
constexpr GUID kQuality = {0x1d5be4b5, 0xfa4a, 0x452d, {0x9c, 0xdd, 0x5d, 0xb3, 0x51, 0x05, 0xe7, 0xeb}};
constexpr GUID kCompression = {0xe09d739d, 0xccd4, 0x44ee, {0x8e, 0xba, 0x3f, 0xbf, 0x8b, 0xe4, 0xfc, 0x58}};
constexpr GUID kColorDepth = {0x66087055, 0xad66, 0x4c7c, {0x9a, 0x18, 0x38, 0xa2, 0x31, 0x0b, 0x83, 0x37}};

constexpr int kW = 61, kH = 37;

// Few colours (so GIF is exact too): blocks of pure colours and a stripe.
uint32_t Expected(int x, int y) {
  static const uint32_t colours[] = {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF, 0x000000, 0x0A00FF, 0xFF8000, 0x202020};
  return colours[(x / 8 + y / 5) % 8];
}

HBITMAP MakePicture() {
  WindowDc screen(nullptr);
  UniqueBitmap bmp(CreateCompatibleBitmap(screen.get(), kW, kH));
  UniqueMemDc dc(CreateCompatibleDC(screen.get()));
  SelectGuard g(dc.get(), bmp.get());
  for (int y = 0; y < kH; ++y)
    for (int x = 0; x < kW; ++x) {
      uint32_t c = Expected(x, y);
      SetPixelV(dc.get(), x, y, RGB((c >> 16) & 0xFF, (c >> 8) & 0xFF, c & 0xFF));
    }
  return bmp.release();
}

std::optional<PixelBuffer> Decode(const std::wstring& path) {
  Gdiplus::GpImage* img = nullptr;
  if (gp::GdipLoadImageFromFile(path.c_str(), &img) != Gdiplus::Ok) return std::nullopt;
  GpImagePtr owner(img);
  return PixelsFromGpImage(img);
}

int MaxDifference(const PixelBuffer& p) {
  int worst = 0;
  for (int y = 0; y < kH; ++y)
    for (int x = 0; x < kW; ++x) {
      uint32_t a = p.pixels[static_cast<size_t>(y) * kW + x], b = Expected(x, y);
      for (int s = 0; s < 24; s += 8) worst = std::max(worst, std::abs(int((a >> s) & 0xFF) - int((b >> s) & 0xFF)));
    }
  return worst;
}

double MeanDifference(const PixelBuffer& p) {
  double sum = 0;
  for (int y = 0; y < kH; ++y)
    for (int x = 0; x < kW; ++x) {
      uint32_t a = p.pixels[static_cast<size_t>(y) * kW + x], b = Expected(x, y);
      for (int s = 0; s < 24; s += 8) sum += std::abs(int((a >> s) & 0xFF) - int((b >> s) & 0xFF));
    }
  return sum / (3.0 * kW * kH);
}

std::vector<uint8_t> ReadAll(const std::wstring& path) {
  std::vector<uint8_t> out;
  HANDLE f = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (f == INVALID_HANDLE_VALUE) return out;
  LARGE_INTEGER size{};
  GetFileSizeEx(f, &size);
  out.resize(static_cast<size_t>(size.QuadPart));
  DWORD got = 0;
  if (!out.empty()) ReadFile(f, out.data(), static_cast<DWORD>(out.size()), &got, nullptr);
  CloseHandle(f);
  out.resize(got);
  return out;
}

// TIFF tag values (little-endian files): compression, bits per sample
// (first value), samples per pixel.
struct TiffInfo {
  int compression = -1, bits = -1, samples = -1;
};
TiffInfo ReadTiff(const std::vector<uint8_t>& b) {
  TiffInfo t;
  auto u16 = [&](size_t at) { return at + 2 <= b.size() ? b[at] | (b[at + 1] << 8) : 0; };
  auto u32 = [&](size_t at) {
    return at + 4 <= b.size() ? uint32_t(b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (uint32_t(b[at + 3]) << 24)) : 0u;
  };
  if (b.size() < 8 || b[0] != 'I' || b[1] != 'I') return t;
  const size_t ifd = u32(4);
  const int n = u16(ifd);
  for (int i = 0; i < n; ++i) {
    const size_t e = ifd + 2 + 12 * static_cast<size_t>(i);
    const int tag = u16(e), type = u16(e + 2);
    const uint32_t count = u32(e + 4);
    int value = type == 3 ? u16(e + 8) : static_cast<int>(u32(e + 8));
    if (tag == 258 && type == 3 && count > 2) value = u16(u32(e + 8));
    if (tag == 259) t.compression = value;
    if (tag == 258) t.bits = value;
    if (tag == 277) t.samples = value;
  }
  return t;
}

class KestilSave : public ::testing::Test {
 protected:
  void SetUp() override {
    wchar_t tmp[MAX_PATH];
    GetTempPathW(MAX_PATH, tmp);
    dir_ = std::wstring(tmp) + L"kestil-save-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
           std::to_wstring(GetTickCount64());
    CreateDirectoryW(dir_.c_str(), nullptr);
    picture_.reset(MakePicture());
  }
  void TearDown() override {
    WIN32_FIND_DATAW fd;
    HANDLE h = FindFirstFileW((dir_ + L"\\*").c_str(), &fd);
    if (h != INVALID_HANDLE_VALUE) {
      do {
        if (!(fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) DeleteFileW((dir_ + L"\\" + fd.cFileName).c_str());
      } while (FindNextFileW(h, &fd));
      FindClose(h);
    }
    RemoveDirectoryW(dir_.c_str());
  }
  std::wstring Path(const std::wstring& name) const { return dir_ + L"\\" + name; }
  std::optional<SaveError> Save(const std::wstring& name) {
    const std::wstring ext = Widen(ExtensionOf(Narrow(name)));
    return SaveImageFile(picture_.get(), Path(name), ext);
  }
  static std::wstring Widen(const std::string& s) { return std::wstring(s.begin(), s.end()); }
  static std::string Narrow(const std::wstring& s) { return std::string(s.begin(), s.end()); }
  size_t FileCount() const {
    size_t n = 0;
    WIN32_FIND_DATAW fd;
    HANDLE h = FindFirstFileW((dir_ + L"\\*").c_str(), &fd);
    if (h == INVALID_HANDLE_VALUE) return 0;
    do {
      if (!(fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) ++n;
    } while (FindNextFileW(h, &fd));
    FindClose(h);
    return n;
  }

  GdiplusSession session_;
  std::wstring dir_;
  UniqueBitmap picture_;
};

TEST_F(KestilSave, LosslessFormatsDecodeToTheSamePixels) {
  const struct {
    const wchar_t* name;
    const char* magic;
  } cases[] = {{L"shot.PNG", "\x89PNG"}, {L"a.png", "\x89PNG"}, {L"b.bmp", "BM"}, {L"c.gif", "GIF8"},
               {L"d.tiff", "II*"},      {L"e.tif", "II*"},      {L"f.BMP", "BM"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(Narrow(c.name));
    auto error = Save(c.name);
    ASSERT_FALSE(error.has_value()) << error->number << " " << error->description;
    auto bytes = ReadAll(Path(c.name));
    ASSERT_GE(bytes.size(), 4u);
    EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + static_cast<long>(strlen(c.magic))), c.magic);
    auto pixels = Decode(Path(c.name));
    ASSERT_TRUE(pixels.has_value());
    ASSERT_EQ(pixels->width, kW);
    ASSERT_EQ(pixels->height, kH);
    EXPECT_EQ(MaxDifference(*pixels), 0);
  }
  // Nothing but the pictures was left behind.
  EXPECT_EQ(FileCount(), 7u);
}

TEST_F(KestilSave, JpegQualityByExtension) {
  ASSERT_FALSE(Save(L"q.jpg").has_value());
  ASSERT_FALSE(Save(L"d.jpeg").has_value());
  for (const wchar_t* name : {L"q.jpg", L"d.jpeg"}) {
    auto bytes = ReadAll(Path(name));
    ASSERT_GE(bytes.size(), 3u);
    EXPECT_EQ(bytes[0], 0xFF);
    EXPECT_EQ(bytes[1], 0xD8);
    auto pixels = Decode(Path(name));
    ASSERT_TRUE(pixels.has_value());
    EXPECT_EQ(pixels->width, kW);
    EXPECT_LT(MeanDifference(*pixels), 24.0);  // lossy, but the same picture
  }
  // The quality-80 file is the one GDI+ writes when asked for quality 80.
  CLSID jpeg{};
  ASSERT_TRUE(FindEncoderByExtension(L"jpg", &jpeg));
  Gdiplus::GpBitmap* raw = nullptr;
  ASSERT_EQ(gp::GdipCreateBitmapFromHBITMAP(picture_.get(), nullptr, &raw), Gdiplus::Ok);
  GpBitmapPtr bmp(raw);
  Gdiplus::EncoderParameters p{};
  ULONG q = 80;
  p.Count = 1;
  p.Parameter[0].Guid = kQuality;
  p.Parameter[0].NumberOfValues = 1;
  p.Parameter[0].Type = Gdiplus::EncoderParameterValueTypeLong;
  p.Parameter[0].Value = &q;
  ASSERT_EQ(gp::GdipSaveImageToFile(bmp.get(), Path(L"ref80.jpg").c_str(), &jpeg, &p), Gdiplus::Ok);
  EXPECT_EQ(ReadAll(Path(L"q.jpg")), ReadAll(Path(L"ref80.jpg")));
  q = 30;
  ASSERT_EQ(gp::GdipSaveImageToFile(bmp.get(), Path(L"ref30.jpg").c_str(), &jpeg, &p), Gdiplus::Ok);
  // Wine's encoder ignores the quality (every file has the default tables);
  // where the encoder honours it, the saved file must not be a quality-30 one.
  if (ReadAll(Path(L"ref30.jpg")) != ReadAll(Path(L"ref80.jpg"))) {
    EXPECT_NE(ReadAll(Path(L"q.jpg")), ReadAll(Path(L"ref30.jpg")));
  }
}

TEST_F(KestilSave, TiffIsUncompressed24BitForTiff) {
  ASSERT_FALSE(Save(L"u.tiff").has_value());
  TiffInfo t = ReadTiff(ReadAll(Path(L"u.tiff")));
  EXPECT_EQ(t.compression, 1);
  EXPECT_EQ(t.bits, 8);
  EXPECT_EQ(t.samples, 3);
}

TEST_F(KestilSave, FailuresWriteNothingAndSayWhy) {
  auto txt = Save(L"notes.txt");
  ASSERT_TRUE(txt.has_value());
  EXPECT_EQ(txt->number, kNoEncoder);
  EXPECT_NE(txt->description.find(".txt"), std::string::npos);
  auto none = SaveImageFile(picture_.get(), Path(L"noext"), L"");
  ASSERT_TRUE(none.has_value());
  auto missing_folder = SaveImageFile(picture_.get(), Path(L"no\\such\\folder\\x.png"), L"png");
  ASSERT_TRUE(missing_folder.has_value());
  EXPECT_NE(missing_folder->description.find("x.png"), std::string::npos);
  auto no_picture = SaveImageFile(nullptr, Path(L"y.png"), L"png");
  ASSERT_TRUE(no_picture.has_value());
  EXPECT_EQ(no_picture->number, kNoPicture);
  EXPECT_EQ(FileCount(), 0u);
}

TEST_F(KestilSave, AFailedSaveKeepsTheEarlierFile) {
  ASSERT_FALSE(Save(L"keep.png").has_value());
  auto before = ReadAll(Path(L"keep.png"));
  ASSERT_FALSE(before.empty());
  // The picture is gone: the save fails and the file stays as it was.
  EXPECT_TRUE(SaveImageFile(nullptr, Path(L"keep.png"), L"png").has_value());
  EXPECT_EQ(ReadAll(Path(L"keep.png")), before);
}

// A name the save dialog takes, in a folder deep enough that the temporary
// name beside it passes MAX_PATH: Windows refuses such a name in its plain
// form, so it must come in the long form, and the save still succeeds.
TEST_F(KestilSave, ANameJustUnderTheLimitInADeepFolderIsSaved) {
  std::vector<std::wstring> folders;
  std::wstring deep = dir_;
  while (deep.size() < 240) {
    deep += L"\\" + std::wstring(std::min<size_t>(40, 240 - deep.size()), L'd');
    ASSERT_TRUE(CreateDirectoryW(deep.c_str(), nullptr)) << GetLastError();
    folders.push_back(deep);
  }
  for (const wchar_t* ext : {L"png", L"bmp", L"gif"}) {
    const std::wstring name = deep + L"\\" + std::wstring(MAX_PATH - 1 - deep.size() - 5, L'n') + L"." + ext;
    ASSERT_EQ(name.size(), static_cast<size_t>(MAX_PATH - 1));
    const std::wstring temp = TempNameBeside(name);
    EXPECT_TRUE(temp.size() < MAX_PATH || temp.rfind(L"\\\\?\\", 0) == 0) << temp.size();
    auto error = SaveImageFile(picture_.get(), name, ext);
    EXPECT_FALSE(error.has_value()) << Narrow(ext) << ": " << error->description;
    auto pixels = Decode(name);
    ASSERT_TRUE(pixels.has_value()) << Narrow(ext);
    EXPECT_EQ(MaxDifference(*pixels), 0) << Narrow(ext);
    EXPECT_TRUE(DeleteFileW(name.c_str()));
    EXPECT_EQ(GetFileAttributesW(temp.c_str()), INVALID_FILE_ATTRIBUTES) << "temporary file left";
  }
  for (auto f = folders.rbegin(); f != folders.rend(); ++f) EXPECT_TRUE(RemoveDirectoryW(f->c_str())) << "not empty";
}

TEST(KestilSaveLayout, ParameterBlockMatchesGdiplus) {
  EXPECT_EQ(ParameterBlockSize(1, sizeof(void*)), sizeof(Gdiplus::EncoderParameters));
  EXPECT_EQ(ParameterBlockSize(2, sizeof(void*)), sizeof(Gdiplus::EncoderParameters) + sizeof(Gdiplus::EncoderParameter));
  EXPECT_EQ(offsetof(Gdiplus::EncoderParameters, Parameter), sizeof(void*));
  auto bytes = LayoutParameters(ParametersFor("jpg", 80, 24, 6), sizeof(void*), 0);
  GUID g{};
  memcpy(&g, bytes.data() + offsetof(Gdiplus::EncoderParameters, Parameter), sizeof(g));
  EXPECT_TRUE(IsEqualGUID(g, kQuality));
  memcpy(&g, kEncoderCompression.data(), 16);
  EXPECT_TRUE(IsEqualGUID(g, kCompression));
  memcpy(&g, kEncoderColorDepth.data(), 16);
  EXPECT_TRUE(IsEqualGUID(g, kColorDepth));
}

TEST(KestilSaveLayout, EncoderLookupTakesWholeExtensionsOnly) {
  GdiplusSession session;
  CLSID c{};
  EXPECT_TRUE(FindEncoderByExtension(L"PNG", &c));
  EXPECT_TRUE(FindEncoderByExtension(L"tif", &c));
  EXPECT_FALSE(FindEncoderByExtension(L"txt", &c));
  EXPECT_TRUE(IsEqualGUID(c, CLSID{}));
  EXPECT_FALSE(FindEncoderByExtension(L"ng", &c));
}

}  // namespace
}  // namespace vardo::savepic
