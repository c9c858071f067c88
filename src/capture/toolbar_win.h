// The overlay's toolbar `Tools`: a child panel beside the selection in
// three bands, dragged by its background. The top band holds the tool
// buttons `Draw` with the hover marker `Under` and the chosen-tool marker
// `DownUn`, then the action buttons `pinimg`, `Image1`, `savepic` and `Exi` after the tools'
// separator; the colour band `Ops` the palette `Cols`, the current colour
// `CN` and the buttons `MoreC` ("颜色") and `Sets` ("字体"); the bottom band
// the "粗细" row (`svWid`, `txtWid`) and the "亮度" row (`svAlp`, `txtAlp`).
#pragma once
#include <windows.h>

#include "capture/geometry.h"
#include "capture/tool_style.h"
#include "capture/toolbar_layout.h"
#include "common/drag_win.h"
#include "common/handles_win.h"
#include "common/window_win.h"
#include "controls/center_text_win.h"
#include "controls/value_slider_win.h"

namespace vardo {

// The action buttons' clicks, posted to the overlay (wParam) because each
// of them ends with the toolbar destroyed.
enum class ToolbarAction : WPARAM { kExit = 1, kCopy, kPin, kSave };
constexpr UINT kMsgToolbarAction = WM_APP + 0x41;
// A tool button was clicked; wParam is the tool mode it sets.
constexpr UINT kMsgToolChosen = WM_APP + 0x42;
// The colour or the font of the tools changed (sent).
constexpr UINT kMsgToolStyle = WM_APP + 0x43;

class Toolbar;

// One of the five tool buttons `Draw(i)`, drawn as its icon on the fill of
// the marker it carries; the window text is its tip.
class ToolButton : public Window {
 public:
  bool Create(Toolbar& bar, int row, const capture::Rect& r, const wchar_t* tip);

 protected:
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;
  void OnPaint(HDC dc, const RECT& update) override;

 private:
  Toolbar* bar_ = nullptr;
  int row_ = 0;
  ClickTracker click_;
  bool tracking_ = false;
};

// One of the four action buttons, drawn as its icon; the window text is
// its tip. A click is a press and a release on the button.
class ActionButton : public Window {
 public:
  bool Create(HWND parent, const capture::Rect& r, ToolbarAction action, const wchar_t* tip, HWND notify);

 protected:
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;
  void OnPaint(HDC dc, const RECT& update) override;

 private:
  ToolbarAction action_ = ToolbarAction::kExit;
  HWND notify_ = nullptr;
  ClickTracker click_;
};

class Toolbar : public Window {
 public:
  static constexpr wchar_t kClassName[] = L"VardoCaptureTools";

  // Creates the hidden panel on `overlay`, laid out for `dpi`.
  bool Create(HWND overlay, int dpi);
  capture::Size size() const { return layout_.panel; }
  const capture::ToolbarLayout& layout() const { return layout_; }
  void ShowAt(capture::Point p);
  void Hide();
  // What the tools draw with, as the controls have set it.
  const capture::ToolStyle& style() const { return style_; }
  // Puts `DownUn` on the button of tool `mode`; -1 takes it away.
  void SetChosenTool(int mode);

 protected:
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;
  void OnPaint(HDC dc, const RECT& update) override;

 private:
  void CreateRows();
  HWND MakeLabel(const capture::Rect& r, const wchar_t* text);
  HWND MakeBox(const capture::Rect& r, int id);
  void AddTip(HWND control, const wchar_t* text);
  void RefreshSwatch();

  // toolbar_tools_win.cpp: the tool row.
  friend class ToolButton;
  bool CreateToolRow();
  void SetHover(int row);
  void InvalidateTool(int row);
  void PaintMarkers(HDC dc);
  // The fill a tool button shows: the marker it carries, or the panel's.
  COLORREF ToolFill(int row) const;
  void ToolClicked(int row);
  void NotifyStyle();

  // toolbar_style_win.cpp: the colour band and the two rows.
  void SetColour(uint32_t colour);
  void MoreC_Click();
  void Sets_Click();
  void Slider_Change(capture::PairedValue& pair, SValue& slider, HWND box);
  void Box_Change(capture::PairedValue& pair, SValue& slider, HWND box);

  capture::ToolbarLayout layout_;
  capture::ToolStyle style_;
  HWND overlay_ = nullptr;
  int dpi_ = 96;
  HWND tip_ = nullptr;
  UniqueFont font_;
  ActionButton pinimg_, image1_, savepic_, exi_;
  ToolButton draw_[capture::kToolCount];
  int hover_row_ = -1;   // `Under`
  int chosen_row_ = -1;  // `DownUn`
  CenterText more_c_, sets_;
  SValue sv_wid_, sv_alp_;
  HWND txt_wid_ = nullptr, txt_alp_ = nullptr;
  // Set while one of a pair's controls is being made to follow the other.
  bool syncing_ = false;
  PointerDrag drag_;
};

}  // namespace vardo
