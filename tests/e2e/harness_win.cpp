#include "harness_win.h"

#include <gtest/gtest.h>

#include <algorithm>
namespace Gdiplus {
using std::max;
using std::min;
}  // namespace Gdiplus
#include <gdiplus.h>
#include <shellapi.h>

#include <cstdio>
#include <cstring>

namespace e2e {

namespace {

std::wstring ModuleFolder() {
  wchar_t buf[MAX_PATH * 4];
  DWORD n = GetModuleFileNameW(nullptr, buf, static_cast<DWORD>(std::size(buf)));
  std::wstring p(buf, n);
  return p.substr(0, p.find_last_of(L"\\/"));
}

// GDI+ for the harness's own decoding and encoding; started on first use.
void EnsureGdiplus() {
  static ULONG_PTR token = 0;
  if (token) return;
  Gdiplus::GdiplusStartupInput in;
  Gdiplus::GdiplusStartup(&token, &in, nullptr);
}

bool EncoderClsid(const wchar_t* mime, CLSID* out) {
  UINT num = 0, size = 0;
  if (Gdiplus::GetImageEncodersSize(&num, &size) != Gdiplus::Ok || size == 0) return false;
  std::vector<uint8_t> buf(size);
  auto* info = reinterpret_cast<Gdiplus::ImageCodecInfo*>(buf.data());
  if (Gdiplus::GetImageEncoders(num, size, info) != Gdiplus::Ok) return false;
  for (UINT i = 0; i < num; ++i) {
    if (wcscmp(info[i].MimeType, mime) == 0) {
      *out = info[i].Clsid;
      return true;
    }
  }
  return false;
}

void SendMouse(DWORD flags, int x = 0, int y = 0) {
  INPUT in{};
  in.type = INPUT_MOUSE;
  in.mi.dwFlags = flags;
  in.mi.dx = x;
  in.mi.dy = y;
  SendInput(1, &in, sizeof(in));
}

void SendKey(WORD vk, bool up) {
  INPUT in{};
  in.type = INPUT_KEYBOARD;
  in.ki.wVk = vk;
  in.ki.wScan = static_cast<WORD>(MapVirtualKeyW(vk, MAPVK_VK_TO_VSC));
  in.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
  switch (vk) {
    case VK_LEFT: case VK_RIGHT: case VK_UP: case VK_DOWN: case VK_INSERT: case VK_DELETE:
    case VK_HOME: case VK_END: case VK_PRIOR: case VK_NEXT: case VK_RCONTROL: case VK_RMENU:
    case VK_LWIN: case VK_RWIN: case VK_APPS: case VK_SNAPSHOT:
      in.ki.dwFlags |= KEYEVENTF_EXTENDEDKEY;
      break;
    default:
      break;
  }
  SendInput(1, &in, sizeof(in));
}

}  // namespace

// ---- paths and files ---------------------------------------------------------
std::wstring TestsDir() { return ModuleFolder(); }

std::wstring OutDir() {
  std::wstring t = ModuleFolder();
  return t.substr(0, t.find_last_of(L"\\/"));
}

TempDir::TempDir(const std::wstring& tag) {
  wchar_t tmp[MAX_PATH];
  GetTempPathW(MAX_PATH, tmp);
  static unsigned counter = 0;
  for (;;) {
    wchar_t name[64];
    swprintf(name, 64, L"vardo-%ls-%lu-%u", tag.c_str(), GetCurrentProcessId(), counter++);
    path_ = std::wstring(tmp) + name;
    if (CreateDirectoryW(path_.c_str(), nullptr)) break;
    if (GetLastError() != ERROR_ALREADY_EXISTS) break;
  }
}

TempDir::~TempDir() {
  std::wstring from = path_;
  from.push_back(L'\0');
  SHFILEOPSTRUCTW op{};
  op.wFunc = FO_DELETE;
  op.pFrom = from.c_str();
  op.fFlags = FOF_NO_UI;
  SHFileOperationW(&op);
}

bool FileExists(const std::wstring& path) {
  DWORD a = GetFileAttributesW(path.c_str());
  return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

std::vector<uint8_t> ReadFileBytes(const std::wstring& path) {
  std::vector<uint8_t> out;
  HANDLE f = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                         0, nullptr);
  if (f == INVALID_HANDLE_VALUE) return out;
  LARGE_INTEGER size{};
  GetFileSizeEx(f, &size);
  out.resize(static_cast<size_t>(size.QuadPart));
  DWORD got = 0;
  if (!out.empty()) ReadFile(f, out.data(), static_cast<DWORD>(out.size()), &got, nullptr);
  out.resize(got);
  CloseHandle(f);
  return out;
}

bool WriteFileBytes(const std::wstring& path, const std::vector<uint8_t>& bytes) {
  HANDLE f = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (f == INVALID_HANDLE_VALUE) return false;
  DWORD put = 0;
  bool ok = bytes.empty() || WriteFile(f, bytes.data(), static_cast<DWORD>(bytes.size()), &put, nullptr);
  CloseHandle(f);
  return ok && put == bytes.size();
}

bool CopyFileTo(const std::wstring& from, const std::wstring& to) {
  return CopyFileW(from.c_str(), to.c_str(), FALSE) != 0;
}

std::string Utf8(const std::wstring& w) {
  if (w.empty()) return {};
  int n = WideCharToMultiByte(CP_UTF8, 0, w.data(), static_cast<int>(w.size()), nullptr, 0, nullptr, nullptr);
  std::string s(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(CP_UTF8, 0, w.data(), static_cast<int>(w.size()), s.data(), n, nullptr, nullptr);
  return s;
}

// ---- processes ---------------------------------------------------------------
Process::Process(const std::wstring& exe, const std::wstring& args, const std::wstring& cwd) {
  job_ = CreateJobObjectW(nullptr, nullptr);
  if (job_) {
    JOBOBJECT_EXTENDED_LIMIT_INFORMATION lim{};
    lim.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
    SetInformationJobObject(job_, JobObjectExtendedLimitInformation, &lim, sizeof(lim));
  }
  std::wstring cmd = L"\"" + exe + L"\"";
  if (!args.empty()) cmd += L" " + args;
  STARTUPINFOW si{};
  si.cb = sizeof(si);
  PROCESS_INFORMATION pi{};
  std::wstring dir = cwd;
  if (dir.empty()) dir = exe.substr(0, exe.find_last_of(L"\\/"));
  if (CreateProcessW(exe.c_str(), cmd.data(), nullptr, nullptr, FALSE, CREATE_SUSPENDED, nullptr, dir.c_str(), &si,
                     &pi)) {
    if (job_) AssignProcessToJobObject(job_, pi.hProcess);
    ResumeThread(pi.hThread);
    CloseHandle(pi.hThread);
    process_ = pi.hProcess;
    pid_ = pi.dwProcessId;
  } else {
    // Say why, so that a start that failed is not mistaken for a program
    // that showed nothing.
    const DWORD err = GetLastError();
    ADD_FAILURE() << "could not start " << Utf8(exe) << ": error " << err;
  }
}

Process::~Process() { Kill(); }

Process::Process(Process&& o) noexcept : job_(o.job_), process_(o.process_), pid_(o.pid_) {
  o.job_ = o.process_ = nullptr;
  o.pid_ = 0;
}

Process& Process::operator=(Process&& o) noexcept {
  if (this != &o) {
    Kill();
    job_ = o.job_;
    process_ = o.process_;
    pid_ = o.pid_;
    o.job_ = o.process_ = nullptr;
    o.pid_ = 0;
  }
  return *this;
}

bool Process::Running() const { return process_ && WaitForSingleObject(process_, 0) == WAIT_TIMEOUT; }

bool Process::WaitExit(DWORD timeout_ms, DWORD* exit_code) {
  if (!process_) return true;
  if (WaitForSingleObject(process_, timeout_ms) != WAIT_OBJECT_0) return false;
  if (exit_code) GetExitCodeProcess(process_, exit_code);
  return true;
}

void Process::Kill() {
  if (process_) {
    if (Running()) {
      TerminateProcess(process_, 99);
      WaitForSingleObject(process_, 5000);
    }
    CloseHandle(process_);
    process_ = nullptr;
  }
  if (job_) {
    CloseHandle(job_);
    job_ = nullptr;
  }
  pid_ = 0;
}

bool WaitUntil(const std::function<bool()>& cond, DWORD timeout_ms, DWORD poll_ms) {
  DWORD start = GetTickCount();
  for (;;) {
    if (cond()) return true;
    if (GetTickCount() - start >= timeout_ms) return cond();
    ::Sleep(poll_ms);
  }
}

void Sleep(DWORD ms) { ::Sleep(ms); }

void Settle(DWORD ms) {
  DWORD start = GetTickCount();
  MSG m;
  while (GetTickCount() - start < ms) {
    while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&m);
    ::Sleep(5);
  }
}

// ---- windows -----------------------------------------------------------------
std::wstring ClassOf(HWND w) {
  wchar_t buf[256];
  int n = GetClassNameW(w, buf, 256);
  return std::wstring(buf, n > 0 ? n : 0);
}

std::wstring TextOf(HWND w) {
  DWORD_PTR len = 0;
  if (!SendMessageTimeoutW(w, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 2000, &len)) return {};
  std::wstring s(len + 1, L'\0');
  DWORD_PTR got = 0;
  SendMessageTimeoutW(w, WM_GETTEXT, len + 1, reinterpret_cast<LPARAM>(s.data()), SMTO_ABORTIFHUNG, 2000, &got);
  s.resize(got);
  return s;
}

RECT RectOf(HWND w) {
  RECT r{};
  GetWindowRect(w, &r);
  return r;
}

DWORD ProcessOf(HWND w) {
  DWORD pid = 0;
  GetWindowThreadProcessId(w, &pid);
  return pid;
}

std::vector<HWND> TopWindows(DWORD pid, bool visible_only) {
  struct Ctx {
    DWORD pid;
    bool vis;
    std::vector<HWND> out;
  } ctx{pid, visible_only, {}};
  EnumWindows(
      [](HWND w, LPARAM lp) -> BOOL {
        auto* c = reinterpret_cast<Ctx*>(lp);
        if (c->pid && ProcessOf(w) != c->pid) return TRUE;
        if (c->vis && !IsWindowVisible(w)) return TRUE;
        c->out.push_back(w);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&ctx));
  return ctx.out;
}

std::vector<HWND> ChildWindows(HWND parent, bool visible_only) {
  struct Ctx {
    bool vis;
    std::vector<HWND> out;
  } ctx{visible_only, {}};
  EnumChildWindows(
      parent,
      [](HWND w, LPARAM lp) -> BOOL {
        auto* c = reinterpret_cast<Ctx*>(lp);
        if (!c->vis || IsWindowVisible(w)) c->out.push_back(w);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&ctx));
  return ctx.out;
}

HWND WaitForWindow(DWORD pid, const std::function<bool(HWND)>& pred, DWORD timeout_ms) {
  HWND found = nullptr;
  WaitUntil(
      [&] {
        for (HWND w : TopWindows(pid, false)) {
          if (pred(w)) {
            found = w;
            return true;
          }
        }
        return false;
      },
      timeout_ms, 10);
  return found;
}

HWND WaitForTitle(DWORD pid, const std::wstring& title, DWORD timeout_ms) {
  return WaitForWindow(pid, [&](HWND w) { return TextOf(w) == title; }, timeout_ms);
}

HWND FindChildByText(HWND parent, const std::wstring& text) {
  for (HWND c : ChildWindows(parent, false))
    if (TextOf(c) == text) return c;
  return nullptr;
}

std::wstring MessageText(HWND box) {
  std::wstring text;
  for (HWND c : ChildWindows(box, false))
    if (TextOf(c).size() > text.size() && ClassOf(c) != L"Button") text = TextOf(c);
  return text;
}

HWND FindChildByClass(HWND parent, const std::wstring& cls) {
  for (HWND c : ChildWindows(parent, false))
    if (_wcsicmp(ClassOf(c).c_str(), cls.c_str()) == 0) return c;
  return nullptr;
}

bool IsTopmost(HWND w) { return (GetWindowLongW(w, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0; }

bool MenuOpen() {
  bool open = false;
  EnumWindows(
      [](HWND w, LPARAM lp) -> BOOL {
        if (IsWindowVisible(w) && ClassOf(w) == L"#32768") *reinterpret_cast<bool*>(lp) = true;
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&open));
  return open;
}

HWND OpenMenuWindow() {
  HWND found = nullptr;
  EnumWindows(
      [](HWND w, LPARAM lp) -> BOOL {
        if (!IsWindowVisible(w) || ClassOf(w) != L"#32768") return TRUE;
        *reinterpret_cast<HWND*>(lp) = w;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&found));
  return found;
}

POINT MenuItemPoint(HWND menu, int i, int count) {
  const RECT r = RectOf(menu);
  return POINT{(r.left + r.right) / 2, r.top + (r.bottom - r.top) * (2 * i + 1) / (2 * count)};
}

bool ChooseWithHeldRightButton(int x, int y, int i, int count) {
  MoveTo(x, y);
  Sleep(20);
  RightDown();
  if (!WaitUntil(MenuOpen, 3000)) {
    RightUp();
    return false;
  }
  const POINT item = MenuItemPoint(OpenMenuWindow(), i, count);
  MoveTo(item.x, item.y - 2);
  Sleep(100);
  MoveTo(item.x, item.y);
  Sleep(100);
  RightUp();
  return WaitUntil([] { return !MenuOpen(); }, 3000);
}

// ---- input -------------------------------------------------------------------
namespace {
// Absolute coordinates are 0..65535 across the primary screen; aim at the
// pixel centre so rounding lands on (x, y).
POINT Absolute(int x, int y) {
  SIZE s = ScreenSize();
  return POINT{static_cast<LONG>(((2LL * x + 1) * 65536) / (2LL * s.cx)),
               static_cast<LONG>(((2LL * y + 1) * 65536) / (2LL * s.cy))};
}
// A button event that carries its own position, as a mouse reports it. While
// a full-screen window of another process is in front, Wine holds the X
// pointer still and moves it back to where it was held whenever a window
// maps or unmaps under it; a bare press sent after such a move would land
// there instead of where the test put the pointer.
void SendButtonAt(DWORD flags, int x, int y) {
  const POINT a = Absolute(x, y);
  SendMouse(flags | MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, a.x, a.y);
}
// Where the test last put the pointer; bare button events are sent there.
bool g_moved = false;
POINT g_pointer{};
void SendButton(DWORD flags) {
  if (g_moved) SendButtonAt(flags, g_pointer.x, g_pointer.y);
  else SendMouse(flags);
}
}  // namespace

bool MoveTo(int x, int y) {
  g_moved = true;
  g_pointer = POINT{x, y};
  const POINT a = Absolute(x, y);
  SendMouse(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, a.x, a.y);
  POINT p{};
  if (GetCursorPos(&p) && (p.x != x || p.y != y)) {
    // Some drivers round differently; fall back to an exact placement and a
    // zero relative move so the target still receives a real move event.
    SetCursorPos(x, y);
    SendMouse(MOUSEEVENTF_MOVE, 0, 0);
    return false;
  }
  return true;
}
void LeftDown() { SendButton(MOUSEEVENTF_LEFTDOWN); }
void LeftUp() { SendButton(MOUSEEVENTF_LEFTUP); }
void RightDown() { SendButton(MOUSEEVENTF_RIGHTDOWN); }
void RightUp() { SendButton(MOUSEEVENTF_RIGHTUP); }
void MiddleDown() { SendButton(MOUSEEVENTF_MIDDLEDOWN); }
void MiddleUp() { SendButton(MOUSEEVENTF_MIDDLEUP); }

void Click(int x, int y) {
  MoveTo(x, y);
  ::Sleep(20);
  LeftDown();
  ::Sleep(20);
  LeftUp();
}

void RightClick(int x, int y) {
  MoveTo(x, y);
  ::Sleep(20);
  RightDown();
  ::Sleep(20);
  RightUp();
}

void DoubleClick(int x, int y) {
  MoveTo(x, y);
  ::Sleep(20);
  LeftDown();
  LeftUp();
  ::Sleep(30);
  LeftDown();
  LeftUp();
}

void Drag(int x0, int y0, int x1, int y1, int steps, DWORD step_ms) {
  MoveTo(x0, y0);
  ::Sleep(30);
  LeftDown();
  ::Sleep(30);
  for (int i = 1; i <= steps; ++i) {
    MoveTo(x0 + (x1 - x0) * i / steps, y0 + (y1 - y0) * i / steps);
    ::Sleep(step_ms);
  }
  ::Sleep(30);
  LeftUp();
}

void KeyDown(WORD vk) { SendKey(vk, false); }
void KeyUp(WORD vk) { SendKey(vk, true); }
void Tap(WORD vk) {
  SendKey(vk, false);
  ::Sleep(10);
  SendKey(vk, true);
}

void Chord(const std::vector<WORD>& vks) {
  for (WORD k : vks) {
    SendKey(k, false);
    ::Sleep(10);
  }
  for (auto it = vks.rbegin(); it != vks.rend(); ++it) {
    SendKey(*it, true);
    ::Sleep(10);
  }
}

void TypeText(const std::wstring& text) {
  for (wchar_t ch : text) {
    INPUT in[2]{};
    in[0].type = in[1].type = INPUT_KEYBOARD;
    in[0].ki.wScan = in[1].ki.wScan = ch;
    in[0].ki.dwFlags = KEYEVENTF_UNICODE;
    in[1].ki.dwFlags = KEYEVENTF_UNICODE | KEYEVENTF_KEYUP;
    SendInput(2, in, sizeof(INPUT));
    ::Sleep(5);
  }
}

POINT CursorPos() {
  POINT p{};
  GetCursorPos(&p);
  return p;
}

// ---- pixels ------------------------------------------------------------------
int ColourDistance(uint32_t a, uint32_t b) {
  return std::max({std::abs(R(a) - R(b)), std::abs(G(a) - G(b)), std::abs(B(a) - B(b))});
}

SIZE ScreenSize() { return SIZE{GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)}; }

Image CaptureRect(int x, int y, int w, int h) {
  Image img;
  if (w <= 0 || h <= 0) return img;
  HDC screen = GetDC(nullptr);
  HDC mem = CreateCompatibleDC(screen);
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
  bi.bmiHeader.biWidth = w;
  bi.bmiHeader.biHeight = -h;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  HBITMAP bmp = CreateDIBSection(mem, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(mem, bmp);
  BitBlt(mem, 0, 0, w, h, screen, x, y, SRCCOPY);
  GdiFlush();
  img.width = w;
  img.height = h;
  img.px.resize(static_cast<size_t>(w) * h);
  const auto* src = static_cast<const uint32_t*>(bits);
  for (size_t i = 0; i < img.px.size(); ++i) img.px[i] = src[i] & 0xFFFFFF;
  SelectObject(mem, old);
  DeleteObject(bmp);
  DeleteDC(mem);
  ReleaseDC(nullptr, screen);
  return img;
}

Image CaptureScreen() {
  SIZE s = ScreenSize();
  return CaptureRect(0, 0, s.cx, s.cy);
}

Image ImageFromBitmap(HBITMAP bmp) {
  Image img;
  BITMAP bm{};
  if (!GetObjectW(bmp, sizeof(bm), &bm) || bm.bmWidth <= 0 || bm.bmHeight <= 0) return img;
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
  bi.bmiHeader.biWidth = bm.bmWidth;
  bi.bmiHeader.biHeight = -bm.bmHeight;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  img.width = bm.bmWidth;
  img.height = bm.bmHeight;
  img.px.resize(static_cast<size_t>(img.width) * img.height);
  HDC dc = GetDC(nullptr);
  int got = GetDIBits(dc, bmp, 0, static_cast<UINT>(bm.bmHeight), img.px.data(), &bi, DIB_RGB_COLORS);
  ReleaseDC(nullptr, dc);
  if (got != bm.bmHeight) return Image{};
  for (auto& p : img.px) p &= 0xFFFFFF;
  return img;
}

std::optional<Image> DecodeImageFile(const std::wstring& path) {
  EnsureGdiplus();
  Gdiplus::GpBitmap* bmp = nullptr;
  if (Gdiplus::DllExports::GdipCreateBitmapFromFile(path.c_str(), &bmp) != Gdiplus::Ok || !bmp) return std::nullopt;
  UINT w = 0, h = 0;
  Gdiplus::DllExports::GdipGetImageWidth(bmp, &w);
  Gdiplus::DllExports::GdipGetImageHeight(bmp, &h);
  Image img;
  img.width = static_cast<int>(w);
  img.height = static_cast<int>(h);
  img.px.resize(static_cast<size_t>(w) * h);
  Gdiplus::Rect r(0, 0, static_cast<INT>(w), static_cast<INT>(h));
  Gdiplus::BitmapData data{};
  data.Width = w;
  data.Height = h;
  data.Stride = static_cast<INT>(w * 4);
  data.PixelFormat = PixelFormat32bppARGB;
  data.Scan0 = img.px.data();
  Gdiplus::GpStatus st = Gdiplus::DllExports::GdipBitmapLockBits(
      bmp, &r, Gdiplus::ImageLockModeRead | Gdiplus::ImageLockModeUserInputBuf, PixelFormat32bppARGB, &data);
  if (st == Gdiplus::Ok) Gdiplus::DllExports::GdipBitmapUnlockBits(bmp, &data);
  Gdiplus::DllExports::GdipDisposeImage(bmp);
  if (st != Gdiplus::Ok) return std::nullopt;
  for (auto& p : img.px) p &= 0xFFFFFF;
  return img;
}

bool EncodePng(const Image& img, const std::wstring& path) {
  std::vector<uint32_t> argb(img.px.size());
  for (size_t i = 0; i < argb.size(); ++i) argb[i] = img.px[i] | 0xFF000000u;
  return EncodeArgbPng(img.width, img.height, argb, path);
}

bool EncodeArgbPng(int width, int height, std::vector<uint32_t> argb, const std::wstring& path) {
  EnsureGdiplus();
  CLSID png{};
  if (!EncoderClsid(L"image/png", &png)) return false;
  if (argb.size() != static_cast<size_t>(width) * static_cast<size_t>(height)) return false;
  Gdiplus::GpBitmap* bmp = nullptr;
  if (Gdiplus::DllExports::GdipCreateBitmapFromScan0(width, height, width * 4, PixelFormat32bppARGB,
                                                     reinterpret_cast<BYTE*>(argb.data()), &bmp) != Gdiplus::Ok)
    return false;
  bool ok = Gdiplus::DllExports::GdipSaveImageToFile(bmp, path.c_str(), &png, nullptr) == Gdiplus::Ok;
  Gdiplus::DllExports::GdipDisposeImage(bmp);
  return ok;
}

size_t CountDifferent(const Image& a, const Image& b, int tol) {
  if (a.width != b.width || a.height != b.height) return SIZE_MAX;
  size_t n = 0;
  for (size_t i = 0; i < a.px.size(); ++i)
    if (ColourDistance(a.px[i], b.px[i]) > tol) ++n;
  return n;
}

// ---- clipboard -----------------------------------------------------------------
namespace {
// Another process may hold the clipboard open for a moment: retry.
bool OpenClipboardRetry() {
  return WaitUntil([] { return OpenClipboard(nullptr) != 0; }, 2000, 10);
}
}  // namespace

std::optional<Image> ClipboardImage() {
  if (!OpenClipboardRetry()) return std::nullopt;
  std::optional<Image> out;
  if (HANDLE h = GetClipboardData(CF_BITMAP)) {
    Image img = ImageFromBitmap(static_cast<HBITMAP>(h));
    if (!img.empty()) out = std::move(img);
  }
  CloseClipboard();
  return out;
}

std::optional<std::wstring> ClipboardText() {
  if (!OpenClipboardRetry()) return std::nullopt;
  std::optional<std::wstring> out;
  if (HANDLE h = GetClipboardData(CF_UNICODETEXT)) {
    if (const auto* p = static_cast<const wchar_t*>(GlobalLock(h))) {
      out = std::wstring(p);
      GlobalUnlock(h);
    }
  }
  CloseClipboard();
  return out;
}

bool ClipboardHasBitmap() { return IsClipboardFormatAvailable(CF_BITMAP) != 0; }

bool ClearClipboard() {
  if (!OpenClipboardRetry()) return false;
  bool ok = EmptyClipboard() != 0;
  CloseClipboard();
  return ok;
}

bool SetClipboardText(const std::wstring& text) {
  const size_t bytes = (text.size() + 1) * sizeof(wchar_t);
  HGLOBAL mem = GlobalAlloc(GMEM_MOVEABLE, bytes);
  if (!mem) return false;
  if (void* p = GlobalLock(mem)) {
    memcpy(p, text.c_str(), bytes);
    GlobalUnlock(mem);
  }
  if (!OpenClipboardRetry()) {
    GlobalFree(mem);
    return false;
  }
  EmptyClipboard();
  const bool ok = SetClipboardData(CF_UNICODETEXT, mem) != nullptr;
  CloseClipboard();
  if (!ok) GlobalFree(mem);
  return ok;
}

ClipboardHold::ClipboardHold() : held_(OpenClipboardRetry()) {}

void ClipboardHold::Release() {
  if (held_) CloseClipboard();
  held_ = false;
}

bool SetClipboardImage(const Image& img) {
  HDC screen = GetDC(nullptr);
  HBITMAP bmp = CreateCompatibleBitmap(screen, img.width, img.height);
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
  bi.bmiHeader.biWidth = img.width;
  bi.bmiHeader.biHeight = -img.height;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  SetDIBits(screen, bmp, 0, static_cast<UINT>(img.height), img.px.data(), &bi, DIB_RGB_COLORS);
  ReleaseDC(nullptr, screen);
  if (!OpenClipboardRetry()) {
    DeleteObject(bmp);
    return false;
  }
  EmptyClipboard();
  bool ok = SetClipboardData(CF_BITMAP, bmp) != nullptr;
  CloseClipboard();
  if (!ok) DeleteObject(bmp);
  return ok;
}

// ---- DPI -----------------------------------------------------------------------
ScopedDpi::ScopedDpi(DWORD dpi) {
  DWORD v = 0, size = sizeof(v);
  if (RegGetValueW(HKEY_CURRENT_USER, L"Control Panel\\Desktop", L"LogPixels", RRF_RT_REG_DWORD, nullptr, &v,
                   &size) == ERROR_SUCCESS) {
    previous_ = v;
    had_previous_ = true;
  }
  RegSetKeyValueW(HKEY_CURRENT_USER, L"Control Panel\\Desktop", L"LogPixels", REG_DWORD, &dpi, sizeof(dpi));
}

ScopedDpi::~ScopedDpi() {
  DWORD v = had_previous_ ? previous_ : 96;
  RegSetKeyValueW(HKEY_CURRENT_USER, L"Control Panel\\Desktop", L"LogPixels", REG_DWORD, &v, sizeof(v));
}

}  // namespace e2e
