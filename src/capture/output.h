// What the output actions (copy, pin, save) take and what they tell the
// user when they cannot finish.
#pragma once
#include <optional>
#include <string>

#include "capture/geometry.h"
#include "capture/picture_save.h"

namespace vardo::capture {

// The pixels an output holds: the selection cut to the screen (a
// highlighted maximised window reaches 2 px past it). Nothing for a
// selection with no pixels on the screen.
std::optional<Rect> OutputArea(const Rect& selection, Size surface);

// The texts of the "错误" box (UTF-8).
inline constexpr const char* kOutputErrorTitle = "错误";
// The clipboard stayed busy (copy and pin wait vardo::kClipboardPatienceMs
// for it); the capture is still open.
std::string ClipboardBusyMessage();
// The pin layer could not take the picture (the clipboard stayed busy
// when it read it back, or memory ran out); the capture is still open.
std::string PinFailedMessage();
// A file name whose extension selects no format; `kept` says what is
// still there (the capture by default, or a pin).
std::string UnknownTypeMessage(const std::string& file_name, const std::string& kept = "截图仍然打开着。");
inline constexpr const char* kPinKept = "贴图仍在屏幕上。";

}  // namespace vardo::capture
