// Under load, with real input: many captures pinned one after another and
// then every pin removed, and many rounds of kestil's "开始", a callout and
// "关闭", each leave the program's GDI objects, resident memory and windows
// where they were after warming up. Every cycle is checked step by step.
// VARDO_SOAK_CYCLES sets the number of cycles (scripts/soak.sh runs 200).
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "capture_support_win.h"
#include "kestil_support_win.h"
#include "pin_support_win.h"
#include "soak_support_win.h"

namespace e2e {
namespace {

constexpr int kWarmUpCycles = 2;
constexpr int kWarmUpPins = 25;
constexpr long kGdiTolerance = 20;
// The GDI objects a run may keep: at most 20, and fewer than the cycles it
// ran, so that one object kept by each cycle fails even a short run.
long GdiToleranceFor(int cycles) { return cycles - 1 < kGdiTolerance ? cycles - 1 : kGdiTolerance; }
constexpr int64_t kResidentTolerance = 2 * 1024 * 1024;

void Print(const std::string& line) {
  printf("[soak] %s\n", line.c_str());
  fflush(stdout);
}

// Whether the GDI count of a process follows objects it makes: read for
// this process while it holds 40 extra brushes and after it freed them.
void ExpectGdiCountFollowsObjects() {
  soak::Observer self(GetCurrentProcessId());
  ASSERT_TRUE(self.ok());
  const long before = self.Read().gdi.objects;
  ASSERT_GE(before, 0) << "the GDI objects of a process cannot be read";
  std::vector<HBRUSH> brushes;
  for (int i = 0; i < 40; ++i) brushes.push_back(CreateSolidBrush(RGB(i, 2, 3)));
  const long holding = self.Read().gdi.objects;
  for (HBRUSH b : brushes) DeleteObject(b);
  const long after = self.Read().gdi.objects;
  ASSERT_EQ(holding - before, 40) << "the GDI count does not see new objects";
  ASSERT_EQ(after, before) << "the GDI count does not see freed objects";
}

// Failed cycles, each reported as a test failure with its number.
class Failures {
 public:
  explicit Failures(const char* what) : what_(what) {}
  void Add(int cycle, const std::string& why) {
    ADD_FAILURE() << what_ << " " << cycle << ": " << why;
    Print(std::string(what_) + " " + std::to_string(cycle) + " failed: " + why);
    cycles_.push_back(cycle);
  }
  size_t count() const { return cycles_.size(); }
  std::string List() const {
    if (cycles_.empty()) return "none";
    std::string s;
    for (int c : cycles_) s += (s.empty() ? "" : ", ") + std::to_string(c);
    return s;
  }

 private:
  const char* what_;
  std::vector<int> cycles_;
};

void Report(const char* program, int cycles, int warm_up, ULONGLONG ms, const soak::Reading& r0,
            const soak::Reading& r1, DWORD gui_resources, const Failures& failed) {
  char line[512];
  snprintf(line, sizeof line, "%s: %d cycles in %.1f s after %d warm-up cycles", program, cycles, ms / 1000.0,
           warm_up);
  Print(line);
  snprintf(line, sizeof line, "%s: GDI objects (%s; GetGuiResources gives %lu): %ld -> %ld (%+ld)", program,
           r1.gdi.source, gui_resources, r0.gdi.objects, r1.gdi.objects, r1.gdi.objects - r0.gdi.objects);
  Print(line);
  std::string types;
  for (const auto& [type, n] : r1.gdi.by_type) {
    const auto was = r0.gdi.by_type.find(type);
    const long n0 = was == r0.gdi.by_type.end() ? 0 : was->second;
    if (n != n0) types += " type " + std::to_string(type) + ": " + std::to_string(n0) + " -> " + std::to_string(n) + ";";
  }
  for (const auto& [type, n0] : r0.gdi.by_type)
    if (!r1.gdi.by_type.count(type)) types += " type " + std::to_string(type) + ": " + std::to_string(n0) + " -> 0;";
  if (!types.empty()) Print(std::string(program) + ": GDI objects that changed, by type:" + types);
  Print(std::string(program) + ": resident memory (working set): " + soak::Mb(r0.resident) + " -> " +
        soak::Mb(r1.resident) + " (" + (r1.resident >= r0.resident ? "+" : "-") +
        soak::Mb(r1.resident >= r0.resident ? r1.resident - r0.resident : r0.resident - r1.resident) + ")");
  Print(std::string(program) + ": windows: " + std::to_string(r0.windows) + " -> " + std::to_string(r1.windows));
  Print(std::string(program) + ": failed cycles: " + failed.List());
}

void ExpectBackToStart(int cycles, const soak::Reading& r0, const soak::Reading& r1) {
  ASSERT_GE(r0.gdi.objects, 0);
  ASSERT_GE(r1.gdi.objects, 0);
  ASSERT_GT(r0.resident, 0);
  EXPECT_LE(r1.gdi.objects - r0.gdi.objects, GdiToleranceFor(cycles))
      << "GDI objects kept in " << cycles << " cycles: " << r0.gdi.objects << " -> " << r1.gdi.objects;
  EXPECT_LE(r1.resident - r0.resident, kResidentTolerance) << "resident memory kept. " << soak::HugePagesNote();
  EXPECT_EQ(r1.windows, r0.windows) << "windows kept";
}

// ---- Vardo: capture, drag a rectangle, pin; then every pin removed -------------

class VardoSoak : public CaptureOverlay {
 protected:
  // A kept picture of this size (300 KB) in every cycle shows in the
  // resident memory of even the short run.
  static constexpr Sel kSel{300, 250, 320, 240};
  static constexpr const wchar_t* kSize = L"320 × 240";
  static constexpr int kPinLeft = (1920 - kSel.width) / 2, kPinTop = (1080 - kSel.height) / 2;

