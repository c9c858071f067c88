// What the capture overlay asks of the pin layer (the layer implements it).
#pragma once
#include <windows.h>

namespace vardo {

class OverlayHost {
 public:
  // Shows the pin layer (Visible = true).
  virtual void ShowLayer() = 0;
  // Starts or stops the layer's topmost keeper (Timer1).
  virtual void SetLayerTimer(bool running) = 0;
  // Adds a pinned image from the clipboard's bitmap (Command3_Click); false
  // when nothing was added.
  virtual bool AddImageFromClipboard() = 0;
  // Puts the layer at the top of the topmost band (wintop_Click).
  virtual void BringLayerToTop() = 0;
  // Pops up the text-label menu at the pointer, owned by `owner`; returns
  // true when its delete item was chosen.
  virtual bool PopupTextLabelMenu(HWND owner) = 0;
  // The layer's window, which window detection never offers.
  virtual HWND LayerWindow() const { return nullptr; }

 protected:
  ~OverlayHost() = default;
};

}  // namespace vardo
