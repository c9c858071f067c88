// The toolbar's colour band and its two rows: the palette and the colour
// and font dialogs set what the tools draw with; each slider and its box
// follow each other.
#include "capture/toolbar_win.h"

#include <commdlg.h>

#include <cmath>

#include "capture/label_paint_win.h"
#include "common/process_win.h"

namespace vardo {

namespace {

// The colour dialog's custom colours, kept for the run.
COLORREF g_custom_colours[16] = {};

std::wstring TextOf(HWND box) {
  std::wstring text(static_cast<size_t>(GetWindowTextLengthW(box)) + 1, L'\0');
  text.resize(static_cast<size_t>(GetWindowTextW(box, text.data(), static_cast<int>(text.size()))));
  return text;
}

}  // namespace

void Toolbar::SetColour(uint32_t colour) {
  style_.colour = colour;
  RefreshSwatch();
  NotifyStyle();
}

void Toolbar::MoreC_Click() {
  CHOOSECOLORW cc{};
  cc.lStructSize = sizeof(cc);
  cc.hwndOwner = overlay_;
  cc.rgbResult = style_.colour;
  cc.lpCustColors = g_custom_colours;
  cc.Flags = CC_RGBINIT | CC_FULLOPEN;
  // Cancelled or failed: nothing changes.
  if (ChooseColorW(&cc)) SetColour(cc.rgbResult & 0xFFFFFF);
}

void Toolbar::Sets_Click() {
  // The dialog turns sizes into heights at the screen DC's DPI, which after
  // a scaling change without signing out is not the overlay's: pre-set and
  // read back at the dialog's own, or OK alone would rescale the font.
  int dialog_dpi = dpi_;
  if (HDC screen = GetDC(nullptr)) {
    dialog_dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
  }
  if (dialog_dpi <= 0) dialog_dpi = dpi_;
  LOGFONTW lf = LogFontFor(style_.font, dialog_dpi);
  CHOOSEFONTW cf{};
  cf.lStructSize = sizeof(cf);
  cf.hwndOwner = overlay_;
  cf.lpLogFont = &lf;
  cf.Flags = CF_INITTOLOGFONTSTRUCT | CF_SCREENFONTS | CF_EFFECTS;
  if (!ChooseFontW(&cf)) return;
  capture::FontSpec f;
  f.name = Narrow(lf.lfFaceName);
  f.points = cf.iPointSize > 0 ? cf.iPointSize / 10.0 : std::fabs(lf.lfHeight) * 72.0 / dialog_dpi;
  f.bold = lf.lfWeight >= FW_BOLD;
  f.italic = lf.lfItalic != 0;
  f.underline = lf.lfUnderline != 0;
  f.strikethrough = lf.lfStrikeOut != 0;
  style_.font = f;
  NotifyStyle();
}

void Toolbar::Slider_Change(capture::PairedValue& pair, SValue& slider, HWND box) {
  if (syncing_) return;
  pair.FromSlider(slider.Value());
  const std::wstring text = Widen(pair.box_text());
  if (TextOf(box) == text) return;
  syncing_ = true;
  SetWindowTextW(box, text.c_str());
  syncing_ = false;
}

void Toolbar::Box_Change(capture::PairedValue& pair, SValue& slider, HWND box) {
  if (syncing_) return;
  // Text that is not a number leaves the slider and the value as they were.
  const std::optional<float> value = pair.FromBox(Narrow(TextOf(box)));
  if (!value) return;
  syncing_ = true;
  slider.SetValue(*value);
  syncing_ = false;
}

}  // namespace vardo
