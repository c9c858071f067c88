// The hotkey in Vardo's settings window, driven with real input: keys
// pressed into the entry box, "启用", "保存", "默认热键为Print Screen", a
// combination held by another program, and a system-wide press starting a
// capture. Each test runs a copy of Vardo.exe in a fresh folder, so
// "set.ini" starts absent.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "capture_support_win.h"
#include "harness_win.h"
#include "pin_support_win.h"

namespace e2e {
namespace {

constexpr int kCheckMods = MOD_CONTROL | MOD_ALT;  // the chord used below: Ctrl+Alt+F9
constexpr WORD kCheckKey = VK_F9;

class HotKeySettings : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(CopyFileTo(OutDir() + L"\\Vardo.exe", exe()));
    Start();
  }
  std::wstring exe() const { return dir_ / L"Vardo.exe"; }
  std::wstring ini() const { return dir_ / L"set.ini"; }

  void Start() {
    vardo_ = Process(exe(), L"", dir_.path());
    ASSERT_TRUE(vardo_.started());
    DWORD pid = vardo_.pid();
    layer_ = WaitForWindow(pid, [](HWND w) { return IsWindowVisible(w) && TextOf(w) == L"afterdoch"; }, 10000);
    ASSERT_TRUE(layer_) << "the pin layer did not come up";
    sett_ = WaitForWindow(pid, [](HWND w) { return IsWindowVisible(w) && TextOf(w) == L"Form1"; }, 10000);
    ASSERT_TRUE(sett_) << "the settings window did not appear";
    box_ = FindChildByClass(sett_, L"Edit");
    check_ = FindChildByText(sett_, L"启用");
    ASSERT_TRUE(box_);
    ASSERT_TRUE(check_);
    Settle(300);
  }
  void Restart() {
    vardo_.Kill();
    ASSERT_TRUE(vardo_.WaitExit(5000));
    Start();
  }
  static POINT Centre(HWND w) {
    RECT r = RectOf(w);
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
  }
  // Under Wine a click on the pin layer's see-through area goes to the layer
  // when the window beneath belongs to the same program (on Windows it passes
  // through), so the settings window is lifted above the layer until the
  // point to click is really the settings window's (the layer's topmost
  // keeper lifts the layer again from time to time).
  void LiftSettingsOver(POINT p) {
    for (int i = 0; i < 10; ++i) {
      SetWindowPos(sett_, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
      Settle(50);
      HWND at = WindowFromPoint(p);
      if (at == sett_ || IsChild(sett_, at)) return;
    }
  }
  POINT VisibleCentre(HWND w) {
    POINT c = Centre(w);
    // The check box may reach below the window's edge: use its visible part.
    RECT owner = RectOf(sett_);
    if (c.y >= owner.bottom) c.y = owner.bottom - 3;
    return c;
  }
  void ClickOn(HWND w) {
    POINT c = VisibleCentre(w);
    LiftSettingsOver(c);
    Click(c.x, c.y);
    Settle(150);
  }
  void ClickButton(const wchar_t* caption) {
    HWND b = FindChildByText(sett_, caption);
    ASSERT_TRUE(b) << Utf8(caption);
    ClickOn(b);
  }
  // Presses the modifiers and the key into the box (which has the focus).
  void Press(const std::vector<WORD>& keys) {
    ClickOn(box_);
    Chord(keys);
    Settle(150);
  }
  // The window that has the keyboard focus in Vardo.
  HWND FocusOfVardo() const {
    GUITHREADINFO gti{};
    gti.cbSize = sizeof(gti);
    DWORD tid = GetWindowThreadProcessId(sett_, nullptr);
    return GetGUIThreadInfo(tid, &gti) ? gti.hwndFocus : nullptr;
  }
  bool Ticked() const { return SendMessageW(check_, BM_GETCHECK, 0, 0) == BST_CHECKED; }
  // The keyboard layout's name for a key, as the box shows it.
  static std::wstring KeyName(UINT vk) {
    wchar_t buf[64] = {};
    int n = GetKeyNameTextW(static_cast<LONG>(MapVirtualKeyW(vk, MAPVK_VK_TO_VSC) << 16), buf, 64);
    return std::wstring(buf, n > 0 ? static_cast<size_t>(n) : 0);
  }
  // What another program is told when it tries to take a combination now:
  // kHeld, or kTaken while the combination is registered. Fails the test
  // when that program never says.
  static constexpr const wchar_t* kHeld = L"hotkey holder: held";
  static constexpr const wchar_t* kTaken = L"hotkey holder: refused 1409";  // already registered
  static void ExpectAnotherProgramGets(int mods, int key, const wchar_t* want) {
    Process holder(TestsDir() + L"\\tools\\hotkey_holder.exe", std::to_wstring(mods) + L" " + std::to_wstring(key));
    ASSERT_TRUE(holder.started());
    // The holder's title says how its registration went.
    HWND w = WaitForWindow(holder.pid(), [](HWND h) { return TextOf(h).rfind(L"hotkey holder: ", 0) == 0; });
    ASSERT_TRUE(w) << "the hotkey holder for modifiers " << mods << ", key " << key << " never reported";
    EXPECT_EQ(Utf8(TextOf(w)), Utf8(want)) << "modifiers " << mods << ", key " << key;
  }

  // Waits for Vardo's "错误" message box, returns its text and dismisses it.
  std::wstring TakeErrorBox() {
    HWND dlg = WaitForWindow(vardo_.pid(), [](HWND w) {
      return IsWindowVisible(w) && ClassOf(w) == L"#32770" && TextOf(w) == L"错误";
    });
    if (!dlg) return L"<no message box>";
    std::wstring text;
    for (HWND c : ChildWindows(dlg, false)) {
      std::wstring t = TextOf(c);
      if (_wcsicmp(ClassOf(c).c_str(), L"Static") == 0 && t.size() > text.size()) text = t;
    }
    PostMessageW(dlg, WM_COMMAND, IDOK, 0);
    WaitUntil([&] { return !IsWindow(dlg) || !IsWindowVisible(dlg); });
    Settle(150);
    return text;
  }
  std::string IniText() const {
    auto b = ReadFileBytes(ini());
    return std::string(b.begin(), b.end());
  }
  // The file's text once it is `want` (within 3 s), or as it is then.
  std::string IniOnceItIs(const std::string& want) const {
    std::string seen;
    WaitUntil([&] { return (seen = IniText()) == want; }, 3000);
    return seen;
  }
  // The file's text once it holds `part` (within 3 s), or as it is then.
  std::string IniOnceItHas(const std::string& part) const {
    std::string seen;
    WaitUntil([&] { return (seen = IniText()).find(part) != std::string::npos; }, 3000);
    return seen;
  }
  // The box's text once it is `want` (within 3 s), or as it is then.
  std::string BoxOnceItShows(const std::wstring& want) const {
    std::wstring seen;
    WaitUntil([&] { return (seen = TextOf(box_)) == want; }, 3000);
    return Utf8(seen);
  }

  TempDir dir_{L"hotkey"};
  Process vardo_;
  HWND layer_ = nullptr;
  HWND sett_ = nullptr;
  HWND box_ = nullptr;
  HWND check_ = nullptr;
};

TEST_F(HotKeySettings, PressedKeysShowInTheBoxAndTypedLettersNeverDo) {
  EXPECT_EQ(BoxOnceItShows(L"NULL"), "NULL");
  ClickOn(box_);
  HWND f = FocusOfVardo();
  POINT c = Centre(box_);
  HWND at = WindowFromPoint(c);
  ASSERT_EQ(f, box_) << "the click should focus the box; focus is on " << Utf8(ClassOf(f)) << " '"
                     << Utf8(TextOf(f)) << "'; under the pointer: " << Utf8(ClassOf(at)) << " '" << Utf8(TextOf(at))
                     << "' box at " << c.x << "," << c.y << " cursor " << CursorPos().x << "," << CursorPos().y;
  KeyDown(VK_CONTROL);
  Settle(100);
  EXPECT_EQ(BoxOnceItShows(L"Ctrl + "), "Ctrl + ");
  KeyUp(VK_CONTROL);
  Settle(100);
  EXPECT_EQ(BoxOnceItShows(L"NULL"), "NULL");

  KeyDown(VK_SHIFT);
  KeyDown(VK_CONTROL);
  Tap('K');
  KeyUp(VK_CONTROL);
  KeyUp(VK_SHIFT);
  Settle(100);
  EXPECT_EQ(BoxOnceItShows(L"Ctrl + Shift + K"), "Ctrl + Shift + K");

  // Letters typed one after another: each is the new combination, none is
  // inserted as text.
  Tap('X');
  Tap('Y');
  Settle(100);
  EXPECT_EQ(BoxOnceItShows(L"Y"), "Y");
  TypeText(L"hello");
  Settle(100);
  EXPECT_EQ(TextOf(box_), L"Y");

  // Enter and Esc are main keys like any other, alone or with modifiers
  // (the window's keyboard navigation must not take them); Tab still moves
  // on to the window's next control and leaves the value alone.
  auto shows = [&](const std::wstring& want) { return WaitUntil([&] { return TextOf(box_) == want; }, 2000); };
  Tap(VK_ESCAPE);
  EXPECT_TRUE(shows(KeyName(VK_ESCAPE))) << Utf8(TextOf(box_));
  Chord({VK_SHIFT, VK_ESCAPE});
  EXPECT_TRUE(shows(L"Shift + " + KeyName(VK_ESCAPE))) << Utf8(TextOf(box_));
  Chord({VK_CONTROL, VK_RETURN});
  EXPECT_TRUE(shows(L"Ctrl + " + KeyName(VK_RETURN))) << Utf8(TextOf(box_));
  ASSERT_EQ(FocusOfVardo(), box_);
  Tap(VK_TAB);
  EXPECT_TRUE(WaitUntil([&] { return FocusOfVardo() != box_; }, 2000)) << "Tab should leave the box";
  EXPECT_EQ(TextOf(box_), L"Ctrl + " + KeyName(VK_RETURN));
  ClickButton(L"保存");
  const std::string text = IniOnceItHas("\r\nHotKey1KeyCode=13\r\nHotKey1ModKeyCode=2\r\n");
  EXPECT_NE(text.find("\r\nHotKey1KeyCode=13\r\nHotKey1ModKeyCode=2\r\n"), std::string::npos) << text;
}

TEST_F(HotKeySettings, BoxTakesKeysAt144Dpi) {
  ScopedDpi dpi(144);
  Restart();
  RECT r = RectOf(box_);
  ASSERT_GE(r.bottom - r.top, 36) << "the window should be laid out for 144 DPI";
  Press({VK_CONTROL, VK_MENU, 'P'});
  EXPECT_EQ(BoxOnceItShows(L"Ctrl + Alt + P"), "Ctrl + Alt + P");
}

TEST_F(HotKeySettings, RightClickOnTheBoxShowsNoMenu) {
  ClickOn(box_);
  POINT c = VisibleCentre(box_);
  LiftSettingsOver(c);
  RightClick(c.x, c.y);
  auto menu_open = [&] {
    for (HWND w : TopWindows(vardo_.pid())) {
      if (ClassOf(w) == L"#32768") return true;
    }
    return false;
  };
  // Keys pressed after the click reach the box once the click has been
  // handled; a menu it opened would take them instead.
  Chord({VK_CONTROL, VK_SHIFT, 'K'});
  bool menu = false;
  const bool typed = WaitUntil([&] {
    menu = menu || menu_open();
    return TextOf(box_) == L"Ctrl + Shift + K";
  }, 3000);
  menu = menu || menu_open();
  if (menu) Tap(VK_ESCAPE);
  EXPECT_FALSE(menu) << "a menu opened";
  EXPECT_TRUE(typed) << "keys after the click did not reach the box; it shows " << Utf8(TextOf(box_));
}

TEST_F(HotKeySettings, EnablingAnEmptyBoxAsksForAHotKeyAndStaysUnticked) {
  ClickOn(check_);
  EXPECT_EQ(TakeErrorBox(), L"请设置热键");
  EXPECT_TRUE(WaitUntil([&] { return !Ticked(); }, 2000));
  EXPECT_EQ(TextOf(box_), L"NULL");
}

TEST_F(HotKeySettings, CombinationHeldByAnotherProgramIsReportedAndCleared) {
  Press({VK_CONTROL, VK_MENU, kCheckKey});
  ASSERT_TRUE(WaitUntil([&] { return TextOf(box_).rfind(L"Ctrl + Alt + ", 0) == 0; }, 3000)) << Utf8(TextOf(box_));
  Process holder(TestsDir() + L"\\tools\\hotkey_holder.exe",
                 std::to_wstring(kCheckMods) + L" " + std::to_wstring(kCheckKey));
  ASSERT_TRUE(WaitForTitle(holder.pid(), L"hotkey holder: held"));

  ClickOn(check_);
  EXPECT_EQ(TakeErrorBox(), L"热键正在使用");
  EXPECT_TRUE(WaitUntil([&] { return !Ticked(); }, 2000));
  EXPECT_EQ(BoxOnceItShows(L"NULL"), "NULL");
}

TEST_F(HotKeySettings, SystemWidePressOfTheEnabledHotKeyStartsACapture) {
  Press({VK_CONTROL, VK_MENU, kCheckKey});
  ClickOn(check_);
  ASSERT_TRUE(WaitUntil([&] { return Ticked(); }, 2000)) << "registration refused";

  SIZE screen = ScreenSize();
  auto full_screen = [&](HWND w) {
    RECT r = RectOf(w);
    return r.left <= 0 && r.top <= 0 && r.right >= screen.cx && r.bottom >= screen.cy;
  };
  std::set<HWND> before;
  for (HWND w : TopWindows(vardo_.pid())) before.insert(w);
  ASSERT_TRUE(IsWindowVisible(layer_));
  // Another program's window that closes when it loses the foreground, as
  // an open menu does, is up when the hotkey is pressed.
  Target menu(1300, 650, 400, 250, true);
  ASSERT_TRUE(menu.hwnd());
  ASSERT_TRUE(WaitUntil([&] { return GetForegroundWindow() == menu.hwnd(); }, 3000));
  Settle(200);

  // Focus is on a Wine window, so the press reaches the system.
  Chord({VK_CONTROL, VK_MENU, kCheckKey});
  HWND overlay = WaitForWindow(vardo_.pid(), [&](HWND w) {
    return IsWindowVisible(w) && !before.count(w) && full_screen(w);
  }, 5000);
  ASSERT_TRUE(overlay) << "no capture overlay appeared";
  EXPECT_FALSE(IsWindowVisible(layer_)) << "the capture hides the pin layer";
  // The menu closed as the overlay took the foreground, but it is in the
  // frozen picture and the overlay outlines it under the cursor (4 px wide,
  // 2 px outside it).
  EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(menu.hwnd()); }, 3000));
  MoveTo(1500, 775);
  EXPECT_TRUE(WaitUntil([&] { return CaptureRect(1298, 775, 1, 1).at(0, 0) == Highlight(); }, 3000));
  const Image shot = CaptureRect(1296, 775, 8, 1);
  for (int x = 2; x < 6; ++x) EXPECT_EQ(shot.at(x, 0), Highlight()) << x;
  EXPECT_NE(shot.at(6, 0), Highlight());
  EXPECT_EQ(CaptureRect(1500, 775, 1, 1).at(0, 0), kTargetColour) << "the menu is frozen, undimmed";
}

