#include "pinned/menus_win.h"

#include <shellapi.h>

#include <string>

#include "common/process_win.h"
#include "pinned/pin_layer_win.h"

namespace vardo {

const wchar_t kHelpPage[] = L"https://vardo.example.com/help/images";
const wchar_t kProductPage[] = L"https://vardo.example.com/app?v=1.0";
const wchar_t kPublisherPage[] = L"https://vardo.example.com/";

namespace {
constexpr wchar_t kClassName[] = L"VardoMenus";
void (*g_capture_command)() = nullptr;

void AppendItems(HMENU menu, const std::vector<menus::Item>& items) {
  for (const menus::Item& item : items) {
    std::wstring caption = Widen(std::string(item.caption));
    if (item.children.empty()) {
      AppendMenuW(menu, MF_STRING, item.id, caption.c_str());
    } else {
      HMENU sub = CreatePopupMenu();
      AppendItems(sub, item.children);
      AppendMenuW(menu, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(sub), caption.c_str());
    }
  }
}
}  // namespace

UniqueMenu BuildPopupMenu(const menus::MenuDef& def) {
  UniqueMenu menu(CreatePopupMenu());
  if (menu) AppendItems(menu.get(), def.items);
  return menu;
}

void SetCaptureCommand(void (*command)()) { g_capture_command = command; }

MenuWindow& cd() {
  static MenuWindow window;
  window.Load();
  return window;
}

bool MenuWindow::Load() {
  if (hwnd()) return true;
  if (!RegisterClass(kClassName)) return false;
  if (!Create(WS_EX_TOOLWINDOW, kClassName, L"Form2", WS_POPUP, 0, 0, 0, 0)) return false;
  // Each menu hangs on a bar under its own name; the bar owns them all.
  bar_.reset(CreateMenu());
  const menus::MenuDef* defs[] = {&menus::CdMenu(), &menus::ImgMenu(), &menus::CddMenu(), &menus::TxtipMenu()};
  HMENU* slots[] = {&cd_, &imgmenu_, &cdd_, &txtip_};
  for (size_t i = 0; i < 4; ++i) {
    UniqueMenu m = BuildPopupMenu(*defs[i]);
    *slots[i] = m.get();
    std::wstring name = Widen(std::string(defs[i]->name));
    if (m && AppendMenuW(bar_.get(), MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(m.get()), name.c_str()))
      m.release();
  }
  return true;
}

menus::Command MenuWindow::Popup(HMENU menu, HWND owner) {
  if (!menu) return menus::kNone;
  POINT p{};
  GetCursorPos(&p);
  HWND host = owner ? owner : hwnd();
  auto chosen = static_cast<menus::Command>(
      TrackPopupMenuEx(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_LEFTALIGN | TPM_TOPALIGN, p.x, p.y, host,
                       nullptr));
  // Lets the menu close properly when the owner was not in front.
  PostMessageW(host, WM_NULL, 0, 0);
  if (chosen != menus::kNone) Run(chosen);
  return chosen;
}

void MenuWindow::Launch(const wchar_t* relative) {
  std::wstring path = JoinPath(ProgramFolder(), relative);
  // A missing tool is not reported.
  ShellExecuteW(hwnd(), L"open", path.c_str(), L"", L"", SW_SHOWNORMAL);
}

void MenuWindow::OpenPage(const wchar_t* address) {
  ShellExecuteW(hwnd(), L"open", address, L"", L"", SW_SHOWNORMAL);
}

void MenuWindow::Run(menus::Command command) {
  switch (command) {
    case menus::capture:
      if (g_capture_command) g_capture_command();
      break;
    case menus::pmqs:
      Launch(L"\\apps\\kestil.exe");
      break;
    case menus::pmcl:
      Launch(L"\\apps\\mirrun.exe");
      break;
    case menus::quitit:
    case menus::exit:
      EndProgram();
    case menus::aboutthis:
      OpenPage(kPublisherPage);
      break;
    case menus::aapp:
      OpenPage(kProductPage);
      break;
    case menus::bdi:
      OpenPage(kHelpPage);
      break;
    case menus::dfer:
      afterdoch().ShowLayer();
      break;
    case menus::exitimg:
      afterdoch().RemoveImage();
      break;
    case menus::qexit:
      afterdoch().SendImageToBack();
      break;
    case menus::wstmd:
      afterdoch().SetLayerAlpha(menus::kOpacityHalf);
      break;
    case menus::qstmd:
      afterdoch().SetLayerAlpha(menus::kOpacitySeventy);
      break;
    case menus::hfzc:
      afterdoch().Command5_Click();
      break;
    case menus::bcjt:
      afterdoch().savepic_Click();
      break;
    case menus::delltip:  // the overlay deletes its own label
    case menus::kNone:
      break;
  }
}

}  // namespace vardo
