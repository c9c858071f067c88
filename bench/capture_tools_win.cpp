// Drawing-tool benchmarks on the real overlay, driven with mouse messages
// over a selection of three quarters of the screen, each step painted
// before the clock stops and measured side by side with one full-screen
// blit:
// - one pointer move without a stroke, and one repaint of a single pixel
//   (what the window system's paint round costs at least);
// - one move step of a rectangle, ellipse and arrow preview;
// - one eraser segment;
// - burning a rectangle, ellipse and arrow on release, with the drawing
//   alone and, for the ellipse and the arrow, GDI+ drawing the same shape;
// and the memory that 50 strokes and 50 labels add to a capture.
#include <windows.h>

#include <psapi.h>

#include <string>
#include <vector>

#include "bench_util_win.h"
#include "capture/freeze_win.h"
#include "capture/overlay_win.h"
#include "capture/stroke_draw_win.h"
#include "capture/toolbar_win.h"
#include "common/handles_win.h"
#include "common/process_win.h"

namespace {

class NullHost : public vardo::OverlayHost {
 public:
  void ShowLayer() override {}
  void SetLayerTimer(bool) override {}
  bool AddImageFromClipboard() override { return true; }
  void BringLayerToTop() override {}
  bool PopupTextLabelMenu(HWND) override { return false; }
};

void Pump() {
  MSG m;
  while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&m);
}

LPARAM At(int x, int y) { return MAKELPARAM(x, y); }

// The process's committed private memory: what the system reports, or,
// where it reports none (Wine), the committed private regions counted.
double PrivateMb() {
  PROCESS_MEMORY_COUNTERS_EX pmc{};
  pmc.cb = sizeof(pmc);
  GetProcessMemoryInfo(GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&pmc), sizeof(pmc));
  if (pmc.PrivateUsage) return static_cast<double>(pmc.PrivateUsage) / (1024.0 * 1024.0);
  size_t total = 0;
  MEMORY_BASIC_INFORMATION mbi;
  for (char* p = nullptr; VirtualQuery(p, &mbi, sizeof(mbi)) == sizeof(mbi); p = static_cast<char*>(mbi.BaseAddress) + mbi.RegionSize) {
    if (mbi.State == MEM_COMMIT && mbi.Type == MEM_PRIVATE) total += mbi.RegionSize;
    if (mbi.RegionSize == 0) break;
  }
  return static_cast<double>(total) / (1024.0 * 1024.0);
}

// The ellipse or the arrow (arrow-anchor end cap) drawn with GDI+'s
// anti-aliased pen, clipped, onto `into`.
void GdiplusShape(Gdiplus::GpBitmap* into, const vardo::capture::Stroke& s, const vardo::capture::StrokePen& pen,
                  const vardo::capture::Rect& clip) {
  namespace gp = vardo::gp;
  Gdiplus::GpGraphics* g = nullptr;
  if (!into || gp::GdipGetImageGraphicsContext(into, &g) != Gdiplus::Ok) return;
  vardo::GpGraphicsPtr graphics(g);
  Gdiplus::GpPen* p = nullptr;
  if (gp::GdipCreatePen1(pen.argb, static_cast<Gdiplus::REAL>(pen.width), Gdiplus::UnitPixel, &p) != Gdiplus::Ok) return;
  vardo::GpPenPtr owned(p);
  gp::GdipSetClipRectI(g, clip.left, clip.top, clip.width, clip.height, Gdiplus::CombineModeReplace);
  gp::GdipSetSmoothingMode(g, Gdiplus::SmoothingModeAntiAlias);
  const vardo::capture::Rect box = s.box();
  if (s.tool() == vardo::capture::Tool::Ellipse) {
    gp::GdipDrawEllipseI(g, p, box.left, box.top, box.width, box.height);
  } else {
    gp::GdipSetPenEndCap(p, Gdiplus::LineCapArrowAnchor);
    gp::GdipDrawLineI(g, p, s.start().x, s.start().y, s.current().x, s.current().y);
  }
  gp::GdipFlush(g, Gdiplus::FlushIntentionSync);
}

enum Mode { kRectangle = 0, kEllipse = 1, kText = 2, kArrow = 3, kEraser = 4 };

struct Bench {
  int w = 0, h = 0;
  HWND overlay = nullptr;
  vardo::MemoryCanvas frozen, target;

