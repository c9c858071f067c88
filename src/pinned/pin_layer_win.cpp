#include "pinned/pin_layer_win.h"

#include <commctrl.h>
#include <shellapi.h>

#include <new>

#include "capture/output.h"
#include "capture/picture_save.h"
#include "capture/picture_save_win.h"
#include "common/dpi_win.h"
#include "common/process_win.h"
#include "common/savepic_win.h"
#include "pinned/clipboard_picture_win.h"
#include "pinned/gdiplus_resize_win.h"
#include "pinned/menus_win.h"

namespace vardo {

namespace {
constexpr wchar_t kClassName[] = L"VardoPinLayer";
constexpr wchar_t kTitle[] = L"afterdoch";
constexpr UINT_PTR kTimer1 = 1;  // topmost keeper
constexpr UINT_PTR kCtime = 2;   // highlight blinker
constexpr UINT kTimer1Interval = 5000;
constexpr UINT kCtimeInterval = 500;
constexpr UINT_PTR kHandleTool = 1;
constexpr UINT kFreeRemoved = WM_APP + 1;
constexpr COLORREF kCaptionBack = RGB(0, 153, 255);

RECT ToRect(const pin::Rect& r) { return {r.left, r.top, r.left + r.width, r.top + r.height}; }
}  // namespace

PinLayer& afterdoch() {
  static PinLayer layer;
  layer.Load();
  return layer;
}

std::wstring HwndToTitle(HWND wnd) {
  wchar_t buf[256] = {};
  int n = GetWindowTextW(wnd, buf, 256);
  return std::wstring(buf, n > 0 ? static_cast<size_t>(n) : 0);
}

void EndProgram() {
  HWND layer = afterdoch().hwnd();
  if (layer) ShowWindow(layer, SW_HIDE);
  ExitProcess(0);
}

PinLayer::~PinLayer() {
  images_.clear();
  if (tooltip_) DestroyWindow(tooltip_);
}

bool PinLayer::Load() {
  if (hwnd()) return true;
  key_brush_.reset(CreateSolidBrush(kLayerKey));
  if (!RegisterClass(kClassName, 0, nullptr, key_brush_.get())) return false;
  int w = GetSystemMetrics(SM_CXSCREEN);
  int h = GetSystemMetrics(SM_CYSCREEN);
  // Tool window: no taskbar button. Layered with the background as colour
  // key: the desktop shows through and clicks reach the windows beneath.
  // Takes dropped files (the style alone: the shell is loaded at a drop).
  if (!Create(WS_EX_LAYERED | WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_ACCEPTFILES, kClassName, kTitle,
              WS_POPUP | WS_CLIPCHILDREN, 0, 0, w, h))
    return false;
  dpi_ = DpiOf(hwnd());
  screen_ = {w, h};
  SetLayeredWindowAttributes(hwnd(), kLayerKey, 0, LWA_COLORKEY);
  caption_brush_.reset(CreateSolidBrush(kCaptionBack));
  caption_font_.reset(CreatePointFont(L"Consolas", 10.5, dpi_));
  measure_font_.reset(CreatePointFont(L"Consolas", 9, dpi_));

  int side = ScaleForDpi(pin::kHandleSize96, dpi_);
  pin::Point at = pin::HandlePosition(w, side, dpi_);
  getimg_ = {at.x, at.y, side, side};

  SetWindowPos(hwnd(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  SetLayerTimer(true);
  return true;
}

HWND PinLayer::EnsureTooltip() {
  if (tooltip_ || !hwnd()) return tooltip_;
  INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_WIN95_CLASSES};
  InitCommonControlsEx(&icc);
  tooltip_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP, CW_USEDEFAULT,
                             CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, hwnd(), nullptr,
                             GetModuleHandleW(nullptr), nullptr);
  if (tooltip_) {
    TOOLINFOW ti{};
    ti.cbSize = TTTOOLINFOW_V2_SIZE;
    ti.uFlags = TTF_SUBCLASS;
    ti.hwnd = hwnd();
    ti.uId = kHandleTool;
    ti.rect = ToRect(getimg_);
    ti.lpszText = const_cast<wchar_t*>(L"右击");
    SendMessageW(tooltip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&ti));
  }
  return tooltip_;
}