TEST_F(HotKeySettings, WhileThePinLayerIsTranslucentTheHotKeyOnlyRestoresIt) {
  pins::Dropper dropper(dir_);
  if (std::string why = dropper.unavailable(); !why.empty()) GTEST_SKIP() << why;
  Press({VK_CONTROL, VK_MENU, kCheckKey});
  ClickOn(check_);
  ASSERT_TRUE(WaitUntil([&] { return Ticked(); }, 2000)) << "registration refused";
  // Settings out of the way; a pin in the middle of the screen.
  SetWindowPos(sett_, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE);
  std::optional<RECT> handle;
  ASSERT_TRUE(WaitUntil([&] { return (handle = vardo::HandleNearTopRight()).has_value(); }, 3000));
  ASSERT_TRUE(EncodeArgbPng(80, 80, pins::Solid(80, 80, 0x0000FF), dir_ / L"pin.png"));
  ASSERT_EQ(dropper.Drop(vardo::Centre(*handle), {dir_ / L"pin.png"}), 0);
  ASSERT_TRUE(WaitUntil([&] { return pins::Images(layer_).size() == 1; }, 3000));
  // Its menu's "透明度" > "50%".
  SIZE s = ScreenSize();
  RightClick(s.cx / 2, s.cy / 2);
  ASSERT_TRUE(WaitUntil([&] { return vardo::VisiblePopupMenu(vardo_.pid()) != nullptr; }, 3000));
  Settle(100);
  for (WORD k : {VK_DOWN, VK_DOWN, VK_DOWN, VK_DOWN, VK_RIGHT, VK_RETURN}) {
    Tap(k);
    Sleep(60);
  }
  COLORREF key = 0;
  BYTE alpha = 0;
  DWORD flags = 0;
  ASSERT_TRUE(WaitUntil([&] { return GetLayeredWindowAttributes(layer_, &key, &alpha, &flags) && flags == LWA_ALPHA; },
                        2000));
  EXPECT_EQ(alpha, 200);

  // The first press only brings normal mode back ...
  Chord({VK_CONTROL, VK_MENU, kCheckKey});
  EXPECT_TRUE(WaitUntil([&] { return GetLayeredWindowAttributes(layer_, &key, &alpha, &flags) && flags == LWA_COLORKEY; },
                        2000));
  EXPECT_EQ(key, static_cast<COLORREF>(RGB(64, 0, 64)));
  Settle(2000);  // long enough for a capture it might start
  EXPECT_TRUE(IsWindowVisible(layer_));
  EXPECT_EQ(FindWindowW(L"VardoScrShot", nullptr) && IsWindowVisible(FindWindowW(L"VardoScrShot", nullptr)), false);
  // ... the next one starts a capture.
  Chord({VK_CONTROL, VK_MENU, kCheckKey});
  EXPECT_TRUE(WaitUntil([] {
    HWND o = FindWindowW(L"VardoScrShot", nullptr);
    return o && IsWindowVisible(o);
  }, 5000));
  EXPECT_FALSE(IsWindowVisible(layer_));
}

