// What a capture produces, through the real Vardo.exe with real input: the
// magnifier beside the cursor, the toolbar's colour band and rows, and copy,
// pin and save compared pixel by pixel with the frozen screen, including
// the ways they refuse and keep the capture open.
#include <algorithm>
#include <cwchar>
#include <string>
#include <vector>

#include "capture_support_win.h"
#include "pin_support_win.h"

namespace e2e {
namespace {

Image Crop(const Image& from, Sel s) {
  Image out;
  out.width = s.width;
  out.height = s.height;
  out.px.resize(static_cast<size_t>(s.width) * s.height);
  for (int y = 0; y < s.height; ++y)
    for (int x = 0; x < s.width; ++x) out.px[static_cast<size_t>(y) * s.width + x] = from.at(s.left + x, s.top + y);
  return out;
}

double MeanDifference(const Image& a, const Image& b) {
  double sum = 0;
  for (size_t i = 0; i < a.px.size(); ++i)
    sum += std::abs(R(a.px[i]) - R(b.px[i])) + std::abs(G(a.px[i]) - G(b.px[i])) + std::abs(B(a.px[i]) - B(b.px[i]));
  return sum / (3.0 * static_cast<double>(a.px.size()));
}

// First view pixel of magnified column or row i (of 20) in a view `extent` wide.
int CellStart(int i, int extent) { return (i * extent + 19) / 20; }

std::string Head(const std::wstring& path, size_t n) {
  const auto bytes = ReadFileBytes(path);
  return std::string(bytes.begin(), bytes.begin() + static_cast<long>(std::min(n, bytes.size())));
}

class CaptureOutput : public CaptureOverlay {
 protected:
  DWORD pid() const { return vardo_.pid(); }
  // A fresh capture with `s` dragged out; the cursor then rests below it.
  void Select(Sel s) {
    ASSERT_TRUE(OpenOverlay());
    DragSlowly(s.left, s.top, s.left + s.width, s.top + s.height);
    ASSERT_TRUE(Toolbar() && IsWindowVisible(Toolbar()));
    Park(s.left + 10, s.top + s.height + 60);
  }
  bool Open() const { return Overlay() && IsWindowVisible(Overlay()) && IsWindowVisible(Toolbar()); }
  // The capture ended and the layer is back.
  bool Ended() {
    return WaitUntil([&] { return !Overlay() && IsWindowVisible(layer_); }, 5000);
  }
  uint32_t ReadoutColour() const {
    int r = -1, g = -1, b = -1;
    swscanf(Readout(1).c_str(), L"RGB(%d , %d , %d)", &r, &g, &b);
    return Rgb(r, g, b);
  }
  HWND SaveDialog() {
    return WaitForDialog([](HWND d) { return GetDlgItem(d, 0x47c) != nullptr; });
  }
  void Answer(HWND dialog, const std::wstring& name) {
    ASSERT_TRUE(dialog);
    SendMessageW(GetDlgItem(dialog, 0x47c), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(name.c_str()));
    PostMessageW(GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(dialog); }, 5000));
  }
  // Saves the current capture under `name` through the dialog.
  void SaveAs(const std::wstring& name) {
    ASSERT_TRUE(ClickTool(L"另存为"));
    Answer(SaveDialog(), name);
  }
  // The "错误" box's message; the box is then closed.
  std::wstring ErrorText() {
    HWND box = WaitForTitle(pid(), L"错误", 5000);
    if (!box) return L"(no 错误 box)";
    const std::wstring text = MessageText(box);
    PostMessageW(box, WM_COMMAND, IDOK, 0);
    WaitUntil([&] { return !IsWindow(box); }, 3000);
    Settle(200);
    return text;
  }
  // The toolbar's children of one class, top to bottom.
  std::vector<HWND> ToolbarChildren(const std::wstring& cls) const {
    std::vector<HWND> out;
    for (HWND c : ChildWindows(Toolbar(), false))
      if (ClassOf(c) == cls) out.push_back(c);
    std::sort(out.begin(), out.end(), [](HWND a, HWND b) { return RectOf(a).top < RectOf(b).top; });
    return out;
  }
};

