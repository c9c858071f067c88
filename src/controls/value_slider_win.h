// SValue: a small horizontal slider drawn by hand, a track in the system
// highlight colour across the control and an orange thumb at the value.
// The control's width spans the values 0..Max, so dragging with the left
// button sets the value under the pointer; every change raises Change.
#pragma once
#include <windows.h>

#include <functional>

#include "common/geometry.h"
#include "common/window_win.h"

namespace vardo {

class SValue : public Window {
 public:
  static constexpr wchar_t kClassName[] = L"VardoValueSlider";

  // A child of `parent` at `r` (client pixels); Max 100, Value 0.
  bool Create(HWND parent, const Rect& r);

  float Max() const { return max_; }
  // The range's right end; the value is not clamped again.
  void SetMax(float max);
  float Value() const { return value_; }
  // Clamps the value to 0..Max (beyond Max with OverMaxable) and makes it
  // whole, halves to even; then draws and raises Change.
  void SetValue(float value);
  bool OverMaxable() const { return over_maxable_; }
  void SetOverMaxable(bool over) { over_maxable_ = over; }
  // Repaints the track and the thumb.
  void Draw();

  // Events. Button: 1 left, 2 right, 4 middle; shift: 1 Shift, 2 Control,
  // 4 Alt; x in value units (0..Max across the control), y in pixels.
  std::function<void(int button, int shift, float x, float y)> MouseDown;
  std::function<void(int button, int shift, float x, float y)> MouseMove;
  std::function<void(int button, int shift, float x, float y)> MouseUp;
  std::function<void()> Change;

 protected:
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;
  void OnPaint(HDC dc, const RECT& update) override;

 private:
  float ValueX(LPARAM lp) const;

  float max_ = 100;
  float value_ = 0;
  bool over_maxable_ = false;
};

}  // namespace vardo