TEST_F(HotKeySettings, SavedAndDefaultHotKeysAreWhatTheNextStartShows) {
  Press({VK_CONTROL, VK_SHIFT, 'K'});
  ASSERT_EQ(BoxOnceItShows(L"Ctrl + Shift + K"), "Ctrl + Shift + K");
  ClickButton(L"保存");
  const std::string saved =
      "[hotkey]\r\nHotKey1Text=Ctrl + Shift + K\r\nHotKey1KeyCode=75\r\nHotKey1ModKeyCode=6\r\n"
      "[check]\r\nchecka=0\r\n";
  EXPECT_EQ(IniOnceItIs(saved), saved);

  Restart();
  EXPECT_EQ(BoxOnceItShows(L"Ctrl + Shift + K"), "Ctrl + Shift + K");
  EXPECT_FALSE(Ticked());

  ClickButton(L"默认热键为Print Screen");
  const std::string defaults =
      "[hotkey]\r\nHotKey1Text=Print Screen\r\nHotKey1KeyCode=44\r\nHotKey1ModKeyCode=0\r\n"
      "[check]\r\nchecka=0\r\n";
  EXPECT_EQ(IniOnceItIs(defaults), defaults);
  EXPECT_EQ(TextOf(box_), L"Ctrl + Shift + K") << "the box keeps its value until the next start";

  Restart();
  EXPECT_EQ(BoxOnceItShows(L"Print Screen"), "Print Screen");

  // Where the file cannot be written (here a folder has its name), both
  // buttons say so.
  vardo_.Kill();
  ASSERT_TRUE(vardo_.WaitExit(5000));
  ASSERT_TRUE(DeleteFileW(ini().c_str()));
  ASSERT_TRUE(CreateDirectoryW(ini().c_str(), nullptr));
  Start();
  Press({VK_CONTROL, VK_SHIFT, 'K'});
  for (const wchar_t* button : {L"保存", L"默认热键为Print Screen"}) {
    SCOPED_TRACE(Utf8(button));
    ClickButton(button);
    EXPECT_NE(TakeErrorBox().find(L"set.ini"), std::wstring::npos);
  }
  EXPECT_TRUE(vardo_.Running());
  RemoveDirectoryW(ini().c_str());
}