TEST_F(CaptureOutput, TheMagnifierShowsTheFrozenPixelsRoundTheCursorAndItsReadouts) {
  const Image ref = CaptureScreen();
  ASSERT_TRUE(OpenOverlay());
  // Over the desktop's fine checkerboard: 20 x 20 pixels, each one a cell
  // of 6 or 7 px, the cursor's own pixel marked in the inverted colour.
  Park(600, 500);
  RECT m = MagnifierFor(600, 500);
  EXPECT_EQ(m.left, 620);
  EXPECT_EQ(m.top, 520);
  const uint32_t shown = ReadoutColour();
  EXPECT_TRUE(shown == ref.at(600, 500) || ColourDistance(shown, Dimmed(ref.at(600, 500))) <= 1)
      << Utf8(Readout(1));
  const uint32_t cross = Rgb(255 - R(shown), 255 - G(shown), 255 - B(shown));
  ASSERT_TRUE(WaitUntil([&] { return CaptureRect(m.left + 67, m.top + 67, 1, 1).at(0, 0) == cross; }, 2000));
  // The readout `Size` covers the view's last two rows.
  Image view = CaptureRect(m.left, m.top, 130, 128);
  int wrong = 0;
  for (int j = 0; j < 20; ++j)
    for (int i = 0; i < 20; ++i)
      for (int y = CellStart(j, 130); y < std::min(CellStart(j + 1, 130), 128); ++y)
        for (int x = CellStart(i, 130); x < CellStart(i + 1, 130); ++x)
          wrong += view.at(x, y) != (i == 10 && j == 10 ? cross : ref.at(590 + i, 490 + j));
  EXPECT_EQ(wrong, 0) << "the enlarged view is not the frozen pixels replicated";

  // Near the right edge it flips to the left; near the bottom above, and
  // what lies beyond the screen shows the panel's dark grey.
  Park(1910, 500);
  EXPECT_EQ(MagnifierFor(1910, 500).left, 1760);
  Park(500, 1075);
  m = MagnifierFor(500, 1075);
  EXPECT_EQ(m.top, 1075 - 161 - 20);
  EXPECT_EQ(m.left, 520);
  ASSERT_TRUE(WaitUntil([&] {
    return CaptureRect(m.left + 2, m.top + CellStart(15, 130), 1, 1).at(0, 0) == Rgb(64, 64, 64);
  }, 2000)) << "rows below the screen";
  EXPECT_EQ(CaptureRect(m.left + 2, m.top + CellStart(14, 130), 1, 1).at(0, 0), ref.at(490, 1079));

  // With a selection: its size, and the colour as shown, dimmed outside.
  DragSlowly(300, 250, 700, 550);
  Park(350, 350);
  EXPECT_EQ(Readout(0), L"400 × 300");
  EXPECT_EQ(ReadoutColour(), ref.at(350, 350)) << Utf8(Readout(1));
  Park(200, 650);
  EXPECT_LE(ColourDistance(ReadoutColour(), Dimmed(ref.at(200, 650))), 1) << Utf8(Readout(1));
  m = MagnifierFor(200, 650);
  EXPECT_TRUE(WaitUntil([&] { return CaptureRect(m.left + 100, m.top + 20, 1, 1).at(0, 0) == ref.at(205, 643); }, 2000))
      << "the view shows the frozen pixels undimmed";
}

