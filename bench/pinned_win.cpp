// Pin layer benchmarks, in one process, side by side:
// - a 1920x1080 PNG dropped on the handle until it is pinned and painted,
//   against decoding the same file with GDI+ alone;
// - one move event while dragging a screen-size pin, repaint included,
//   against one blit of the pin's size to a window;
// - memory per pin against the picture's own 32-bit size, and the memory
//   the layer itself takes when it is loaded and shown.
#include <windows.h>
#include <psapi.h>
#include <shellapi.h>
#include <shlobj.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "bench_util_win.h"
#include "common/gdiplus_io_win.h"
#include "common/gdiplus_win.h"
#include "common/handles_win.h"
#include "common/process_win.h"
#include "pinned/pin_layer_win.h"

namespace {

namespace gp = vardo::gp;

void Pump() {
  MSG m;
  while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&m);
    DispatchMessageW(&m);
  }
}

// Private memory of the process. Windows reports it as PrivateUsage; Wine
// leaves that at 0 and fills PagefileUsage from the resident anonymous
// memory plus swap (/proc/self/status), which includes the bitmaps and
// window surfaces its graphics driver keeps outside the Windows heaps.
struct MemoryReading {
  int64_t bytes = 0;
  const char* source = "";
  int64_t working_set = 0;
};
MemoryReading PrivateBytes() {
  PROCESS_MEMORY_COUNTERS_EX pm{};
  pm.cb = sizeof pm;
  if (!GetProcessMemoryInfo(GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&pm), sizeof pm))
    return {};
  const auto ws = static_cast<int64_t>(pm.WorkingSetSize);
  if (pm.PrivateUsage) return {static_cast<int64_t>(pm.PrivateUsage), "PrivateUsage", ws};
  return {static_cast<int64_t>(pm.PagefileUsage), "PagefileUsage (PrivateUsage reads 0)", ws};
}

double Mb(int64_t bytes) { return static_cast<double>(bytes) / (1024.0 * 1024.0); }

// A screen-like picture: a gradient band, hard-edged blocks and text-like
// marks, so PNG compresses it about as well as a real screenshot.
std::vector<uint32_t> ScreenLikePixels(int w, int h) {
  std::vector<uint32_t> px(static_cast<size_t>(w) * static_cast<size_t>(h));
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      uint32_t c;
      if (y < h / 3) {
        c = static_cast<uint32_t>((x * 255 / (w - 1)) << 16 | (y * 255 / (h - 1)) << 8 | 0x80);
      } else if (y < 2 * h / 3) {
        c = ((x / 64 + y / 64) % 2) ? 0xF0F0F0u : 0x2050A0u;
      } else {
        const uint32_t n = static_cast<uint32_t>(x * 7919 + y * 104729) * 2654435761u;
        c = (x % 9 < 2 || y % 13 < 2) ? ((n >> 24) & 0xFF) * 0x010101u : 0xFFFFFFu;
      }
      px[static_cast<size_t>(y) * static_cast<size_t>(w) + static_cast<size_t>(x)] = 0xFF000000u | c;
    }
  }
  return px;
}

bool WritePng(int w, int h, const std::wstring& path) {
  std::vector<uint32_t> px = ScreenLikePixels(w, h);
  Gdiplus::GpBitmap* raw = nullptr;
  if (gp::GdipCreateBitmapFromScan0(w, h, w * 4, PixelFormat32bppARGB, reinterpret_cast<BYTE*>(px.data()), &raw) !=
      Gdiplus::Ok)
    return false;
  vardo::GpBitmapPtr bmp(raw);
  const auto png = vardo::FindEncoderByMime(L"image/png");
  return png && gp::GdipSaveImageToFile(bmp.get(), path.c_str(), &png->clsid, nullptr) == Gdiplus::Ok;
}

// Puts a w x h picture on the clipboard as CF_BITMAP (the clipboard then
// owns it).
bool SetClipboardPicture(HWND owner, int w, int h) {
  vardo::MemoryCanvas canvas;
  if (!canvas.CreateDib(w, h)) return false;
  std::vector<uint32_t> px = ScreenLikePixels(w, h);
  std::memcpy(canvas.bits(), px.data(), px.size() * 4);
  GdiFlush();
  HBITMAP bmp = canvas.Release();
  if (!OpenClipboard(owner)) {
    DeleteObject(bmp);
    return false;
  }
  EmptyClipboard();
  bool ok = SetClipboardData(CF_BITMAP, bmp) != nullptr;
  CloseClipboard();
  if (!ok) DeleteObject(bmp);
  return ok;
}

// A real drop handle as the shell makes it: DROPFILES, then the path,
// double-NUL-terminated, in wide characters. The receiver frees it with
// DragFinish.
HDROP MakeDrop(const std::wstring& path, POINT at) {
  const size_t bytes = sizeof(DROPFILES) + (path.size() + 2) * sizeof(wchar_t);
  HGLOBAL mem = GlobalAlloc(GHND, bytes);
  if (!mem) return nullptr;
  auto* df = static_cast<DROPFILES*>(GlobalLock(mem));
  df->pFiles = sizeof(DROPFILES);
  df->pt = at;
  df->fNC = FALSE;
  df->fWide = TRUE;
  std::memcpy(reinterpret_cast<char*>(df) + sizeof(DROPFILES), path.c_str(), path.size() * sizeof(wchar_t));
  GlobalUnlock(mem);
  return static_cast<HDROP>(mem);
}

