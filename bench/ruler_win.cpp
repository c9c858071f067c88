// Ruler benchmarks, in one process, side by side:
// - opening the ruler until its frozen window is shown (and until its panel
//   is up as well), against a minimal program's screen copy into a
//   full-screen window (the capture benchmark's reference);
// - one measuring step while a line is drawn (the tick, the layout, the
//   picture brought up to date and the changed area put on the window),
//   against one full-screen blit.
#include <windows.h>

#include <vector>

#include "bench_util_win.h"
#include "common/handles_win.h"
#include "common/process_win.h"
#include "common/units.h"
#include "ruler/canvas_win.h"
#include "ruler/lines.h"
#include "ruler/ruler_win.h"

namespace {
class NullHost : public vardo::ruler::RulerHost {
 public:
  void RulerEnded() override {}
};
}  // namespace

int wmain() {
  vardo::InitProcess();
  const int w = GetSystemMetrics(SM_CXSCREEN), h = GetSystemMetrics(SM_CYSCREEN);
  std::printf("screen %d x %d\n", w, h);

  NullHost host;
  bench::ScreenCopyReference ref;
  std::vector<double> ours, with_panel, theirs;
  for (int i = 0; i < 12; ++i) {
    vardo::ruler::RulerWindow ruler(host);
    double t0 = bench::NowMs();
    const bool opened = ruler.Open();
    GdiFlush();
    double t = bench::NowMs() - t0;
    // The panel comes up as the message loop runs.
    MSG m;
    while (!IsWindowVisible(FindWindowExW(ruler.hwnd(), nullptr, L"mirrun.panel", nullptr)) &&
           PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE))
      DispatchMessageW(&m);
    GdiFlush();
    double tp = bench::NowMs() - t0;
    bench::Pump();
    ruler.Close();
    bench::Pump();
    double r = ref.Run(w, h);
    if (!opened) {
      std::printf("ruler: the window did not open\n");
      return 1;
    }
    if (i >= 2) {  // the first runs warm caches and the server
      ours.push_back(t);
      with_panel.push_back(tp);
      theirs.push_back(r);
    }
  }
  bench::PrintRatio("start -> frozen ruler window shown", ours, "screen copy to full window", theirs);
  bench::PrintRatio("start -> panel and magnifier shown too", with_panel, "screen copy to full window", theirs);

  // A line half the screen long drawn over a picture that already holds
  // fifty lines; each step moves the pointer a few pixels.
  vardo::ruler::RulerCanvas canvas;
  vardo::MemoryCanvas target;
  if (!canvas.Freeze(w, h) || !target.CreateDib(w, h)) {
    std::printf("measuring: could not make the pictures\n");
    return 1;
  }
  const int dpi = 96;
  canvas.SetDpi(dpi);
  vardo::ruler::LineBoard board([&](const std::string& t) { return canvas.MeasureLabel(t); }, dpi,
                                vardo::TwipsToPixels(80, dpi));
  for (int i = 0; i < 50; ++i) {
    const vardo::Point a{40 + (i % 10) * (w / 12), 40 + (i / 10) * (h / 8)};
    board.Begin(a);
    board.DragTo(vardo::Point{a.x + w / 14, a.y + 3});
    board.Tick(vardo::Point{a.x + w / 14, a.y + 3});
    board.Finish();
  }
  canvas.Refresh(board, board.TakeDirty());
  const vardo::Point start{w / 4, h * 3 / 4};
  board.Begin(start);
  std::vector<double> step, blit;
  for (int i = 0; i < 60; ++i) {
    const vardo::Point p{start.x + w / 2 + (i % 7) * 3, start.y + 2 + i % 3};
    double t0 = bench::NowMs();
    board.Tick(p);
    board.DragTo(p);
    const vardo::Rect d = board.TakeDirty();
    canvas.Refresh(board, d);
    canvas.PaintTo(target.dc(), RECT{d.left, d.top, d.right(), d.bottom()});
    GdiFlush();
    double t1 = bench::NowMs();
    BitBlt(target.dc(), 0, 0, w, h, canvas.picture(), 0, 0, SRCCOPY);
    GdiFlush();
    double t2 = bench::NowMs();
    if (i >= 5) {
      step.push_back(t1 - t0);
      blit.push_back(t2 - t1);
    }
  }
  board.Finish();
  bench::PrintRatio("one measuring step (tick, layout, repaint)", step, "one full-screen blit", blit);
  return 0;
}
