#include "hotkey/settings_store_win.h"

#include <vector>

#include "common/process_win.h"
#include "hotkey/stored_value.h"

namespace vardo::hotkey {

namespace {
std::wstring& IniPathStorage() {
  static std::wstring path;
  return path;
}
}  // namespace

void SetINIPath(const std::wstring& file_name) {
  IniPathStorage() = Widen(JoinIniPath(Narrow(ProgramFolder()), Narrow(file_name)));
}

void SetINIPathFull(const std::wstring& path) { IniPathStorage() = path; }

const std::wstring& IniPath() { return IniPathStorage(); }

std::wstring ReadINI(const std::wstring& section, const std::wstring& key, const std::wstring& default_value) {
  // An empty path would make the profile functions use win.ini.
  if (IniPath().empty()) return default_value;
  wchar_t buf[kProfileBufferChars] = {};
  DWORD n = GetPrivateProfileStringW(section.c_str(), key.c_str(), default_value.c_str(), buf,
                                     kProfileBufferChars, IniPath().c_str());
  if (n == 0) return std::wstring();
  return std::wstring(buf);  // up to the first NUL
}

bool WriteINI(const std::wstring& section, const std::wstring& key, const std::wstring& value) {
  if (IniPath().empty()) return false;
  return WritePrivateProfileStringW(section.c_str(), key.c_str(), value.c_str(), IniPath().c_str()) != FALSE;
}

std::wstring RegistrySettingsKey(const std::wstring& app, const std::wstring& section) {
  return L"Software\\VB and VBA Program Settings\\" + app + L"\\" + section;
}

std::wstring ReadRegistrySetting(const std::wstring& app, const std::wstring& section, const std::wstring& key,
                                 const std::wstring& default_value) {
  if (app.empty() || section.empty()) return default_value;
  std::wstring sub = RegistrySettingsKey(app, section);
  DWORD bytes = 0;
  LSTATUS st = RegGetValueW(HKEY_CURRENT_USER, sub.c_str(), key.c_str(), RRF_RT_REG_SZ | RRF_RT_REG_EXPAND_SZ |
                            RRF_NOEXPAND, nullptr, nullptr, &bytes);
  if (st != ERROR_SUCCESS) return default_value;
  std::vector<wchar_t> buf(bytes / sizeof(wchar_t) + 1, L'\0');
  bytes = static_cast<DWORD>(buf.size() * sizeof(wchar_t));
  st = RegGetValueW(HKEY_CURRENT_USER, sub.c_str(), key.c_str(), RRF_RT_REG_SZ | RRF_RT_REG_EXPAND_SZ |
                    RRF_NOEXPAND, nullptr, buf.data(), &bytes);
  if (st != ERROR_SUCCESS) return default_value;
  return std::wstring(buf.data());
}

bool WriteRegistrySetting(const std::wstring& app, const std::wstring& section, const std::wstring& key,
                          const std::wstring& value) {
  if (app.empty() || section.empty()) return false;
  HKEY k = nullptr;
  std::wstring sub = RegistrySettingsKey(app, section);
  if (RegCreateKeyExW(HKEY_CURRENT_USER, sub.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &k, nullptr) !=
      ERROR_SUCCESS)
    return false;
  LSTATUS st = RegSetValueExW(k, key.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                              static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
  RegCloseKey(k);
  return st == ERROR_SUCCESS;
}

}  // namespace vardo::hotkey
