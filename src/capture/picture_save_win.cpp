#include "capture/picture_save_win.h"

#include "capture/encoders_win.h"
#include "capture/picture_save.h"
#include "common/gdiplus_win.h"
#include "common/process_win.h"
#include "common/savepic_win.h"

namespace vardo::capture {

std::optional<std::wstring> AskPictureSaveName(HWND owner) {
  savepic::SaveDialog dialog;
  dialog.filter = Widen(SaveFilterList());
  dialog.default_ext = L"png";
  return savepic::AskFileNameToSave(owner, dialog);
}

std::optional<savepic::SaveError> SavePictureFile(HBITMAP picture, const std::wstring& path) {
  const SaveType type = SaveTypeFor(Narrow(path));
  if (type == SaveType::kNone) return std::nullopt;
  if (!picture || GetObjectType(picture) != OBJ_BITMAP) return savepic::NoPictureError();
  GdiplusSession session;
  if (!session.ok()) return savepic::GdiplusStartError(Gdiplus::GdiplusNotInitialized);
  Gdiplus::GpBitmap* raw = nullptr;
  GpStatus st = gp::GdipCreateBitmapFromHBITMAP(picture, nullptr, &raw);
  GpBitmapPtr bitmap(raw);
  if (st != Gdiplus::Ok || !bitmap) return savepic::BitmapError(st != Gdiplus::Ok ? st : Gdiplus::GenericError);
  switch (type) {
    case SaveType::kPng:
      st = SavePng(bitmap.get(), path);
      break;
    case SaveType::kJpeg:
      st = SaveJpeg(bitmap.get(), path, kJpegQuality);
      break;
    case SaveType::kGif:
      st = SaveGif(bitmap.get(), path);
      break;
    case SaveType::kBmp:
      st = SaveBmp(bitmap.get(), path);
      break;
    case SaveType::kNone:
      break;
  }
  if (st == Gdiplus::Ok) return std::nullopt;
  return savepic::EncoderError(st, Narrow(path));
}

}  // namespace vardo::capture
