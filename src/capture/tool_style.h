// What the annotation tools draw with: the current colour (swatch `CN`),
// the line width ("粗细": slider `svWid` with box `txtWid`), the alpha
// ("亮度": `svAlp` with `txtAlp`) and the overlay font.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace vardo::capture {

// A number as typed in a slider's box: optional spaces and sign, digits
// with at most one decimal point ("2.5", ".5", "-3"). Anything else is not
// a number.
std::optional<double> ParseBoxNumber(std::string_view text);

// A slider and its box, following each other. The slider keeps its own
// rules (clamped, whole); the value the tools use is the box's number as
// typed, limited to 0..max, so a width of 2.5 reaches the pen as 2.5.
class PairedValue {
 public:
  PairedValue(float max, float initial);

  // The user moved the slider: the box shows its value, which is now the
  // value in use.
  void FromSlider(float slider_value);
  // The box's text changed. A number becomes the value in use and gives
  // the slider value to show; other text changes nothing (nullopt).
  std::optional<float> FromBox(std::string_view text);

  float max() const { return max_; }
  float value() const { return value_; }
  float slider() const { return slider_; }
  const std::string& box_text() const { return box_text_; }

 private:
  float max_;
  float value_;
  float slider_;
  std::string box_text_;
};

// The overlay font as the font dialog edits it.
struct FontSpec {
  std::string name = "Microsoft YaHei UI";  // UTF-8
  double points = 12;
  bool bold = false;
  bool italic = false;
  bool underline = false;
  bool strikethrough = false;
  friend bool operator==(const FontSpec&, const FontSpec&) = default;
};

constexpr uint32_t kInitialColour = 0x0000FF;  // red, 0x00BBGGRR

struct ToolStyle {
  uint32_t colour = kInitialColour;
  PairedValue width{100, 5};
  PairedValue alpha{255, 255};
  FontSpec font;
  // The pen's alpha: the integer part of the alpha value.
  int AlphaByte() const { return static_cast<int>(alpha.value()); }
};

}  // namespace vardo::capture
