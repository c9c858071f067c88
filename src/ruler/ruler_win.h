// The ruler window `Form1`: the frozen screen over the whole screen, the
// panel, the measuring lines drawn on the picture with the measuring tick,
// the live length label that follows the pointer, the line menu and saving.
#pragma once
#include <windows.h>

#include <memory>
#include <string>

#include "common/handles_win.h"
#include "common/window_win.h"
#include "ruler/canvas_win.h"
#include "ruler/lines.h"
#include "ruler/panel_win.h"

namespace vardo::ruler {

// What the ruler tells the program around it.
class RulerHost {
 public:
  // The window has gone ("退出", a save that wrote its file, a close).
  virtual void RulerEnded() = 0;

 protected:
  ~RulerHost() = default;
};

class RulerWindow : public Window, private PanelActions {
 public:
  explicit RulerWindow(RulerHost& host);
  ~RulerWindow() override;

  // Freezes the screen and shows it; the panel follows as soon as the
  // message loop runs.
  bool Open();
  bool IsOpen() const { return hwnd() != nullptr; }
  // Ends the ruler; the picture and its lines are discarded.
  void Close() { Destroy(); }

 protected:
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;
  void OnPaint(HDC dc, const RECT& update) override;
  void OnDestroyed() override;

 private:
  // PanelActions
  void SavePicture() override;
  void ExitProgram() override { Close(); }
  void OpenHomePage() override;

  void FinishOpening();
  // Carries what the board changed onto the picture and the screen.
  void Apply();
  void PlaceLiveLabel();
  void OnMeasureTick();
  void OnMagnifierTick();
  void OnPress(Point p, bool left);
  void OnMove(Point p, bool left_held);
  void OnRelease();
  void OnKey(WPARAM key);
  void EndDrags();
  void RunLineCommand(UINT command);

  RulerHost& host_;
  RulerPanel panel_;
  RulerCanvas canvas_;
  std::unique_ptr<LineBoard> board_;
  UniqueMenu menu_;
  int dpi_ = 96;
  Point pointer_;        // last pointer position over the picture
  Point measured_;       // last position the measuring tick saw inside the window
  RECT live_rect_{};     // where the live label is drawn (empty: nowhere)
  std::string live_text_;
};

}  // namespace vardo::ruler
