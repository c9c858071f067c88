#include "colorpick/picker_win.h"

#include <commctrl.h>

#include "colorpick/callout_paint_win.h"
#include "colorpick/menus_win.h"
#include "common/clipboard_busy.h"
#include "common/dpi_win.h"
#include "common/magnifier_win.h"
#include "common/process_win.h"
#include "common/savepic_win.h"
#include "common/units.h"

namespace vardo::colorpick {

namespace {
constexpr wchar_t kPickerClass[] = L"kestil.colorForm1";
constexpr UINT_PTR kDirectionTimer = 1;  // direction of a callout drag
constexpr UINT_PTR kMagnifierTimer = 2;
constexpr UINT kTimerMs = 100;
constexpr int kSwatchTwips = 135;
constexpr int kLabelRaiseTwips = 40;
}  // namespace

PickerWindow::PickerWindow(PickerHost& host) : host_(host), panel_(*this) {}

PickerWindow::~PickerWindow() { Destroy(); }

bool PickerWindow::Open() {
  if (IsOpen()) return true;
  width_ = GetSystemMetrics(SM_CXSCREEN);
  height_ = GetSystemMetrics(SM_CYSCREEN);
  // The screen is copied before any window of ours appears on it.
  if (!frozen_.CreateDib(width_, height_) || !surface_.CreateDib(width_, height_)) return false;
  {
    WindowDc screen(nullptr);
    BitBlt(frozen_.dc(), 0, 0, width_, height_, screen.get(), 0, 0, SRCCOPY | CAPTUREBLT);
  }
  host_.ScreenFrozen();
  Window::RegisterClass(kPickerClass, 0, LoadCursorW(nullptr, IDC_CROSS), nullptr,
                        LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(1)));
  if (!Window::Create(0, kPickerClass, L"kestil", WS_POPUP | WS_CLIPCHILDREN, 0, 0, width_, height_)) return false;
  dpi_ = DpiOf(hwnd());

  label_font_.reset(CreateMessageFont(dpi_));
  measure_dc_.reset(CreateCompatibleDC(nullptr));
  const int swatch = TwipsToPixels(kSwatchTwips, dpi_);
  board_ = std::make_unique<CalloutBoard>([this](const std::string& t) { return MeasureLabel(t); }, swatch,
                                          TwipsToPixels(kLabelRaiseTwips, dpi_));

  INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_WIN95_CLASSES};
  InitCommonControlsEx(&icc);
  tooltip_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                             CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, hwnd(), nullptr,
                             GetModuleHandleW(nullptr), nullptr);

  Recompose();
  panel_.Create(hwnd(), dpi_);
  // The readout starts with the colour under the pointer, so the copy keys
  // always have a code to copy.
  POINT cur{};
  GetCursorPos(&cur);
  ShowColor(ColorAt(cur.x, cur.y));
  panel_.UpdateMagnifier(surface_.dc(), width_, height_, cur);

  ShowWindow(hwnd(), SW_SHOW);
  UpdateWindow(hwnd());
  SetForegroundWindow(hwnd());
  SetFocus(hwnd());
  SetTimer(hwnd(), kMagnifierTimer, kTimerMs, nullptr);
  return true;
}

void PickerWindow::BringForward() {
  if (!IsOpen()) return;
  ShowWindow(hwnd(), SW_SHOW);
  // While a dialog of the picker is up (the save's, an error box), that is
  // what comes forward: the picker waits under it, and raising the picker
  // itself could bury the dialog under the full-screen picture.
  HWND popup = GetLastActivePopup(hwnd());
  if (popup && popup != hwnd() && IsWindowVisible(popup)) {
    SetForegroundWindow(popup);
    return;
  }
  SetForegroundWindow(hwnd());
  SetFocus(hwnd());
}

void PickerWindow::Close() { Destroy(); }

