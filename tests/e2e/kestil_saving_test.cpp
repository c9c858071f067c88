// "保存图片" end to end: the picture (frozen screen with callouts, without
// the panel) goes to the clipboard, the save dialog writes it in the format
// the name's extension selects, and failures are reported.
#include "kestil_support_win.h"

namespace e2e::kestil {
namespace {

class KestilSaving : public ::testing::Test {
 protected:
  void SetUp() override {
    ClearClipboard();
    MoveTo(960, 600);
    // A private copy of the program: the dialog starts in its folder.
    ASSERT_TRUE(CopyFileTo(Exe(), dir_ / L"kestil.exe"));
    desktop_ = CaptureScreen();
    picker_ = std::make_unique<Picker>(dir_ / L"kestil.exe");
    ASSERT_TRUE(picker_->window);
    SlowDrag({1400, 150}, {{1500, 170}, {1600, 180}});
    uint32_t label = 0;
    WaitUntil([&] { return (label = ScreenPixel(1611, 177)) == Rgb(192, 255, 192); }, 3000);
    ASSERT_EQ(label, Rgb(192, 255, 192));
    MoveTo(960, 600);
    Sleep(150);
    // What the saved picture must be: the screen as the picker shows it,
    // with the frozen desktop where the panel and Wine's tray window are.
    expected_ = CaptureScreen();
    std::vector<RECT> covers = {RectOf(Panel(picker_->window))};
    if (HWND tray = WineTray(); tray && IsWindowVisible(tray)) covers.push_back(RectOf(tray));
    for (const RECT& r : covers)
      for (int y = std::max<int>(0, r.top); y < std::min<int>(expected_.height, r.bottom); ++y)
        for (int x = std::max<int>(0, r.left); x < std::min<int>(expected_.width, r.right); ++x)
          expected_.px[static_cast<size_t>(y) * expected_.width + x] = desktop_.at(x, y);
  }
  void TearDown() override { picker_.reset(); }

  DWORD pid() const { return picker_->process.pid(); }

  // Clicks "保存图片" and returns the save dialog.
  HWND OpenDialog() {
    // The panel comes back only after the dialog or error box before has
    // gone; a click sooner would land on the frozen picture.
    EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(Panel(picker_->window)) != FALSE; }, 5000));
    HWND label = FindChildByText(picker_->window, L"保存图片");
    EXPECT_TRUE(label);
    if (!label) return nullptr;
    RECT r = RectOf(label);
    Click(r.left + 10, (r.top + r.bottom) / 2);
    return WaitForTitle(pid(), L"Save", 5000);
  }
  void Confirm(HWND dialog, const std::wstring& name) {
    HWND edit = GetDlgItem(dialog, 0x47c);
    ASSERT_TRUE(edit);
    SendMessageW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(name.c_str()));
    PostMessageW(GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(dialog); }, 5000));
  }
  // Average per-channel difference from the expected picture.
  double MeanDifference(const Image& img) const {
    double sum = 0;
    for (size_t i = 0; i < img.px.size(); ++i) {
      const uint32_t a = img.px[i], b = expected_.px[i];
      sum += std::abs(R(a) - R(b)) + std::abs(G(a) - G(b)) + std::abs(B(a) - B(b));
    }
    return sum / (3.0 * static_cast<double>(img.px.size()));
  }

  TempDir dir_{L"kestil-save"};
  Image desktop_, expected_;
  std::unique_ptr<Picker> picker_;
};

