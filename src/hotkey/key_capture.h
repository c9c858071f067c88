// Key-capture rules of the hotkey entry box: a pressed key with the held
// modifiers becomes a text such as "Ctrl + Shift + F1", the main key's
// virtual-key code and the modifier flags RegisterHotKey expects.
#pragma once

#include <functional>
#include <string>

namespace vardo::hotkey {

// Shift state of a key event (as the box's key events report it).
constexpr int kShiftState = 1;
constexpr int kCtrlState = 2;
constexpr int kAltState = 4;

// Modifier flags as RegisterHotKey takes them.
constexpr int kModAlt = 1;
constexpr int kModControl = 2;
constexpr int kModShift = 4;
constexpr int kModWin = 8;

// Virtual-key codes the rules single out.
constexpr int kVkShift = 16;
constexpr int kVkControl = 17;
constexpr int kVkMenu = 18;
constexpr int kVkLeftWin = 91;
constexpr int kVkApps = 93;
constexpr int kVkProcessKey = 229;  // an input method is composing
constexpr int kVkPacket = 231;      // injected text, not a key

// The text shown when no hotkey is set.
inline constexpr const char* kNoHotKeyText = "NULL";

// Name of a main key (UTF-8), as the keyboard layout calls it.
using KeyNameFn = std::function<std::string(int virtual_key)>;

class KeyCapture {
 public:
  // The Applications key is dropped before anything else happens: no event,
  // no change. So are the pseudo-keys that carry text rather than a key
  // press; they cannot be registered as a hotkey.
  static bool Ignores(int key) { return key == kVkApps || key == kVkProcessKey || key == kVkPacket; }

  // Key-down of `key` with shift state `shift` (after the host has seen and
  // possibly changed both). Updates text and codes.
  void KeyDown(int key, int shift, const KeyNameFn& key_name);
  // Key-up: releasing the left Windows key ends its "Win + " prefix; when no
  // main key was pressed the box falls back to "NULL".
  void KeyUp(int key);
  // The box lost the keyboard: a held Windows key cannot be seen any more,
  // and the release of any key still down goes elsewhere, so it is taken as
  // released now (modifiers alone fall back to "NULL"). True when a key was
  // still down, that is when the box missed a release.
  bool FocusLost();

  // Replaces the value (loaded from the store, or cleared after a refused
  // registration).
  void Set(std::string text, int key_code, int mod_key_code);
  void Clear() { Set(kNoHotKeyText, 0, 0); }

  const std::string& text() const { return text_; }
  int key_code() const { return key_code_; }
  int mod_key_code() const { return mod_key_code_; }
  bool win_down() const { return win_down_; }

 private:
  std::string text_ = kNoHotKeyText;
  int key_code_ = 0;
  int mod_key_code_ = 0;
  bool win_down_ = false;
  bool awaiting_up_ = false;  // a key went down since the last release
};

}  // namespace vardo::hotkey
