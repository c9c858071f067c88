#include "ruler/ruler_win.h"

#include <shellapi.h>

#include "common/dpi_win.h"
#include "common/magnifier_win.h"
#include "common/popup_menu_win.h"
#include "common/savepic_win.h"
#include "common/units.h"
#include "ruler/menu_win.h"

namespace vardo::ruler {

namespace {
constexpr wchar_t kRulerClass[] = L"mirrun.Form1";
constexpr wchar_t kHomePage[] = L"https://vardo.example.com/mirrun";
constexpr UINT_PTR kMeasureTimer = 1;  // while a line is drawn
constexpr UINT kMeasureMs = 50;
constexpr UINT_PTR kMagnifierTimer = 2;
constexpr UINT kMagnifierMs = 100;
constexpr int kTickHalfTwips = 80;
// Posted once the frozen picture shows: the panel comes up, then the
// picture for the lines is made, off the path to the freeze.
constexpr UINT kFinishOpeningMessage = WM_APP + 1;
constexpr UINT kPrepareLinesMessage = WM_APP + 2;
// The live label sits this far right of and below the pointer.
constexpr int kLiveOffsetTwips = 250;
}  // namespace

RulerWindow::RulerWindow(RulerHost& host) : host_(host), panel_(*this) {}

RulerWindow::~RulerWindow() { Destroy(); }

bool RulerWindow::Open() {
  if (IsOpen()) return true;
  const int w = GetSystemMetrics(SM_CXSCREEN), h = GetSystemMetrics(SM_CYSCREEN);
  // The screen is copied before any window of ours appears on it.
  if (!canvas_.Freeze(w, h)) return false;
  HINSTANCE inst = GetModuleHandleW(nullptr);
  Window::RegisterClass(kRulerClass, 0, LoadCursorW(nullptr, IDC_CROSS), nullptr, LoadIconW(inst, MAKEINTRESOURCEW(1)));
  if (!Window::Create(0, kRulerClass, L"mirrun", WS_POPUP | WS_CLIPCHILDREN, 0, 0, w, h)) {
    canvas_.Reset();
    return false;
  }
  dpi_ = DpiOf(hwnd());
  canvas_.SetDpi(dpi_);
  board_ = std::make_unique<LineBoard>([this](const std::string& t) { return canvas_.MeasureLabel(t); }, dpi_,
                                       TwipsToPixels(kTickHalfTwips, dpi_));
  menu_ = BuildLineMenu();
  ShowWindow(hwnd(), SW_SHOW);
  UpdateWindow(hwnd());
  SetForegroundWindow(hwnd());
  SetFocus(hwnd());
  PostMessageW(hwnd(), kFinishOpeningMessage, 0, 0);
  return true;
}

void RulerWindow::FinishOpening() {
  if (panel_.hwnd()) return;
  panel_.Create(hwnd(), dpi_);
  OnMagnifierTick();
  UpdateWindow(panel_.hwnd());
  SetTimer(hwnd(), kMagnifierTimer, kMagnifierMs, nullptr);
  PostMessageW(hwnd(), kPrepareLinesMessage, 0, 0);
}

void RulerWindow::OnDestroyed() {
  board_.reset();
  menu_.reset();
  canvas_.Reset();
  live_rect_ = RECT{};
  live_text_.clear();
  host_.RulerEnded();
}

void RulerWindow::Apply() {
  if (!board_) return;
  const Rect d = board_->TakeDirty();
  if (!d.Empty()) {
    canvas_.Refresh(*board_, d);
    RECT r{d.left, d.top, d.right(), d.bottom()};
    InvalidateRect(hwnd(), &r, FALSE);
  }
  PlaceLiveLabel();
}

void RulerWindow::PlaceLiveLabel() {
  if (!board_) return;
  RECT now{};
  if (!board_->live_text().empty()) {
    const int off = TwipsToPixels(kLiveOffsetTwips, dpi_);
    const Size s = canvas_.MeasureLabel(board_->live_text());
    now = RECT{pointer_.x + off, pointer_.y + off, pointer_.x + off + s.width, pointer_.y + off + s.height};
  }
  if (EqualRect(&now, &live_rect_) && live_text_ == board_->live_text()) return;
  InvalidateRect(hwnd(), &live_rect_, FALSE);
  InvalidateRect(hwnd(), &now, FALSE);
  live_rect_ = now;
  live_text_ = board_->live_text();
}

void RulerWindow::OnMeasureTick() {
  if (!board_ || !board_->drawing()) return;
  POINT p{};
  GetCursorPos(&p);
  ScreenToClient(hwnd(), &p);
  // Outside the window the last position inside it stands.
  if (p.x >= 0 && p.y >= 0 && p.x < canvas_.width() && p.y <= canvas_.height()) measured_ = Point{p.x, p.y};
  board_->Tick(measured_);
  Apply();
}

void RulerWindow::OnMagnifierTick() {
  POINT cur{};
  GetCursorPos(&cur);
  panel_.UpdateMagnifier(canvas_.picture(), canvas_.width(), canvas_.height(), cur);
}

void RulerWindow::OnPress(Point p, bool left) {
  if (!board_) return;
  const int label = board_->LabelAt(p);
  if (!left) {
    // The right button opens a label's menu at once (held, a release on an
    // item chooses it); on the picture it does nothing.
    if (!label || board_->drawing() || board_->label_dragging()) return;
    board_->ChooseForMenu(label);
    RunLineCommand(TrackMenuAtCursor(menu_.get(), hwnd()));
    return;
  }
  if (label) {
    board_->BeginLabelDrag(label, p);
    SetCapture(hwnd());
  } else if (board_->Begin(p)) {  // past the last index nothing is drawn
    measured_ = p;
    SetCapture(hwnd());
    SetTimer(hwnd(), kMeasureTimer, kMeasureMs, nullptr);
  }
  Apply();
}

void RulerWindow::OnMove(Point p, bool left_held) {
  if (!board_) return;
  pointer_ = p;
  if (left_held) {
    if (board_->label_dragging()) board_->DragLabelTo(p);
    else if (board_->drawing()) board_->DragTo(p);
  }
  Apply();
}

void RulerWindow::EndDrags() {
  if (!board_) return;
  if (board_->label_dragging()) board_->EndLabelDrag();
  if (board_->drawing()) {
    KillTimer(hwnd(), kMeasureTimer);
    board_->Finish();
  }
  Apply();
}

void RulerWindow::OnRelease() {
  if (!board_) return;
  EndDrags();
  if (GetCapture() == hwnd()) ReleaseCapture();
}

void RulerWindow::RunLineCommand(UINT command) {
  if (!board_) return;
  if (auto color = ColorOfCommand(command)) board_->SetColor(*color);
  else if (command == kCmdDeleteLine) board_->Delete();
  Apply();
}

void RulerWindow::OnKey(WPARAM key) {
  if (!NudgePointer(key)) return;
  // The picture follows at once, whether or not the platform reports the
  // programmatic move as a pointer move.
  POINT c{};
  GetCursorPos(&c);
  ScreenToClient(hwnd(), &c);
  OnMove(Point{c.x, c.y}, GetKeyState(VK_LBUTTON) < 0);
}

void RulerWindow::SavePicture() {
  if (!board_) return;
  ShowWindow(panel_.hwnd(), SW_HIDE);
  UpdateWindow(hwnd());
  savepic::SaveOutcome outcome = savepic::SaveOutcome::kFailed;
  UniqueBitmap picture(canvas_.Render(*board_));
  if (picture) {
    savepic::PutBitmapOnClipboard(hwnd(), picture.get());
    outcome = savepic::CutdSave(hwnd(), picture.get());
  } else {
    savepic::ShowSaveError(hwnd(), savepic::NoPictureError());
  }
  if (!hwnd()) return;
  // The ruler ends once the picture is in its file; after a cancel or a
  // failure everything stays for another try.
  if (outcome == savepic::SaveOutcome::kSaved) {
    Close();
    return;
  }
  ShowWindow(panel_.hwnd(), SW_SHOWNA);
  SetFocus(hwnd());
}

void RulerWindow::OpenHomePage() { ShellExecuteW(hwnd(), L"open", kHomePage, nullptr, nullptr, SW_SHOWNORMAL); }

void RulerWindow::OnPaint(HDC dc, const RECT& r) {
  canvas_.PaintTo(dc, r);
  RECT overlap{};
  if (!live_text_.empty() && IntersectRect(&overlap, &r, &live_rect_))
    canvas_.DrawLiveLabel(dc, Point{live_rect_.left, live_rect_.top}, live_text_);
}

LRESULT RulerWindow::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  auto pt = [lp] { return Point{static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))}; };
  switch (msg) {
    case WM_ERASEBKGND:
      return 1;
    case WM_TIMER:
      if (wp == kMeasureTimer) OnMeasureTick();
      else if (wp == kMagnifierTimer) OnMagnifierTick();
      return 0;
    case WM_KEYDOWN:
      OnKey(wp);
      return 0;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
      OnPress(pt(), msg == WM_LBUTTONDOWN);
      return 0;
    case WM_MOUSEMOVE:
      OnMove(pt(), (wp & MK_LBUTTON) != 0);
      return 0;
    case WM_LBUTTONUP:
      OnRelease();
      return 0;
    case WM_CAPTURECHANGED:
      // The pointer was taken away mid-drag (a dialog, a task switch): the
      // drag ends where it is.
      if (reinterpret_cast<HWND>(lp) != hwnd()) EndDrags();
      return 0;
    case kFinishOpeningMessage:
      FinishOpening();
      return 0;
    case kPrepareLinesMessage:
      canvas_.PrepareLines();
      return 0;
    case WM_CLOSE:
      Close();
      return 0;
    default:
      break;
  }
  return Window::HandleMessage(msg, wp, lp);
}

}  // namespace vardo::ruler
