// The menu `cd` that a right click on a measuring label opens: the line
// colours and "删除".
#pragma once
#include <windows.h>

#include <optional>

#include "common/color.h"
#include "common/handles_win.h"

namespace vardo::ruler {

enum LineCommand : UINT {
  kCmdRed = 301,   // "红"
  kCmdBlue,        // "蓝"
  kCmdGreen,       // "绿"
  kCmdYellow,      // "黄"
  kCmdBlack,       // "黑"
  kCmdWhite,       // "白"
  kCmdDeleteLine,  // "删除"
};

// "测量线颜色" with its six colours, then "删除".
UniqueMenu BuildLineMenu();

// The colour a command gives, when it is a colour command.
std::optional<ColorValue> ColorOfCommand(UINT command);

}  // namespace vardo::ruler