void RemovePin(vardo::PinLayer& layer, int index) {
  layer.getindex = std::to_string(index);
  layer.RemoveImage();
  Pump();
}

void PaintLayer(vardo::PinLayer& layer) {
  UpdateWindow(layer.hwnd());  // the layer and every child with an update region
  GdiFlush();
}

// The reference target of the blit: a plain visible window of the pin's
// size.
LRESULT CALLBACK PlainProc(HWND w, UINT m, WPARAM wp, LPARAM lp) { return DefWindowProcW(w, m, wp, lp); }

bool BenchDrop(vardo::PinLayer& layer, const std::wstring& png, const char* res) {
  const vardo::pin::Rect handle = layer.getimg();
  const POINT at{handle.left + handle.width / 2, handle.top + handle.height / 2};
  std::vector<double> ours, ref;
  for (int i = 0; i < 10; ++i) {
    const int index = std::stoi(layer.imgnum);
    HDROP drop = MakeDrop(png, at);
    if (!drop) return false;
    double t0 = bench::NowMs();
    SendMessageW(layer.hwnd(), WM_DROPFILES, reinterpret_cast<WPARAM>(drop), 0);
    PaintLayer(layer);
    double t1 = bench::NowMs();
    vardo::PinnedImage* image = layer.Image(index);
    if (!image || image->box().width != 1920 || image->box().height != 1080) {
      std::printf("drop did not pin the 1920x1080 file (round %d)\n", i);
      return false;
    }
    RemovePin(layer, index);

    double t2 = bench::NowMs();
    Gdiplus::GpBitmap* raw = nullptr;
    HBITMAP decoded = nullptr;
    if (gp::GdipCreateBitmapFromFile(png.c_str(), &raw) == Gdiplus::Ok) {
      vardo::GpBitmapPtr bmp(raw);
      gp::GdipCreateHBITMAPFromBitmap(bmp.get(), &decoded, 0xFFFFFFFF);
    }
    double t3 = bench::NowMs();
    if (!decoded) {
      std::printf("GDI+ could not decode the file\n");
      return false;
    }
    DeleteObject(decoded);
    if (i >= 2) {  // the first rounds load codecs and warm the caches
      ours.push_back(t1 - t0);
      ref.push_back(t3 - t2);
    }
  }
  char what[96];
  std::snprintf(what, sizeof what, "[%s] 1920x1080 PNG drop -> pinned, painted", res);
  bench::PrintRatio(what, ours, "GDI+ decode to HBITMAP", ref);
  return true;
}