  // One capture from the handle's menu, a rectangle dragged out and
  // pinned; empty when every step did what it should.
  std::string Cycle() {
    const size_t pins = pins::Images(layer_).size();
    const int index = std::stoi(next_index_);
    const HWND overlay = OpenOverlay();
    if (!overlay) return "the overlay did not appear";
    DragSlowly(kSel.left, kSel.top, kSel.left + kSel.width, kSel.top + kSel.height);
    if (!WaitUntil([&] { return Toolbar() && IsWindowVisible(Toolbar()); }, 3000))
      return "no toolbar after the drag";
    if (Readout(0) != kSize) return "the selection is " + Utf8(Readout(0));
    if (!ClickTool(L"贴图到屏幕")) return "no pin button";
    if (!WaitUntil([&] { return !IsWindow(overlay) && IsWindowVisible(layer_); }, 5000))
      return "the overlay did not close";
    std::vector<HWND> images;
    if (!WaitUntil([&] { return (images = pins::Images(layer_)).size() == pins + 1; }, 3000))
      return "pins: " + std::to_string(images.size()) + " instead of " + std::to_string(pins + 1);
    const RECT r = RectOf(images[0]);
    if (r.left != kPinLeft || r.top != kPinTop || r.right - r.left != kSel.width || r.bottom - r.top != kSel.height)
      return "the new pin is not centred at the selection's size";
    if (!pins::CaptionWithText(layer_, std::to_wstring(index) + L"#")) return "no caption " + std::to_string(index) + "#";
    if (!WaitUntil([&] { return CountDifferent(CaptureRect(kPinLeft, kPinTop, kSel.width, kSel.height), want_) == 0; },
                   3000))
      return "the pin does not show the selected pixels";
    next_index_ = std::to_string(index + 1);
    return {};
  }

  // Removes the front pin with its menu's "删除".
  std::string RemoveFrontPin() {
    const size_t pins = pins::Images(layer_).size();
    if (pins == 0) return "no pin left";
    const POINT at{kPinLeft + kSel.width / 2, kPinTop + kSel.height / 2};
    RightClickAt(at);
    HWND menu = nullptr;
    if (!WaitUntil([&] { return (menu = vardo::VisiblePopupMenu(vardo_.pid())) != nullptr; }, 3000))
      return "no image menu";
    // The image menu opens at the pointer; any other menu is not chosen from.
    const RECT m = RectOf(menu);
    if (std::abs(m.left - at.x) > 4 || std::abs(m.top - at.y) > 4) {
      Tap(VK_ESCAPE);
      return "a menu opened at " + std::to_string(m.left) + "," + std::to_string(m.top);
    }
    Settle(50);
    Tap(VK_DOWN);
    Settle(30);
    Tap(VK_RETURN);
    if (!WaitUntil([&] { return pins::Images(layer_).size() == pins - 1; }, 3000)) return "the pin stayed";
    return {};
  }

