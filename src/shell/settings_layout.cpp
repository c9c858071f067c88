#include "shell/settings_layout.h"

#include "common/units.h"

namespace vardo::shell {

const std::array<ControlSpec, 6>& SettingsControls() {
  static const std::array<ControlSpec, 6> kControls = {{
      {SettingsControl::chkCheck1, ControlKind::CheckBox, "启用", {280, 112, 65, 25}},
      {SettingsControl::Command1, ControlKind::Button, "保存", {96, 72, 145, 33}},
      {SettingsControl::Command2, ControlKind::Button, "隐藏", {8, 112, 65, 25}},
      {SettingsControl::Command3, ControlKind::Button, "默认热键为Print Screen", {256, 24, 89, 28}},
      {SettingsControl::Label1, ControlKind::Label, "设置热键：", {16, 24, 65, 25}},
      {SettingsControl::HotKey1, ControlKind::HotKeyEntry, "NULL", {88, 24, 160, 25}},
  }};
  return kControls;
}

const ControlSpec& SpecOf(SettingsControl id) {
  for (const ControlSpec& c : SettingsControls())
    if (c.id == id) return c;
  return SettingsControls().front();
}

Box OutlineBox() { return {0, 0, kSettingsClientWidth, kSettingsClientHeight}; }

Box ScaleBox(const Box& at96, int dpi) {
  int left = ScaleForDpi(at96.left, dpi);
  int top = ScaleForDpi(at96.top, dpi);
  int right = ScaleForDpi(at96.right(), dpi);
  int bottom = ScaleForDpi(at96.bottom(), dpi);
  return {left, top, right - left, bottom - top};
}

Box CentreOnScreen(int screen_width, int screen_height, int width, int height) {
  return {(screen_width - width) / 2, (screen_height - height) / 2, width, height};
}

}  // namespace vardo::shell
