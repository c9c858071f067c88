// The hotkey's settings store: INI semantics of the profile functions, the
// bytes of a new file, and the per-user registry store.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/process_win.h"
#include "hotkey/settings_store_win.h"

namespace vardo::hotkey {
namespace {

std::string FileBytes(const std::wstring& path) {
  HANDLE f = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (f == INVALID_HANDLE_VALUE) return "<missing>";
  std::string bytes(4096, '\0');
  DWORD got = 0;
  ReadFile(f, bytes.data(), static_cast<DWORD>(bytes.size()), &got, nullptr);
  CloseHandle(f);
  bytes.resize(got);
  return bytes;
}

class IniStore : public ::testing::Test {
 protected:
  void SetUp() override {
    wchar_t tmp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, tmp);
    path_ = JoinPath(tmp, L"hotkey_store_" + std::to_wstring(GetCurrentProcessId()) + L".ini");
    DeleteFileW(path_.c_str());
    SetINIPathFull(path_);
  }
  void TearDown() override {
    DeleteFileW(path_.c_str());
    SetINIPathFull(L"");
  }
  std::wstring path_;
};

TEST_F(IniStore, MissingFileOrKeyReadsAsTheDefault) {
  EXPECT_EQ(ReadINI(L"hotkey", L"HotKey1Text", L"NULL"), L"NULL");
  EXPECT_EQ(ReadINI(L"hotkey", L"HotKey1KeyCode", L""), L"");
  ASSERT_TRUE(WriteINI(L"hotkey", L"HotKey1KeyCode", L"44"));
  EXPECT_EQ(ReadINI(L"hotkey", L"HotKey1Text", L"NULL"), L"NULL");
  EXPECT_EQ(ReadINI(L"other", L"HotKey1KeyCode", L"0"), L"0");
  EXPECT_EQ(ReadINI(L"hotkey", L"HotKey1KeyCode", L"0"), L"44");
}

TEST_F(IniStore, EmptyValueReadsAsEmptyWhateverTheDefault) {
  ASSERT_TRUE(WriteINI(L"hotkey", L"HotKey1Text", L""));
  EXPECT_EQ(ReadINI(L"hotkey", L"HotKey1Text", L"NULL"), L"");
}

TEST_F(IniStore, LongValuesAreCutAt254Characters) {
  std::wstring longer(300, L'7');
  ASSERT_TRUE(WriteINI(L"hotkey", L"HotKey1Text", longer));
  EXPECT_EQ(ReadINI(L"hotkey", L"HotKey1Text", L"NULL"), std::wstring(254, L'7'));
  std::wstring exact(254, L'x');
  ASSERT_TRUE(WriteINI(L"hotkey", L"HotKey1Text", exact));
  EXPECT_EQ(ReadINI(L"hotkey", L"HotKey1Text", L"NULL"), exact);
}

TEST_F(IniStore, NewFileIsPlainAnsiProfileText) {
  ASSERT_TRUE(WriteINI(L"hotkey", L"HotKey1Text", L"Print Screen"));
  ASSERT_TRUE(WriteINI(L"hotkey", L"HotKey1KeyCode", L"44"));
  ASSERT_TRUE(WriteINI(L"hotkey", L"HotKey1ModKeyCode", L"0"));
  ASSERT_TRUE(WriteINI(L"check", L"checka", L"1"));
  EXPECT_EQ(FileBytes(path_),
            "[hotkey]\r\nHotKey1Text=Print Screen\r\nHotKey1KeyCode=44\r\nHotKey1ModKeyCode=0\r\n"
            "[check]\r\nchecka=1\r\n");
  // Rewriting a key changes only that line.
  ASSERT_TRUE(WriteINI(L"check", L"checka", L"0"));
  EXPECT_EQ(FileBytes(path_),
            "[hotkey]\r\nHotKey1Text=Print Screen\r\nHotKey1KeyCode=44\r\nHotKey1ModKeyCode=0\r\n"
            "[check]\r\nchecka=0\r\n");
}

TEST_F(IniStore, NonAsciiTextRoundTripsThroughTheAnsiFile) {
  // A key name from a localised layout, as far as the ANSI code page holds it.
  const std::wstring name = L"Strg + \u00C4";
  BOOL lossy = FALSE;
  char ansi[32] = {};
  int n = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, name.c_str(), -1, ansi, static_cast<int>(sizeof(ansi)),
                              nullptr, &lossy);
  if (n <= 0 || lossy) GTEST_SKIP() << "the ANSI code page cannot hold the name";
  ASSERT_TRUE(WriteINI(L"hotkey", L"HotKey1Text", name));
  EXPECT_EQ(ReadINI(L"hotkey", L"HotKey1Text", L"NULL"), name);
  EXPECT_EQ(FileBytes(path_), std::string("[hotkey]\r\nHotKey1Text=") + ansi + "\r\n");
}

