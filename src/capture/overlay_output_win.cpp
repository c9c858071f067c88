// The output actions: copy (`Image1`), pin (`pinimg`), save (`savepic`)
// and close (`Exi`). Outputs are composed from the overlay's own state,
// cut to the screen; an action that cannot finish says why and leaves the
// capture open as it was, so nothing is lost.
#include "capture/output.h"
#include "capture/output_win.h"
#include "capture/overlay_window_win.h"
#include "capture/picture_save.h"
#include "capture/picture_save_win.h"
#include "common/clipboard_busy.h"
#include "common/process_win.h"
#include "common/savepic_win.h"

namespace vardo {

void OverlayWindow::OnAction(ToolbarAction action) {
  if (!model_ || Busy()) return;
  // Saving encodes with GDI+, which may still be starting.
  if (action != ToolbarAction::kExit) AwaitGdiplus();
  switch (action) {
    case ToolbarAction::kExit:
      OnExit();
      break;
    case ToolbarAction::kCopy:
      Image1_Click();
      break;
    case ToolbarAction::kPin:
      pinimg_Click();
      break;
    case ToolbarAction::kSave:
      savepic_Click();
      break;
  }
}

OverlayHost* OverlayWindow::Close() {
  OverlayHost* host = host_;
  Unload();
  return host;
}

void OverlayWindow::OnExit() {
  if (OverlayHost* host = Close()) host->ShowLayer();
}

std::optional<capture::Rect> OverlayWindow::OutputArea() const {
  std::optional<capture::Rect> area = capture::OutputArea(model_->selection(), model_->surface());
  if (!area) MessageBeep(MB_ICONWARNING);
  return area;
}

UniqueBitmap OverlayWindow::SetRect(const capture::Rect& area) {
  // The surface carries the frozen picture and the strokes; the labels and
  // the text typed in the open box go over it as they show. The outline,
  // the handles, a preview, the magnifier and the toolbar never go in.
  EnsureSurface();
  UniqueBitmap picture = ComposeOutput(surface_, area);
  if (!picture) return picture;
  UniqueMemDc dc(CreateCompatibleDC(nullptr));
  if (!dc) return nullptr;
  {
    SelectGuard into(dc.get(), picture.get());
    SetViewportOrgEx(dc.get(), -area.left, -area.top, nullptr);
    text_.DrawOutput(dc.get());
    GdiFlush();
  }
  return picture;
}

void OverlayWindow::ShowError(const std::string& message) {
  MessageBoxW(hwnd(), Widen(message).c_str(), Widen(capture::kOutputErrorTitle).c_str(), MB_OK | MB_ICONWARNING);
}

bool OverlayWindow::PutOnClipboard(UniqueBitmap& picture) {
  if (savepic::GiveBitmapToClipboard(hwnd(), picture, kClipboardPatienceMs)) return true;
  ShowError(capture::ClipboardBusyMessage());
  return false;
}

void OverlayWindow::Image1_Click() {
  const std::optional<capture::Rect> area = OutputArea();
  if (!area) return;
  UniqueBitmap picture = SetRect(*area);
  if (!picture || !PutOnClipboard(picture)) return;
  if (OverlayHost* host = Close()) host->ShowLayer();
}

void OverlayWindow::pinimg_Click() {
  const std::optional<capture::Rect> area = OutputArea();
  if (!area) return;
  UniqueBitmap picture = SetRect(*area);
  if (!picture || !PutOnClipboard(picture)) return;
  // The layer takes the picture from the clipboard, centred and in front,
  // before the capture ends: if it cannot, the capture stays for another
  // try and nothing is lost.
  if (!host_->AddImageFromClipboard()) {
    ShowError(capture::PinFailedMessage());
    return;
  }
  OverlayHost* host = Close();
  if (!host) return;
  host->ShowLayer();
  host->BringLayerToTop();
  host->SetLayerTimer(true);
}

void OverlayWindow::savepic_Click() {
  const std::optional<capture::Rect> area = OutputArea();
  if (!area) return;
  host_->SetLayerTimer(false);
  const std::optional<std::wstring> name = capture::AskPictureSaveName(hwnd());
  // Cancelled: the capture stays as it was.
  if (!name || !model_) return;
  const std::string name8 = Narrow(*name);
  if (capture::SaveTypeFor(name8) == capture::SaveType::kNone) {
    ShowError(capture::UnknownTypeMessage(name8));
    return;
  }
  UniqueBitmap picture = SetRect(*area);
  if (!picture) return;
  HCURSOR old = SetCursor(LoadCursorW(nullptr, IDC_WAIT));
  const std::optional<savepic::SaveError> error = capture::SavePictureFile(picture.get(), *name);
  SetCursor(old);
  if (error) {
    savepic::ShowSaveError(hwnd(), *error);
    return;
  }
  if (OverlayHost* host = Close()) {
    host->SetLayerTimer(true);
    host->ShowLayer();
  }
}

}  // namespace vardo
