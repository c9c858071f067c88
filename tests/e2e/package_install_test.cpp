// The per-user installer made by scripts/package.sh, as a user runs it:
// a silent install into the local programs folder, the Start-menu entry and
// the Apps-list entry with the programs' own version, the installed Vardo
// starting and keeping "set.ini" beside itself, then a silent uninstall
// that leaves nothing behind.
#include <windows.h>

#include <objbase.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "harness_win.h"
#include "vardo_support_win.h"

namespace e2e {
namespace {

constexpr wchar_t kUninstallKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Vardo";

std::wstring KnownFolder(REFKNOWNFOLDERID id) {
  PWSTR p = nullptr;
  std::wstring out;
  if (SUCCEEDED(SHGetKnownFolderPath(id, 0, nullptr, &p))) out = p;
  CoTaskMemFree(p);
  return out;
}

// The installer scripts/package.sh left beside this build, or "".
std::wstring FindInstaller() {
  const std::wstring dist = OutDir() + L"\\..\\..\\package\\dist\\";
  WIN32_FIND_DATAW fd;
  HANDLE h = FindFirstFileW((dist + L"Vardo-*-setup.exe").c_str(), &fd);
  if (h == INVALID_HANDLE_VALUE) return L"";
  FindClose(h);
  return dist + fd.cFileName;
}

// "1.2.3" from a program's version resource ("1.2.3.4" if the last part is
// not 0), or "".
std::wstring FileVersion(const std::wstring& path) {
  DWORD ignored = 0;
  const DWORD size = GetFileVersionInfoSizeW(path.c_str(), &ignored);
  if (!size) return L"";
  std::vector<BYTE> data(size);
  VS_FIXEDFILEINFO* info = nullptr;
  UINT len = 0;
  if (!GetFileVersionInfoW(path.c_str(), 0, size, data.data()) ||
      !VerQueryValueW(data.data(), L"\\", reinterpret_cast<void**>(&info), &len) || !info)
    return L"";
  std::wstring v = std::to_wstring(HIWORD(info->dwFileVersionMS)) + L"." +
                   std::to_wstring(LOWORD(info->dwFileVersionMS)) + L"." + std::to_wstring(HIWORD(info->dwFileVersionLS));
  if (LOWORD(info->dwFileVersionLS)) v += L"." + std::to_wstring(LOWORD(info->dwFileVersionLS));
  return v;
}

std::wstring RegString(const wchar_t* value) {
  wchar_t buf[1024] = {};
  DWORD size = sizeof buf;
  if (RegGetValueW(HKEY_CURRENT_USER, kUninstallKey, value, RRF_RT_REG_SZ, nullptr, buf, &size) != ERROR_SUCCESS)
    return L"";
  return buf;
}

bool UninstallKeyExists() {
  HKEY k = nullptr;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, kUninstallKey, 0, KEY_READ, &k) != ERROR_SUCCESS) return false;
  RegCloseKey(k);
  return true;
}

bool IsFolder(const std::wstring& path) {
  const DWORD a = GetFileAttributesW(path.c_str());
  return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

// Every file below `dir` and their total size.
void ListFiles(const std::wstring& dir, const std::wstring& rel, std::vector<std::wstring>& names, uint64_t& bytes) {
  WIN32_FIND_DATAW fd;
  HANDLE h = FindFirstFileW((dir + L"\\*").c_str(), &fd);
  if (h == INVALID_HANDLE_VALUE) return;
  do {
    const std::wstring n = fd.cFileName;
    if (n == L"." || n == L"..") continue;
    if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
      ListFiles(dir + L"\\" + n, rel + n + L"\\", names, bytes);
    } else {
      names.push_back(rel + n);
      bytes += (uint64_t{fd.nFileSizeHigh} << 32) | fd.nFileSizeLow;
    }
  } while (FindNextFileW(h, &fd));
  FindClose(h);
}

void RemoveTree(const std::wstring& dir) {
  std::vector<std::wstring> names;
  uint64_t bytes = 0;
  ListFiles(dir, L"", names, bytes);
  for (const auto& n : names) DeleteFileW((dir + L"\\" + n).c_str());
  RemoveDirectoryW((dir + L"\\apps").c_str());
  RemoveDirectoryW(dir.c_str());
}

// The target of a shell link, or "".
std::wstring ShortcutTarget(const std::wstring& lnk) {
  std::wstring out;
  IShellLinkW* link = nullptr;
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                              reinterpret_cast<void**>(&link))))
    return out;
  IPersistFile* file = nullptr;
  if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
    wchar_t target[MAX_PATH] = {};
    if (SUCCEEDED(file->Load(lnk.c_str(), STGM_READ)) &&
        SUCCEEDED(link->GetPath(target, MAX_PATH, nullptr, SLGP_RAWPATH)))
      out = target;
    file->Release();
  }
  link->Release();
  return out;
}

bool SamePath(const std::wstring& a, const std::wstring& b) {
  wchar_t fa[MAX_PATH] = {}, fb[MAX_PATH] = {};
  GetFullPathNameW(a.c_str(), MAX_PATH, fa, nullptr);
  GetFullPathNameW(b.c_str(), MAX_PATH, fb, nullptr);
  return _wcsicmp(fa, fb) == 0;
}

