// Shared steps of the mirrun end-to-end tests: start the ruler, draw lines
// with real input, read labels off the screen, drive the line menu.
#pragma once
#include <windows.h>

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "harness_win.h"

namespace e2e::mirrun {

const uint32_t kRed = Rgb(255, 0, 0), kBlue = Rgb(0, 0, 255), kLabelBack = Rgb(255, 255, 192);

inline std::wstring Exe() { return OutDir() + L"\\apps\\mirrun.exe"; }
inline HWND Panel(HWND ruler) { return FindChildByClass(ruler, L"mirrun.panel"); }
inline uint32_t Pixel(int x, int y) { return CaptureRect(x, y, 1, 1).px[0]; }

// A started ruler, its window and panel on the screen (input reaches the
// window once the display has it).
struct Ruler {
  Process process;
  HWND window = nullptr;
  explicit Ruler(const std::wstring& exe = Exe()) : process(exe) {
    window = WaitForWindow(process.pid(), [](HWND w) { return ClassOf(w) == L"mirrun.Form1"; }, 8000);
    EXPECT_TRUE(window && WaitUntil([&] {
      RECT r = RectOf(Panel(window));
      return r.right > r.left && Pixel(r.right - 2, r.bottom - 2) == Rgb(14, 151, 231);
    }, 5000));
    Settle(150);
  }
  ~Ruler() {
    if (process.Running() && IsWindow(window)) PostMessageW(window, WM_CLOSE, 0, 0);
    if (!process.WaitExit(3000)) process.Kill();
  }
  POINT Command(const std::wstring& caption) const {
    RECT r = RectOf(FindChildByText(window, caption));
    return POINT{r.left + 8, (r.top + r.bottom) / 2};
  }
};

// Moves the pointer to `p` until `cond` holds: a move can be lost to a
// stale position from the display, so it is sent again until it shows.
inline bool MoveUntil(POINT p, const std::function<bool()>& cond, DWORD ms = 3000) {
  const DWORD start = GetTickCount();
  for (int i = 0; GetTickCount() - start < ms; ++i) {
    MoveTo(i % 2 ? p.x + 1 : p.x, p.y);
    MoveTo(p.x, p.y);
    if (WaitUntil(cond, 150)) return true;
  }
  return false;
}

// Press at `from`, move by way of `via` to `to` until `held` holds (the
// line's far end is drawn, a label has arrived), release.
inline bool DragUntil(POINT from, POINT via, POINT to, const std::function<bool()>& held) {
  MoveTo(from.x, from.y);
  Sleep(30);
  LeftDown();
  Sleep(30);
  MoveTo(via.x, via.y);
  Sleep(30);
  const bool done = MoveUntil(to, held);
  LeftUp();
  Settle(100);
  return done;
}
// A line: held until the pixel `end` turns `colour`. The 50 ms measuring
// tick sets the axis while the button is held.
inline bool DrawLine(POINT from, POINT via, POINT to, POINT end, uint32_t colour = kRed) {
  return DragUntil(from, via, to, [&] { return Pixel(end.x, end.y) == colour; });
}

// A label as the ruler draws it: the text in Verdana 8 pt at the DPI,
// centred on light yellow with 2 x 1 pixels (at 96 DPI) of padding.
inline Image LabelImage(const std::wstring& text, uint32_t colour, int dpi) {
  LOGFONTW lf{};
  lf.lfHeight = -static_cast<LONG>(std::lround(8.0 * dpi / 72.0));
  lf.lfCharSet = DEFAULT_CHARSET;
  lf.lfQuality = CLEARTYPE_QUALITY;
  lstrcpynW(lf.lfFaceName, L"Verdana", LF_FACESIZE);
  HFONT font = CreateFontIndirectW(&lf);
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old_font = SelectObject(dc, font);
  SIZE s{};
  GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &s);
  RECT r{0, 0, s.cx + 2 * MulDiv(2, dpi, 96), s.cy + 2 * MulDiv(1, dpi, 96)};
  BITMAPINFO bi{{sizeof(BITMAPINFOHEADER), r.right, -r.bottom, 1, 32, BI_RGB}};
  void* bits = nullptr;
  HBITMAP bmp = CreateDIBSection(dc, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old_bmp = SelectObject(dc, bmp);
  SetDCBrushColor(dc, RGB(255, 255, 192));
  FillRect(dc, &r, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, RGB(R(colour), G(colour), B(colour)));
  DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
  SelectObject(dc, old_bmp);
  SelectObject(dc, old_font);
  Image img = ImageFromBitmap(bmp);
  DeleteObject(bmp);
  DeleteObject(font);
  DeleteDC(dc);
  return img;
}
// Whether the screen shows that label with its top-left corner at (x, y):
// now, or within a moment.
inline bool LabelShows(int x, int y, const std::wstring& text, uint32_t colour = kRed, int dpi = 96) {
  const Image want = LabelImage(text, colour, dpi);
  return CountDifferent(CaptureRect(x, y, want.width, want.height), want) == 0;
}
inline bool LabelReads(int x, int y, const std::wstring& text, uint32_t colour = kRed, int dpi = 96) {
  return WaitUntil([&] { return LabelShows(x, y, text, colour, dpi); }, 2000);
}

// Right-clicks the label at (x, y) and walks its menu with the keys given:
// "测量线颜色" > the n-th colour (0 红, 1 蓝, 2 绿, 3 黄, 4 黑, 5 白), or "删除".
// The menu opens on the press, and the release where the button was
// pressed neither chooses an item nor closes it.
inline void LineMenu(int x, int y, const std::vector<WORD>& keys) {
  MoveTo(x, y);
  Sleep(20);
  RightDown();
  ASSERT_TRUE(WaitUntil(MenuOpen, 3000)) << "no menu while the button is down";
  RightUp();
  Sleep(150);
  ASSERT_TRUE(MenuOpen()) << "the release closed the menu";
  for (WORD k : keys) {
    Tap(k);
    Sleep(80);
  }
  ASSERT_TRUE(WaitUntil([] { return !MenuOpen(); }, 3000));
  Settle(100);
}
inline void ChooseColour(int x, int y, int n) {
  std::vector<WORD> keys = {VK_DOWN, VK_RIGHT};
  keys.insert(keys.end(), static_cast<size_t>(n), VK_DOWN);
  keys.push_back(VK_RETURN);
  LineMenu(x, y, keys);
}
// "删除" for the label at (x, y), chosen as a held right button does: pressed
// on the label, dragged onto the item and released there.
inline void DeleteLine(int x, int y) {
  ASSERT_TRUE(ChooseWithHeldRightButton(x, y, 1, 2));
  Settle(100);
}

}  // namespace e2e::mirrun
