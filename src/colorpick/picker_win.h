// The picker window: the frozen screen, the panel, the live readout, the
// keyboard and the colour callouts drawn on the frozen picture.
#pragma once
#include <windows.h>

#include <map>
#include <memory>
#include <string>

#include "colorpick/callouts.h"
#include "colorpick/panel_win.h"
#include "common/handles_win.h"
#include "common/window_win.h"

namespace vardo::colorpick {

// What the picker asks of the program around it.
class PickerHost {
 public:
  virtual void ExitProgram() = 0;
  virtual HMENU CalloutMenu() = 0;
  // The screen has been copied; the window is about to appear.
  virtual void ScreenFrozen() {}

 protected:
  ~PickerHost() = default;
};

class PickerWindow : public Window, private PanelActions {
 public:
  explicit PickerWindow(PickerHost& host);
  ~PickerWindow() override;

  // Freezes the screen and shows the picker over it.
  bool Open();
  bool IsOpen() const { return hwnd() != nullptr; }
  void BringForward();
  // Closes the window; the frozen picture and the callouts are discarded.
  void Close();

  // The frozen picture with every callout, as a new bitmap the caller owns.
  HBITMAP RenderPicture() const;

 protected:
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;
  void OnDestroyed() override;

 private:
  // PanelActions
  void CopyHexWithoutHash() override;
  void CopyRgb() override;
  void SavePicture() override;
  void ClosePicker() override;
  void ExitProgram() override;

  ColorValue ColorAt(int x, int y) const;
  void ShowColor(ColorValue c);
  void Recompose();
  void SyncTooltips();
  Size MeasureLabel(const std::string& text) const;
  void OnMagnifierTick();
  void OnKey(WPARAM key);
  enum class Button { kLeft, kRight, kMiddle };
  void OnPress(POINT p, Button button);
  void OnMove(POINT p, WPARAM buttons);
  void OnRelease(Button button);
  void RunCalloutCommand(UINT cmd);
  // Puts the text on the clipboard; a clipboard that stays busy is reported
  // in the "错误" box and false returned.
  bool CopyText(const std::string& text);
  void CopyAndClose(const std::string& text);

  PickerHost& host_;
  PickerPanel panel_;
  int dpi_ = 96;
  int width_ = 0, height_ = 0;
  MemoryCanvas frozen_;   // the screen as it was when the picker opened
  MemoryCanvas surface_;  // frozen picture plus callouts, what the window shows
  UniqueFont label_font_;
  UniqueMemDc measure_dc_;
  std::unique_ptr<CalloutBoard> board_;
  HWND tooltip_ = nullptr;
  std::map<int, std::pair<RECT, std::wstring>> tools_;
  ColorValue pick_color_ = 0;
};

}  // namespace vardo::colorpick
