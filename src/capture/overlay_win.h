// The capture overlay (ScrShot): one per process, created for each capture
// and unloaded at its end.
#pragma once
#include "capture/overlay_host_win.h"

namespace vardo {

// Loads the overlay (freezes the primary screen) and shows it. Callers
// unload any existing overlay first.
void OpenCaptureOverlay(OverlayHost& host);
// Unloads the overlay if it is loaded.
void UnloadCaptureOverlay();
bool CaptureOverlayLoaded();

}  // namespace vardo
