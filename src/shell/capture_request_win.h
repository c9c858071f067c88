// The one capture request that the handle menu's "截图" and the capture
// hotkey both run.
#pragma once

namespace vardo {

// While the pin layer is translucent only returns it to normal; otherwise
// unloads any overlay, hides the layer, stops its topmost keeper and opens
// a fresh capture overlay.
void CaptureRequest();

}  // namespace vardo