void PinLayer::ShowLayer() {
  if (!Load()) return;
  ShowWindow(hwnd(), SW_SHOWNOACTIVATE);
}

void PinLayer::HideLayer() {
  if (hwnd()) ShowWindow(hwnd(), SW_HIDE);
}

void PinLayer::SetLayerTimer(bool running) {
  if (!hwnd()) return;
  if (running) SetTimer(hwnd(), kTimer1, kTimer1Interval, nullptr);
  else KillTimer(hwnd(), kTimer1);
}

void PinLayer::wintop_Click() {
  if (hwnd()) SetWindowPos(hwnd(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void PinLayer::Timer1_Timer() {
  if (HwndToTitle(GetForegroundWindow()) != kTitle) wintop_Click();
}

void PinLayer::SetLayerAlpha(int opacity) {
  if (!hwnd()) return;
  if (opacity < 0) opacity = 0;
  if (opacity > 255) opacity = 255;
  SetWindowLongW(hwnd(), GWL_EXSTYLE, GetWindowLongW(hwnd(), GWL_EXSTYLE) | WS_EX_LAYERED);
  SetLayeredWindowAttributes(hwnd(), 0, static_cast<BYTE>(opacity), LWA_ALPHA);
  tmd.assign(1, '1');
}

void PinLayer::Command5_Click() {
  if (!hwnd()) return;
  SetWindowLongW(hwnd(), GWL_EXSTYLE, GetWindowLongW(hwnd(), GWL_EXSTYLE) | WS_EX_LAYERED);
  SetLayeredWindowAttributes(hwnd(), kLayerKey, 0, LWA_COLORKEY);
  tmd.assign(1, '0');
}

bool PinLayer::PopupTextLabelMenu(HWND owner) {
  SetForegroundWindow(owner);
  return cd().Popup(cd().txtip(), owner) == menus::delltip;
}

void PinLayer::getimg_RightDown() {
  SetForegroundWindow(hwnd());
  cd().Popup(cd().cdd(), hwnd());
}

bool PinLayer::Command3_Click() {
  if (!Load()) return false;
  // Out of memory anywhere on the way, nothing is added.
  try {
    pin::Size size;
    UniqueBitmap picture = PictureFromClipboard(hwnd(), &size);
    if (!picture) return false;  // nothing to pin; the index stays free
    std::string next = imgnum;
    std::optional<int> n = pin::TakeIndex(next);
    if (!n) return false;  // indices used up
    if (!AddPicture(*n, std::move(picture), size)) return false;
    imgnum.swap(next);
    return true;
  } catch (const std::bad_alloc&) {
    return false;
  }
}

bool PinLayer::AddImageFile(const std::string& index, const std::wstring& path) {
  if (!Load()) return false;
  // Out of memory anywhere on the way, nothing is added.
  try {
    std::string next = imgnum;
    std::optional<int> n = pin::TakeIndex(next);
    // Only the next free slot: an existing image is never replaced.
    if (!n || pin::ParseIndex(index) != n) return false;
    if (pin::FileTypeOf(Narrow(path)).empty()) return false;
    int w = -1;
    int h = -1;
    LoadedPicture picture;
    {
      GdipScope gdiplus;
      picture = LoadPictureScaled(path, w, h, RGB(255, 255, 255), false);
    }
    if (!picture) return false;  // nothing made, the index stays free
    if (!AddPicture(*n, std::move(picture.bitmap), {w, h})) return false;
    imgnum.swap(next);
    return true;
  } catch (const std::bad_alloc&) {
    return false;
  }
}

void PinLayer::getimg_OLEDragDrop(HDROP drop, POINT at) {
  RECT h = ToRect(getimg_);
  bool on_handle = PtInRect(&h, at) != FALSE;
  std::wstring path;
  UINT len = DragQueryFileW(drop, 0, nullptr, 0);
  if (len > 0 && len < 32768) {
    path.resize(len + 1);
    UINT got = DragQueryFileW(drop, 0, path.data(), len + 1);
    path.resize(got);
  }
  DragFinish(drop);
  // Failures add nothing and say nothing; the next drop works as usual.
  if (on_handle && !path.empty()) AddImageFile(imgnum, path);
}

bool PinLayer::AddPicture(int index, UniqueBitmap picture, pin::Size size) {
  // Everything that may fail comes before anything shows; a failure
  // destroys the half-made image with its windows.
  auto image = std::make_unique<PinnedImage>(*this, index);
  if (!image->Build(std::move(picture), size)) return false;
  image->SetCaptionText(Widen(pin::CaptionFor(index)));
  pin::Rect at = pin::CentreOnScreen({GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)}, size);
  image->MoveTo({at.left, at.top});
  auto slot = images_.try_emplace(index).first;
  PinnedImage& added = *image;
  slot->second = std::move(image);
  // In front of everything, the handle included; the images below the
  // handle stay so.
  added.set_above_handle(true);
  added.Show();
  SetWindowPos(added.hwnd(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  StartHighlight(added.box());
  return true;
}

PinnedImage* PinLayer::Image(int index) {
  auto it = images_.find(index);
  return it == images_.end() ? nullptr : it->second.get();
}

void PinLayer::RemoveImage() {
  std::optional<int> i = pin::ParseIndex(getindex);
  auto it = i ? images_.find(*i) : images_.end();
  if (it == images_.end()) return;
  ShowWindow(it->second->caption(), SW_HIDE);
  ShowWindow(it->second->hwnd(), SW_HIDE);
  removed_.push_back(std::move(it->second));
  images_.erase(it);
  PostMessageW(hwnd(), kFreeRemoved, 0, 0);
}

void PinLayer::SendImageToBack() {
  std::optional<int> i = pin::ParseIndex(getindex);
  PinnedImage* image = i ? Image(*i) : nullptr;
  if (!image) return;
  // Behind every other child, the handle included; its caption stays
  // where it is.
  SetWindowPos(image->hwnd(), HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  if (image->above_handle()) {
    image->set_above_handle(false);
    RefreshHandle(getimg_);
  }
}

void PinLayer::savepic_Click() {
  std::optional<int> i = pin::ParseIndex(getindex);
  if (i && Image(*i)) {
    std::optional<std::wstring> name = capture::AskPictureSaveName(hwnd());
    // The image may have gone while the dialog was up.
    PinnedImage* image = Image(*i);
    if (name && image && capture::SaveTypeFor(Narrow(*name)) == capture::SaveType::kNone) {
      // A type none of the four formats is writes nothing, and says so.
      MessageBoxW(hwnd(), Widen(capture::UnknownTypeMessage(Narrow(*name), capture::kPinKept)).c_str(),
                  Widen(capture::kOutputErrorTitle).c_str(), MB_OK | MB_ICONWARNING);
    } else if (name && image) {
      HCURSOR old = SetCursor(LoadCursorW(nullptr, IDC_WAIT));
      std::optional<savepic::SaveError> error = capture::SavePictureFile(image->picture(), *name);
      SetCursor(old);
      if (error) savepic::ShowSaveError(hwnd(), *error);
    }
  }
  SetLayerTimer(true);
}

void PinLayer::Picture1_MouseDown(PinnedImage& image, MouseButton button, pin::Point at) {
  HideHighlight();
  getindex = std::to_string(image.index());
  if (button == MouseButton::kLeft) {
    grab_ = at;
    SetWindowPos(image.hwnd(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    // The handle is never left covered.
    bool uncovered = false;
    for (auto& [i, other] : images_) {
      if (!other || !other->above_handle()) continue;
      other->set_above_handle(false);
      uncovered = true;
    }
    if (uncovered) RefreshHandle(getimg_);
  } else if (button == MouseButton::kRight) {
    cd().Popup(cd().imgmenu(), hwnd());
  }
}

void PinLayer::Text1_MouseDown(PinnedImage&, pin::Point at) { grab_ = at; }

void PinLayer::Picture1_MouseMove(PinnedImage& image, pin::Point at) {
  pin::Rect b = image.box();
  image.MoveTo(pin::DragStep({b.left, b.top}, at, grab_));
}

void PinLayer::UpdateHandleTool() {
  if (!tooltip_) return;
  TOOLINFOW ti{};
  ti.cbSize = TTTOOLINFOW_V2_SIZE;
  ti.hwnd = hwnd();
  ti.uId = kHandleTool;
  ti.rect = ToRect(getimg_);
  SendMessageW(tooltip_, TTM_NEWTOOLRECTW, 0, reinterpret_cast<LPARAM>(&ti));
}

// The handle follows the pointer while the left button is held and stays
// where it is released; nothing keeps it inside the layer.
void PinLayer::getimg_MouseDown(POINT screen) {
  handle_drag_ = true;
  drag_from_ = screen;
  handle_from_ = {getimg_.left, getimg_.top};
  SetCapture(hwnd());
}

void PinLayer::getimg_MouseMove(POINT screen) {
  pin::Point to = pin::DragStep(handle_from_, {screen.x, screen.y}, {drag_from_.x, drag_from_.y});
  if (to.x == getimg_.left && to.y == getimg_.top) return;
  pin::Rect old = getimg_;
  getimg_.left = to.x;
  getimg_.top = to.y;
  RefreshHandle(old);
  RefreshHandle(getimg_);
  UpdateWindow(hwnd());
}

void PinLayer::FitToScreen() {
  const pin::Size now{GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  if (!hwnd() || now.width <= 0 || now.height <= 0 || now == screen_) return;
  const pin::Size old = screen_;
  screen_ = now;
  SetWindowPos(hwnd(), nullptr, 0, 0, now.width, now.height, SWP_NOZORDER | SWP_NOACTIVATE);
  const pin::Point to = pin::HandleAfterScreenChange(getimg_, old, now, dpi_);
  if (to.x != getimg_.left || to.y != getimg_.top) {
    const pin::Rect was = getimg_;
    getimg_.left = to.x;
    getimg_.top = to.y;
    RefreshHandle(was);
    RefreshHandle(getimg_);
    UpdateHandleTool();
  }
  bool moved = false;
  for (auto& [index, image] : images_) {
    if (!image) continue;
    const pin::Rect box = image->box();
    const pin::Point at = pin::BoxAfterScreenChange(box, now);
    if (at.x == box.left && at.y == box.top) continue;
    image->MoveTo(at);
    moved = true;
  }
  // The highlight frame stays where its image was.
  if (moved) HideHighlight();
}

void PinLayer::RefreshHandle(const pin::Rect& r) {
  RECT rc = ToRect(r);
  // The images below the handle draw their part of it.
  RedrawWindow(hwnd(), &rc, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void PinLayer::EndHandleDrag() {
  if (!handle_drag_) return;
  handle_drag_ = false;
  UpdateHandleTool();
  if (GetCapture() == hwnd()) ReleaseCapture();
}

void PinLayer::StartHighlight(const pin::Rect& image) {
  if (frame_visible_) RefreshRect(frame_);
  frame_ = pin::HighlightFrame(image, dpi_);
  frame_visible_ = true;
  blink_ = 0;
  RefreshRect(frame_);
  SetTimer(hwnd(), kCtime, kCtimeInterval, nullptr);
}

void PinLayer::HideHighlight() {
  if (!frame_visible_) return;
  frame_visible_ = false;
  RefreshRect(frame_);
}

void PinLayer::ctime_Timer() {
  pin::BlinkTick t = pin::BlinkAt(blink_);
  if (t.show) {
    frame_colour_ = t.colour;
    if (frame_visible_) RefreshRect(frame_);
  } else {
    HideHighlight();
  }
  if (t.stop) KillTimer(hwnd(), kCtime);
  ++blink_;
}

void PinLayer::RefreshRect(const pin::Rect& r) {
  int pen = ScaleForDpi(3, dpi_);
  RECT rc = ToRect(r);
  InflateRect(&rc, pen, pen);
  InvalidateRect(hwnd(), &rc, TRUE);
}

void PinLayer::Paint() {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(hwnd(), &ps);
  if (frame_visible_) {
    // Shape1: a solid 3-pixel line centred on the frame; images cover what
    // lies under them.
    UniquePen pen(CreatePen(PS_SOLID, ScaleForDpi(3, dpi_), frame_colour_));
    SelectGuard p(dc, pen.get());
    SelectGuard b(dc, GetStockObject(NULL_BRUSH));
    Rectangle(dc, frame_.left, frame_.top, frame_.left + frame_.width, frame_.top + frame_.height);
  }
  DrawHandleTile(dc, getimg_.left, getimg_.top, getimg_.width, dpi_);
  EndPaint(hwnd(), &ps);
}

LRESULT PinLayer::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_PAINT:
      Paint();
      return 0;
    case WM_DISPLAYCHANGE:
      FitToScreen();
      break;
    case WM_TIMER:
      if (wp == kTimer1) Timer1_Timer();
      else if (wp == kCtime) ctime_Timer();
      return 0;
    case WM_CTLCOLOREDIT: {
      HDC dc = reinterpret_cast<HDC>(wp);
      SetTextColor(dc, RGB(255, 255, 255));
      SetBkColor(dc, kCaptionBack);
      return reinterpret_cast<LRESULT>(caption_brush_.get());
    }
    case WM_COMMAND:
      if (HIWORD(wp) == EN_CHANGE) {
        for (auto& [i, image] : images_)
          if (image && image->caption() == reinterpret_cast<HWND>(lp)) image->FitCaption();
        return 0;
      }
      break;
    case WM_NCHITTEST: {
      // Only the handle and the frame are the layer's own; elsewhere its
      // key colour lets the pointer through to the windows beneath. (The
      // colour key does that by itself on Windows; saying so here also
      // makes it hold where hit-testing ignores the key.) Translucent, the
      // whole layer takes the pointer.
      if (tmd != "0") return HTCLIENT;
      POINT p{static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))};
      ScreenToClient(hwnd(), &p);
      RECT h = ToRect(getimg_);
      if (PtInRect(&h, p) || handle_drag_) return HTCLIENT;
      return HTTRANSPARENT;
    }
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
      POINT p{static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))};
      RECT h = ToRect(getimg_);
      if (PtInRect(&h, p)) {
        ClientToScreen(hwnd(), &p);
        getimg_MouseDown(p);
      }
      return 0;
    }
    case WM_MOUSEMOVE:
      // The layer takes the pointer only on the handle: the first time, the
      // tooltip is made and shown this move, which it did not see.
      if (!tooltip_ && EnsureTooltip()) {
        MSG m{hwnd(), msg, wp, lp, static_cast<DWORD>(GetMessageTime()), {}};
        const DWORD pos = GetMessagePos();
        m.pt = {static_cast<short>(LOWORD(pos)), static_cast<short>(HIWORD(pos))};
        SendMessageW(tooltip_, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&m));
      }
      if (handle_drag_ && (wp & MK_LBUTTON)) {
        POINT p{static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))};
        ClientToScreen(hwnd(), &p);
        getimg_MouseMove(p);
      }
      return 0;
    case WM_LBUTTONUP:
      EndHandleDrag();
      return 0;
    case WM_CAPTURECHANGED:
      if (handle_drag_) {
        handle_drag_ = false;
        UpdateHandleTool();
      }
      return 0;
    case WM_RBUTTONDOWN: {
      POINT p{static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))};
      RECT h = ToRect(getimg_);
      if (PtInRect(&h, p)) getimg_RightDown();
      return 0;
    }
    case WM_DROPFILES: {
      HDROP drop = reinterpret_cast<HDROP>(wp);
      POINT at{};
      if (!DragQueryPoint(drop, &at)) at = {-1, -1};
      getimg_OLEDragDrop(drop, at);
      return 0;
    }
    case kFreeRemoved:
      removed_.clear();
      return 0;
    case WM_CLOSE:
      // The layer lives until the program ends; a stray close request
      // (Alt+F4 while it is in front) must not throw away the pins.
      return 0;
    default:
      break;
  }
  return Window::HandleMessage(msg, wp, lp);
}

}  // namespace vardo
