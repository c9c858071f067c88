// Geometry of the hotkey settings window: the controls in tab order with
// their captions and their places, designed in pixels at 96 DPI.
#pragma once
#include <array>
#include <string_view>

#include "common/geometry.h"

namespace vardo::shell {

// A control's place, designed in pixels at 96 DPI.
using Box = vardo::Rect;

enum class SettingsControl { chkCheck1, Command1, Command2, Command3, Label1, HotKey1 };

enum class ControlKind { CheckBox, Button, Label, HotKeyEntry };

struct ControlSpec {
  SettingsControl id;
  ControlKind kind;
  std::string_view caption;  // UTF-8
  Box at96;
};

constexpr int kSettingsClientWidth = 391;
constexpr int kSettingsClientHeight = 145;

// The controls of the window in tab order. The check box sits higher than
// its designed 128 so that its bottom (137) stays inside the 145-pixel
// client area; the hotkey entry sits on the label's row, between the label
// and the default-hotkey button.
const std::array<ControlSpec, 6>& SettingsControls();
const ControlSpec& SpecOf(SettingsControl id);

// The outline drawn along the window's edge, in 96-DPI pixels.
Box OutlineBox();

// A 96-DPI box at the given DPI. Edges are scaled, not sizes, so that
// neighbouring boxes stay neighbours after rounding.
Box ScaleBox(const Box& at96, int dpi);

// Top-left corner of a window of the given size centred on the screen.
Box CentreOnScreen(int screen_width, int screen_height, int width, int height);

}  // namespace vardo::shell
