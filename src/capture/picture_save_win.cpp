#include "pinned/pin_save_win.h"

#include "capture/encoders_win.h"
#include "common/gdiplus_win.h"
#include "common/process_win.h"
#include "common/savepic_win.h"
#include "pinned/pin_save.h"

namespace vardo {

std::optional<std::wstring> AskPinnedSaveName(HWND owner) {
  savepic::SaveDialog dialog;
  dialog.filter = Widen(pin::SaveFilterList());
  dialog.default_ext = L"png";
  return savepic::AskFileNameToSave(owner, dialog);
}

std::optional<savepic::SaveError> SavePinnedPicture(HBITMAP picture, const std::wstring& path) {
  const pin::SaveType type = pin::SaveTypeFor(Narrow(path));
  if (type == pin::SaveType::kNone) return std::nullopt;
  if (!picture || GetObjectType(picture) != OBJ_BITMAP) return savepic::NoPictureError();
  GdiplusSession session;
  if (!session.ok()) return savepic::GdiplusStartError(Gdiplus::GdiplusNotInitialized);
  Gdiplus::GpBitmap* raw = nullptr;
  GpStatus st = gp::GdipCreateBitmapFromHBITMAP(picture, nullptr, &raw);
  GpBitmapPtr bitmap(raw);
  if (st != Gdiplus::Ok || !bitmap) return savepic::BitmapError(st != Gdiplus::Ok ? st : Gdiplus::GenericError);
  switch (type) {
    case pin::SaveType::kPng:
      st = SavePng(bitmap.get(), path);
      break;
    case pin::SaveType::kJpeg:
      st = SaveJpeg(bitmap.get(), path, pin::kJpegQuality);
      break;
    case pin::SaveType::kGif:
      st = SaveGif(bitmap.get(), path);
      break;
    case pin::SaveType::kBmp:
      st = SaveBmp(bitmap.get(), path);
      break;
    case pin::SaveType::kNone:
      break;
  }
  if (st == Gdiplus::Ok) return std::nullopt;
  return savepic::EncoderError(st, Narrow(path));
}

}  // namespace vardo
