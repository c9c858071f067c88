// HotKey: the hotkey entry control. A single-line box (txtHotKey) shows the
// pressed combination; a hidden message window (MsgWnd) owns the system-wide
// registration (hotkey id 1) and turns every WM_HOTKEY into HotKeyPressed.
// The value is loaded at creation from "set.ini" beside the program (or the
// per-user registry store) and written back by SaveSettings.
#pragma once
#include <windows.h>

#include <functional>
#include <string>

#include "common/handles_win.h"
#include "common/window_win.h"
#include "hotkey/key_capture.h"

namespace vardo::hotkey {

// Result of setting a property.
enum class PropertyError {
  kNone = 0,
  // The store properties (INIFileName, SettingLocation, RegKeyName) are fixed
  // once the control has been created; the value is left unchanged.
  kSetNotPermittedAtRunTime = 382,
};

// Where the control keeps its value.
struct HotKeyStoreOptions {
  std::wstring ini_file_name = L"set.ini";  // relative to the program folder
  int setting_location = 0;                 // 0 = INI file, else registry
  std::wstring reg_key_name = L"hotkey";    // application name in the registry
};

class HotKey : private ControlHook {
 public:
  // `name` is the control's instance name on its host ("HotKey1"): the
  // stored keys are <name>Text, <name>KeyCode and <name>ModKeyCode.
  explicit HotKey(std::wstring instance_name, HotKeyStoreOptions options = {});
  ~HotKey() override;
  HotKey(const HotKey&) = delete;
  HotKey& operator=(const HotKey&) = delete;

  // Creates the box as a child of `parent` and the message window, then
  // loads the stored value. The hotkey is not registered.
  bool Create(HWND parent, int x, int y, int width, int height, int control_id = 0);
  // Unregisters, restores the box's own procedure and destroys MsgWnd; the
  // box itself goes with the control (or its parent).
  void Terminate();

  HWND txtHotKey() const { return box_; }
  HWND MsgWnd() const { return msg_wnd_.hwnd(); }
  const std::wstring& name() const { return name_; }

  // Store properties: settable only before Create.
  PropertyError SetINIFileName(const std::wstring& file_name);
  PropertyError SetSettingLocation(int location);
  PropertyError SetRegKeyName(const std::wstring& reg_key_name);
  const std::wstring& INIFileName() const { return options_.ini_file_name; }
  int SettingLocation() const { return options_.setting_location; }
  const std::wstring& RegKeyName() const { return options_.reg_key_name; }

  std::wstring Text() const;
  int KeyCode() const { return capture_.key_code(); }
  int ModKeyCode() const { return capture_.mod_key_code(); }

  bool HotKeyEnabled() const { return enabled_; }
  // true registers the combination (or explains in a message box why not),
  // false unregisters it.
  void SetHotKeyEnabled(bool enabled);

  bool Enabled() const;
  void SetEnabled(bool enabled);
  void Move(int x, int y, int width, int height);
  // Re-creates the box's font (Arial 9 pt) for a new DPI.
  void SetDpi(int dpi);

  // Writes Text, KeyCode and ModKeyCode to the store, in that order.
  // False when any of the three values could not be written.
  bool SaveSettings();
  // Raises HotKeyPressed; MsgWnd calls it once per WM_HOTKEY.
  void RaiseEvents();

  // Events for the host. Key and shift of KeyDown/KeyUp may be changed by the
  // handler; mouse coordinates are client pixels of the box; shift state:
  // 1 Shift, 2 Ctrl, 4 Alt; buttons: 1 left, 2 right, 4 middle.
  std::function<void()> HotKeyPressed;
  std::function<void()> Click;
  std::function<void()> DblClick;
  std::function<void(int& key_code, int& shift)> KeyDown;
  std::function<void(int& key_code, int& shift)> KeyUp;
  std::function<void(int button, int shift, float x, float y)> MouseDown;
  std::function<void(int button, int shift, float x, float y)> MouseMove;
  std::function<void(int button, int shift, float x, float y)> MouseUp;

 private:
  // Message-only window that receives the hotkey and reaches its control.
  class MessageWindow : public Window {
   public:
    bool Create(HotKey* owner);
    void Destroy() { Window::Destroy(); }

   protected:
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

   private:
    HotKey* owner_ = nullptr;
  };

  bool OnControlMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT* result) override;
  void txtHotKey_KeyDown(int key, int shift);
  void txtHotKey_KeyUp(int key, int shift);
  void RaiseMouse(const std::function<void(int, int, float, float)>& event, int button, WPARAM wp, LPARAM lp);
  void LoadSettings();
  std::wstring ReadValue(const std::wstring& key, const std::wstring& default_value) const;
  bool WriteValue(const std::wstring& key, const std::wstring& value) const;
  void ShowCapture();
  void ShowError(const wchar_t* text) const;

  std::wstring name_;
  HotKeyStoreOptions options_;
  std::wstring ini_path_;
  KeyCapture capture_;
  bool enabled_ = false;
  bool created_ = false;
  bool left_down_ = false;
  HWND box_ = nullptr;
  UniqueFont font_;
  int font_dpi_ = 0;  // the DPI font_ was made for
  MessageWindow msg_wnd_;
};

}  // namespace vardo::hotkey