  void Settle() const {
    UpdateWindow(overlay);
    GdiFlush();
  }
  double FullBlit() const {
    const double t0 = bench::NowMs();
    BitBlt(target.dc(), 0, 0, w, h, frozen.dc(), 0, 0, SRCCOPY);
    GdiFlush();
    return bench::NowMs() - t0;
  }
  double Timed(UINT msg, WPARAM wp, LPARAM lp) const {
    const double t0 = bench::NowMs();
    SendMessageW(overlay, msg, wp, lp);
    Settle();
    return bench::NowMs() - t0;
  }
  void Choose(int mode) const {
    SendMessageW(overlay, vardo::kMsgToolChosen, static_cast<WPARAM>(mode), 0);
    Settle();
  }
  // A fresh capture with three quarters of the screen selected.
  bool Open(NullHost& host) {
    vardo::OpenCaptureOverlay(host);
    overlay = FindWindowW(L"VardoScrShot", nullptr);
    if (!overlay) return false;
    Pump();
    SendMessageW(overlay, WM_LBUTTONDOWN, MK_LBUTTON, At(w / 8, h / 8));
    for (int i = 1; i <= 10; ++i)
      SendMessageW(overlay, WM_MOUSEMOVE, MK_LBUTTON, At(w / 8 + i * w * 3 / 40, h / 8 + i * h * 3 / 40));
    SendMessageW(overlay, WM_LBUTTONUP, 0, At(w * 7 / 8, h * 7 / 8));
    Pump();
    Settle();
    return true;
  }
};

}  // namespace

