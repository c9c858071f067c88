// One pinned image on the layer (Picture1(i)) with its caption (Text1(i)).
#pragma once
#include <windows.h>

#include "common/handles_win.h"
#include "common/window_win.h"
#include "pinned/pin_model.h"

namespace vardo {

class PinLayer;

class PinnedImage final : public Window {
 public:
  PinnedImage(PinLayer& layer, int index) : layer_(layer), index_(index), caption_hook_(*this) {}
  ~PinnedImage() override;

  // Creates the image box (hidden) and its hidden caption, taking the
  // picture. False when the windows cannot be made.
  bool Build(UniqueBitmap picture, pin::Size size);
  void Show();

  int index() const { return index_; }
  HWND caption() const { return caption_; }
  pin::Rect box() const { return geometry_.box; }
  const pin::PinGeometry& geometry() const { return geometry_; }
  HBITMAP picture() const { return picture_.get(); }

  void MoveTo(pin::Point pos);
  void SetCaptionText(const std::wstring& text);
  // Double-click: collapse to a captioned tile or expand again.
  void ToggleCollapse();
  // Keeps the caption box sized to its text.
  void FitCaption();

  // Whether this image and its caption lie above the handle: an image is
  // added above it and goes below it at the next left press on any image,
  // or when it is sent to the back. While below, the image draws the part
  // of the handle that lies on it and lets the pointer through to it.
  bool above_handle() const { return above_handle_; }
  void set_above_handle(bool above) { above_handle_ = above; }

 private:
  class CaptionHook final : public ControlHook {
   public:
    explicit CaptionHook(PinnedImage& owner) : owner_(owner) {}

   protected:
    bool OnControlMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT* result) override;

   private:
    PinnedImage& owner_;
  };

  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;
  void Paint();
  void ApplyGeometry();
  void SetTooltip(bool on);
  // Whether a point (on the screen, or in this image) is on the handle
  // while the handle is in front of this image.
  bool OnHandle(POINT p, bool screen) const;

  PinLayer& layer_;
  int index_;
  UniqueBitmap picture_;
  pin::PinGeometry geometry_;
  pin::Rect applied_;           // where the image box window is now
  bool caption_shown_ = false;  // whether the caption window is showing
  HWND caption_ = nullptr;
  CaptionHook caption_hook_;
  bool dragging_ = false;
  bool tool_added_ = false;
  bool above_handle_ = true;
};

}  // namespace vardo