void PickerWindow::OnDestroyed() {
  // Everything of this picture goes with the window.
  tools_.clear();
  tooltip_ = nullptr;
  board_.reset();
  frozen_.Reset();
  surface_.Reset();
  measure_dc_.reset();
  label_font_.reset();
}

ColorValue PickerWindow::ColorAt(int x, int y) const {
  if (!frozen_.bits() || x < 0 || y < 0 || x >= width_ || y >= height_) return 0;
  const uint32_t px = static_cast<const uint32_t*>(frozen_.bits())[static_cast<size_t>(y) * width_ + x];
  return MakeColor((px >> 16) & 0xFF, (px >> 8) & 0xFF, px & 0xFF);
}

void PickerWindow::ShowColor(ColorValue c) {
  pick_color_ = c;
  panel_.SetReadouts(Widen(HexReadout(c)), Widen(RgbReadout(c)));
}

Size PickerWindow::MeasureLabel(const std::string& text) const {
  const std::wstring w = Widen(text);
  SIZE s{};
  if (measure_dc_) {
    SelectGuard g(measure_dc_.get(), label_font_.get());
    GetTextExtentPoint32W(measure_dc_.get(), w.c_str(), static_cast<int>(w.size()), &s);
  }
  return Size{s.cx + 2 * ScaleForDpi(kLabelPadX, dpi_), s.cy + 2 * ScaleForDpi(kLabelPadY, dpi_)};
}

void PickerWindow::Recompose() {
  if (!surface_ || !frozen_) return;
  BitBlt(surface_.dc(), 0, 0, width_, height_, frozen_.dc(), 0, 0, SRCCOPY);
  if (board_) DrawCallouts(surface_.dc(), *board_, label_font_.get(), TwipsToPixels(kSwatchTwips, dpi_));
  if (hwnd()) InvalidateRect(hwnd(), nullptr, FALSE);
  SyncTooltips();
}

void PickerWindow::SyncTooltips() {
  if (!tooltip_ || !board_) return;
  std::map<int, std::pair<RECT, std::wstring>> want;
  for (const Callout& c : board_->callouts()) {
    const Point& l = c.geometry.label;
    want[c.index] = {RECT{l.x, l.y, l.x + c.label_size.cx, l.y + c.label_size.cy}, Widen(c.texts.tooltip)};
  }
  auto info = [&](int index, const RECT& r, const std::wstring& text) {
    TTTOOLINFOW ti{};
    ti.cbSize = sizeof(ti);
    ti.uFlags = TTF_SUBCLASS;
    ti.hwnd = hwnd();
    ti.uId = static_cast<UINT_PTR>(index);
    ti.rect = r;
    ti.lpszText = const_cast<wchar_t*>(text.c_str());
    return ti;
  };
  for (auto it = tools_.begin(); it != tools_.end();) {
    if (!want.count(it->first)) {
      TTTOOLINFOW ti = info(it->first, it->second.first, it->second.second);
      SendMessageW(tooltip_, TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&ti));
      it = tools_.erase(it);
    } else {
      ++it;
    }
  }
  for (auto& [index, tool] : want) {
    auto have = tools_.find(index);
    TTTOOLINFOW ti = info(index, tool.first, tool.second);
    if (have == tools_.end()) {
      SendMessageW(tooltip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&ti));
    } else {
      if (!EqualRect(&have->second.first, &tool.first)) SendMessageW(tooltip_, TTM_NEWTOOLRECTW, 0, reinterpret_cast<LPARAM>(&ti));
      if (have->second.second != tool.second) SendMessageW(tooltip_, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&ti));
    }
    tools_[index] = tool;
  }
}

HBITMAP PickerWindow::RenderPicture() const {
  if (!surface_) return nullptr;
  WindowDc screen(nullptr);
  UniqueBitmap bmp(CreateCompatibleBitmap(screen.get(), width_, height_));
  UniqueMemDc dc(CreateCompatibleDC(screen.get()));
  if (!bmp || !dc) return nullptr;
  {
    SelectGuard g(dc.get(), bmp.get());
    if (!BitBlt(dc.get(), 0, 0, width_, height_, surface_.dc(), 0, 0, SRCCOPY)) return nullptr;
  }
  return bmp.release();
}

