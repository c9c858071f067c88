// The capture overlay window `ScrShot`: a topmost, borderless popup over the
// whole primary screen (physical pixels) showing the frozen picture.
#pragma once
#include <windows.h>

#include <memory>
#include <optional>
#include <vector>

#include "capture/overlay_host_win.h"
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

  // The open sequence: freeze, then show. False when the screen could not
  // be copied (nothing is shown then).
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
  void Apply(const capture::Reaction& r);
  void ReLoad();
  void OnPosTimer();
  void OnHotKeyTimer();
  void OnExit();

  // overlay_paint_win.cpp
  // Marks the surface for a dimming pass and asks for a repaint; the pass
  // runs once per paint, so bursts of mouse moves cost one pass.
  void Redraw();
  void Paint(HDC dc, const RECT& update);

  OverlayHost* host_ = nullptr;
  std::optional<GdiplusSession> gdiplus_;
  std::vector<capture::WinRect> candidates_;
  MemoryCanvas surface_;  // what the window shows
  MemoryCanvas pic_b_;    // frozen picture; every dimming pass starts from it
  // PicB stays as frozen until an output is composed, so it is also the
  // clean picture (PicEx) until then; no second copy is made at open.
  MemoryCanvas pic_dim_;  // the frozen picture darkened, made once per capture
  std::optional<capture::SelectionModel> model_;
  Toolbar toolbar_;
  int dpi_ = 96;
  bool hotkey_latch_ = false;
  bool surface_stale_ = true;
};

}  // namespace vardo
