// The hotkey entry control in a real window: key capture in its box,
// registration with the system, hotkey delivery and the stored value.
#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "common/dpi_win.h"
#include "common/process_win.h"
#include "hotkey/hotkey_control_win.h"
#include "hotkey/settings_store_win.h"
#include "hotkey_test_util_win.h"

namespace vardo::hotkey {
namespace {

using hotkey_test::BoxText;
using hotkey_test::Down;
using hotkey_test::ErrorBoxWatcher;
using hotkey_test::Pump;
using hotkey_test::Up;

// A chord nothing else uses.
constexpr int kChordMods = MOD_CONTROL | MOD_ALT;
constexpr int kChordKey = VK_F9;

class HotKeyControl : public ::testing::Test {
 protected:
  void SetUp() override {
    ini_name_ = L"hotkey_control_test_" + std::to_wstring(GetCurrentProcessId()) + L".ini";
    ini_path_ = JoinPath(ProgramFolder(), ini_name_);
    DeleteFileW(ini_path_.c_str());
    host_ = hotkey_test::MakeHost();
    ASSERT_TRUE(host_);
  }
  void TearDown() override {
    control_.reset();
    if (host_) DestroyWindow(host_);
    hotkey_test::HoldKeys({});
    DeleteFileW(ini_path_.c_str());
  }
  HotKey& Make(const wchar_t* name = L"HotKey1") {
    HotKeyStoreOptions o;
    o.ini_file_name = ini_name_;
    control_ = std::make_unique<HotKey>(name, o);
    EXPECT_TRUE(control_->Create(host_, 10, 10, 150, 22));
    return *control_;
  }
  void EnterChord(HotKey& c) {
    Down(c.txtHotKey(), VK_CONTROL, {VK_CONTROL});
    Down(c.txtHotKey(), VK_MENU, {VK_CONTROL, VK_MENU});
    Down(c.txtHotKey(), kChordKey, {VK_CONTROL, VK_MENU});
    hotkey_test::HoldKeys({});
    ASSERT_EQ(c.KeyCode(), kChordKey);
    ASSERT_EQ(c.ModKeyCode(), kChordMods);
  }

