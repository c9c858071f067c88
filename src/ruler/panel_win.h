// The ruler's panel `p`: the magnifier with its cross-hair, the title and
// the commands "保存为图片", "退出" and "More". Designed in twips, laid out
// for the window's DPI; dragged by its body.
#pragma once
#include <windows.h>

#include "common/drag_win.h"
#include "common/handles_win.h"
#include "common/window_win.h"

namespace vardo::ruler {

class PanelActions {
 public:
  virtual void SavePicture() = 0;   // "保存为图片"
  virtual void ExitProgram() = 0;   // "退出"
  virtual void OpenHomePage() = 0;  // "More"

 protected:
  ~PanelActions() = default;
};

class RulerPanel : public Window {
 public:
  explicit RulerPanel(PanelActions& actions) : actions_(actions) {}
  bool Create(HWND ruler, int dpi);
  // Redraws the magnifier from `picture` round the pointer at `cursor`.
  void UpdateMagnifier(HDC picture, int picture_w, int picture_h, POINT cursor);

 protected:
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  enum class Part { kBody, kSave, kExit, kMore };
  Part PartAt(POINT p) const;
  void OnPaint(HDC dc, const RECT& area) override;

  PanelActions& actions_;
  int w_ = 0, h_ = 0;
  RECT magnifier_{}, save_{}, exit_{}, more_{};
  HWND title_ = nullptr;
  UniqueFont font_, title_font_;
  UniqueBrush back_brush_;
  MemoryCanvas zoom_;
  PointerDrag drag_;
  Part pressed_ = Part::kBody;
};

}  // namespace vardo::ruler
