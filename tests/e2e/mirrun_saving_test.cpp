// "保存为图片" end to end: the frozen picture with its lines (without the
// panel and the live label) goes to the clipboard and into a file of the
// format the name selects; a cancel or a failed save keeps the ruler and its
// lines, and only a save that wrote its file ends the program.
#include "mirrun_support_win.h"

namespace e2e::mirrun {
namespace {

class MirrunSaving : public ::testing::Test {
 protected:
  void SetUp() override {
    ClearClipboard();
    // A private copy of the program: the dialog starts in its folder.
    ASSERT_TRUE(CopyFileTo(Exe(), dir_ / L"mirrun.exe"));
    MoveTo(960, 540);
    Settle(100);
    desktop_ = CaptureScreen();
  }

  // Starts the ruler and draws a line; `expected_` becomes the screen as the
  // ruler shows it with the frozen desktop where the panel and the live label are.
  void Start() {
    ruler_.reset();
    ruler_ = std::make_unique<Ruler>(dir_ / L"mirrun.exe");
    ASSERT_TRUE(ruler_->window);
    ASSERT_TRUE(DrawLine({1400, 320}, {1500, 322}, {1600, 324}, {1600, 315}));
    ASSERT_TRUE(MoveUntil({1700, 900}, [] { return LabelShows(1717, 917, L"201px"); }));
    expected_ = CaptureScreen();
    const Image live = LabelImage(L"201px", kRed, 96);
    for (const RECT& r : {RectOf(Panel(ruler_->window)), RECT{1717, 917, 1717 + live.width, 917 + live.height}})
      for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x) expected_.px[static_cast<size_t>(y) * expected_.width + x] = desktop_.at(x, y);
  }
  // Clicks "保存为图片", types the name and confirms (nothing typed: cancels).
  void Save(const std::wstring& name) {
    // The panel comes back only after the dialog or error box before has
    // gone; a click sooner would land on the frozen picture.
    ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(Panel(ruler_->window)) != FALSE; }, 5000));
    POINT save = ruler_->Command(L"保存为图片");
    Click(save.x, save.y);
    HWND dialog = WaitForTitle(ruler_->process.pid(), L"Save", 5000);
    ASSERT_TRUE(dialog);
    // The panel is hidden meanwhile; the picture is on the clipboard.
    EXPECT_FALSE(IsWindowVisible(Panel(ruler_->window)));
    ExpectOnClipboard();
    SendMessageW(GetDlgItem(dialog, 0x47c), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(name.c_str()));
    PostMessageW(GetDlgItem(dialog, name.empty() ? IDCANCEL : IDOK), BM_CLICK, 0, 0);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(dialog); }, 5000));
  }
  void ExpectOnClipboard() const {
    auto clip = ClipboardImage();
    ASSERT_TRUE(clip.has_value());
    EXPECT_EQ(CountDifferent(*clip, expected_), 0u);
  }

  TempDir dir_{L"mirrun-save"};
  Image desktop_, expected_;
  std::unique_ptr<Ruler> ruler_;
};

TEST_F(MirrunSaving, CancelAndFailuresKeepTheRulerUntilASaveWritesItsFile) {
  Start();
  Save(L"");
  EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(Panel(ruler_->window)) != FALSE; }, 2000));
  ExpectOnClipboard();
  // A folder that does not exist and a name no format takes: the error box,
  // no file, and the ruler carries on with its line.
  for (const std::wstring& name : {dir_ / L"no-such-folder\\x.png", std::wstring(L"notes.txt")}) {
    SCOPED_TRACE(Utf8(name));
    Save(name);
    HWND box = WaitForTitle(ruler_->process.pid(), L"错误", 5000);
    ASSERT_TRUE(box);
    PostMessageW(box, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(box); }, 3000));
    EXPECT_TRUE(ruler_->process.Running());
    EXPECT_FALSE(FileExists(dir_ / L"notes.txt"));
    ExpectOnClipboard();
    EXPECT_TRUE(LabelReads(1500, 320, L"201px"));
  }
  // A save that writes its file ends the program and clears the clipboard.
  Save(L"shot");
  EXPECT_TRUE(ruler_->process.WaitExit(5000));
  EXPECT_FALSE(ClipboardHasBitmap());
  auto img = DecodeImageFile(dir_ / L"shot.PNG");
  ASSERT_TRUE(img.has_value());
  EXPECT_EQ(CountDifferent(*img, expected_), 0u);
  EXPECT_EQ(ReadFileBytes(dir_ / L"shot.PNG")[1], 'P');
}

TEST_F(MirrunSaving, EachFormatDecodesToTheFrozenPictureWithItsLine) {
  const struct {
    const wchar_t* name;
    const char* magic;
    bool exact;
  } cases[] = {{L"b.bmp", "BM", true},   {L"t.tiff", "II", true},       {L"t2.tif", "II", true},
               {L"g.gif", "GIF", false}, {L"q.jpg", "\xFF\xD8", false}, {L"d.jpeg", "\xFF\xD8", false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(Utf8(c.name));
    Start();
    Save(c.name);
    EXPECT_TRUE(ruler_->process.WaitExit(5000));
    auto img = DecodeImageFile(dir_ / c.name);
    ASSERT_TRUE(img.has_value());
    ASSERT_TRUE(img->width == 1920 && img->height == 1080);
    const auto bytes = ReadFileBytes(dir_ / c.name);
    EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + static_cast<long>(strlen(c.magic))), c.magic);
    if (c.exact) {
      EXPECT_EQ(CountDifferent(*img, expected_), 0u);
      continue;
    }
    // Lossy: where the line and its label are drawn the file is near the
    // picture with them and far from the bare desktop.
    double to_line = 0, to_desktop = 0;
    for (int y = 314; y < 336; ++y)
      for (int x = 1400; x < 1601; ++x) {
        if (ColourDistance(expected_.at(x, y), desktop_.at(x, y)) < 64) continue;
        to_line += ColourDistance(img->at(x, y), expected_.at(x, y));
        to_desktop += ColourDistance(img->at(x, y), desktop_.at(x, y));
      }
    EXPECT_LT(to_line * 3, to_desktop);
  }
  // An uncompressed 24-bit TIFF holds every pixel's three bytes; so does
  // the BMP, with no fourth byte for viewers to take as alpha.
  EXPECT_GT(ReadFileBytes(dir_ / L"t.tiff").size(), 1920u * 1080u * 3u);
  EXPECT_EQ(ReadFileBytes(dir_ / L"b.bmp").at(28), 24);
}

}  // namespace
}  // namespace e2e::mirrun
