#include "shell/capture_request_win.h"

#include "capture/overlay_win.h"
#include "pinned/pin_layer_win.h"

namespace vardo {

void CaptureRequest() {
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
