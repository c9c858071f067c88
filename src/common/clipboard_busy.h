// What the programs do about a clipboard that another program holds open:
// how long a copy waits for it, and what the "错误" box says when it stays
// busy. Pure.
#pragma once
#include <string>
#include <string_view>

namespace vardo {

// How long a copy waits for a clipboard another program holds open.
inline constexpr unsigned kClipboardPatienceMs = 1500;

// The title of the box (UTF-8).
inline constexpr const char* kClipboardErrorTitle = "错误";
// The box's text (UTF-8): `what` was not put on the clipboard, and
// `still_open` is still open, so nothing is lost and the user can try again.
std::string ClipboardBusyMessage(std::string_view what, std::string_view still_open);

}  // namespace vardo
