// The capture overlay window `ScrShot`: a topmost, borderless popup over the
// whole primary screen (physical pixels) showing the frozen picture, with
// the magnifier `Va` and, once a selection is fixed, the toolbar `Tools`.
//
// What the overlay shows is kept in its own state, so the outputs are
// composed from it: `surface_` holds the frozen picture with the dimming
// and the strokes burnt into it; the text labels are drawn from their own
// state over it, on screen and into the outputs alike; the outline, the
// handles, a stroke's preview, the magnifier and the toolbar are painted
// over it on screen only.
#pragma once
#include <windows.h>

#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "capture/magnifier_win.h"
#include "capture/overlay_host_win.h"
#include "capture/overlay_text_win.h"
#include "capture/overlay_tools_win.h"
#include "capture/selection.h"
#include "capture/toolbar_win.h"
#include "common/gdiplus_win.h"
#include "common/handles_win.h"
#include "common/window_win.h"

namespace vardo {

class OverlayWindow : public Window {
 public:
  static constexpr wchar_t kClassName[] = L"VardoScrShot";
  static constexpr UINT_PTR kPosTimer = 1;     // window detection, 50 ms
  static constexpr UINT_PTR kHotKeyTimer = 2;  // Control+Shift+C re-capture, 100 ms
  static constexpr int kHandleSize = 6;        // design pixels at 96 DPI

  // The open sequence: freeze, then show the plain frozen picture. What the
  // first moments do not need follows: the window candidates, the darkened
  // copy and the surface are made on a worker thread, GDI+ is started after
  // them, and the toolbar and the text box are built from the message loop.
  // False when the screen could not be copied (nothing is shown then).
  bool Open(OverlayHost& host);
  // Close: reset, release the pictures and GDI+, destroy the window.
  void Unload();
  bool loaded() const { return hwnd() != nullptr; }

  const capture::SelectionModel* model() const { return model_ ? &*model_ : nullptr; }

 protected:
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  // overlay_input_win.cpp
  void OnPress(capture::Button button, LPARAM lp);
  void OnMove(WPARAM wp, LPARAM lp);
  void OnRelease(capture::Button button, LPARAM lp);
  void OnDoubleClick(LPARAM lp);
  void OnCaptureLost();
  void Apply(const capture::Reaction& r);
  void ReLoad();
  void OnPosTimer();
  void OnHotKeyTimer();
  // Ends the capture without output and gives the layer back.
  void OnExit();
  // A modal dialog or message box of the overlay is open: timers and
  // actions wait.
  bool Busy() const;

  // overlay_tools_win.cpp / overlay_text_win.cpp do the drawing; these
  // tie them to the selection and the toolbar (overlay_input_win.cpp).
  void OnToolChosen(int mode);
  void OnToolStyle();
  // `last`: the release point, which ends the stroke.
  void FinishStroke(std::optional<capture::Point> last = std::nullopt);

  // overlay_win.cpp: the rest of the open sequence.
  static constexpr UINT kMsgFinishOpen = WM_APP + 0x51;
  static constexpr UINT kMsgPrepared = WM_APP + 0x52;
  // Builds the toolbar and the text box (once, right after the show).
  void FinishOpen();
  // Waits for the candidates, the darkened copy and the surface; false
  // when they could not be made (the overlay then closes).
  bool AwaitPrepared();
  // Waits for GDI+ as well and gives the tools the surface.
  void AwaitGdiplus();
  // Lets go of the worker: waits for it to end.
  void JoinWorker();

  // overlay_paint_win.cpp
  // Marks the surface for a full dimming pass and asks for a repaint of
  // everything; the pass runs once per paint, so bursts of events cost one.
  void Redraw();
  // After a selection change: asks for a repaint of only what changed.
  void RedrawChanged();
  // Runs a pending dimming pass now, so the surface is what is shown.
  void EnsureSurface();
  void OnPaint(HDC dc, const RECT& update) override;
  // The colour value (0x00BBGGRR) the surface shows at p.
  uint32_t SurfaceColourAt(capture::Point p);
  // Moves the magnifier to the cursor and refreshes its readouts.
  void UpdateMagnifier(capture::Point cursor);

  // overlay_output_win.cpp
  void OnAction(ToolbarAction action);
  void Image1_Click();
  void pinimg_Click();
  void savepic_Click();
  // The output image `Rect`: the surface's pixels in `area` (a part of the
  // screen), as a bitmap selected nowhere.
  UniqueBitmap SetRect(const capture::Rect& area);
  // The selection cut to the screen; nothing (and a warning beep) when it
  // has no pixels.
  std::optional<capture::Rect> OutputArea() const;
  // Hands the picture to the clipboard, waiting for another program that
  // holds it; when it stays busy, says so and keeps the picture.
  bool PutOnClipboard(UniqueBitmap& picture);
  void ShowError(const std::string& message);
  // Ends the capture; the layer is shown again by the caller.
  OverlayHost* Close();

  OverlayHost* host_ = nullptr;
  // Made by the worker; the user-interface thread reads them only once
  // `prepared_ready_` is set (darkened copy, surface) or the worker has
  // ended (GDI+).
  std::thread worker_;
  UniqueHandle prepared_ready_;
  bool worker_ok_ = false;
  enum class Prep { Waiting, Ready, Failed } prep_ = Prep::Waiting;
  bool tools_attached_ = false;
  bool shown_once_ = false;  // the show is done; the open sequence goes on
  ULONGLONG closed_at_ = 0;  // when a shown overlay last closed (tick count)
  bool built_ = false;       // toolbar and text box built
  // Until the first dimming pass the window shows the frozen picture
  // itself (pic_b_), as the open sequence leaves it.
  bool plain_ = true;
  std::optional<GdiplusSession> gdiplus_;
  std::vector<capture::WinRect> candidates_;
  MemoryCanvas surface_;  // what the window shows
  MemoryCanvas pic_b_;    // frozen picture; every dimming pass starts from it
  // PicB is never drawn on (outputs are composed from the surface), so it
  // is also the clean picture (PicEx) that the magnifier shows and the
  // eraser paints back; no second copy is made at open.
  MemoryCanvas pic_dim_;  // the frozen picture darkened, made once per capture
  std::optional<capture::SelectionModel> model_;
  Toolbar toolbar_;
  Magnifier va_;
  OverlayTools tools_;
  OverlayText text_;
  int dpi_ = 96;
  bool hotkey_latch_ = false;
  bool surface_stale_ = true;
  // The selection whose dimming the surface shows (once not stale).
  capture::Rect surface_sel_{};
  // What was last asked to be painted on screen.
  struct Shown {
    capture::Rect selection;
    int border = 0;
    capture::HandleRects handles{};
  } shown_;
};

}  // namespace vardo