void PickerWindow::OnMagnifierTick() {
  POINT cur{};
  GetCursorPos(&cur);
  panel_.UpdateMagnifier(surface_.dc(), width_, height_, cur);
}

bool PickerWindow::CopyText(const std::string& text) {
  if (savepic::PutTextOnClipboard(hwnd(), Widen(text), kClipboardPatienceMs)) return true;
  // Nothing is lost: the picker stays as it was for another try.
  MessageBoxW(hwnd(), Widen(CopyBusyMessage()).c_str(), Widen(kClipboardErrorTitle).c_str(),
              MB_OK | MB_ICONWARNING);
  return false;
}

void PickerWindow::CopyAndClose(const std::string& text) {
  if (CopyText(text)) Close();
}

void PickerWindow::OnKey(WPARAM key) {
  if (key == VK_RETURN) {
    CopyAndClose(EnterKeyText(Narrow(panel_.HexText())));
    return;
  }
  if (key == VK_SHIFT) {
    CopyAndClose(ShiftKeyText(Narrow(panel_.RgbText())));
    return;
  }
  if (!NudgePointer(key)) return;
  // The readout follows at once, whether or not the platform reports the
  // programmatic move as a pointer move. Over the panel the move is the
  // panel's, as a moved mouse would be: the readout keeps the colour last
  // read on the picture rather than one hidden under the panel.
  POINT c{};
  GetCursorPos(&c);
  if (WindowFromPoint(c) != hwnd()) return;
  POINT client = c;
  ScreenToClient(hwnd(), &client);
  if (board_) board_->NotePointer(Point{client.x, client.y});
  ShowColor(ColorAt(client.x, client.y));
}

void PickerWindow::OnPress(POINT p, Button button) {
  if (!board_) return;
  const int label = board_->LabelAt(Point{p.x, p.y});
  if (label) {
    // A label takes the press: the left button moves it, the right one
    // opens its menu at once (held, a release on an item chooses it).
    if (button == Button::kLeft) {
      board_->BeginLabelDrag(label, Point{p.x, p.y});
      SetCapture(hwnd());
      Recompose();
    } else if (button == Button::kRight && !board_->dragging() && !board_->label_dragging()) {
      board_->ChooseForMenu(label);
      RunCalloutCommand(TrackMenuAtCursor(host_.CalloutMenu(), hwnd()));
    }
    return;
  }
  // Any button on the picture makes a callout.
  const ColorValue c = ColorAt(p.x, p.y);
  if (!board_->Begin(Point{p.x, p.y}, c)) return;  // no more callouts this run
  ShowColor(c);
  SetCapture(hwnd());
  SetTimer(hwnd(), kDirectionTimer, kTimerMs, nullptr);
  Recompose();
}

void PickerWindow::OnMove(POINT p, WPARAM buttons) {
  if (!board_) return;
  ShowColor(ColorAt(p.x, p.y));
  board_->NotePointer(Point{p.x, p.y});
  if (!(buttons & MK_LBUTTON)) return;
  if (board_->label_dragging()) {
    board_->DragLabelTo(Point{p.x, p.y});
    Recompose();
  } else if (board_->dragging()) {
    board_->DragTo(Point{p.x, p.y});
    Recompose();
  }
}

void PickerWindow::OnRelease(Button button) {
  if (!board_) return;
  if (button == Button::kLeft && board_->label_dragging()) {
    board_->EndLabelDrag();
    Recompose();
  }
  if (board_->dragging()) {
    KillTimer(hwnd(), kDirectionTimer);
    board_->Finish();
  }
  if (GetCapture() == hwnd() &&
      !(GetKeyState(VK_LBUTTON) < 0 || GetKeyState(VK_RBUTTON) < 0 || GetKeyState(VK_MBUTTON) < 0))
    ReleaseCapture();
}

