#include "pinned/pinned_image_win.h"

#include <commctrl.h>
#include <shellapi.h>
#include <windowsx.h>

#include "pinned/handle_win.h"
#include "pinned/pin_layer_win.h"

namespace vardo {

namespace {
constexpr wchar_t kClassName[] = L"VardoPinnedImage";
constexpr wchar_t kHint[] = L"Double click here to zoom in or out";
constexpr wchar_t kCaptionHint[] = L"Drag or customize content";

pin::Point PointOf(LPARAM lp) { return {GET_X_LPARAM(lp), GET_Y_LPARAM(lp)}; }

void AddTool(HWND tooltip, HWND owner, HWND tool, const wchar_t* text) {
  if (!tooltip || !tool) return;
  TOOLINFOW ti{};
  ti.cbSize = TTTOOLINFOW_V2_SIZE;
  ti.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  ti.hwnd = owner;
  ti.uId = reinterpret_cast<UINT_PTR>(tool);
  ti.lpszText = const_cast<wchar_t*>(text);
  SendMessageW(tooltip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&ti));
}

void RemoveTool(HWND tooltip, HWND owner, HWND tool) {
  if (!tooltip || !tool) return;
  TOOLINFOW ti{};
  ti.cbSize = TTTOOLINFOW_V2_SIZE;
  ti.hwnd = owner;
  ti.uId = reinterpret_cast<UINT_PTR>(tool);
  SendMessageW(tooltip, TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&ti));
}
}  // namespace

PinnedImage::~PinnedImage() {
  SetTooltip(false);
  RemoveTool(layer_.tooltip(), layer_.hwnd(), caption_);
  caption_hook_.Detach();
  if (caption_) DestroyWindow(caption_);
  Destroy();
}

bool PinnedImage::Build(UniqueBitmap picture, pin::Size size) {
  if (!picture || size.width <= 0 || size.height <= 0) return false;
  if (!RegisterClass(kClassName, CS_DBLCLKS)) return false;
  if (!Window::Create(WS_EX_ACCEPTFILES, kClassName, L"", WS_CHILD | WS_CLIPSIBLINGS, 0, 0, size.width, size.height,
                      layer_.hwnd()))
    return false;
  caption_ = CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_CLIPSIBLINGS | ES_AUTOHSCROLL, 0, 0, 0, 0,
                             layer_.hwnd(), nullptr, GetModuleHandleW(nullptr), nullptr);
  if (!caption_) return false;
  SendMessageW(caption_, WM_SETFONT, reinterpret_cast<WPARAM>(layer_.caption_font()), FALSE);
  caption_hook_.Attach(caption_);
  AddTool(layer_.EnsureTooltip(), layer_.hwnd(), caption_, kCaptionHint);
  picture_ = std::move(picture);
  geometry_.picture = size;
  geometry_.box = {0, 0, size.width, size.height};
  applied_ = geometry_.box;
  SetTooltip(true);
  return true;
}

void PinnedImage::Show() {
  ShowWindow(hwnd(), SW_SHOWNA);
}

void PinnedImage::SetTooltip(bool on) {
  if (on == tool_added_) return;
  if (on) AddTool(layer_.EnsureTooltip(), layer_.hwnd(), hwnd(), kHint);
  else RemoveTool(layer_.tooltip(), layer_.hwnd(), hwnd());
  tool_added_ = on;
}

void PinnedImage::MoveTo(pin::Point pos) {
  geometry_.box.left = pos.x;
  geometry_.box.top = pos.y;
  RECT r{};
  GetWindowRect(caption_, &r);
  geometry_.caption_pos = pin::CaptionPosition(pos, r.bottom - r.top);
  ApplyGeometry();
}

