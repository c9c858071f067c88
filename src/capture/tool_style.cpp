#include "capture/tool_style.h"

#include <algorithm>
#include <cctype>

#include "controls/value_slider.h"

namespace vardo::capture {

std::optional<double> ParseBoxNumber(std::string_view text) {
  size_t i = 0, n = text.size();
  auto space = [&](size_t k) { return std::isspace(static_cast<unsigned char>(text[k])) != 0; };
  while (i < n && space(i)) ++i;
  while (n > i && space(n - 1)) --n;
  bool negative = false;
  if (i < n && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  double whole = 0, fraction = 0, scale = 1;
  bool digits = false, point = false;
  for (; i < n; ++i) {
    const char c = text[i];
    if (c == '.' && !point) {
      point = true;
    } else if (c >= '0' && c <= '9') {
      digits = true;
      if (point) {
        scale /= 10;
        fraction += (c - '0') * scale;
      } else {
        whole = whole * 10 + (c - '0');
      }
    } else {
      return std::nullopt;
    }
  }
  if (!digits) return std::nullopt;
  const double v = whole + fraction;
  return negative ? -v : v;
}

PairedValue::PairedValue(float max, float initial)
    : max_(max), value_(initial), slider_(controls::SliderValue(initial, max, false)),
      box_text_(controls::ValueText(slider_)) {}

void PairedValue::FromSlider(float slider_value) {
  slider_ = slider_value;
  value_ = slider_value;
  box_text_ = controls::ValueText(slider_value);
}

std::optional<float> PairedValue::FromBox(std::string_view text) {
  const std::optional<double> number = ParseBoxNumber(text);
  if (!number) return std::nullopt;
  const double limited = std::clamp(*number, 0.0, static_cast<double>(max_));
  value_ = static_cast<float>(limited);
  slider_ = controls::SliderValue(static_cast<float>(std::min(*number, 1e9)), max_, false);
  box_text_ = std::string(text);
  return slider_;
}

}  // namespace vardo::capture
