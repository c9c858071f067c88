#include "capture/output.h"

#include "common/clipboard_busy.h"

namespace vardo::capture {

std::optional<Rect> OutputArea(const Rect& selection, Size surface) {
  const Rect area = UndimmedArea(selection, surface);
  if (area.Empty()) return std::nullopt;
  return area;
}

std::string ClipboardBusyMessage() { return vardo::ClipboardBusyMessage("截图", "截图"); }

std::string PinFailedMessage() {
  return "剪贴板正被其他程序占用或内存不足，截图没有贴到屏幕上。\r\n\r\n截图仍然打开着，请稍后再试。";
}

std::string UnknownTypeMessage(const std::string& file_name, const std::string& kept) {
  return "无法保存为 \"" + file_name +
         "\"：只能保存为 PNG (*.png)、JPEG (*.jpg)、GIF (*.gif) 或 BMP (*.bmp) 文件。\r\n\r\n" + kept;
}

}  // namespace vardo::capture
