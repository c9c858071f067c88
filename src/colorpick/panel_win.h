// The picker's floating control panel: title, magnifier, readouts, hints,
// save, close and exit. Its layout is designed in twips and laid out for
// the window's DPI.
#pragma once
#include <windows.h>

#include <array>
#include <string>

#include "common/drag_win.h"
#include "common/handles_win.h"
#include "common/window_win.h"

namespace vardo::colorpick {

class PanelActions {
 public:
  virtual void CopyHexWithoutHash() = 0;  // click on the HEX readout
  virtual void CopyRgb() = 0;             // click on the RGB readout
  virtual void SavePicture() = 0;         // "保存图片" and the save image
  virtual void ClosePicker() = 0;         // "关闭"
  virtual void ExitProgram() = 0;         // the exit image

 protected:
  ~PanelActions() = default;
};

class PickerPanel : public Window {
 public:
  explicit PickerPanel(PanelActions& actions) : actions_(actions) {}
  bool Create(HWND picker, int dpi);
  void SetReadouts(const std::wstring& hex, const std::wstring& rgb);
  std::wstring HexText() const;
  std::wstring RgbText() const;
  // Redraws the magnifier from `surface` (the frozen picture with its
  // callouts) around the pointer at `cursor`.
  void UpdateMagnifier(HDC surface, int surface_w, int surface_h, POINT cursor);
  int width() const { return w_; }
  int height() const { return h_; }

 protected:
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  // A text label that acts as a button: it acts on a press and a release
  // inside it (sliding off before the release cancels), and a second click
  // within the double-click time is a click too.
  class LabelButton final : public ControlHook {
   public:
    void Attach(HWND label, PanelActions& actions, void (PanelActions::*action)());

   protected:
    bool OnControlMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT* result) override;

   private:
    PanelActions* actions_ = nullptr;
    void (PanelActions::*action_)() = nullptr;
    ClickTracker click_;
  };

  enum class Part { kNone, kBody, kExit, kSave, kMagnifier };
  Part PartAt(POINT p) const;
  void Paint(HDC dc);
  RECT Twips(int x, int y, int w, int h) const;

  PanelActions& actions_;
  int dpi_ = 96;
  int w_ = 0, h_ = 0;
  RECT title_{}, grip_{}, exit_{}, save_icon_{}, magnifier_{};
  HWND lhex_ = nullptr, lrgb_ = nullptr, title_label_ = nullptr;
  UniqueFont font_, readout_font_;
  UniqueBrush back_brush_, title_brush_;
  MemoryCanvas zoom_;
  PointerDrag drag_;
  std::array<LabelButton, 4> buttons_;  // lhex, lrgb, "保存图片", "关闭"
  Part pressed_ = Part::kNone;
};

}  // namespace vardo::colorpick
