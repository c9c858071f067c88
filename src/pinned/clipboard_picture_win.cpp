#include "pinned/clipboard_picture_win.h"

#include "common/clipboard_busy.h"

namespace vardo {

namespace {
// Another program may hold the clipboard open for a moment: a clipboard
// history or a viewer opens it as soon as it changes, right after the
// capture put its picture there.
bool OpenClipboardPatiently(HWND owner) {
  const DWORD start = GetTickCount();
  for (;;) {
    if (OpenClipboard(owner)) return true;
    if (GetTickCount() - start >= kClipboardPatienceMs) return false;
    Sleep(10);
  }
}
}  // namespace

UniqueBitmap CopyPicture(HBITMAP source, pin::Size* size) {
  BITMAP bm{};
  if (!source || !GetObjectW(source, sizeof(bm), &bm) || bm.bmWidth <= 0 || bm.bmHeight == 0) return nullptr;
  int w = bm.bmWidth;
  int h = bm.bmHeight < 0 ? -bm.bmHeight : bm.bmHeight;
  MemoryCanvas canvas;
  if (!canvas.CreateDib(w, h)) return nullptr;
  UniqueMemDc src(CreateCompatibleDC(nullptr));
  if (!src) return nullptr;
  {
    SelectGuard sel(src.get(), source);
    if (!BitBlt(canvas.dc(), 0, 0, w, h, src.get(), 0, 0, SRCCOPY)) return nullptr;
  }
  if (size) *size = {w, h};
  return UniqueBitmap(canvas.Release());
}

UniqueBitmap PictureFromClipboard(HWND owner, pin::Size* size) {
  if (!IsClipboardFormatAvailable(CF_BITMAP)) return nullptr;
  if (!OpenClipboardPatiently(owner)) return nullptr;
  UniqueBitmap copy = CopyPicture(static_cast<HBITMAP>(GetClipboardData(CF_BITMAP)), size);
  CloseClipboard();
  return copy;
}

}  // namespace vardo
