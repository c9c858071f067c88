#include "common/clipboard_busy.h"

namespace vardo {

std::string ClipboardBusyMessage(std::string_view what, std::string_view still_open) {
  std::string text = "剪贴板正被其他程序占用，";
  text.append(what);
  text += "没有放到剪贴板上。\r\n\r\n";
  text.append(still_open);
  text += "仍然打开着，请稍后再试。";
  return text;
}

}  // namespace vardo
