// Capture benchmarks, in one process, side by side:
// - the capture request to the overlay showing the frozen screen, against a
//   minimal program's screen copy into a full-screen window;
// - one dimming pass, against one full-screen blit.
#include <windows.h>

#include <vector>

#include "bench_util_win.h"
#include "capture/dimming_win.h"
#include "capture/freeze_win.h"
#include "capture/overlay_win.h"
#include "common/gdiplus_win.h"
#include "common/handles_win.h"
#include "common/process_win.h"

namespace {

class NullHost : public vardo::OverlayHost {
 public:
  void ShowLayer() override {}
  void SetLayerTimer(bool) override {}
  void AddImageFromClipboard() override {}
  void BringLayerToTop() override {}
  bool PopupTextLabelMenu(HWND) override { return false; }
};

}  // namespace

int wmain() {
  vardo::InitProcess();
  const int w = GetSystemMetrics(SM_CXSCREEN), h = GetSystemMetrics(SM_CYSCREEN);
  std::printf("screen %d x %d\n", w, h);

  NullHost host;
  bench::ScreenCopyReference ref;
  std::vector<double> ours, theirs;
  for (int i = 0; i < 12; ++i) {
    double t0 = bench::NowMs();
    vardo::OpenCaptureOverlay(host);
    GdiFlush();
    double t = bench::NowMs() - t0;
    vardo::UnloadCaptureOverlay();
    bench::Pump();
    double r = ref.Run(w, h);
    if (i >= 2) {  // the first runs warm caches and the server
      ours.push_back(t);
      theirs.push_back(r);
    }
  }
  bench::PrintRatio("capture request -> frozen overlay shown", ours, "screen copy to full window", theirs);

  // Where the overlay's open time goes (one run each, for the record).
  {
    double t0 = bench::NowMs();
    { vardo::GdiplusSession gdiplus; }
    double t1 = bench::NowMs();
    auto candidates = vardo::GatherCandidateWindows();
    double t2 = bench::NowMs();
    vardo::MemoryCanvas a, d;
    vardo::FreezeScreen(a, w, h);
    double t3 = bench::NowMs();
    vardo::MakeDimmedCopy(a, d);
    double t4 = bench::NowMs();
    std::printf("  open parts: GDI+ start/stop %.1f ms, %zu window candidates %.1f ms, screen copy %.1f ms, "
                "dimmed copy %.1f ms\n",
                t1 - t0, candidates.size(), t2 - t1, t3 - t2, t4 - t3);
  }

  vardo::MemoryCanvas frozen, dimmed, target;
  if (!vardo::FreezeScreen(frozen, w, h) || !vardo::MakeDimmedCopy(frozen, dimmed) || !target.CreateDib(w, h)) {
    std::printf("dimming: could not make the surfaces\n");
    return 1;
  }
  std::vector<double> dim, blit;
  const vardo::capture::Rect sel{w / 4, h / 4, w / 2, h / 2};
  for (int i = 0; i < 40; ++i) {
    double t0 = bench::NowMs();
    vardo::DrawAlphaClip(target.dc(), frozen.dc(), dimmed.dc(), vardo::capture::Size{w, h}, sel);
    GdiFlush();
    double t1 = bench::NowMs();
    BitBlt(target.dc(), 0, 0, w, h, frozen.dc(), 0, 0, SRCCOPY);
    GdiFlush();
    double t2 = bench::NowMs();
    if (i >= 4) {
      dim.push_back(t1 - t0);
      blit.push_back(t2 - t1);
    }
  }
  bench::PrintRatio("one dimming pass", dim, "one full-screen blit", blit);
  return 0;
}