void PickerWindow::RunCalloutCommand(UINT cmd) {
  if (!board_) return;
  switch (cmd) {
    case kCmdRed: board_->SetLineColor(kRed); break;
    case kCmdYellow: board_->SetLineColor(kYellow); break;
    case kCmdGreen: board_->SetLineColor(kGreen); break;
    case kCmdDelete: board_->Delete(); break;
    case kCmdShowHex: board_->ShowHexadecimal(); break;
    case kCmdShowRgb: board_->ShowDecimal(); break;
    case kCmdCopyCode:
      if (auto text = board_->ActiveText()) CopyText(*text);
      return;
    default: return;
  }
  Recompose();
}

void PickerWindow::CopyHexWithoutHash() { CopyAndClose(HexClickText(Narrow(panel_.HexText()))); }
void PickerWindow::CopyRgb() { CopyAndClose(RgbClickText(Narrow(panel_.RgbText()))); }

void PickerWindow::SavePicture() {
  ShowWindow(panel_.hwnd(), SW_HIDE);
  UpdateWindow(hwnd());
  UniqueBitmap picture(RenderPicture());
  if (picture) {
    savepic::PutBitmapOnClipboard(hwnd(), picture.get());
    savepic::CutdSave(hwnd(), picture.get());
  } else {
    savepic::ShowSaveError(hwnd(), savepic::NoPictureError());
  }
  if (panel_.hwnd()) ShowWindow(panel_.hwnd(), SW_SHOWNA);
  if (hwnd()) SetFocus(hwnd());
}

void PickerWindow::ClosePicker() { Close(); }
void PickerWindow::ExitProgram() { host_.ExitProgram(); }

LRESULT PickerWindow::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  auto pt = [lp] { return POINT{static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))}; };
  switch (msg) {
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(hwnd(), &ps);
      const RECT& r = ps.rcPaint;
      if (surface_)
        BitBlt(dc, r.left, r.top, r.right - r.left, r.bottom - r.top, surface_.dc(), r.left, r.top, SRCCOPY);
      EndPaint(hwnd(), &ps);
      return 0;
    }
    case WM_ERASEBKGND:
      return 1;
    case WM_TIMER:
      if (wp == kMagnifierTimer) OnMagnifierTick();
      else if (wp == kDirectionTimer && board_ && board_->Tick()) Recompose();
      return 0;
    case WM_KEYDOWN:
      OnKey(wp);
      return 0;
    case WM_LBUTTONDOWN:
      OnPress(pt(), Button::kLeft);
      return 0;
    case WM_RBUTTONDOWN:
      OnPress(pt(), Button::kRight);
      return 0;
    case WM_MBUTTONDOWN:
      OnPress(pt(), Button::kMiddle);
      return 0;
    case WM_MOUSEMOVE:
      OnMove(pt(), wp);
      return 0;
    case WM_LBUTTONUP:
      OnRelease(Button::kLeft);
      return 0;
    case WM_RBUTTONUP:
      OnRelease(Button::kRight);
      return 0;
    case WM_MBUTTONUP:
      OnRelease(Button::kMiddle);
      return 0;
    case WM_CAPTURECHANGED:
      // The pointer was taken away mid-drag (a dialog, a task switch): the
      // drag ends where it is.
      if (board_ && reinterpret_cast<HWND>(lp) != hwnd()) {
        if (board_->label_dragging()) {
          board_->EndLabelDrag();
          Recompose();
        }
        if (board_->dragging()) {
          KillTimer(hwnd(), kDirectionTimer);
          board_->Finish();
        }
      }
      return 0;
    case WM_CLOSE:
      Close();
      return 0;
    default:
      break;
  }
  return Window::HandleMessage(msg, wp, lp);
}

}  // namespace vardo::colorpick
