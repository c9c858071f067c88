// Shared steps of the pin-layer tests: real file drops through X11
// drag-and-drop (the xdnd_drop tool), the layer's pinned images and
// test pictures.
#pragma once
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "harness_win.h"
#include "vardo_support_win.h"

namespace e2e::pins {

// Wine's map from a Windows path to the Unix one; empty on Windows.
inline std::string UnixPath(const std::wstring& path) {
  using Fn = char*(CDECL*)(LPCWSTR);
  auto fn = reinterpret_cast<Fn>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
  if (!fn) return {};
  char* unix = fn(path.c_str());
  if (!unix) return {};
  std::string out = unix;
  HeapFree(GetProcessHeap(), 0, unix);
  return out;
}

// file:// URI with every byte outside the unreserved set percent-encoded,
// so the command line stays ASCII whatever the file is called.
inline std::string FileUri(const std::string& unix_path) {
  std::string uri = "file://";
  for (unsigned char c : unix_path) {
    if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '/' || c == '-' ||
        c == '_' || c == '.' || c == '~') {
      uri += static_cast<char>(c);
    } else {
      char buf[4];
      snprintf(buf, sizeof buf, "%%%02X", c);
      uri += buf;
    }
  }
  return uri;
}

// Drops files on a screen point through XDND, as a file manager would.
class Dropper {
 public:
  explicit Dropper(const TempDir& dir) : dir_(dir) {
    if (FileExists(OutDir() + L"\\tests\\tools\\xdnd_drop")) tool_ = UnixPath(OutDir() + L"\\tests\\tools\\xdnd_drop");
  }
  // Empty when drops cannot be made here (not under Wine, or no tool).
  std::string unavailable() const {
    if (UnixPath(OutDir()).empty()) return "real file drops are driven through X11 (Wine only)";
    if (tool_.empty()) return "xdnd_drop was not built";
    return {};
  }

  // The tool's exit code (0 = the target accepted and finished the drop),
  // or -1.
  int Drop(POINT at, const std::vector<std::wstring>& files) {
    std::wstring result = dir_ / (L"drop-result-" + std::to_wstring(drops_++));
    std::string cmd = "sh -c \"'" + tool_ + "' " + std::to_string(at.x) + " " + std::to_string(at.y);
    for (const auto& f : files) cmd += " '" + FileUri(UnixPath(f)) + "'";
    cmd += " >/dev/null 2>&1; echo $? > '" + UnixPath(result) + "'\"";
    std::wstring wcmd(cmd.begin(), cmd.end());
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    // Wine runs a Unix program directly; it hands back no process handle,
    // so the result comes through a file.
    if (!CreateProcessW(L"Z:\\bin\\sh", wcmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
      return -1;
    if (pi.hProcess) CloseHandle(pi.hProcess);
    if (pi.hThread) CloseHandle(pi.hThread);
    int code = -1;
    WaitUntil(
        [&] {
          auto bytes = ReadFileBytes(result);
          if (bytes.empty() || bytes.back() != '\n') return false;
          code = std::atoi(std::string(bytes.begin(), bytes.end()).c_str());
          return true;
        },
        15000, 50);
    Settle(300);
    return code;
  }

 private:
  const TempDir& dir_;
  std::string tool_;
  int drops_ = 0;
};

// The layer's own children, front to back, listed at one moment: walking
// them with GetWindow stops early when Vardo destroys one meanwhile (a
// removed pin goes a little after it is hidden).
inline std::vector<HWND> LayerChildren(HWND layer) {
  std::vector<HWND> out;
  for (HWND c : ChildWindows(layer, false))
    if (GetAncestor(c, GA_PARENT) == layer) out.push_back(c);
  return out;
}

// The visible pinned images of the layer, front to back.
inline std::vector<HWND> Images(HWND layer) {
  std::vector<HWND> out;
  for (HWND c : LayerChildren(layer))
    if (ClassOf(c) == L"VardoPinnedImage" && IsWindowVisible(c)) out.push_back(c);
  return out;
}

// The caption boxes of the layer (visible or not).
inline std::vector<HWND> Captions(HWND layer) {
  std::vector<HWND> out;
  for (HWND c : LayerChildren(layer))
    if (ClassOf(c) == L"Edit") out.push_back(c);
  return out;
}

inline HWND CaptionWithText(HWND layer, const std::wstring& text) {
  for (HWND c : Captions(layer))
    if (TextOf(c) == text) return c;
  return nullptr;
}

// Starts Vardo with its settings window moved to the top-left corner, off
// the screen's centre where added images appear (Wine stacks the active
// settings window over the layer).
inline vardo::Running StartVardo() {
  vardo::Running v = vardo::Start(vardo::VardoExe());
  if (v.settings) SetWindowPos(v.settings, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  Settle(200);
  return v;
}

// Left half opaque red, right half fully transparent, a blue bar along the
// bottom: on screen the transparent half must be white.
inline std::vector<uint32_t> RedAndClear(int w, int h) {
  std::vector<uint32_t> px(static_cast<size_t>(w) * h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      px[static_cast<size_t>(y) * w + x] = y >= h - 6 ? 0xFF0000FFu : (x < w / 2 ? 0xFFFF0000u : 0x0000FF00u);
  return px;
}

// One opaque colour (0xRRGGBB).
inline std::vector<uint32_t> Solid(int w, int h, uint32_t rgb) {
  return std::vector<uint32_t>(static_cast<size_t>(w) * h, 0xFF000000u | rgb);
}

}  // namespace e2e::pins
