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
// While a dialog of the open capture is up (the save dialog, the colour or
// font dialog, an error box), brings that dialog forward and returns true:
// the capture under it is left as it is.
bool BringCaptureDialogForward();

}  // namespace vardo