TEST_F(IniStore, WithoutAPathNothingIsReadOrWritten) {
  SetINIPathFull(L"");
  // An empty path must not fall through to win.ini.
  EXPECT_FALSE(WriteINI(L"hotkey", L"HotKey1Text", L"X"));
  EXPECT_EQ(ReadINI(L"hotkey", L"HotKey1Text", L"NULL"), L"NULL");
}

TEST_F(IniStore, WriteIntoAMissingFolderFailsQuietly) {
  SetINIPathFull(path_ + L".missing\\set.ini");
  EXPECT_FALSE(WriteINI(L"hotkey", L"HotKey1Text", L"X"));
  EXPECT_EQ(ReadINI(L"hotkey", L"HotKey1Text", L"NULL"), L"NULL");
}

TEST(IniPathOfTheProgram, IsBesideTheProgramFile) {
  SetINIPath(L"set.ini");
  std::wstring folder = ProgramFolder();
  EXPECT_EQ(IniPath(), folder + (folder.back() == L'\\' ? L"" : L"\\") + L"set.ini");
  EXPECT_EQ(IniPath().find(L"\\\\"), std::wstring::npos);
  SetINIPathFull(L"");
}

TEST(RegistryStore, ValuesRoundTripUnderThePerUserSettingsKey) {
  const std::wstring app = L"VardoStoreTest" + std::to_wstring(GetCurrentProcessId());
  EXPECT_EQ(ReadRegistrySetting(app, L"hotkey", L"HotKey1Text", L"NULL"), L"NULL");
  ASSERT_TRUE(WriteRegistrySetting(app, L"hotkey", L"HotKey1Text", L"Ctrl + \u4E2D"));
  ASSERT_TRUE(WriteRegistrySetting(app, L"hotkey", L"HotKey1KeyCode", L""));
  EXPECT_EQ(ReadRegistrySetting(app, L"hotkey", L"HotKey1Text", L"NULL"), L"Ctrl + \u4E2D");
  EXPECT_EQ(ReadRegistrySetting(app, L"hotkey", L"HotKey1KeyCode", L"0"), L"");
  EXPECT_EQ(ReadRegistrySetting(app, L"other", L"HotKey1Text", L"NULL"), L"NULL");

  HKEY k = nullptr;
  std::wstring sub = L"Software\\VB and VBA Program Settings\\" + app + L"\\hotkey";
  ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, sub.c_str(), 0, KEY_READ, &k), ERROR_SUCCESS);
  DWORD type = 0;
  EXPECT_EQ(RegQueryValueExW(k, L"HotKey1Text", nullptr, &type, nullptr, nullptr), ERROR_SUCCESS);
  EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
  RegCloseKey(k);
  std::wstring root = L"Software\\VB and VBA Program Settings\\" + app;
  EXPECT_EQ(RegDeleteTreeW(HKEY_CURRENT_USER, root.c_str()), ERROR_SUCCESS);
}

}  // namespace
}  // namespace vardo::hotkey
