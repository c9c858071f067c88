#include "colorpick/notation.h"

#include <cstdio>

#include "common/clipboard_busy.h"

namespace vardo::colorpick {

Rgb SplitColor(ColorValue value) {
  return Rgb{static_cast<int>(value & 0xFF), static_cast<int>((value / 256) & 0xFF),
             static_cast<int>((value / 65536) & 0xFF)};
}

std::string Hex2(int component) {
  char buf[8];
  std::snprintf(buf, sizeof buf, "%02X", static_cast<unsigned>(component) & 0xFFu);
  return buf;
}

std::string HexCode(ColorValue value) {
  Rgb c = SplitColor(value);
  char buf[8];
  std::snprintf(buf, sizeof buf, "#%02X%02X%02X", static_cast<unsigned>(c.r), static_cast<unsigned>(c.g),
                static_cast<unsigned>(c.b));
  return buf;
}

std::string RgbCode(ColorValue value) {
  Rgb c = SplitColor(value);
  char buf[16];
  std::snprintf(buf, sizeof buf, "%d,%d,%d", c.r, c.g, c.b);
  return buf;
}

std::string HexReadout(ColorValue value) { return std::string("HEX: ").append(HexCode(value)); }
std::string RgbReadout(ColorValue value) { return std::string("RGB: ").append(RgbCode(value)); }

namespace {
std::string DropPrefix(const std::string& s, size_t n) { return s.size() > n ? s.substr(n) : std::string(); }
}  // namespace

std::string EnterKeyText(const std::string& hex_readout) { return DropPrefix(hex_readout, 5); }
std::string ShiftKeyText(const std::string& rgb_readout) { return DropPrefix(rgb_readout, 5); }
std::string HexClickText(const std::string& hex_readout) { return DropPrefix(hex_readout, 6); }
std::string RgbClickText(const std::string& rgb_readout) { return DropPrefix(rgb_readout, 5); }

LabelTexts NewLabelTexts(ColorValue value) { return LabelTexts{HexCode(value), RgbCode(value)}; }

LabelTexts ToDecimal(const LabelTexts& label) {
  if (label.text.find('#') == std::string::npos) return label;
  return LabelTexts{label.tooltip, label.text};
}

LabelTexts ToHexadecimal(const LabelTexts& label) {
  if (label.text.find('#') != std::string::npos) return label;
  return LabelTexts{label.tooltip, label.text};
}

std::string CopyBusyMessage() { return ClipboardBusyMessage("颜色编码", "取色窗口"); }

}  // namespace vardo::colorpick