TEST(PackageInstall, SilentInstallRunsVardoThereAndUninstallLeavesNothing) {
  const std::wstring setup = FindInstaller();
  if (setup.empty()) GTEST_SKIP() << "no installer beside the build: run scripts/package.sh";
  ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
  // Wine would mirror the Start-menu entry into the host's menus.
  SetEnvironmentVariableW(L"WINEDLLOVERRIDES", L"mscoree,mshtml=;winedbg.exe,winemenubuilder.exe=d");

  const std::wstring dir = KnownFolder(FOLDERID_LocalAppData) + L"\\Programs\\Vardo";
  const std::wstring lnk = KnownFolder(FOLDERID_Programs) + L"\\Vardo.lnk";
  RemoveTree(dir);  // what an earlier, interrupted run may have left
  DeleteFileW(lnk.c_str());
  ASSERT_FALSE(IsFolder(dir));

  // 1. Silent install, no administrator rights asked.
  Process installer(setup, L"/S");
  ASSERT_TRUE(installer.started());
  DWORD code = 1;
  ASSERT_TRUE(installer.WaitExit(60000, &code)) << "the installer did not finish";
  EXPECT_EQ(code, 0u);
  std::vector<std::wstring> names;
  uint64_t bytes = 0;
  ListFiles(dir, L"", names, bytes);
  std::sort(names.begin(), names.end());
  const std::vector<std::wstring> expected = {L"LICENSE.txt", L"README.txt",      L"THIRD-PARTY.txt",
                                              L"Vardo.exe",   L"apps\\kestil.exe", L"apps\\mirrun.exe",
                                              L"uninstall.exe"};
  std::vector<std::wstring> sorted_expected = expected;
  std::sort(sorted_expected.begin(), sorted_expected.end());
  EXPECT_EQ(names, sorted_expected);
  std::printf("installed: %llu bytes in %zu files\n", static_cast<unsigned long long>(bytes), names.size());
  EXPECT_LE(bytes, 2u * 1024 * 1024) << "the installed suite is over 2 MB";

  // 2. The installer, the programs and the Apps list show one version.
  const std::wstring version = FileVersion(dir + L"\\Vardo.exe");
  ASSERT_FALSE(version.empty());
  EXPECT_EQ(FileVersion(setup), version);
  EXPECT_EQ(FileVersion(dir + L"\\apps\\kestil.exe"), version);
  EXPECT_EQ(FileVersion(dir + L"\\apps\\mirrun.exe"), version);
  EXPECT_NE(setup.find(L"Vardo-" + version + L"-setup.exe"), std::wstring::npos);
  EXPECT_EQ(RegString(L"DisplayVersion"), version);
  EXPECT_EQ(RegString(L"DisplayName"), L"Vardo");
  EXPECT_TRUE(SamePath(RegString(L"InstallLocation"), dir));
  EXPECT_NE(RegString(L"UninstallString").find(L"uninstall.exe"), std::wstring::npos);

  // 3. The Start-menu entry starts the installed Vardo.
  ASSERT_TRUE(FileExists(lnk)) << Utf8(lnk);
  EXPECT_TRUE(SamePath(ShortcutTarget(lnk), dir + L"\\Vardo.exe")) << Utf8(ShortcutTarget(lnk));

  // 4. The installed Vardo starts and "保存" writes set.ini beside it.
  {
    vardo::Running v = vardo::Start(dir + L"\\Vardo.exe");
    ASSERT_TRUE(v.layer) << "the installed Vardo did not show its pin layer";
    ASSERT_TRUE(v.settings);
    HWND save = FindChildByText(v.settings, L"保存");
    ASSERT_TRUE(save);
    RECT r = RectOf(save);
    const POINT c{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    vardo::ReachableAt(v.settings, c);
    Click(c.x, c.y);
    EXPECT_TRUE(WaitUntil([&] { return FileExists(dir + L"\\set.ini"); }, 5000)) << "no set.ini in " << Utf8(dir);
    const auto ini = ReadFileBytes(dir + L"\\set.ini");
    EXPECT_NE(std::string(ini.begin(), ini.end()).find("[hotkey]"), std::string::npos);
    // A close request to the settings window ends Vardo.
    PostMessageW(v.settings, WM_CLOSE, 0, 0);
    EXPECT_TRUE(v.process.WaitExit(10000));
  }

  // 5. The silent uninstall takes everything away, set.ini too. The
  // uninstaller runs on from a copy of itself, so wait for its effects.
  {
    Process uninstaller(dir + L"\\uninstall.exe", L"/S");
    ASSERT_TRUE(uninstaller.started());
    EXPECT_TRUE(WaitUntil([&] { return !IsFolder(dir) && !FileExists(lnk) && !UninstallKeyExists(); }, 60000, 100))
        << "left behind: folder " << IsFolder(dir) << ", shortcut " << FileExists(lnk) << ", Apps entry "
        << UninstallKeyExists();
  }
  CoUninitialize();
}

}  // namespace
}  // namespace e2e