// Seven saves in a row from one picker, each through the dialog.
TEST_F(KestilSaving, EachFormatDecodesToTheFrozenPictureWithItsCallout) {
  const struct {
    const wchar_t* typed;
    const wchar_t* file;
    bool exact;
  } cases[] = {{L"shot", L"shot.PNG", true},     {L"b.bmp", L"b.bmp", true},   {L"t.tiff", L"t.tiff", true},
               {L"t2.tif", L"t2.tif", true},      {L"g.gif", L"g.gif", false},  {L"q.jpg", L"q.jpg", false},
               {L"d.jpeg", L"d.jpeg", false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(Utf8(c.typed));
    HWND dialog = OpenDialog();
    ASSERT_TRUE(dialog);
    // The panel is hidden while the dialog is up, and the picture is
    // already on the clipboard.
    EXPECT_FALSE(IsWindowVisible(Panel(picker_->window)));
    auto clip = ClipboardImage();
    ASSERT_TRUE(clip.has_value());
    EXPECT_EQ(CountDifferent(*clip, expected_), 0u);
    Confirm(dialog, c.typed);
    const std::wstring path = dir_ / c.file;
    ASSERT_TRUE(WaitUntil([&] { return FileExists(path); }, 5000));
    Sleep(200);
    auto img = DecodeImageFile(path);
    ASSERT_TRUE(img.has_value());
    ASSERT_EQ(img->width, 1920);
    ASSERT_EQ(img->height, 1080);
    if (c.exact) {
      EXPECT_EQ(CountDifferent(*img, expected_), 0u);
    } else {
      EXPECT_LT(MeanDifference(*img), 8.0);
      // The callout's swatch and label are in the file: that area is near
      // the picture with the callout and far from the bare desktop.
      double to_callout = 0, to_desktop = 0;
      for (int y = 172; y < 186; ++y)
        for (int x = 1600; x < 1650; ++x) {
          to_callout += ColourDistance(img->at(x, y), expected_.at(x, y));
          to_desktop += ColourDistance(img->at(x, y), desktop_.at(x, y));
        }
      EXPECT_LT(to_callout * 3, to_desktop);
    }
    // A confirmed save clears the clipboard (it held the picture above);
    // the panel is back.
    EXPECT_TRUE(WaitUntil([] { return !ClipboardHasBitmap(); }, 3000)) << "the picture is still on the clipboard";
    EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(Panel(picker_->window)) != FALSE; }, 2000));
  }
  // The bytes say what the names say.
  auto head = [&](const wchar_t* f) {
    auto b = ReadFileBytes(dir_ / f);
    return std::string(b.begin(), b.begin() + static_cast<long>(std::min<size_t>(4, b.size())));
  };
  EXPECT_EQ(head(L"shot.PNG"), "\x89PNG");
  EXPECT_EQ(head(L"b.bmp").substr(0, 2), "BM");
  // Three bytes a pixel, with no fourth byte for viewers to take as alpha.
  EXPECT_EQ(ReadFileBytes(dir_ / L"b.bmp").at(28), 24);
  EXPECT_EQ(head(L"g.gif").substr(0, 3), "GIF");
  EXPECT_EQ(head(L"t.tiff").substr(0, 2), "II");
  EXPECT_EQ(head(L"q.jpg").substr(0, 2), "\xFF\xD8");
  // An uncompressed 24-bit TIFF holds every pixel's three bytes.
  EXPECT_GT(ReadFileBytes(dir_ / L"t.tiff").size(), 1920u * 1080u * 3u);
}

TEST_F(KestilSaving, CancelLeavesThePictureOnTheClipboard) {
  // Clicked again at once after each cancel: a second click on the same
  // spot within the double-click time still opens the dialog.
  for (int i = 0; i < 3; ++i) {
    SCOPED_TRACE(i);
    HWND dialog = OpenDialog();
    ASSERT_TRUE(dialog);
    PostMessageW(GetDlgItem(dialog, IDCANCEL), BM_CLICK, 0, 0);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(dialog); }, 5000));
  }
  Sleep(200);
  auto clip = ClipboardImage();
  ASSERT_TRUE(clip.has_value());
  EXPECT_EQ(CountDifferent(*clip, expected_), 0u);
  EXPECT_TRUE(IsWindowVisible(Panel(picker_->window)));
  EXPECT_TRUE(picker_->process.Running());
}

TEST_F(KestilSaving, FailedSavesShowTheErrorBoxAndKeepThePicture) {
  const std::wstring cases[] = {L"notes.txt", dir_ / L"no-such-folder\\x.png"};
  for (const std::wstring& name : cases) {
    SCOPED_TRACE(Utf8(name));
    ClearClipboard();
    HWND dialog = OpenDialog();
    ASSERT_TRUE(dialog);
    Confirm(dialog, name);
    HWND box = WaitForTitle(pid(), L"错误", 5000);
    ASSERT_TRUE(box);
    std::wstring text;
    for (HWND c : ChildWindows(box, false)) {
      const std::wstring t = TextOf(c);
      if (t.find(L"错误号") != std::wstring::npos) text = t;
    }
    EXPECT_EQ(text.rfind(L"在保存图片的过程中发生错误:\r\n\r\n错误号: ", 0), 0u) << Utf8(text);
    EXPECT_NE(text.find(L"\r\n错误描述: "), std::wstring::npos) << Utf8(text);
    const std::wstring what = name == L"notes.txt" ? L".txt" : L"x.png";
    EXPECT_NE(text.find(what), std::wstring::npos) << Utf8(text);
    PostMessageW(box, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(box); }, 3000));
    // Nothing was written; the rendered picture stays on the clipboard.
    EXPECT_FALSE(FileExists(dir_ / L"notes.txt"));
    auto clip = ClipboardImage();
    ASSERT_TRUE(clip.has_value());
    EXPECT_EQ(CountDifferent(*clip, expected_), 0u);
    EXPECT_TRUE(picker_->process.Running());
  }
}

}  // namespace
}  // namespace e2e::kestil