  std::wstring ini_name_, ini_path_;
  HWND host_ = nullptr;
  std::unique_ptr<HotKey> control_;
};

// A second window, standing in for another program holding a chord.
struct ChordHolder {
  HWND wnd = hotkey_test::MakeHost();
  ~ChordHolder() { DestroyWindow(wnd); }
  bool Hold(int mods, int vk) { return RegisterHotKey(wnd, 7, static_cast<UINT>(mods), static_cast<UINT>(vk)); }
  void Release() { UnregisterHotKey(wnd, 7); }
};

TEST_F(HotKeyControl, PressedKeysShowTheCombinationInFixedOrder) {
  HotKey& c = Make();
  HWND box = c.txtHotKey();
  EXPECT_EQ(BoxText(box), L"NULL");

  Down(box, VK_CONTROL, {VK_CONTROL});
  EXPECT_EQ(BoxText(box), L"Ctrl + ");
  EXPECT_EQ(c.KeyCode(), 0);
  EXPECT_EQ(c.ModKeyCode(), MOD_CONTROL);
  Up(box, VK_CONTROL);
  EXPECT_EQ(BoxText(box), L"NULL");
  EXPECT_EQ(c.ModKeyCode(), 0);

  Down(box, VK_SHIFT, {VK_SHIFT});
  Down(box, VK_CONTROL, {VK_SHIFT, VK_CONTROL});
  Down(box, 'A', {VK_SHIFT, VK_CONTROL});
  EXPECT_EQ(BoxText(box), L"Ctrl + Shift + A");
  EXPECT_EQ(c.Text(), L"Ctrl + Shift + A");
  EXPECT_EQ(c.KeyCode(), 'A');
  EXPECT_EQ(c.ModKeyCode(), MOD_CONTROL | MOD_SHIFT);
  Up(box, 'A', {VK_SHIFT, VK_CONTROL});
  Up(box, VK_CONTROL, {VK_SHIFT});
  Up(box, VK_SHIFT);
  EXPECT_EQ(BoxText(box), L"Ctrl + Shift + A");

  Down(box, VK_LWIN, {VK_LWIN});
  Down(box, 'A', {VK_LWIN});
  EXPECT_EQ(BoxText(box), L"Win + A");
  EXPECT_EQ(c.ModKeyCode(), MOD_WIN);
  Up(box, 'A', {VK_LWIN});
  Up(box, VK_LWIN);
  Down(box, 'A', {VK_MENU});
  EXPECT_EQ(BoxText(box), L"Alt + A");  // the Windows key's prefix ended with its release
  EXPECT_EQ(c.ModKeyCode(), MOD_ALT);

  // The caret stays at the end of the text.
  DWORD start = 0, end = 0;
  SendMessageW(box, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  EXPECT_EQ(start, 7u);
  EXPECT_EQ(end, 7u);
}

TEST_F(HotKeyControl, BoxUsesArialNinePointAtTheWindowsDpi) {
  HotKey& c = Make();
  auto font_of = [&] {
    LOGFONTW lf{};
    HFONT f = reinterpret_cast<HFONT>(SendMessageW(c.txtHotKey(), WM_GETFONT, 0, 0));
    GetObjectW(f, sizeof(lf), &lf);
    return lf;
  };
  int dpi = DpiOf(c.txtHotKey());
  LOGFONTW lf = font_of();
  EXPECT_STREQ(lf.lfFaceName, L"Arial");
  EXPECT_EQ(lf.lfHeight, -MulDiv(9, dpi, 72));
  c.SetDpi(144);
  EXPECT_EQ(font_of().lfHeight, -18);
}

TEST_F(HotKeyControl, PrintScreenIsAnOrdinaryMainKey) {
  HotKey& c = Make();
  Down(c.txtHotKey(), VK_SNAPSHOT, {VK_CONTROL});
  EXPECT_EQ(c.KeyCode(), VK_SNAPSHOT);
  EXPECT_EQ(c.ModKeyCode(), MOD_CONTROL);
  std::wstring text = c.Text();
  EXPECT_EQ(text.rfind(L"Ctrl + ", 0), 0u) << text.c_str();
  EXPECT_GT(text.size(), 7u);
  EXPECT_EQ(text.find(L"Prt"), std::wstring::npos);
}

TEST_F(HotKeyControl, ApplicationsKeyChangesNothingAndRaisesNoEvent) {
  HotKey& c = Make();
  int key_downs = 0;
  c.KeyDown = [&](int&, int&) { ++key_downs; };
  Down(c.txtHotKey(), 'B', {VK_CONTROL});
  ASSERT_EQ(key_downs, 1);
  Down(c.txtHotKey(), VK_APPS, {VK_CONTROL});
  EXPECT_EQ(key_downs, 1);
  EXPECT_EQ(c.Text(), L"Ctrl + B");
  EXPECT_EQ(c.KeyCode(), 'B');
}

TEST_F(HotKeyControl, HostMayChangeTheKeyBeforeItIsShown) {
  HotKey& c = Make();
  int ups = 0;
  c.KeyDown = [](int& key, int& shift) {
    if (key == 'Q') {
      key = 'W';
      shift = 0;
    }
  };
  c.KeyUp = [&](int& key, int&) { ups += key == 'Q'; };
  Down(c.txtHotKey(), 'Q', {VK_CONTROL});
  EXPECT_EQ(c.KeyCode(), 'W');
  EXPECT_EQ(c.ModKeyCode(), 0);
  Up(c.txtHotKey(), 'Q');
  EXPECT_EQ(ups, 1);
}

TEST_F(HotKeyControl, TypedAndPastedTextNeverReachesTheBox) {
  HotKey& c = Make();
  HWND box = c.txtHotKey();
  Down(box, 'C', {VK_CONTROL});
  SendMessageW(box, WM_CHAR, 'x', 1);
  SendMessageW(box, WM_CHAR, VK_BACK, 1);
  SendMessageW(box, WM_PASTE, 0, 0);
  SendMessageW(box, WM_CUT, 0, 0);
  EXPECT_EQ(BoxText(box), L"Ctrl + C");
  // Shift+Insert and Delete are the combination, not edits of the text.
  Down(box, VK_DELETE);
  EXPECT_EQ(c.KeyCode(), VK_DELETE);
  EXPECT_EQ(BoxText(box), c.Text());
  Down(box, VK_INSERT, {VK_SHIFT});
  EXPECT_EQ(BoxText(box), c.Text());
  EXPECT_EQ(c.Text().rfind(L"Shift + ", 0), 0u);
}

TEST_F(HotKeyControl, MouseActionsInTheBoxReachTheHost) {
  HotKey& c = Make();
  std::vector<std::string> seen;
  auto log = [&](const char* what) {
    return [&seen, what](int button, int shift, float x, float y) {
      seen.push_back(std::string(what) + " " + std::to_string(button) + " " + std::to_string(shift) + " " +
                     std::to_string(static_cast<int>(x)) + "," + std::to_string(static_cast<int>(y)));
    };
  };
  c.MouseDown = log("down");
  c.MouseUp = log("up");
  c.Click = [&] { seen.push_back("click"); };
  c.DblClick = [&] { seen.push_back("dblclick"); };
  HWND box = c.txtHotKey();
  SendMessageW(box, WM_LBUTTONDOWN, MK_LBUTTON | MK_SHIFT, MAKELPARAM(5, 6));
  SendMessageW(box, WM_LBUTTONUP, MK_SHIFT, MAKELPARAM(7, 6));
  SendMessageW(box, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(7, 6));
  SendMessageW(box, WM_RBUTTONDOWN, MK_RBUTTON | MK_CONTROL, MAKELPARAM(1, 2));
  SendMessageW(box, WM_RBUTTONUP, MK_CONTROL, MAKELPARAM(1, 2));
  ReleaseCapture();
  const std::vector<std::string> expected = {"down 1 1 5,6", "up 1 1 7,6", "click", "dblclick", "down 2 2 1,2",
                                             "up 2 2 1,2"};
  EXPECT_EQ(seen, expected);
  EXPECT_EQ(BoxText(box), L"NULL");
}

TEST_F(HotKeyControl, ContextMenuIsSuppressed) {
  HotKey& c = Make();
  std::atomic<bool> menu_seen{false}, done{false};
  // Should a menu open, its modal loop would block the send: close it.
  std::thread watch([&] {
    for (int i = 0; i < 50 && !done; ++i) {
      HWND menu = FindWindowW(L"#32768", nullptr);
      if (menu && IsWindowVisible(menu)) {
        menu_seen = true;
        PostMessageW(menu, WM_KEYDOWN, VK_ESCAPE, 0);
      }
      Sleep(10);
    }
  });
  LRESULT r = SendMessageW(c.txtHotKey(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(c.txtHotKey()),
                           MAKELPARAM(20, 20));
  Sleep(200);
  done = true;
  watch.join();
  EXPECT_EQ(r, 0);
  EXPECT_FALSE(menu_seen);
}

TEST_F(HotKeyControl, EachHotKeyMessageRaisesHotKeyPressedOnce) {
  HotKey& a = Make(L"HotKey1");
  HotKey b(L"HotKey2");
  ASSERT_TRUE(b.Create(host_, 10, 40, 150, 22));
  int a_count = 0, b_count = 0;
  a.HotKeyPressed = [&] { ++a_count; };
  b.HotKeyPressed = [&] { ++b_count; };
  ASSERT_TRUE(a.MsgWnd());
  ASSERT_NE(a.MsgWnd(), b.MsgWnd());
  for (int i = 0; i < 3; ++i) PostMessageW(a.MsgWnd(), WM_HOTKEY, 1, MAKELPARAM(kChordMods, kChordKey));
  PostMessageW(a.MsgWnd(), WM_HOTKEY, 5, 0);  // any id of that window means the same
  PostMessageW(b.MsgWnd(), WM_HOTKEY, 1, 0);
  Pump();
  EXPECT_EQ(a_count, 4);
  EXPECT_EQ(b_count, 1);
}

TEST_F(HotKeyControl, EnablingWithoutMainKeyAsksForOne) {
  HotKey& c = Make();
  ErrorBoxWatcher boxes;
  c.SetHotKeyEnabled(true);
  EXPECT_FALSE(c.HotKeyEnabled());
  ASSERT_EQ(boxes.Texts().size(), 1u);
  EXPECT_EQ(boxes.Texts()[0], L"请设置热键");
}

TEST_F(HotKeyControl, RegistersTheChordUntilTheCombinationIsEdited) {
  HotKey& c = Make();
  EnterChord(c);
  c.SetHotKeyEnabled(true);
  ASSERT_TRUE(c.HotKeyEnabled());
  ChordHolder other;
  EXPECT_FALSE(other.Hold(kChordMods, kChordKey)) << "the control should hold the chord";

  Down(c.txtHotKey(), VK_SHIFT, {VK_SHIFT});  // any key-down edits the value
  EXPECT_FALSE(c.HotKeyEnabled());
  EXPECT_TRUE(other.Hold(kChordMods, kChordKey)) << "editing should have released the chord";
  other.Release();

  EnterChord(c);
  c.SetHotKeyEnabled(true);
  ASSERT_TRUE(c.HotKeyEnabled());
  c.SetHotKeyEnabled(false);
  EXPECT_FALSE(c.HotKeyEnabled());
  EXPECT_TRUE(other.Hold(kChordMods, kChordKey));
  other.Release();
}

TEST_F(HotKeyControl, ChordHeldElsewhereIsReportedAndCleared) {
  HotKey& c = Make();
  EnterChord(c);
  ChordHolder other;
  ASSERT_TRUE(other.Hold(kChordMods, kChordKey));
  ErrorBoxWatcher boxes;
  c.SetHotKeyEnabled(true);
  EXPECT_FALSE(c.HotKeyEnabled());
  ASSERT_EQ(boxes.Texts().size(), 1u);
  EXPECT_EQ(boxes.Texts()[0], L"热键正在使用");
  EXPECT_EQ(BoxText(c.txtHotKey()), L"NULL");
  EXPECT_EQ(c.KeyCode(), 0);
  EXPECT_EQ(c.ModKeyCode(), 0);
}

TEST_F(HotKeyControl, TwoControlsRegisterDifferentChordsUnderTheSameId) {
  HotKey& a = Make(L"HotKey1");
  HotKey b(L"HotKey2");
  ASSERT_TRUE(b.Create(host_, 10, 40, 150, 22));
  EnterChord(a);
  Down(b.txtHotKey(), VK_F10, {VK_CONTROL, VK_MENU});
  a.SetHotKeyEnabled(true);
  b.SetHotKeyEnabled(true);
  EXPECT_TRUE(a.HotKeyEnabled());
  EXPECT_TRUE(b.HotKeyEnabled());
}

TEST_F(HotKeyControl, StoreSettingsAreFixedOnceCreated) {
  HotKey c(L"HotKey1");
  EXPECT_EQ(c.SetINIFileName(L"other.ini"), PropertyError::kNone);
  EXPECT_EQ(c.SetINIFileName(ini_name_), PropertyError::kNone);
  ASSERT_TRUE(c.Create(host_, 0, 0, 100, 20));
  EXPECT_EQ(c.SetINIFileName(L"other.ini"), PropertyError::kSetNotPermittedAtRunTime);
  EXPECT_EQ(c.SetSettingLocation(1), PropertyError::kSetNotPermittedAtRunTime);
  EXPECT_EQ(c.SetRegKeyName(L"x"), PropertyError::kSetNotPermittedAtRunTime);
  EXPECT_EQ(static_cast<int>(PropertyError::kSetNotPermittedAtRunTime), 382);
  EXPECT_EQ(c.INIFileName(), ini_name_);
  EXPECT_EQ(c.SettingLocation(), 0);
  EXPECT_EQ(c.RegKeyName(), L"hotkey");
  EXPECT_EQ(IniPath(), ini_path_);
}

TEST_F(HotKeyControl, LoadsNullWithoutAFileAndTheStoredValueWithOne) {
  {
    HotKey& c = Make();
    EXPECT_EQ(c.Text(), L"NULL");
    EXPECT_EQ(c.KeyCode(), 0);
    EXPECT_EQ(c.ModKeyCode(), 0);
    EXPECT_FALSE(c.HotKeyEnabled());
  }
  ASSERT_TRUE(WritePrivateProfileStringW(L"hotkey", L"HotKey1Text", L"Print Screen", ini_path_.c_str()));
  ASSERT_TRUE(WritePrivateProfileStringW(L"hotkey", L"HotKey1KeyCode", L"44", ini_path_.c_str()));
  ASSERT_TRUE(WritePrivateProfileStringW(L"hotkey", L"HotKey1ModKeyCode", L"0", ini_path_.c_str()));
  HotKey& c = Make();
  EXPECT_EQ(BoxText(c.txtHotKey()), L"Print Screen");
  EXPECT_EQ(c.KeyCode(), 44);
  EXPECT_EQ(c.ModKeyCode(), 0);
  EXPECT_FALSE(c.HotKeyEnabled());  // never registered by loading
}

TEST_F(HotKeyControl, DamagedStoredCodesLoadAsZero) {
  WritePrivateProfileStringW(L"hotkey", L"HotKey1Text", L"Ctrl + A", ini_path_.c_str());
  WritePrivateProfileStringW(L"hotkey", L"HotKey1KeyCode", L"sixty-five", ini_path_.c_str());
  WritePrivateProfileStringW(L"hotkey", L"HotKey1ModKeyCode", L"99999999999", ini_path_.c_str());
  HotKey& c = Make();
  EXPECT_EQ(c.Text(), L"Ctrl + A");
  EXPECT_EQ(c.KeyCode(), 0);
  EXPECT_EQ(c.ModKeyCode(), 0);
  ErrorBoxWatcher boxes;
  c.SetHotKeyEnabled(true);  // no main key: asks for one instead of registering junk
  EXPECT_FALSE(c.HotKeyEnabled());
  ASSERT_EQ(boxes.Texts().size(), 1u);
  EXPECT_EQ(boxes.Texts()[0], L"请设置热键");
}

TEST_F(HotKeyControl, SaveSettingsWritesAPlainProfileFile) {
  HotKey& c = Make();
  Down(c.txtHotKey(), 'A', {VK_CONTROL, VK_MENU});
  c.SaveSettings();
  HANDLE f = CreateFileW(ini_path_.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(f, INVALID_HANDLE_VALUE);
  char buf[512] = {};
  DWORD got = 0;
  ReadFile(f, buf, static_cast<DWORD>(sizeof(buf) - 1), &got, nullptr);
  CloseHandle(f);
  EXPECT_EQ(std::string(buf, got),
            "[hotkey]\r\nHotKey1Text=Ctrl + Alt + A\r\nHotKey1KeyCode=65\r\nHotKey1ModKeyCode=3\r\n");

  control_.reset();
  HotKey& again = Make();
  EXPECT_EQ(again.Text(), L"Ctrl + Alt + A");
  EXPECT_EQ(again.KeyCode(), 'A');
  EXPECT_EQ(again.ModKeyCode(), MOD_CONTROL | MOD_ALT);
}

TEST_F(HotKeyControl, RegistryStoreRoundTripsBetweenInstances) {
  const std::wstring app = L"VardoHotKeyTest" + std::to_wstring(GetCurrentProcessId());
  HotKeyStoreOptions o;
  o.setting_location = 1;
  o.reg_key_name = app;
  {
    HotKey first(L"HotKey1", o);
    ASSERT_TRUE(first.Create(host_, 0, 0, 100, 20));
    EXPECT_EQ(first.Text(), L"NULL");
    Down(first.txtHotKey(), VK_F7, {VK_SHIFT});
    first.SaveSettings();
  }
  HotKey second(L"HotKey1", o);
  ASSERT_TRUE(second.Create(host_, 0, 0, 100, 20));
  EXPECT_EQ(second.KeyCode(), VK_F7);
  EXPECT_EQ(second.ModKeyCode(), MOD_SHIFT);
  EXPECT_EQ(second.Text().rfind(L"Shift + ", 0), 0u);
  EXPECT_EQ(ReadRegistrySetting(app, L"hotkey", L"HotKey1KeyCode", L"none"), L"118");
  EXPECT_EQ(GetFileAttributesW(ini_path_.c_str()), INVALID_FILE_ATTRIBUTES) << "the registry store writes no INI file";
  std::wstring root = L"Software\\VB and VBA Program Settings\\" + app;
  EXPECT_EQ(RegDeleteTreeW(HKEY_CURRENT_USER, root.c_str()), ERROR_SUCCESS);
}

TEST_F(HotKeyControl, TerminateRestoresTheBoxAndDestroysTheMessageWindow) {
  HotKey& c = Make();
  HWND box = c.txtHotKey();
  HWND msg = c.MsgWnd();
  EnterChord(c);
  c.SetHotKeyEnabled(true);
  ASSERT_TRUE(c.HotKeyEnabled());
  c.Terminate();
  EXPECT_FALSE(IsWindow(msg));
  EXPECT_FALSE(c.HotKeyEnabled());
  ChordHolder other;
  EXPECT_TRUE(other.Hold(kChordMods, kChordKey));
  EXPECT_EQ(GetWindowLongPtrW(box, GWLP_WNDPROC), GetClassLongPtrW(box, GCLP_WNDPROC));
  SendMessageW(box, WM_CHAR, 'x', 1);  // the box's own behaviour is back
  EXPECT_NE(BoxText(box).find(L'x'), std::wstring::npos);
}

}  // namespace
}  // namespace vardo::hotkey
