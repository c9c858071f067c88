// The pin layer (afterdoch): a borderless, full-screen, topmost window that
// is see-through wherever its key-coloured background shows. It holds the
// pinned images, their captions and the handle.
#pragma once
#include <windows.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "capture/overlay_host_win.h"
#include "common/handles_win.h"
#include "common/window_win.h"
#include "pinned/handle_win.h"
#include "pinned/pin_model.h"
#include "pinned/pinned_image_win.h"

namespace vardo {

constexpr COLORREF kLayerKey = RGB(64, 0, 64);

class PinLayer final : public Window, public OverlayHost {
 public:
  PinLayer() = default;
  ~PinLayer() override;

  // Shared state other windows read, as decimal text.
  std::string tmd = "0";      // "0" colour-keyed, "1" whole-layer alpha
  std::string getindex;       // image pressed last
  std::string imgnum = "1";   // next free image index

  // Creates and loads the layer (hidden) on first use.
  bool Load();
  int dpi() const { return dpi_; }
  // The handle's place on the layer.
  pin::Rect getimg() const { return getimg_; }

  // OverlayHost
  void ShowLayer() override;
  void SetLayerTimer(bool running) override;
  bool AddImageFromClipboard() override { return Command3_Click(); }
  void BringLayerToTop() override { wintop_Click(); }
  bool PopupTextLabelMenu(HWND owner) override;
  HWND LayerWindow() const override { return hwnd(); }

  void HideLayer();
  // True when the clipboard's bitmap was added as the next image.
  bool Command3_Click();
  // Adds the picture in a file as image `index` (the caller passes the
  // current imgnum text). Any format GDI+ reads, at its own size, with
  // transparent areas over white. False, with nothing added and imgnum
  // unchanged, when the index is not the next free one, the name has no
  // "." or the file cannot be loaded.
  bool AddImageFile(const std::string& index, const std::wstring& path);
  void Command5_Click();
  void SetLayerAlpha(int opacity);
  void wintop_Click();
  void Timer1_Timer();

  // Image menu commands on the image in getindex.
  void RemoveImage();
  void SendImageToBack();
  // "保存为": asks for a file name and writes the image in the format its
  // extension selects; a name of another type and a failed write are
  // reported in the "错误" box and the pin stays. Restarts the topmost keeper afterwards.
  void savepic_Click();

  // Events from the handle and the images.
  void getimg_RightDown();
  // A file dropped at `at` (layer coordinates): only the first one counts,
  // and only on the handle. Frees the drop.
  void getimg_OLEDragDrop(HDROP drop, POINT at);
  // A press of any button hides the highlight and makes the image the one
  // the image menu acts on; left starts a drag, right opens the menu.
  enum class MouseButton { kLeft, kRight, kOther };
  void Picture1_MouseDown(PinnedImage& image, MouseButton button, pin::Point at);
  void Picture1_MouseMove(PinnedImage& image, pin::Point at);
  void Text1_MouseDown(PinnedImage& image, pin::Point at);
  PinnedImage* Image(int index);

  HFONT caption_font() const { return caption_font_.get(); }
  HFONT measure_font() const { return measure_font_.get(); }
  // The tooltip of the handle and the images, made when first wanted: the
  // common controls it needs are then loaded only once the pointer comes
  // onto the handle or an image is added. EnsureTooltip may return null.
  HWND tooltip() const { return tooltip_; }
  HWND EnsureTooltip();

 private:
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;
  void Paint();
  // Adds a picture as the image with the given index: centred, in front
  // and highlighted. False (and nothing left behind) when it fails.
  bool AddPicture(int index, UniqueBitmap picture, pin::Size size);
  void StartHighlight(const pin::Rect& image);
  void HideHighlight();
  void ctime_Timer();
  void RefreshRect(const pin::Rect& r);

  void UpdateHandleTool();
  // The screen changed size: the layer covers it again and the handle and
  // any image wholly off it come back onto it.
  void FitToScreen();
  // Repaints the handle's square on the layer and on the images over it.
  void RefreshHandle(const pin::Rect& r);
  void getimg_MouseDown(POINT screen);
  void getimg_MouseMove(POINT screen);
  void EndHandleDrag();

  int dpi_ = 96;
  pin::Size screen_;  // the size the layer covers
  pin::Rect getimg_;
  // Dragging the handle: where the press was and where the handle was.
  bool handle_drag_ = false;
  POINT drag_from_{};
  pin::Point handle_from_;
  HWND tooltip_ = nullptr;
  UniqueBrush key_brush_;
  UniqueBrush caption_brush_;
  UniqueFont caption_font_;
  UniqueFont measure_font_;
  std::map<int, std::unique_ptr<PinnedImage>> images_;
  // Removed images whose handlers may still be on the stack; freed from
  // the message loop.
  std::vector<std::unique_ptr<PinnedImage>> removed_;
  pin::Point grab_;
  // Shape1, the highlight frame, and its blinker ctime.
  bool frame_visible_ = false;
  pin::Rect frame_;
  COLORREF frame_colour_ = RGB(255, 0, 255);
  int blink_ = 0;
};

// The one pin layer of the process, created (hidden) on first use.
PinLayer& afterdoch();

// Title of a window: up to 255 characters.
std::wstring HwndToTitle(HWND wnd);

// Ends the program at once: hides the layer and ends the process without
// closing any window.
[[noreturn]] void EndProgram();

}  // namespace vardo
