#include "capture/encoders_win.h"

#include "common/gdiplus_io_win.h"

namespace vardo {
namespace {

CLSID ClsidFromText(std::string_view text) {
  const std::wstring wide(text.begin(), text.end());  // ASCII
  CLSID id{};
  if (FAILED(CLSIDFromString(wide.c_str(), &id))) return CLSID{};
  return id;
}

}  // namespace

CLSID EncoderClsid(int index) { return ClsidFromText(EncoderClsidText(index)); }

GpStatus SavePng(Gdiplus::GpImage* image, const std::wstring& path) {
  const CLSID png = EncoderClsid(kEncoderPng);
  return SaveImageReplacing(image, path, png, nullptr);
}

GpStatus SaveJpeg(Gdiplus::GpImage* image, const std::wstring& path, long quality) {
  const CLSID jpeg = EncoderClsid(kEncoderJpeg);
  ULONG value = static_cast<ULONG>(quality);
  Gdiplus::EncoderParameters params{};
  params.Count = 1;
  params.Parameter[0].Guid = ClsidFromText(kJpegQualityParamText);
  params.Parameter[0].NumberOfValues = 1;
  params.Parameter[0].Type = kEncoderValueTypeLong;
  params.Parameter[0].Value = &value;
  return SaveImageReplacing(image, path, jpeg, &params);
}

GpStatus SaveGif(Gdiplus::GpImage* image, const std::wstring& path) {
  if (!image || path.empty()) return Gdiplus::InvalidParameter;
  const auto px = PixelsFromGpImage(image);
  if (!px) return Gdiplus::GenericError;
  return SavePixelsAsGif(*px, path) ? Gdiplus::Ok : Gdiplus::GenericError;
}

GpStatus SaveBmp(Gdiplus::GpImage* image, const std::wstring& path) {
  if (!image || path.empty()) return Gdiplus::InvalidParameter;
  const auto px = PixelsFromGpImage(image);
  if (!px) return Gdiplus::GenericError;
  return SavePixelsAsBmp(*px, path) ? Gdiplus::Ok : Gdiplus::GenericError;
}

}  // namespace vardo