void PinnedImage::ApplyGeometry() {
  const pin::Rect& b = geometry_.box;
  const pin::Rect h = layer_.getimg();
  const bool in_front = !above_handle_;
  // The handle drawn on this image must not travel with its pixels.
  const bool redraw = in_front && (applied_.Intersects(h) || b.Intersects(h));
  if (b != applied_) {
    SetWindowPos(hwnd(), nullptr, b.left, b.top, b.width, b.height,
                 SWP_NOZORDER | SWP_NOACTIVATE | (redraw ? SWP_NOCOPYBITS : 0));
    applied_ = b;
  }
  // A hidden caption is left where it is until it shows again: dragging an
  // expanded image moves one window, not two.
  if (geometry_.caption_visible || caption_shown_) {
    SetWindowPos(caption_, nullptr, geometry_.caption_pos.x, geometry_.caption_pos.y, 0, 0,
                 SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOSIZE | (in_front ? SWP_NOCOPYBITS : 0) |
                     (geometry_.caption_visible ? SWP_SHOWWINDOW : SWP_HIDEWINDOW));
    caption_shown_ = geometry_.caption_visible;
  }
}

void PinnedImage::SetCaptionText(const std::wstring& text) {
  SetWindowTextW(caption_, text.c_str());
  FitCaption();
}

void PinnedImage::FitCaption() {
  int n = GetWindowTextLengthW(caption_);
  std::wstring text(static_cast<size_t>(n) + 1, L'\0');
  GetWindowTextW(caption_, text.data(), n + 1);
  text.resize(static_cast<size_t>(n));
  SIZE extent{};
  WindowDc dc(layer_.hwnd());
  {
    SelectGuard font(dc.get(), layer_.measure_font());
    // An empty text still has a line's height.
    GetTextExtentPoint32W(dc.get(), n ? text.c_str() : L" ", n ? n : 1, &extent);
    if (!n) extent.cx = 0;
  }
  pin::Size s = pin::CaptionBoxSize({extent.cx, extent.cy}, layer_.dpi());
  SetWindowPos(caption_, nullptr, 0, 0, s.width, s.height, SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOMOVE);
}

