// The four popup menus of the program: items in display order with their
// command ids and captions (UTF-8). Windows code builds menus from these.
#pragma once
#include <string_view>
#include <vector>

namespace vardo::menus {

// Command ids; each item of every menu has its own.
enum Command : unsigned {
  kNone = 0,
  // cd
  dfer = 100,
  bdi,
  aapp,
  exit,
  // imgmenu
  exitimg = 200,
  qexit,
  bcjt,
  wstmd,
  qstmd,
  hfzc,
  // cdd
  capture = 300,
  pmqs,
  pmcl,
  quitit,
  aboutthis,
  // txtip
  delltip = 400,
};

struct Item {
  Command id = kNone;            // kNone for a submenu
  std::string_view caption;
  std::vector<Item> children;    // a submenu's items
};

struct MenuDef {
  std::string_view name;
  std::vector<Item> items;
};

const MenuDef& CdMenu();
const MenuDef& ImgMenu();
const MenuDef& CddMenu();
const MenuDef& TxtipMenu();

// Opacities of the translucency items, out of 255.
constexpr int kOpacityHalf = 200;     // "50%"
constexpr int kOpacitySeventy = 125;  // "70%"

}  // namespace vardo::menus