TEST_F(CaptureOutput, TheColourBandAndTheRowsSetWhatTheToolsDrawWith) {
  Select({300, 400, 500, 300});
  const RECT t = RectOf(Toolbar());
  EXPECT_EQ(t.left, 800 - 225);
  EXPECT_EQ(t.top, 400 - 113 - 5);
  for (const wchar_t* text : {L"贴图到屏幕", L"保存到剪贴板", L"另存为", L"退出", L"颜色", L"字体", L"粗细", L"亮度"})
    EXPECT_TRUE(FindChildByText(Toolbar(), text)) << Utf8(text);
  const std::vector<HWND> boxes = ToolbarChildren(L"Edit");
  const std::vector<HWND> sliders = ToolbarChildren(L"VardoValueSlider");
  ASSERT_EQ(boxes.size(), 2u);
  ASSERT_EQ(sliders.size(), 2u);
  EXPECT_EQ(TextOf(boxes[0]), L"5");
  EXPECT_EQ(TextOf(boxes[1]), L"255");

  // The current colour starts red; palette swatches set it.
  auto cn = [&] { return CaptureRect(t.left + 21, t.top + 42, 1, 1).at(0, 0); };
  EXPECT_EQ(cn(), Rgb(255, 0, 0));
  Click(t.left + 40 + 16 + 6, t.top + 24 + 20 + 6);  // Cols(3), orange
  EXPECT_TRUE(WaitUntil([&] { return cn() == Rgb(255, 128, 0); }, 2000));
  Click(t.left + 40 + 80 + 6, t.top + 24 + 20 + 6);  // Cols(11), light blue
  EXPECT_TRUE(WaitUntil([&] { return cn() == Rgb(128, 128, 255); }, 2000));

  // "颜色" shows a hover state, and its dialog sets the colour; a cancel
  // changes nothing.
  const RECT mc = RectOf(FindChildByText(Toolbar(), L"颜色"));
  MoveTo(mc.left + 3, mc.top + 3);
  EXPECT_TRUE(WaitUntil([&] { return CaptureRect(mc.left + 1, mc.top + 1, 1, 1).at(0, 0) == Rgb(96, 96, 96); }, 2000));
  MoveTo(t.left + 60, t.top + 100);
  EXPECT_TRUE(WaitUntil([&] { return CaptureRect(mc.left + 1, mc.top + 1, 1, 1).at(0, 0) == Rgb(64, 64, 64); }, 2000));
  // The colour dialog (edits 706..708: red, green, blue) and the font
  // dialog (its face box 0x470), answered with `button`.
  auto dialog = [&](const wchar_t* tool, int control, const wchar_t* rgb[3], int button) {
    ASSERT_TRUE(ClickTool(tool));
    HWND d = WaitForDialog([&](HWND w) { return GetDlgItem(w, control) != nullptr; });
    ASSERT_TRUE(d) << "no dialog for " << Utf8(tool);
    for (int i = 0; rgb && i < 3; ++i) SendMessageW(GetDlgItem(d, 706 + i), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(rgb[i]));
    PostMessageW(GetDlgItem(d, button), BM_CLICK, 0, 0);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(d); }, 3000));
    Settle(200);
  };
  const wchar_t* chosen[3] = {L"10", L"20", L"30"};
  const wchar_t* cancelled[3] = {L"200", L"0", L"0"};
  dialog(L"颜色", 706, chosen, IDOK);
  EXPECT_TRUE(WaitUntil([&] { return cn() == Rgb(10, 20, 30); }, 2000));
  dialog(L"颜色", 706, cancelled, IDCANCEL);
  EXPECT_EQ(cn(), Rgb(10, 20, 30));
  dialog(L"字体", 0x470, nullptr, IDCANCEL);
  EXPECT_TRUE(Open());

  // Each slider and its box follow each other; dragging past an end stops
  // at it.
  const RECT sw = RectOf(sliders[0]);
  const int mid = (sw.top + sw.bottom) / 2;
  auto orange_at = [&](int x) { return CaptureRect(x, mid, 1, 1).at(0, 0) == Rgb(255, 128, 0); };
  DragSlowly(sw.left + 40, mid, sw.right + 80, mid);
  EXPECT_TRUE(WaitUntil([&] { return TextOf(boxes[0]) == L"100"; }, 2000)) << Utf8(TextOf(boxes[0]));
  EXPECT_TRUE(orange_at(sw.right - 2)) << "the thumb at Max";
  DragSlowly(sw.right - 5, mid, sw.left - 80, mid);
  EXPECT_TRUE(WaitUntil([&] { return TextOf(boxes[0]) == L"0"; }, 2000)) << Utf8(TextOf(boxes[0]));
  // A fractional width typed in the box moves the thumb to 2 (halves to
  // even) and stays as typed; text that is no number moves nothing.
  const RECT box = RectOf(boxes[0]);
  Click(box.right - 6, (box.top + box.bottom) / 2);
  Tap(VK_END);
  for (int i = 0; i < 4; ++i) Tap(VK_BACK);
  TypeText(L"52.5");
  EXPECT_TRUE(WaitUntil([&] { return orange_at(sw.left + 68) && !orange_at(sw.left + 40); }, 2000))
      << "the thumb at 52";
  EXPECT_EQ(TextOf(boxes[0]), L"52.5");
  KeyDown(VK_SHIFT);
  Tap(VK_HOME);
  KeyUp(VK_SHIFT);
  TypeText(L"x");
  EXPECT_TRUE(WaitUntil([&] { return TextOf(boxes[0]) == L"x"; }, 3000)) << Utf8(TextOf(boxes[0]));
  Settle(300);  // for a move of the thumb the text might make
  EXPECT_TRUE(orange_at(sw.left + 68) && !orange_at(sw.left + 40)) << "the thumb stays at 52";
  const RECT sa = RectOf(sliders[1]);
  DragSlowly(sa.right - 3, (sa.top + sa.bottom) / 2, sa.left - 60, (sa.top + sa.bottom) / 2);
  EXPECT_TRUE(WaitUntil([&] { return TextOf(boxes[1]) == L"0"; }, 2000)) << Utf8(TextOf(boxes[1]));

  // A capture that ends under the pointer (re-captured with the pointer on
  // "颜色") leaves the next capture's hover states working.
  auto shade = [&](const RECT& r) { return CaptureRect(r.left + 1, r.top + 1, 1, 1).at(0, 0); };
  MoveTo(mc.left + 3, mc.top + 3);
  ASSERT_TRUE(WaitUntil([&] { return shade(mc) == Rgb(96, 96, 96); }, 2000));
  ASSERT_TRUE(Recapture(Overlay())) << "no re-capture";
  DragSlowly(300, 400, 800, 700);
  ASSERT_TRUE(WaitUntil([&] { return Open(); }, 3000));
  const RECT mc2 = RectOf(FindChildByText(Toolbar(), L"颜色"));
  const RECT t2 = RectOf(Toolbar());
  MoveTo(mc2.left + 3, mc2.top + 3);
  EXPECT_TRUE(WaitUntil([&] { return shade(mc2) == Rgb(96, 96, 96); }, 2000)) << "no hover shade after the re-capture";
  MoveTo(t2.left + 60, t2.top + 100);
  EXPECT_TRUE(WaitUntil([&] { return shade(mc2) == Rgb(64, 64, 64); }, 2000)) << "the shade stays after leaving";
}

