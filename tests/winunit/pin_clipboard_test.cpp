// The pin layer's clipboard add (what the capture toolbar's pin action
// calls), in-process: the clipboard's bitmap becomes the next image,
// centred, in front and unchanged; without a bitmap nothing is added; the
// index range ends without harm.
#include "imaging_support_win.h"
#include "common/process_win.h"
#include "pinned/pin_layer_win.h"

#include <thread>

namespace vardo::testing_imaging {
namespace {

const auto* const kEnv = ::testing::AddGlobalTestEnvironment(new GdiplusEnvironment);

bool PutTextOnClipboard(const wchar_t* text) {
  const size_t bytes = (wcslen(text) + 1) * sizeof(wchar_t);
  HGLOBAL mem = GlobalAlloc(GMEM_MOVEABLE, bytes);
  if (!mem) return false;
  memcpy(GlobalLock(mem), text, bytes);
  GlobalUnlock(mem);
  if (!OpenClipboard(nullptr)) return false;
  EmptyClipboard();
  bool ok = SetClipboardData(CF_UNICODETEXT, mem) != nullptr;
  CloseClipboard();
  return ok;
}

std::wstring CaptionOf(PinnedImage* image) {
  wchar_t text[32] = {};
  SendMessageW(image->caption(), WM_GETTEXT, 32, reinterpret_cast<LPARAM>(text));
  return text;
}

TEST(PinClipboard, TheClipboardsBitmapBecomesTheNextImageUnchanged) {
  PinLayer& layer = afterdoch();
  const PixelBuffer picture =
      MakePicture(173, 91, [](int x, int y) { return static_cast<uint32_t>((x << 16) | (y << 8) | ((x + y) & 0xFF)); });
  for (int round = 0; round < 2; ++round) {
    UniqueBitmap bitmap = BitmapFrom(picture);
    ASSERT_TRUE(PutBitmapOnClipboard(bitmap.release()));
    const std::string before = layer.imgnum;
    const int n = std::stoi(before);
    layer.Command3_Click();
    ASSERT_EQ(layer.imgnum, std::to_string(n + 1));
    PinnedImage* image = layer.Image(n);
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(CaptionOf(image), Widen(before + "#"));
    const int sw = GetSystemMetrics(SM_CXSCREEN), sh = GetSystemMetrics(SM_CYSCREEN);
    EXPECT_EQ(image->box(), (pin::Rect{(sw - 173) / 2, (sh - 91) / 2, 173, 91}));
    EXPECT_EQ(GetWindow(layer.hwnd(), GW_CHILD), image->hwnd());
    auto px = PixelsFromHBitmap(image->picture());
    ASSERT_TRUE(px);
    ASSERT_EQ(px->width, 173);
    size_t differ = 0;
    for (size_t i = 0; i < picture.pixels.size(); ++i)
      differ += (px->pixels[i] & 0xFFFFFF) != picture.pixels[i];
    EXPECT_EQ(differ, 0u);
  }
  // The picture is the layer's own copy: the clipboard can change.
  PinnedImage* last = layer.Image(std::stoi(layer.imgnum) - 1);
  ASSERT_TRUE(PutTextOnClipboard(L"no picture"));
  EXPECT_EQ(GetObjectType(last->picture()), static_cast<DWORD>(OBJ_BITMAP));
}

TEST(PinClipboard, WithoutABitmapNothingIsAdded) {
  PinLayer& layer = afterdoch();
  const std::string start = layer.imgnum;
  const int children = ChildCount(layer.hwnd());
  ASSERT_TRUE(PutTextOnClipboard(L"just words"));
  layer.Command3_Click();
  ASSERT_TRUE(OpenClipboard(nullptr));
  EmptyClipboard();
  CloseClipboard();
  layer.Command3_Click();
  EXPECT_EQ(layer.imgnum, start);
  EXPECT_EQ(ChildCount(layer.hwnd()), children);
  EXPECT_EQ(layer.Image(std::stoi(start)), nullptr);
}

// A clipboard viewer of another program may open the clipboard as soon as
// the capture has put its picture there: the layer waits for it as long as
// a copy waits; held longer, it says that it added nothing.
TEST(PinClipboard, AClipboardHeldElsewhereIsWaitedForAndAFailedAddIsReported) {
  PinLayer& layer = afterdoch();
  ASSERT_TRUE(PutBitmapOnClipboard(BitmapFrom(MakePicture(12, 7, [](int, int) { return 0x00FF00u; })).release()));
  for (DWORD hold : {500u, 3000u}) {
    SCOPED_TRACE(hold);
    const std::string before = layer.imgnum;
    HANDLE opened = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    std::thread other([&] {
      // Another thread has its own hold on the clipboard, as another program.
      if (OpenClipboard(nullptr)) {
        SetEvent(opened);
        Sleep(hold);
        CloseClipboard();
      } else {
        SetEvent(opened);
      }
    });
    ASSERT_EQ(WaitForSingleObject(opened, 5000), WAIT_OBJECT_0);
    const DWORD t0 = GetTickCount();
    const bool added = layer.Command3_Click();
    const DWORD waited = GetTickCount() - t0;
    other.join();
    CloseHandle(opened);
    if (hold == 500u) {
      EXPECT_TRUE(added);
      EXPECT_GE(waited, 400u);
      ASSERT_NE(layer.Image(std::stoi(before)), nullptr);
      EXPECT_EQ(layer.Image(std::stoi(before))->box().width, 12);
    } else {
      EXPECT_FALSE(added);
      EXPECT_GE(waited, 1000u);
      EXPECT_LT(waited, 2900u);
      EXPECT_EQ(layer.imgnum, before);
      EXPECT_EQ(layer.Image(std::stoi(before)), nullptr);
    }
  }
}

TEST(PinClipboard, ClipboardAndFileAddsShareOneIndexSequence) {
  PinLayer& layer = afterdoch();
  ScratchDir dir;
  ASSERT_TRUE(WritePng(MakePicture(20, 10, [](int, int) { return 0x00FF00u; }), dir / L"g.png"));
  const int n = std::stoi(layer.imgnum);
  ASSERT_TRUE(layer.AddImageFile(layer.imgnum, dir / L"g.png"));
  ASSERT_TRUE(PutBitmapOnClipboard(BitmapFrom(MakePicture(8, 8, [](int, int) { return 0x0000FFu; })).release()));
  layer.Command3_Click();
  ASSERT_TRUE(layer.AddImageFile(layer.imgnum, dir / L"g.png"));
  EXPECT_EQ(layer.imgnum, std::to_string(n + 3));
  for (int i = n; i < n + 3; ++i) {
    ASSERT_NE(layer.Image(i), nullptr) << i;
    EXPECT_EQ(CaptionOf(layer.Image(i)), Widen(std::to_string(i) + "#"));
  }
  EXPECT_EQ(layer.Image(n + 1)->box().width, 8);
  // A file add given a stale index adds nothing.
  EXPECT_FALSE(layer.AddImageFile(std::to_string(n), dir / L"g.png"));
  EXPECT_EQ(layer.imgnum, std::to_string(n + 3));
}

TEST(PinClipboard, TheLastIndexIsHandedOutOnceAndLaterAddsFailHarmlessly) {
  PinLayer& layer = afterdoch();
  layer.imgnum = "32767";
  ASSERT_TRUE(PutBitmapOnClipboard(BitmapFrom(MakePicture(10, 10, [](int, int) { return 0xFF0000u; })).release()));
  layer.Command3_Click();
  ASSERT_NE(layer.Image(32767), nullptr);
  EXPECT_EQ(CaptionOf(layer.Image(32767)), L"32767#");
  const std::string after = layer.imgnum;
  const int children = ChildCount(layer.hwnd());
  layer.Command3_Click();
  EXPECT_FALSE(layer.AddImageFile(layer.imgnum, L"C:\\nothing.png"));
  EXPECT_EQ(layer.imgnum, after);
  EXPECT_EQ(ChildCount(layer.hwnd()), children);
  // The pins already made are untouched.
  EXPECT_NE(layer.Image(32767), nullptr);
}

}  // namespace
}  // namespace vardo::testing_imaging
