// Guards the DLL search order: a gdiplus.dll planted beside the program is
// never loaded, while the real GDI+ from the system folder still works.
#include <gtest/gtest.h>

#include "harness_win.h"
#include "vardo_support_win.h"

namespace e2e {
namespace {

// Under Wine, prefer a native (PE) gdiplus.dll for the named program
// wherever the search finds one, as Windows always does; the planted fake is
// such a DLL. (Wine's per-program DLL overrides; no effect on Windows.)
class PreferNativeGdiplus {
 public:
  explicit PreferNativeGdiplus(const std::wstring& exe_name)
      : key_(L"Software\\Wine\\AppDefaults\\" + exe_name + L"\\DllOverrides") {
    const wchar_t value[] = L"native,builtin";
    RegSetKeyValueW(HKEY_CURRENT_USER, key_.c_str(), L"gdiplus", REG_SZ, value, sizeof(value));
  }
  ~PreferNativeGdiplus() {
    RegDeleteTreeW(HKEY_CURRENT_USER, key_.c_str());
    RegDeleteKeyW(HKEY_CURRENT_USER, key_.substr(0, key_.rfind(L'\\')).c_str());
  }

 private:
  std::wstring key_;
};

std::wstring Planted() { return OutDir() + L"\\tests\\tools\\planted\\gdiplus.dll"; }

TEST(Hardening, ThePlantedGdiplusIsLoadedByANaiveProgram) {
  // Shows that the test below can see a load when one happens.
  PreferNativeGdiplus prefer(L"naive_loader.exe");
  TempDir dir(L"naive");
  ASSERT_TRUE(CopyFileTo(OutDir() + L"\\tests\\tools\\naive_loader.exe", dir / L"naive_loader.exe"));
  ASSERT_TRUE(CopyFileTo(Planted(), dir / L"gdiplus.dll"));
  Process p(dir / L"naive_loader.exe");
  ASSERT_TRUE(p.WaitExit(10000));
  EXPECT_TRUE(FileExists(dir / L"gdiplus.dll.loaded"));
}

TEST(Hardening, APlantedGdiplusBesideVardoIsNeverLoaded) {
  PreferNativeGdiplus prefer(L"Vardo.exe");
  TempDir dir(L"planted");
  std::wstring exe = vardo::LayOut(dir, false);
  ASSERT_TRUE(CopyFileTo(Planted(), dir / L"gdiplus.dll"));

  vardo::Running v = vardo::Start(exe);
  ASSERT_TRUE(v.layer && v.handle.right > v.handle.left) << "Vardo did not start from the planted folder";

  // A capture starts GDI+ in Vardo.
  POINT c = vardo::Centre(v.handle);
  RightClick(c.x, c.y);
  ASSERT_TRUE(WaitUntil([&] { return vardo::VisiblePopupMenu(v.process.pid()) != nullptr; }, 3000));
  Tap(VK_DOWN);
  Settle(50);
  Tap(VK_RETURN);
  HWND overlay = WaitForWindow(
      v.process.pid(), [](HWND w) { return IsWindowVisible(w) && ClassOf(w) == L"VardoScrShot"; }, 5000);
  ASSERT_TRUE(overlay) << "no capture overlay: GDI+ may not have loaded from the system folder";
  Settle(300);
  EXPECT_TRUE(v.process.Running());
  EXPECT_FALSE(FileExists(dir / L"gdiplus.dll.loaded")) << "the planted gdiplus.dll was loaded";
}

}  // namespace
}  // namespace e2e