TEST_F(CaptureOutput, PinAndSaveHoldExactlyTheSelectedFrozenPixels) {
  const Sel s{300, 250, 400, 300};
  const Image want = Crop(CaptureScreen(), s);

  // Pin: centred on the layer, in front and highlighted; the layer is
  // topmost again and its keeper runs.
  Select(s);
  ASSERT_TRUE(ClickTool(L"贴图到屏幕"));
  ASSERT_TRUE(Ended());
  std::vector<HWND> images;
  ASSERT_TRUE(WaitUntil([&] { return (images = pins::Images(layer_)).size() == 1; }, 3000));
  const RECT p = RectOf(images[0]);
  EXPECT_EQ(p.left, (1920 - s.width) / 2);
  EXPECT_EQ(p.top, (1080 - s.height) / 2);
  EXPECT_TRUE(WaitUntil([&] { return CountDifferent(CaptureRect(p.left, p.top, s.width, s.height), want) == 0; }, 3000))
      << "pinned pixels differ from the frozen screen";
  EXPECT_TRUE(IsTopmost(layer_));
  EXPECT_NE(pins::CaptionWithText(layer_, L"1#"), nullptr);
  {
    // The keeper runs: another topmost window in front is passed within 5 s.
    HWND cover = CreateWindowExW(WS_EX_TOPMOST, L"STATIC", L"cover", WS_POPUP | WS_VISIBLE, 100, 100, 200, 200,
                                 nullptr, nullptr, nullptr, nullptr);
    ASSERT_TRUE(cover);
    SetForegroundWindow(cover);
    auto layer_in_front = [&] {
      MSG msg;
      while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
      for (HWND w = GetWindow(layer_, GW_HWNDPREV); w; w = GetWindow(w, GW_HWNDPREV))
        if (w == cover) return false;
      return true;
    };
    EXPECT_TRUE(WaitUntil([&] { return !layer_in_front(); }, 1000)) << "the cover did not get in front";
    EXPECT_TRUE(WaitUntil(layer_in_front, 6000, 50)) << "the layer's keeper did not bring it back";
    DestroyWindow(cover);
  }

  // Save. A cancel, a type that is none of the four, and a folder that is
  // not there each keep the capture open with nothing written.
  Select(s);
  ASSERT_TRUE(ClickTool(L"另存为"));
  HWND dialog = SaveDialog();
  ASSERT_TRUE(dialog);
  PostMessageW(GetDlgItem(dialog, IDCANCEL), BM_CLICK, 0, 0);
  ASSERT_TRUE(WaitUntil([&] { return !IsWindow(dialog); }, 3000));
  Settle(300);
  EXPECT_TRUE(Open()) << "a cancelled save keeps the capture";
  for (const wchar_t* name : {L"shot.jpeg", L"shot.txt"}) {
    SaveAs(dir_ / name);
    const std::wstring text = ErrorText();
    EXPECT_NE(text.find(L"PNG"), std::wstring::npos) << Utf8(text);
    EXPECT_NE(text.find(L"BMP"), std::wstring::npos) << Utf8(text);
    EXPECT_NE(text.find(name), std::wstring::npos) << Utf8(text);
    EXPECT_TRUE(Open()) << Utf8(name);
    EXPECT_FALSE(FileExists(dir_ / name));
  }
  SaveAs(dir_ / L"missing\\shot.png");
  EXPECT_NE(ErrorText().find(L"在保存图片的过程中发生错误"), std::wstring::npos);
  EXPECT_TRUE(Open());
  // A name without extension gets the filter's (PNG); the capture ends.
  SaveAs(dir_ / L"shot");
  ASSERT_TRUE(Ended());
  std::optional<Image> png = DecodeImageFile(dir_ / L"shot.png");
  ASSERT_TRUE(png) << "shot.png";
  EXPECT_EQ(CountDifferent(*png, want), 0u);

  // The other types, chosen by the extension in any case.
  const struct {
    const wchar_t* name;
    std::string magic;
    double tolerance;  // mean channel difference after decoding
  } types[] = {{L"SHOT.JPG", "\xFF\xD8\xFF", 6}, {L"shot.gif", "GIF8", 6}, {L"shot.bmp", "BM", 0}};
  for (const auto& type : types) {
    Select(s);
    SaveAs(dir_ / type.name);
    ASSERT_TRUE(Ended()) << Utf8(type.name);
    EXPECT_EQ(Head(dir_ / type.name, type.magic.size()), type.magic) << Utf8(type.name);
    std::optional<Image> img = DecodeImageFile(dir_ / type.name);
    ASSERT_TRUE(img) << Utf8(type.name);
    ASSERT_EQ(img->width, s.width);
    ASSERT_EQ(img->height, s.height);
    EXPECT_LE(MeanDifference(*img, want), type.tolerance) << Utf8(type.name);
  }
  // Only the four pictures were written: no partial files.
  std::vector<std::wstring> files;
  WIN32_FIND_DATAW fd;
  HANDLE find = FindFirstFileW((dir_ / L"*").c_str(), &fd);
  ASSERT_NE(find, INVALID_HANDLE_VALUE);
  do {
    const std::wstring f = fd.cFileName;
    if (_wcsnicmp(f.c_str(), L"shot", 4) == 0 || f.find(L".tmp") != std::wstring::npos) files.push_back(f);
  } while (FindNextFileW(find, &fd));
  FindClose(find);
  std::sort(files.begin(), files.end());
  const std::vector<std::wstring> expected = {L"SHOT.JPG", L"shot.bmp", L"shot.gif", L"shot.png"};
  EXPECT_EQ(files, expected);
}