void PinnedImage::ToggleCollapse() {
  RECT r{};
  GetWindowRect(caption_, &r);
  pin::ToggleCollapse(geometry_, r.bottom - r.top, layer_.dpi());
  if (!geometry_.tooltip) SetTooltip(false);
  ApplyGeometry();
  if (geometry_.caption_visible)
    SetWindowPos(caption_, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  InvalidateRect(hwnd(), nullptr, FALSE);
}

void PinnedImage::Paint() {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(hwnd(), &ps);
  UniqueMemDc mem(CreateCompatibleDC(dc));
  if (mem) {
    SelectGuard sel(mem.get(), picture_.get());
    // A collapsed box shows the top-left corner of its picture.
    BitBlt(dc, 0, 0, geometry_.box.width, geometry_.box.height, mem.get(), 0, 0, SRCCOPY);
  }
  // A box larger than its picture (a thin picture collapsed to the tile)
  // shows the box's own face beyond it, not the layer's see-through colour.
  const int bw = geometry_.box.width, bh = geometry_.box.height;
  const int pw = geometry_.picture.width, ph = geometry_.picture.height;
  if (pw < bw) {
    RECT right{pw, 0, bw, bh};
    FillRect(dc, &right, GetSysColorBrush(COLOR_BTNFACE));
  }
  if (ph < bh) {
    RECT below{0, ph, pw < bw ? pw : bw, bh};
    FillRect(dc, &below, GetSysColorBrush(COLOR_BTNFACE));
  }
  if (!above_handle_) {
    const pin::Rect h = layer_.getimg();
    if (h.Intersects(geometry_.box))
      DrawHandleTile(dc, h.left - geometry_.box.left, h.top - geometry_.box.top, h.width, layer_.dpi());
  }
  EndPaint(hwnd(), &ps);
}

LRESULT PinnedImage::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_PAINT:
      Paint();
      return 0;
    case WM_ERASEBKGND:
      return 1;
    case WM_LBUTTONDOWN:
      SetCapture(hwnd());
      dragging_ = true;
      layer_.Picture1_MouseDown(*this, PinLayer::MouseButton::kLeft, PointOf(lp));
      return 0;
    case WM_LBUTTONDBLCLK:
      layer_.Picture1_MouseDown(*this, PinLayer::MouseButton::kLeft, PointOf(lp));
      ToggleCollapse();
      return 0;
    case WM_MOUSEMOVE:
      if (dragging_ && (wp & MK_LBUTTON)) layer_.Picture1_MouseMove(*this, PointOf(lp));
      return 0;
    case WM_LBUTTONUP:
      dragging_ = false;
      if (GetCapture() == hwnd()) ReleaseCapture();
      return 0;
    case WM_CAPTURECHANGED:
      dragging_ = false;
      return 0;
    case WM_NCHITTEST:
      // The handle in front of the image takes the pointer there.
      if (OnHandle({GET_X_LPARAM(lp), GET_Y_LPARAM(lp)}, true)) return HTTRANSPARENT;
      break;
    case WM_DROPFILES: {
      HDROP drop = reinterpret_cast<HDROP>(wp);
      POINT at{};
      if (DragQueryPoint(drop, &at) && OnHandle(at, false)) {
        MapWindowPoints(hwnd(), layer_.hwnd(), &at, 1);
        layer_.getimg_OLEDragDrop(drop, at);
        return 0;
      }
      // A file dropped on a pinned image only shows its full path.
      std::wstring path;
      UINT len = DragQueryFileW(drop, 0, nullptr, 0);
      if (len > 0 && len < 32768) {
        path.resize(len + 1);
        path.resize(DragQueryFileW(drop, 0, path.data(), len + 1));
      }
      DragFinish(drop);
      if (!path.empty()) MessageBoxW(layer_.hwnd(), path.c_str(), L"Vardo", MB_OK);
      return 0;
    }
    case WM_RBUTTONDOWN:
      // May remove this image: nothing of it is touched afterwards.
      layer_.Picture1_MouseDown(*this, PinLayer::MouseButton::kRight, PointOf(lp));
      return 0;
    case WM_MBUTTONDOWN:
    case WM_XBUTTONDOWN:
      layer_.Picture1_MouseDown(*this, PinLayer::MouseButton::kOther, PointOf(lp));
      return msg == WM_XBUTTONDOWN ? TRUE : 0;
    default:
      break;
  }
  return Window::HandleMessage(msg, wp, lp);
}

bool PinnedImage::OnHandle(POINT p, bool screen) const {
  if (!!above_handle_) return false;
  MapWindowPoints(screen ? nullptr : hwnd(), layer_.hwnd(), &p, 1);
  return layer_.getimg().Contains({p.x, p.y});
}

bool PinnedImage::CaptionHook::OnControlMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT* result) {
  switch (msg) {
    case WM_NCHITTEST:
      // As on the images: the handle in front takes the pointer.
      if (!owner_.OnHandle({GET_X_LPARAM(lp), GET_Y_LPARAM(lp)}, true)) return false;
      *result = HTTRANSPARENT;
      return true;
    case WM_PAINT: {
      *result = CallPrevious(msg, wp, lp);
      if (!owner_.above_handle_) {
        RECT r{};
        GetWindowRect(control(), &r);
        MapWindowPoints(nullptr, owner_.layer_.hwnd(), reinterpret_cast<POINT*>(&r), 2);
        const pin::Rect h = owner_.layer_.getimg();
        if (h.Intersects({r.left, r.top, r.right - r.left, r.bottom - r.top})) {
          WindowDc dc(control());
          DrawHandleTile(dc.get(), h.left - r.left, h.top - r.top, h.width, owner_.layer_.dpi());
        }
      }
      return true;
    }
    case WM_LBUTTONDOWN:
      owner_.layer_.Text1_MouseDown(owner_, PointOf(lp));
      return false;
    case WM_MOUSEMOVE:
      // Dragging a caption moves its image, and the caption with it.
      if (wp & MK_LBUTTON) owner_.layer_.Picture1_MouseMove(owner_, PointOf(lp));
      return false;
    default:
      return false;
  }
}

}  // namespace vardo
