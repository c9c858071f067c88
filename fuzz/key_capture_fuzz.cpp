// The key-capture rules on any sequence of key events, focus losses and
// stored values: after every key event the text, the main key's code and
// the modifier flags describe one and the same hotkey.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "hotkey/key_capture.h"

namespace {

void Check(bool ok) {
  if (!ok) std::abort();
}

bool StartsWith(const std::string& s, const std::string& p) { return s.compare(0, p.size(), p) == 0; }

// The modifier prefix the flags stand for, in the box's fixed order.
std::string Prefix(int mods) {
  using namespace vardo::hotkey;
  std::string s;
  if (mods & kModWin) s += "Win + ";
  if (mods & kModControl) s += "Ctrl + ";
  if (mods & kModAlt) s += "Alt + ";
  if (mods & kModShift) s += "Shift + ";
  return s;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace vardo::hotkey;
  KeyCapture box;
  // Key names come from the input too (some keys have none).
  std::string last_name;
  const KeyNameFn name = [&](int vk) {
    last_name = (vk % 5 == 0) ? std::string() : "K" + std::to_string(vk);
    return last_name;
  };
  for (size_t i = 0; i + 2 < size; i += 3) {
    const uint8_t op = data[i] % 5;
    const int key = data[i + 1] % 2 ? data[i + 1] : (data[i + 1] >> 1 & 1 ? kVkLeftWin : data[i + 1] % 32);
    const int shift = data[i + 2];
    switch (op) {
      case 0:
      case 1: {
        if (KeyCapture::Ignores(key)) break;
        last_name.clear();
        box.KeyDown(key, shift, name);
        const int mods = box.mod_key_code();
        Check(mods >= 0 && mods <= 15);
        Check(((mods & kModWin) != 0) == box.win_down());
        Check(((mods & kModControl) != 0) == ((shift & kCtrlState) != 0));
        Check(((mods & kModAlt) != 0) == ((shift & kAltState) != 0));
        Check(((mods & kModShift) != 0) == ((shift & kShiftState) != 0));
        const std::string prefix = Prefix(mods);
        Check(StartsWith(box.text(), prefix));
        if (key == 0 || key == kVkShift || key == kVkControl || key == kVkMenu || key == kVkLeftWin) {
          Check(box.key_code() == 0 && box.text() == prefix);
        } else {
          Check(box.key_code() == key);
          const std::string shown = last_name.empty() ? "Key " + std::to_string(key) : last_name;
          Check(box.text() == prefix + shown);
        }
        break;
      }
      case 2: {
        const int before = box.key_code();
        const std::string text = box.text();
        box.KeyUp(key);
        if (key == kVkLeftWin) Check(!box.win_down());
        if (before == 0) Check(box.text() == kNoHotKeyText && box.mod_key_code() == 0);
        else Check(box.text() == text && box.key_code() == before);
        break;
      }
      case 3:
        box.FocusLost();
        Check(!box.win_down());
        break;
      default:
        box.Set(std::string(reinterpret_cast<const char*>(data + i), 3), key, shift & 15);
        Check(box.key_code() == key && box.mod_key_code() == (shift & 15));
        break;
    }
  }
  return 0;
}