int wmain() {
  vardo::InitProcess();
  Bench b;
  b.w = GetSystemMetrics(SM_CXSCREEN);
  b.h = GetSystemMetrics(SM_CYSCREEN);
  const int w = b.w, h = b.h;
  std::printf("screen %d x %d\n", w, h);
  if (!vardo::FreezeScreen(b.frozen, w, h) || !b.target.CreateDib(w, h)) {
    std::printf("could not make the reference surfaces\n");
    return 1;
  }
  NullHost host;
  if (!b.Open(host)) {
    std::printf("overlay: did not open\n");
    return 1;
  }

  // The same pointer moves without a stroke: what every move costs (the
  // magnifier follows the pointer and shows its readouts).
  {
    b.Choose(kRectangle);
    std::vector<double> plain, plain_ref;
    for (int i = 0; i < 60; ++i) {
      const int x = w / 4 + (i % 24) * (w / 2) / 24, y = h / 4 + (i % 24) * (h / 2) / 24;
      const double t = b.Timed(WM_MOUSEMOVE, 0, At(x, y));
      const double r = b.FullBlit();
      if (i > 2) {
        plain.push_back(t);
        plain_ref.push_back(r);
      }
    }
    bench::PrintRatio("one pointer move, no stroke (magnifier)", plain, "one full-screen blit", plain_ref);
    // The least any step that shows something costs: the window system's
    // round of one repaint, of a single pixel away from everything.
    std::vector<double> pixel, pixel_ref;
    for (int i = 0; i < 60; ++i) {
      const RECT one{w / 2 + i, h - 3, w / 2 + i + 1, h - 2};
      const double t0 = bench::NowMs();
      InvalidateRect(b.overlay, &one, FALSE);
      b.Settle();
      pixel.push_back(bench::NowMs() - t0);
      pixel_ref.push_back(b.FullBlit());
    }
    bench::PrintRatio("one repaint of a single pixel", pixel, "one full-screen blit", pixel_ref);
  }

  // Preview steps: a shape growing from a quarter of the screen towards
  // three quarters, pointer moves of about 20 px; then its release.
  const struct {
    int mode;
    const char* step;
    const char* burn;
  } shapes[] = {{kRectangle, "one rectangle preview step", "burning a rectangle"},
                {kEllipse, "one ellipse preview step", "burning an ellipse"},
                {kArrow, "one arrow preview step", "burning an arrow"}};
  for (const auto& shape : shapes) {
    b.Choose(shape.mode);
    std::vector<double> step, step_ref, burn, burn_ref, move_part;
    for (int round = 0; round < 6; ++round) {
      const int x0 = w / 4 + round * 7, y0 = h / 4 + round * 5;
      SendMessageW(b.overlay, WM_LBUTTONDOWN, MK_LBUTTON, At(x0, y0));
      b.Settle();
      for (int i = 1; i <= 24; ++i) {
        const int x = x0 + i * (w / 2) / 24, y = y0 + i * (h / 2) / 24;
        const double t0 = bench::NowMs();
        SendMessageW(b.overlay, WM_MOUSEMOVE, MK_LBUTTON, At(x, y));
        const double t1 = bench::NowMs();
        b.Settle();
        const double t = bench::NowMs() - t0;
        const double r = b.FullBlit();
        if (i > 2) {
          move_part.push_back(t1 - t0);
          step.push_back(t);
          step_ref.push_back(r);
        }
      }
      const double t = b.Timed(WM_LBUTTONUP, 0, At(x0 + w / 2, y0 + h / 2));
      const double r = b.FullBlit();
      if (round > 0) {
        burn.push_back(t);
        burn_ref.push_back(r);
      }
    }
    bench::PrintRatio(shape.step, step, "one full-screen blit", step_ref);
    bench::PrintRatio("  its message part", move_part, "one full-screen blit", step_ref);
    bench::PrintRatio(shape.burn, burn, "one full-screen blit", burn_ref);
    // Where a burn's time goes: drawing the same shape into a screen-sized
    // picture, alone; and, for the ellipse and the arrow, what GDI+'s
    // anti-aliased pen takes for it on the same picture.
    {
      vardo::GpBitmapPtr into = vardo::WrapCanvas(b.target);
      const vardo::capture::Rect clip{w / 8, h / 8, w * 3 / 4, h * 3 / 4};
      const vardo::capture::StrokePen pen = vardo::capture::MakeStrokePen(0x0000FF, 255, 5);
      std::vector<double> ours, gdiplus;
      for (int round = 0; round < 6; ++round) {
        vardo::capture::Stroke s(static_cast<vardo::capture::Tool>(shape.mode), {w / 4 + round, h / 4}, clip, 5);
        s.MoveTo({w * 3 / 4, h * 3 / 4});
        double t0 = bench::NowMs();
        vardo::BurnShape(b.target, s, pen, clip);
        ours.push_back(bench::NowMs() - t0);
        if (shape.mode == kRectangle) continue;
        t0 = bench::NowMs();
        GdiplusShape(into.get(), s, pen, clip);
        gdiplus.push_back(bench::NowMs() - t0);
      }
      bench::PrintRatio("  its drawing alone", ours, "one full-screen blit", burn_ref);
      if (!gdiplus.empty()) bench::PrintRatio("  the same drawn by GDI+", gdiplus, "one full-screen blit", burn_ref);
    }
  }

  // Eraser segments of about 20 px, 20 px wide, back and forth across the
  // strokes just burnt.
  {
    SendMessageW(b.overlay, WM_MOUSEMOVE, 0, At(w / 3, h / 3));
    b.Choose(kEraser);
    std::vector<double> seg, seg_ref;
    for (int round = 0; round < 4; ++round) {
      const int y = h / 4 + round * h / 8;
      SendMessageW(b.overlay, WM_LBUTTONDOWN, MK_LBUTTON, At(w / 4, y));
      b.Settle();
      for (int i = 1; i <= 40; ++i) {
        const double t = b.Timed(WM_MOUSEMOVE, MK_LBUTTON, At(w / 4 + i * 20, y + (i % 2) * 6));
        const double r = b.FullBlit();
        if (i > 2) {
          seg.push_back(t);
          seg_ref.push_back(r);
        }
      }
      SendMessageW(b.overlay, WM_LBUTTONUP, 0, At(w / 4 + 800, y));
      b.Settle();
    }
    bench::PrintRatio("one eraser segment", seg, "one full-screen blit", seg_ref);
  }
  vardo::UnloadCaptureOverlay();
  Pump();

  // Memory: the same capture without and with 50 strokes and 50 labels.
  {
    b.Open(host);
    const double before = PrivateMb();
    const int modes[] = {kRectangle, kEllipse, kArrow};
    for (int i = 0; i < 50; ++i) {
      b.Choose(modes[i % 3]);
      const int x = w / 4 + (i % 10) * w / 20, y = h / 4 + (i / 10) * h / 12;
      SendMessageW(b.overlay, WM_LBUTTONDOWN, MK_LBUTTON, At(x, y));
      SendMessageW(b.overlay, WM_MOUSEMOVE, MK_LBUTTON, At(x + w / 25, y + h / 20));
      SendMessageW(b.overlay, WM_LBUTTONUP, 0, At(x + w / 25, y + h / 20));
      b.Settle();
    }
    b.Choose(kText);
    int labels = 0;
    for (int i = 0; i < 50; ++i) {
      const int x = w / 5 + (i % 10) * w / 16, y = h / 5 + (i / 10) * h / 9;
      SendMessageW(b.overlay, WM_LBUTTONDOWN, MK_LBUTTON, At(x, y));
      SendMessageW(b.overlay, WM_LBUTTONUP, 0, At(x, y));
      HWND box = FindWindowExW(b.overlay, nullptr, L"EDIT", nullptr);
      if (!box) break;
      SetWindowTextW(box, (L"label " + std::to_wstring(i + 1)).c_str());
      SendMessageW(box, WM_LBUTTONDBLCLK, MK_LBUTTON, At(4, 4));
      b.Settle();
      labels += IsWindowVisible(box) ? 0 : 1;
    }
    Pump();
    const double after = PrivateMb();
    std::printf("memory of 50 strokes and %d labels committed  %.2f MB -> %.2f MB: %+.2f MB (at most +2 MB)\n", labels,
                before, after, after - before);
    vardo::UnloadCaptureOverlay();
    Pump();
  }
  return 0;
}
