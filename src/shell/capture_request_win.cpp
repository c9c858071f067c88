#include "shell/capture_request_win.h"

#include "capture/overlay_win.h"
#include "pinned/pin_layer_win.h"

namespace vardo {

void CaptureRequest() {
  // Unloading the capture now would pull it from under its own dialog (a
  // save half done, say); the dialog comes forward instead.
  if (BringCaptureDialogForward()) return;
  PinLayer& layer = afterdoch();
  // While translucent, the request only brings the layer back to normal.
  if (layer.tmd != "0") {
    layer.Command5_Click();
    return;
  }
  UnloadCaptureOverlay();  // the overlay is built fresh for every capture
  layer.HideLayer();
  layer.SetLayerTimer(false);
  OpenCaptureOverlay(layer);
}

}  // namespace vardo