TEST_F(CaptureOutput, CopyWaitsForABusyClipboardAndAnEmptySelectionMakesNothing) {
  const Sel s{300, 250, 400, 300};
  const Image want = Crop(CaptureScreen(), s);
  ASSERT_TRUE(ClearClipboard());
  // No pixels selected: no output anywhere, the capture stays.
  ASSERT_TRUE(OpenOverlay());
  DragSlowly(400, 300, 400, 500);
  for (const wchar_t* action : {L"保存到剪贴板", L"贴图到屏幕", L"另存为"}) {
    ASSERT_TRUE(ClickTool(action));
    Settle(300);
  }
  EXPECT_EQ(WaitForDialog([](HWND) { return true; }, 1700), nullptr) << "no save dialog for an empty selection";
  EXPECT_TRUE(Open());
  EXPECT_FALSE(ClipboardHasBitmap());
  EXPECT_TRUE(pins::Images(layer_).empty());

  // Another program holds the clipboard: after at least a second the
  // "错误" box says so, and the capture is still open.
  RightClick(1000, 900);
  Settle(200);
  DragSlowly(s.left, s.top, s.left + s.width, s.top + s.height);
  ASSERT_TRUE(OpenClipboard(nullptr));
  const DWORD t0 = GetTickCount();
  ASSERT_TRUE(ClickTool(L"保存到剪贴板"));
  HWND box = WaitForTitle(pid(), L"错误", 5000);
  EXPECT_TRUE(box) << "no 错误 box for a clipboard that stays busy";
  EXPECT_GE(GetTickCount() - t0, 1000u);
  CloseClipboard();
  EXPECT_NE(ErrorText().find(L"剪贴板"), std::wstring::npos);
  EXPECT_TRUE(Open());
  // Held for half a second: the copy waits, then holds exactly the
  // selected pixels.
  ASSERT_TRUE(OpenClipboard(nullptr));
  ASSERT_TRUE(ClickTool(L"保存到剪贴板"));
  ::Sleep(500);
  CloseClipboard();
  ASSERT_TRUE(Ended()) << "the copy gave up on a clipboard held for 0.5 s";
  std::optional<Image> clip = ClipboardImage();
  ASSERT_TRUE(clip);
  ASSERT_EQ(clip->width, s.width);
  ASSERT_EQ(clip->height, s.height);
  EXPECT_EQ(CountDifferent(*clip, want), 0u) << "copied pixels differ from the frozen screen";
}

