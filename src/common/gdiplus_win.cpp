#include "common/gdiplus_win.h"

namespace vardo {

GdiplusSession::GdiplusSession() {
  Gdiplus::GdiplusStartupInput in;
  in.GdiplusVersion = 1;
  ULONG_PTR token = 0;
  if (Gdiplus::GdiplusStartup(&token, &in, nullptr) == Gdiplus::Ok) token_ = token;
}

GdiplusSession::~GdiplusSession() {
  if (token_) Gdiplus::GdiplusShutdown(token_);
}

}  // namespace vardo
