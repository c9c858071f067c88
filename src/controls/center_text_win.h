// CenterText: a light-weight text button, a rectangle of a chosen colour,
// optionally with a one-pixel border, with one line of text always centred
// in it. It reports clicks and mouse movement to its host and tells it when
// the pointer enters and leaves, so the host can show a hover state.
#pragma once
#include <windows.h>

#include <functional>
#include <string>

#include "common/geometry.h"
#include "common/handles_win.h"
#include "common/window_win.h"

namespace vardo {

class CenterText : public Window {
 public:
  static constexpr wchar_t kClassName[] = L"VardoCenterText";

  // A child of `parent` at `r` (client pixels) showing `caption`.
  bool Create(HWND parent, const Rect& r, const std::wstring& caption = L"CenterText");

  COLORREF BackColor() const { return back_; }
  void SetBackColor(COLORREF colour);
  bool WithBorder() const;
  void SetWithBorder(bool border);
  std::wstring Caption() const;
  void SetCaption(const std::wstring& caption);
  COLORREF ForeColor() const { return fore_; }
  void SetForeColor(COLORREF colour);
  // The control keeps its own copy of the font.
  LOGFONTW Font() const { return font_spec_; }
  void SetFont(const LOGFONTW& font);

  // Events. Button: 1 left, 2 right, 4 middle; shift: 1 Shift, 2 Control,
  // 4 Alt; x and y in client pixels.
  std::function<void()> Click;
  std::function<void()> DblCilck;
  std::function<void(int button, int shift, float x, float y)> MouseMove;
  std::function<void(int button, int shift, float x, float y)> MouseDown;
  std::function<void(int button, int shift, float x, float y)> MouseUp;
  std::function<void()> MouseLeave;
  std::function<void()> MouseEnter;

 protected:
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;
  void OnPaint(HDC dc, const RECT& update) override;

 private:
  void OnMouseMove(WPARAM wp, LPARAM lp);
  void Left(bool tracking_ended);
  void Repaint();

  COLORREF back_ = GetSysColor(COLOR_BTNFACE);
  COLORREF fore_ = 0;
  LOGFONTW font_spec_{};
  UniqueFont font_;
  bool is_inside_ = false;
  bool tracking_ = false;
  bool pressed_ = false;
};

}  // namespace vardo