  // A right click whose press carries its own position: under Wine a late
  // pointer event can move the cursor between a move and a press.
  static void RightClickAt(POINT p) {
    const SIZE s = ScreenSize();
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dx = static_cast<LONG>(((2LL * p.x + 1) * 65536) / (2LL * s.cx));
    in.mi.dy = static_cast<LONG>(((2LL * p.y + 1) * 65536) / (2LL * s.cy));
    in.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_RIGHTDOWN;
    SendInput(1, &in, sizeof in);
    ::Sleep(20);
    in.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_RIGHTUP;
    SendInput(1, &in, sizeof in);
  }

  // After a failed step: no menu, no overlay, as at the start of a cycle.
  void Recover() {
    Tap(VK_ESCAPE);
    Settle(200);
    if (HWND o = Overlay()) {
      if (!Toolbar() || !IsWindowVisible(Toolbar())) DragSlowly(kSel.left, kSel.top, kSel.left + 50, kSel.top + 50);
      ClickTool(L"退出");
      WaitUntil([&] { return !IsWindow(o); }, 3000);
    }
    Settle(300);
  }

  Image want_;
  std::string next_index_ = "1";
};

TEST_F(VardoSoak, CapturesPinnedAndRemovedLeaveNoGdiObjectsMemoryOrWindowsBehind) {
  ExpectGdiCountFollowsObjects();
  if (HasFatalFailure()) return;
  soak::Observer vardo(vardo_.pid());
  ASSERT_TRUE(vardo.ok());
  want_ = CaptureRect(kSel.left, kSel.top, kSel.width, kSel.height);
  // Fewer cycles than kestil's: each takes twice as long.
  const int cycles = soak::Cycles(15);
  // Warm up: the first captures start GDI+, load fonts and fill caches.
  // Wine keeps a cache of window DCs (three GDI objects an entry) that
  // grows, up to a bound, once more than about 15 pins are painted at once,
  // and keeps its entries after the windows go; a run that holds that many
  // pins fills it first, so that only what the cycles keep is counted.
  const int warm_up = cycles > kWarmUpPins ? kWarmUpPins : kWarmUpCycles;
  for (int k = 1; k <= warm_up; ++k) {
    const std::string why = Cycle();
    ASSERT_TRUE(why.empty()) << "warm-up cycle " << k << ": " << why;
  }
  for (int k = 1; k <= warm_up; ++k) {
    const std::string why = RemoveFrontPin();
    ASSERT_TRUE(why.empty()) << "warm-up removal " << k << ": " << why;
  }
  Settle(300);
  const soak::Reading r0 = vardo.Read();

  Failures failed("cycle");
  const ULONGLONG t0 = GetTickCount64();
  for (int k = 1; k <= cycles && failed.count() < 5; ++k) {
    const std::string why = Cycle();
    if (!why.empty()) {
      failed.Add(k, why);
      Recover();
    }
  }
  const size_t made = pins::Images(layer_).size();
  EXPECT_EQ(made, static_cast<size_t>(cycles) - failed.count());
  Print("Vardo: GDI objects with " + std::to_string(made) + " pins: " + std::to_string(vardo.Read().gdi.objects));
  Failures unremoved("removal");
  for (size_t k = 1; k <= made && unremoved.count() < 5; ++k) {
    const std::string why = RemoveFrontPin();
    if (!why.empty()) {
      unremoved.Add(static_cast<int>(k), why);
      Recover();
    }
  }
  EXPECT_TRUE(pins::Images(layer_).empty());
  WaitUntil([&] { return soak::WindowCount(vardo_.pid()) <= r0.windows; }, 3000);
  Settle(300);
  const soak::Reading r1 = vardo.Read();
  const ULONGLONG took = GetTickCount64() - t0;
  Report("Vardo", cycles, warm_up, took, r0, r1, vardo.gui_resources(), failed);
  Print("Vardo: failed removals: " + unremoved.List());
  ExpectBackToStart(cycles, r0, r1);
}

// ---- kestil: "开始" from the notification area, a callout, "关闭" ----------------

bool TrayShowsAnIcon() {
  HWND tray = kestil::WineTray();
  if (!tray || !IsWindowVisible(tray)) return false;
  const Image area = CaptureRect(4, 24, 16, 16);
  for (uint32_t px : area.px)
    if (px != area.px[0]) return true;
  return false;
}

class KestilSoak : public ::testing::Test {
 protected:
  void SetUp() override {
    ClearClipboard();
    MoveTo(900, 240);
  }