TEST_F(HotKeySettings, StoredCodesAreRegisteredAsStored) {
  // A hand-written value with MOD_NOREPEAT (0x4000) among the modifier flags
  // is registered as the Ctrl+Shift+A it shows, not as a plain A that would
  // take every A typed anywhere.
  const std::string stored =
      "[hotkey]\r\nHotKey1Text=Ctrl + Shift + A\r\nHotKey1KeyCode=65\r\nHotKey1ModKeyCode=16390\r\n";
  ASSERT_TRUE(WriteFileBytes(ini(), std::vector<uint8_t>(stored.begin(), stored.end())));
  Restart();
  ASSERT_EQ(BoxOnceItShows(L"Ctrl + Shift + A"), "Ctrl + Shift + A");
  ClickOn(check_);
  ASSERT_TRUE(WaitUntil([&] { return Ticked(); }, 2000)) << "registration refused";
  ASSERT_NO_FATAL_FAILURE(ExpectAnotherProgramGets(MOD_CONTROL | MOD_SHIFT, 'A', kTaken));
  ASSERT_NO_FATAL_FAILURE(ExpectAnotherProgramGets(0, 'A', kHeld));
  ClickButton(L"保存");
  const std::string text = IniOnceItHas("HotKey1ModKeyCode=16390\r\n");
  EXPECT_NE(text.find("HotKey1ModKeyCode=16390\r\n"), std::string::npos) << text;

  // A new combination typed into the box leaves it unregistered, and the
  // box says so.
  ASSERT_TRUE(Ticked());
  Press({VK_CONTROL, VK_SHIFT, 'B'});
  EXPECT_EQ(BoxOnceItShows(L"Ctrl + Shift + B"), "Ctrl + Shift + B");
  EXPECT_TRUE(WaitUntil([&] { return !Ticked(); }, 2000)) << "still ticked with nothing registered";
  ASSERT_NO_FATAL_FAILURE(ExpectAnotherProgramGets(MOD_CONTROL | MOD_SHIFT, 'A', kHeld));

  // Enabled again, then Shift+Tab out of the box: the Shift went down in
  // the box but its release reaches the next control. The box does not
  // keep a half value, and the tick goes with the registration.
  ClickOn(check_);
  ASSERT_TRUE(WaitUntil([&] { return Ticked(); }, 2000)) << "registration refused";
  ClickOn(box_);
  ASSERT_EQ(FocusOfVardo(), box_);
  KeyDown(VK_SHIFT);
  Tap(VK_TAB);
  ASSERT_TRUE(WaitUntil([&] { return FocusOfVardo() != box_; }, 2000)) << "Shift+Tab should leave the box";
  KeyUp(VK_SHIFT);
  EXPECT_TRUE(WaitUntil([&] { return TextOf(box_) == L"NULL"; }, 2000)) << Utf8(TextOf(box_));
  EXPECT_TRUE(WaitUntil([&] { return !Ticked(); }, 2000)) << "still ticked with nothing registered";
  ASSERT_NO_FATAL_FAILURE(ExpectAnotherProgramGets(MOD_CONTROL | MOD_SHIFT, 'B', kHeld));
}

