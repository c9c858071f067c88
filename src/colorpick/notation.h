// How the picker writes a colour: "#RRGGBB" and "r,g,b", the panel's live
// readouts and the texts each copy command puts on the clipboard.
#pragma once
#include <cstdint>
#include <string>

#include "common/color.h"

namespace vardo::colorpick {

using vardo::ColorValue;
using vardo::MakeColor;

struct Rgb {
  int r = 0, g = 0, b = 0;
};
Rgb SplitColor(ColorValue value);

// Two upper-case hexadecimal digits ("0A").
std::string Hex2(int component);
std::string HexCode(ColorValue value);  // "#0A00FF"
std::string RgbCode(ColorValue value);  // "10,0,255"

// The panel's readouts before the first pointer move and after it.
inline constexpr const char* kHexReadoutEmpty = "HEX";
inline constexpr const char* kRgbReadoutEmpty = "RGB";
std::string HexReadout(ColorValue value);  // "HEX: #0A00FF"
std::string RgbReadout(ColorValue value);  // "RGB: 10,0,255"

// What each copy command takes from a readout text.
std::string EnterKeyText(const std::string& hex_readout);   // "#0A00FF"
std::string ShiftKeyText(const std::string& rgb_readout);   // "10,0,255"
std::string HexClickText(const std::string& hex_readout);   // "0A00FF"
std::string RgbClickText(const std::string& rgb_readout);   // "10,0,255"
// The "错误" box's text when a copy found the clipboard busy for too long:
// the code was not copied and the picker is still open.
std::string CopyBusyMessage();

// A callout label's two notations: the one shown and the one in its tooltip.
struct LabelTexts {
  std::string text;
  std::string tooltip;
};
LabelTexts NewLabelTexts(ColorValue value);  // {"#RRGGBB", "r,g,b"}
// Shows the decimal notation; a label already showing it is left alone.
LabelTexts ToDecimal(const LabelTexts& label);
// Shows the hexadecimal notation; likewise a no-op when already shown.
LabelTexts ToHexadecimal(const LabelTexts& label);

}  // namespace vardo::colorpick
