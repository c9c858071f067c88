// Capture benchmarks, in one process, side by side:
// - the capture request to the overlay showing the frozen screen, against a
//   minimal program's screen copy into a full-screen window;
// - one dimming pass, against one full-screen blit;
// - one mouse move over a fixed selection (magnifier moved and redrawn,
//   both readouts set, no dimming change), one rubber-band drag step
//   (dimming and magnifier redrawn) and the copy of a full-screen selection
//   (compose and clipboard set), each against one full-screen blit.
#include <windows.h>

#include <vector>

#include "bench_util_win.h"
#include "capture/dimming_win.h"
#include "capture/freeze_win.h"
#include "capture/output_win.h"
#include "capture/overlay_win.h"
#include "common/gdiplus_win.h"
#include "common/handles_win.h"
#include "common/process_win.h"
#include "common/savepic_win.h"

namespace {

class NullHost : public vardo::OverlayHost {
 public:
  void ShowLayer() override {}
  void SetLayerTimer(bool) override {}
  bool AddImageFromClipboard() override { return true; }
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

  // The overlay driven with mouse messages, painted before the clock stops.
  vardo::OpenCaptureOverlay(host);
  HWND overlay = FindWindowW(L"VardoScrShot", nullptr);
  if (!overlay) {
    std::printf("overlay: did not open\n");
    return 1;
  }
  auto at = [](int x, int y) { return MAKELPARAM(x, y); };
  // The overlay paints the magnifier, the outline and the handles itself;
  // its children (the toolbar) do not change here.
  auto settle = [&] {
    UpdateWindow(overlay);
    GdiFlush();
  };
  auto full_blit = [&] {
    double t0 = bench::NowMs();
    BitBlt(target.dc(), 0, 0, w, h, frozen.dc(), 0, 0, SRCCOPY);
    GdiFlush();
    return bench::NowMs() - t0;
  };
  // A rubber band from a quarter to three quarters of the screen.
  SendMessageW(overlay, WM_LBUTTONDOWN, MK_LBUTTON, at(w / 4, h / 4));
  std::vector<double> drag, drag_ref;
  for (int i = 0; i < 48; ++i) {
    const int x = w / 2 + (i % 2 ? 1 : -1) * (i % 7) * 9, y = h * 3 / 4 - (i % 5) * 7;
    double t0 = bench::NowMs();
    SendMessageW(overlay, WM_MOUSEMOVE, MK_LBUTTON, at(x, y));
    settle();
    double t = bench::NowMs() - t0;
    double r = full_blit();
    if (i >= 8) {  // the first seven moves only count towards a drag
      drag.push_back(t);
      drag_ref.push_back(r);
    }
  }
  SendMessageW(overlay, WM_LBUTTONUP, 0, at(w * 3 / 4, h * 3 / 4));
  bench::Pump();
  settle();
  std::vector<double> move, move_ref;
  for (int i = 0; i < 60; ++i) {
    // Inside and outside the selection, away from the toolbar above it.
    const int x = w / 8 + (i * 37) % (w * 3 / 4), y = h / 3 + (i * 23) % (h / 2);
    double t0 = bench::NowMs();
    SendMessageW(overlay, WM_MOUSEMOVE, 0, at(x, y));
    settle();
    double t = bench::NowMs() - t0;
    double r = full_blit();
    if (i >= 4) {
      move.push_back(t);
      move_ref.push_back(r);
    }
  }
  vardo::UnloadCaptureOverlay();
  bench::Pump();
  bench::PrintRatio("one mouse move over a fixed selection", move, "one full-screen blit", move_ref);
  bench::PrintRatio("one rubber-band drag step", drag, "one full-screen blit", drag_ref);

  // Copy of a full-screen selection: compose from the surface and set the
  // clipboard; and, for where the time goes, a minimal program handing a
  // ready full-screen bitmap to the clipboard.
  HWND owner = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
  std::vector<double> copy, copy_ref, composed, handed;
  for (int i = 0; i < 16; ++i) {
    double t0 = bench::NowMs();
    vardo::UniqueBitmap picture = vardo::ComposeOutput(target, vardo::capture::Rect{0, 0, w, h});
    double t1 = bench::NowMs();
    const bool ok = picture && vardo::savepic::GiveBitmapToClipboard(owner, picture, 1500);
    double t = bench::NowMs() - t0;
    double r = full_blit();
    vardo::UniqueBitmap ready = vardo::ComposeOutput(target, vardo::capture::Rect{0, 0, w, h});
    double t2 = bench::NowMs();
    if (ready && OpenClipboard(owner)) {
      EmptyClipboard();
      if (SetClipboardData(CF_BITMAP, ready.get())) ready.release();
      CloseClipboard();
    }
    double hand = bench::NowMs() - t2;
    if (!ok) std::printf("copy: the clipboard was not set\n");
    if (i >= 2) {
      copy.push_back(t);
      copy_ref.push_back(r);
      composed.push_back(t1 - t0);
      handed.push_back(hand);
    }
  }
  DestroyWindow(owner);
  bench::PrintRatio("copy of a full-screen selection", copy, "one full-screen blit", copy_ref);
  bench::PrintRatio("  its compose part", composed, "one full-screen blit", copy_ref);
  bench::PrintRatio("copy of a full-screen selection", copy, "clipboard set of a ready bitmap", handed);
  return 0;
}
