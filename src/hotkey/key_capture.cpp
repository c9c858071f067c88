#include "hotkey/key_capture.h"

#include <utility>

namespace vardo::hotkey {

void KeyCapture::KeyDown(int key, int shift, const KeyNameFn& key_name) {
  if (key == kVkLeftWin) win_down_ = true;
  awaiting_up_ = true;

  // Fixed order whatever order the keys went down in: Win, Ctrl, Alt, Shift.
  std::string text;
  int mods = 0;
  if (win_down_) {
    text = "Win + ";
    mods = kModWin;
  }
  if (shift & kCtrlState) {
    text += "Ctrl + ";
    mods |= kModControl;
  }
  if (shift & kAltState) {
    text += "Alt + ";
    mods |= kModAlt;
  }
  if (shift & kShiftState) {
    text += "Shift + ";
    mods |= kModShift;
  }
  mod_key_code_ = mods;

  if (key == 0 || key == kVkShift || key == kVkControl || key == kVkMenu || key == kVkLeftWin) {
    // Modifiers alone (or a key the host cancelled): no main key yet.
    key_code_ = 0;
    text_ = std::move(text);
    return;
  }
  // Print Screen (44) is an ordinary main key here: its name, its own code
  // and the modifiers actually held.
  key_code_ = key;
  std::string name = key_name ? key_name(key) : std::string();
  // A key the layout has no name for still shows that a main key is set.
  if (name.empty()) name = "Key " + std::to_string(key);
  text_ = std::move(text) + name;
}

void KeyCapture::KeyUp(int key) {
  if (key == kVkLeftWin) win_down_ = false;
  awaiting_up_ = false;
  if (key_code_ == 0) {
    text_ = kNoHotKeyText;
    mod_key_code_ = 0;
  }
}

bool KeyCapture::FocusLost() {
  win_down_ = false;
  if (!awaiting_up_) return false;
  KeyUp(0);
  return true;
}

void KeyCapture::Set(std::string text, int key_code, int mod_key_code) {
  text_ = std::move(text);
  key_code_ = key_code;
  mod_key_code_ = mod_key_code;
}

}  // namespace vardo::hotkey
