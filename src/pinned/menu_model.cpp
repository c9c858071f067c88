#include "pinned/menu_model.h"

namespace vardo::menus {

const MenuDef& CdMenu() {
  static const MenuDef m{"cd",
                         {{dfer, "Display Tessel", {}},
                          {bdi, "Marbeck:image:", {}},
                          {kNone, "About", {{aapp, "About App", {}}}},
                          {exit, "Exit", {}}}};
  return m;
}

const MenuDef& ImgMenu() {
  static const MenuDef m{"imgmenu",
                         {{exitimg, "删除", {}},
                          {qexit, "置于下层", {}},
                          {bcjt, "保存为", {}},
                          {kNone, "透明度", {{wstmd, "50%", {}}, {qstmd, "70%", {}}, {hfzc, "恢复正常", {}}}}}};
  return m;
}

const MenuDef& CddMenu() {
  static const MenuDef m{"cdd",
                         {{capture, "截图", {}},
                          {kNone, "插件", {{pmqs, "屏幕取色", {}}, {pmcl, "屏幕测量", {}}}},
                          {quitit, "退出", {}},
                          {aboutthis, "关于本软件", {}}}};
  return m;
}

const MenuDef& TxtipMenu() {
  static const MenuDef m{"txtip", {{delltip, "删除", {}}}};
  return m;
}

}  // namespace vardo::menus