TEST_F(HotKeySettings, SavingWhileEnabledRecordsTheTickButTheNextStartIsUnticked) {
  Press({VK_CONTROL, VK_MENU, kCheckKey});
  ClickOn(check_);
  ASSERT_TRUE(WaitUntil([&] { return Ticked(); }, 2000)) << "registration refused";
  ClickButton(L"保存");
  const std::string text = IniOnceItHas("[check]\r\nchecka=1\r\n");
  EXPECT_NE(text.find("[check]\r\nchecka=1\r\n"), std::string::npos) << text;

  Restart();
  EXPECT_FALSE(Ticked());
  // Not registered at start: another program can take the chord.
  Process holder(TestsDir() + L"\\tools\\hotkey_holder.exe",
                 std::to_wstring(kCheckMods) + L" " + std::to_wstring(kCheckKey));
  EXPECT_TRUE(WaitForTitle(holder.pid(), L"hotkey holder: held"));
}

TEST_F(HotKeySettings, KeyboardToggleOfTheBoxChangesOnlyTheTick) {
  Press({VK_CONTROL, VK_MENU, kCheckKey});
  ClickOn(check_);
  ASSERT_TRUE(WaitUntil([&] { return Ticked(); }, 2000));
  // Space on the box (focused by the click) clears the tick; the hotkey stays
  // registered.
  Tap(VK_SPACE);
  ASSERT_TRUE(WaitUntil([&] { return !Ticked(); }, 2000));
  Process holder(TestsDir() + L"\\tools\\hotkey_holder.exe",
                 std::to_wstring(kCheckMods) + L" " + std::to_wstring(kCheckKey));
  EXPECT_TRUE(WaitForTitle(holder.pid(), L"hotkey holder: refused 1409"));
}

}  // namespace
}  // namespace e2e