  // From the notification area: "开始", a callout dragged from the
  // (10, 0, 255) block to the right, "关闭". Empty when every step did what
  // it should.
  std::string Cycle(kestil::Picker& p) {
    if (!WaitUntil(TrayShowsAnIcon, 3000)) return "no icon in the notification area";
    const POINT icon = kestil::TrayIconPoint();
    Click(icon.x, icon.y);
    if (!WaitUntil(MenuOpen, 3000)) return "the icon's menu did not open";
    kestil::ChooseMenuItem(0);  // "开始"
    const HWND picker = kestil::FindPicker(p.process.pid(), 5000);
    if (!picker) return "the picker did not appear";
    if (!kestil::PointAt(picker, 900, 240, L"HEX: #FFFFFF", 5000)) return "the readout does not follow the pointer";
    if (kestil::ScreenPixel(1611, 177) == kLabel) return "a label is there before the callout";
    // Press on the block, move right and a little down; once the direction
    // tick has seen the pointer, moves lay the callout out.
    MoveTo(1400, 150);
    Sleep(30);
    LeftDown();
    Sleep(30);
    MoveTo(1500, 170);
    const bool laid_out = WaitUntil([] {
      MoveTo(1599, 180);
      Sleep(10);
      MoveTo(1600, 180);
      Sleep(40);
      return kestil::ScreenPixel(1611, 177) == kLabel;
    }, 3000, 1);
    LeftUp();
    if (!laid_out) return "the callout's label did not appear";
    Sleep(100);
    if (kestil::ScreenPixel(1604, 180) != Rgb(10, 0, 255)) return "the swatch does not show the picked colour";
    if (kestil::ScreenPixel(1420, 170) != Rgb(255, 0, 0)) return "no leader line";
    if (kestil::ScreenPixel(1611, 177) != kLabel) return "the label went away on release";
    const HWND close = FindChildByText(picker, L"关闭");
    if (!close) return "no 关闭";
    const RECT c = RectOf(close);
    Click((c.left + c.right) / 2, (c.top + c.bottom) / 2);
    if (!WaitUntil([&] { return !IsWindow(picker); }, 3000)) return "the picker did not close";
    if (!p.process.Running()) return "kestil ended";
    MoveTo(900, 240);
    return {};
  }

  void Recover(kestil::Picker& p) {
    LeftUp();
    Tap(VK_ESCAPE);
    Sleep(200);
    if (HWND picker = kestil::FindPicker(p.process.pid(), 100)) {
      if (HWND close = FindChildByText(picker, L"关闭")) {
        const RECT c = RectOf(close);
        Click((c.left + c.right) / 2, (c.top + c.bottom) / 2);
        WaitUntil([&] { return !IsWindow(picker); }, 3000);
      }
    }
    Sleep(300);
  }

  static constexpr uint32_t kLabel = 0xC0FFC0;
};

TEST_F(KestilSoak, StartCalloutCloseCyclesLeaveNoGdiObjectsMemoryOrWindowsBehind) {
  ExpectGdiCountFollowsObjects();
  if (HasFatalFailure()) return;
  kestil::Picker p;
  ASSERT_TRUE(p.window);
  soak::Observer observer(p.process.pid());
  ASSERT_TRUE(observer.ok());
  // The picker of the start goes to the notification area first.
  const HWND close = FindChildByText(p.window, L"关闭");
  ASSERT_TRUE(close);
  const RECT c = RectOf(close);
  Click((c.left + c.right) / 2, (c.top + c.bottom) / 2);
  ASSERT_TRUE(WaitUntil([&] { return !IsWindow(p.window); }, 3000));
  MoveTo(900, 240);
  const int cycles = soak::Cycles();

  for (int k = 1; k <= kWarmUpCycles; ++k) {
    const std::string why = Cycle(p);
    ASSERT_TRUE(why.empty()) << "warm-up cycle " << k << ": " << why;
  }
  Sleep(300);
  const soak::Reading r0 = observer.Read();

  Failures failed("cycle");
  const ULONGLONG t0 = GetTickCount64();
  for (int k = 1; k <= cycles && failed.count() < 5; ++k) {
    const std::string why = Cycle(p);
    if (!why.empty()) {
      failed.Add(k, why);
      Recover(p);
    }
  }
  Sleep(300);
  const soak::Reading r1 = observer.Read();
  const ULONGLONG took = GetTickCount64() - t0;
  Report("kestil", cycles, kWarmUpCycles, took, r0, r1, observer.gui_resources(), failed);
  ExpectBackToStart(cycles, r0, r1);
}

}  // namespace
}  // namespace e2e