class CaptureOutputAt144Dpi : public CaptureOutput {
 protected:
  int Dpi() const override { return 144; }
  ScopedDpi dpi_{144};
};

TEST_F(CaptureOutputAt144Dpi, DesignSizesScaleWhileOutputsHoldTheSelectedPhysicalPixels) {
  const Sel s{301, 251, 397, 299};
  const Image want = Crop(CaptureScreen(), s);
  ASSERT_TRUE(ClearClipboard());
  Select(s);
  // The panel at its scaled size: 195 x 242, 30 px from the cursor.
  const RECT m = MagnifierFor(s.left + 10, s.top + s.height + 60);
  EXPECT_EQ(m.right - m.left, 195);
  EXPECT_EQ(m.bottom - m.top, 242);
  EXPECT_EQ(m.left, s.left + 10 + 30);
  EXPECT_TRUE(MagnifierAt(m));
  EXPECT_FALSE(MagnifierAt(RECT{m.left - 1, m.top, m.right - 1, m.bottom})) << "the panel starts exactly there";
  ASSERT_TRUE(ClickTool(L"保存到剪贴板"));
  ASSERT_TRUE(Ended());
  std::optional<Image> clip = ClipboardImage();
  ASSERT_TRUE(clip);
  EXPECT_EQ(clip->width, s.width);
  EXPECT_EQ(clip->height, s.height);
  EXPECT_EQ(CountDifferent(*clip, want), 0u);

  // A window covering the whole screen, fixed with a click: its outline
  // reaches 2 px past every edge, the output stops at the screen.
  Target full(0, 0, 1920, 1080);
  ASSERT_TRUE(full.hwnd());
  Settle(300);
  ASSERT_TRUE(OpenOverlay());
  Park(960, 540);
  ASSERT_TRUE(WaitUntil([&] { return CaptureRect(0, 500, 1, 1).at(0, 0) == Highlight(); }, 3000))
      << "the window is not highlighted";
  LeftDown();
  LeftUp();
  ASSERT_TRUE(WaitUntil([&] { return Toolbar() && IsWindowVisible(Toolbar()); }, 3000));
  const RECT tools = RectOf(Toolbar());
  EXPECT_EQ(tools.top, -2) << "inside the selection, along its top";
  // What the overlay shows: the frozen screen, all of it undimmed, under
  // the toolbar, the magnifier and the handles along the edges.
  Park(960, 700);
  const Image shown = CaptureScreen();
  const RECT m2 = MagnifierFor(960, 700);
  ASSERT_TRUE(ClickTool(L"保存到剪贴板"));
  ASSERT_TRUE(Ended());
  clip = ClipboardImage();
  ASSERT_TRUE(clip);
  EXPECT_EQ(clip->width, 1920);
  EXPECT_EQ(clip->height, 1080);
  int differ = 0;
  for (int y = 8; y < 1072; ++y)
    for (int x = 8; x < 1912; ++x) {
      const POINT p{x, y};
      if (!PtInRect(&tools, p) && !PtInRect(&m2, p)) differ += clip->at(x, y) != shown.at(x, y);
    }
  EXPECT_EQ(differ, 0) << "the output is not the frozen screen as shown";
}

}  // namespace
}  // namespace e2e