bool BenchDrag(vardo::PinLayer& layer, int w, int h, const char* res) {
  if (!SetClipboardPicture(layer.hwnd(), w, h)) {
    std::printf("could not put a %dx%d picture on the clipboard\n", w, h);
    return false;
  }
  const int index = std::stoi(layer.imgnum);
  layer.Command3_Click();
  vardo::PinnedImage* image = layer.Image(index);
  if (!image) {
    std::printf("the clipboard picture was not pinned\n");
    return false;
  }
  Pump();
  PaintLayer(layer);

  vardo::MemoryCanvas picture;
  HWND target = CreateWindowExW(WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, L"BenchPlain", L"", WS_POPUP, 0, 0, w, h,
                                nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
  if (!target || !picture.CreateDib(w, h)) {
    std::printf("could not make the blit reference\n");
    return false;
  }
  ShowWindow(target, SW_SHOWNOACTIVATE);
  Pump();
  std::vector<uint32_t> px = ScreenLikePixels(w, h);
  std::memcpy(picture.bits(), px.data(), px.size() * 4);
  GdiFlush();

  const POINT grab{w / 2, h / 2};
  SendMessageW(image->hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(grab.x, grab.y));
  const int start_left = image->box().left;
  std::vector<double> ours, ref, message, paint;
  bool moved = false;
  for (int i = 0; i < 60; ++i) {
    // Back and forth, 4 pixels at a time: the pointer is 4 pixels from the
    // grab point in the pin's own coordinates before each step.
    const int dx = (i / 10) % 2 ? -4 : 4;
    const int dy = (i / 5) % 2 ? -2 : 2;
    double t0 = bench::NowMs();
    SendMessageW(image->hwnd(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(grab.x + dx, grab.y + dy));
    double tm = bench::NowMs();
    PaintLayer(layer);
    double t1 = bench::NowMs();
    moved = moved || image->box().left != start_left;
    {
      vardo::WindowDc dc(target);
      BitBlt(dc.get(), 0, 0, w, h, picture.dc(), 0, 0, SRCCOPY);
      GdiFlush();
    }
    double t2 = bench::NowMs();
    Pump();
    if (i >= 5) {
      ours.push_back(t1 - t0);
      ref.push_back(t2 - t1);
      message.push_back(tm - t0);
      paint.push_back(t1 - tm);
    }
  }
  SendMessageW(image->hwnd(), WM_LBUTTONUP, 0, MAKELPARAM(grab.x, grab.y));
  DestroyWindow(target);
  RemovePin(layer, index);
  if (!moved) {
    std::printf("the pin did not follow the drag\n");
    return false;
  }
  char what[96], ref_name[64];
  std::snprintf(what, sizeof what, "[%s] drag %dx%d pin: one move + repaint", res, w, h);
  std::snprintf(ref_name, sizeof ref_name, "one %dx%d blit to a window", w, h);
  bench::PrintRatio(what, ours, ref_name, ref);
  std::printf("  move parts (medians): the move message %.3f ms, the repaint %.3f ms\n", bench::Median(message),
              bench::Median(paint));
  std::fflush(stdout);
  return true;
}

bool BenchPinMemory(vardo::PinLayer& layer, const char* res) {
  constexpr int kW = 1280, kH = 720, kPins = 8;
  if (!SetClipboardPicture(layer.hwnd(), kW, kH)) return false;
  // One pin first, so the first-use costs (window class, tooltip tools,
  // caption font) are outside the figure.
  const int warm = std::stoi(layer.imgnum);
  layer.Command3_Click();
  Pump();
  PaintLayer(layer);
  RemovePin(layer, warm);
  Sleep(50);
  Pump();

  const MemoryReading before = PrivateBytes();
  const int first = std::stoi(layer.imgnum);
  for (int i = 0; i < kPins; ++i) {
    layer.Command3_Click();
    Pump();
    PaintLayer(layer);
  }
  const MemoryReading after = PrivateBytes();
  int added = 0;
  for (int i = first; i < first + kPins; ++i) added += layer.Image(i) != nullptr;
  for (int i = first; i < first + kPins; ++i) RemovePin(layer, i);
  Sleep(50);
  Pump();
  const MemoryReading removed = PrivateBytes();
  if (added != kPins) {
    std::printf("only %d of %d pins were added\n", added, kPins);
    return false;
  }
  const double per_pin = static_cast<double>(after.bytes - before.bytes) / kPins;
  const double own = static_cast<double>(kW) * kH * 4;
  std::printf("[%s] memory per %dx%d pin (%d pins): %.2f MB | picture's own w*h*4 %.2f MB | ratio %.2f  "
              "(%s; %.1f -> %.1f MB, %.1f MB after removing them)\n",
              res, kW, kH, kPins, per_pin / (1024.0 * 1024.0), own / (1024.0 * 1024.0), per_pin / own,
              after.source, Mb(before.bytes), Mb(after.bytes), Mb(removed.bytes));
  std::fflush(stdout);
  return true;
}

}  // namespace

int wmain() {
  vardo::InitProcess();
  const int w = GetSystemMetrics(SM_CXSCREEN), h = GetSystemMetrics(SM_CYSCREEN);
  char res[32];
  std::snprintf(res, sizeof res, "%dx%d", w, h);
  std::printf("screen %s\n", res);

  vardo::GdiplusSession gdiplus;
  WNDCLASSW wc{};
  wc.lpfnWndProc = PlainProc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = L"BenchPlain";
  RegisterClassW(&wc);

  wchar_t tmp[MAX_PATH];
  GetTempPathW(MAX_PATH, tmp);
  const std::wstring png = std::wstring(tmp) + L"vardo-bench-pin-" + std::to_wstring(GetCurrentProcessId()) + L".png";
  if (!gdiplus.ok() || !WritePng(1920, 1080, png)) {
    std::printf("could not write the test picture\n");
    return 1;
  }

  // The layer's own memory: before it exists, and once it is shown and
  // painted. Compared with one screen-size 32-bit bitmap.
  Pump();
  const MemoryReading before = PrivateBytes();
  vardo::PinLayer& layer = vardo::afterdoch();
  layer.ShowLayer();
  Pump();
  PaintLayer(layer);
  const MemoryReading after = PrivateBytes();
  const double screen_bytes = static_cast<double>(w) * h * 4;
  std::printf("[%s] layer loaded and shown: %.2f MB | one screen-size bitmap %.2f MB | ratio %.2f  (%s; %.1f -> "
              "%.1f MB)\n",
              res, Mb(after.bytes - before.bytes), screen_bytes / (1024.0 * 1024.0),
              static_cast<double>(after.bytes - before.bytes) / screen_bytes, after.source, Mb(before.bytes),
              Mb(after.bytes));
  // Window surfaces can live in memory shared with the display server,
  // which only the working set shows.
  std::printf("  layer working set: %.2f MB (%.1f -> %.1f MB)\n", Mb(after.working_set - before.working_set),
              Mb(before.working_set), Mb(after.working_set));
  std::fflush(stdout);

  bool ok = BenchDrop(layer, png, res) && BenchDrag(layer, w, h, res) && BenchPinMemory(layer, res);
  DeleteFileW(png.c_str());
  return ok ? 0 : 1;
}
