#include "capture/output.h"

namespace vardo::capture {

std::optional<Rect> OutputArea(const Rect& selection, Size surface) {
  const Rect area = UndimmedArea(selection, surface);
  if (area.Empty()) return std::nullopt;
  return area;
}

std::string ClipboardBusyMessage() {
  return "剪贴板正被其他程序占用，截图没有放到剪贴板上。\r\n\r\n截图仍然打开着，请稍后再试。";
}

std::string UnknownTypeMessage(const std::string& file_name) {
  return "无法保存为 \"" + file_name +
         "\"：只能保存为 PNG (*.png)、JPEG (*.jpg)、GIF (*.gif) 或 BMP (*.bmp) 文件。\r\n\r\n截图仍然打开着。";
}

}  // namespace vardo::capture
