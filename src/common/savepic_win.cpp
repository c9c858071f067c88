#include "common/savepic_win.h"

#include <commdlg.h>

#include <vector>

#include "common/gdiplus_io_win.h"
#include "common/gdiplus_win.h"
#include "common/handles_win.h"
#include "common/process_win.h"

namespace vardo::savepic {

std::wstring WideTextFromPtr(const wchar_t* text) { return text ? std::wstring(text) : std::wstring(); }

bool FindEncoderByExtension(const std::wstring& ext, CLSID* clsid) {
  *clsid = CLSID{};
  UINT count = 0, bytes = 0;
  if (gp::GdipGetImageEncodersSize(&count, &bytes) != Gdiplus::Ok || count == 0 || bytes == 0) return false;
  std::vector<BYTE> table(bytes);
  auto* codecs = reinterpret_cast<Gdiplus::ImageCodecInfo*>(table.data());
  if (gp::GdipGetImageEncoders(count, bytes, codecs) != Gdiplus::Ok) return false;
  std::vector<std::string> lists;
  for (UINT i = 0; i < count; ++i) lists.push_back(Narrow(WideTextFromPtr(codecs[i].FilenameExtension)));
  auto chosen = ChooseEncoder(lists, Narrow(ext));
  if (!chosen) return false;
  *clsid = codecs[*chosen].Clsid;
  return true;
}

namespace {

bool FileWritten(const std::wstring& path) {
  WIN32_FILE_ATTRIBUTE_DATA a{};
  if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &a)) return false;
  return !(a.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && (a.nFileSizeLow != 0 || a.nFileSizeHigh != 0);
}

}  // namespace

std::optional<SaveError> SaveImageFile(HBITMAP picture, const std::wstring& path, const std::wstring& ext,
                                       unsigned jpeg_quality, unsigned tiff_depth, unsigned tiff_compression) {
  const std::string path8 = Narrow(path);
  if (!picture || GetObjectType(picture) != OBJ_BITMAP) return NoPictureError();
  GdiplusSession session;
  if (!session.ok()) return GdiplusStartError(Gdiplus::GdiplusNotInitialized);
  CLSID encoder{};
  if (!FindEncoderByExtension(ext, &encoder)) return NoEncoderError(Narrow(ext));
  const std::wstring temp = TempNameBeside(path);
  if (Lower(Narrow(ext)) == "gif") {
    // GIF goes through an 8-bit palette of the picture's own colours: GDI+
    // given a true-colour bitmap may write a broken file.
    if (!SaveHBitmapAsGif(picture, path)) return NothingWrittenError(path8);
    return FileWritten(path) ? std::nullopt : std::optional<SaveError>(NothingWrittenError(path8));
  }
  const auto chosen = FindEncoderByClsid(encoder);
  if (chosen && Lower(Narrow(chosen->mime_type)) == "image/bmp") {
    // Written as 24-bit RGB by our own writer: GDI+ keeps the screen
    // bitmap's fourth byte, which is zero nearly everywhere but not where a
    // translucent icon was drawn, and viewers that read it as alpha then
    // show the picture as all but empty.
    if (!SaveHBitmapAsBmp(picture, path)) return NothingWrittenError(path8);
    return FileWritten(path) ? std::nullopt : std::optional<SaveError>(NothingWrittenError(path8));
  }
  Gdiplus::GpBitmap* raw = nullptr;
  Gdiplus::GpStatus st = gp::GdipCreateBitmapFromHBITMAP(picture, nullptr, &raw);
  GpBitmapPtr bitmap(raw);
  if (st != Gdiplus::Ok || !bitmap) return BitmapError(st != Gdiplus::Ok ? st : Gdiplus::GenericError);

  const auto params = ParametersFor(Narrow(ext), jpeg_quality, tiff_depth, tiff_compression);
  // Laid out in place: the value pointers point into the same block.
  std::vector<uint64_t> storage;
  const Gdiplus::EncoderParameters* block = nullptr;
  if (!params.empty()) {
    const size_t size = ParameterBlockSize(params.size(), sizeof(void*)) + 4 * params.size();
    storage.resize((size + 7) / 8);
    auto bytes = LayoutParameters(params, sizeof(void*), reinterpret_cast<uintptr_t>(storage.data()));
    memcpy(storage.data(), bytes.data(), bytes.size());
    block = reinterpret_cast<const Gdiplus::EncoderParameters*>(storage.data());
  }
  DeleteFileW(temp.c_str());
  st = gp::GdipSaveImageToFile(bitmap.get(), temp.c_str(), &encoder, block);
  bitmap.reset();
  if (st != Gdiplus::Ok || !FileWritten(temp)) {
    DeleteFileW(temp.c_str());
    return st != Gdiplus::Ok ? EncoderError(st, path8) : NothingWrittenError(path8);
  }
  if (!MoveFileExW(temp.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING)) {
    const DWORD err = GetLastError();
    DeleteFileW(temp.c_str());
    return EncoderError(static_cast<int>(err), path8);
  }
  return std::nullopt;
}

void ShowSaveError(HWND owner, const SaveError& error) {
  SetCursor(LoadCursorW(nullptr, IDC_ARROW));
  MessageBoxW(owner, Widen(ErrorMessage(error)).c_str(), Widen(kErrorTitle).c_str(), MB_OK | MB_ICONINFORMATION);
}

std::optional<std::wstring> AskFileNameToSave(HWND owner, const SaveDialog& dialog) {
  std::vector<wchar_t> file(4096, L'\0');
  OPENFILENAMEW ofn{};
  ofn.lStructSize = sizeof(ofn);
  // Owned, so the dialog stays above its window and that window cannot
  // start a second save meanwhile.
  ofn.hwndOwner = owner;
  ofn.lpstrFilter = dialog.filter.c_str();
  ofn.nFilterIndex = 1;
  ofn.lpstrFile = file.data();
  ofn.nMaxFile = static_cast<DWORD>(file.size());
  ofn.lpstrInitialDir = dialog.folder.empty() ? nullptr : dialog.folder.c_str();
  ofn.lpstrTitle = dialog.title.empty() ? nullptr : dialog.title.c_str();
  ofn.lpstrDefExt = dialog.default_ext.empty() ? nullptr : dialog.default_ext.c_str();
  // An existing file is only replaced when the user agrees.
  ofn.Flags = OFN_OVERWRITEPROMPT | OFN_NOCHANGEDIR;
  if (!GetSaveFileNameW(&ofn)) return std::nullopt;
  std::wstring name(file.data());
  if (name.empty()) return std::nullopt;
  return name;
}

std::optional<std::wstring> AskSaveFileName(HWND owner) {
  SaveDialog dialog;
  dialog.filter = Widen(FilterList());
  dialog.title = Widen(kDialogTitle);
  dialog.default_ext = Widen(kDefaultExtension);
  dialog.folder = ProgramFolder();
  return AskFileNameToSave(owner, dialog);
}

SaveOutcome CutdSave(HWND owner, HBITMAP picture) {
  auto name = AskSaveFileName(owner);
  if (!name) return SaveOutcome::kCancelled;
  const std::wstring ext = Widen(ExtensionOf(Narrow(*name)));
  HCURSOR old = SetCursor(LoadCursorW(nullptr, IDC_WAIT));
  auto error = SaveImageFile(picture, *name, ext, 80, 24, kCompressionNone);
  SetCursor(old);
  if (error) {
    ShowSaveError(owner, *error);
    return SaveOutcome::kFailed;
  }
  EmptyTheClipboard(owner);
  return SaveOutcome::kSaved;
}

namespace {
bool OpenClipboardRetrying(HWND owner, DWORD patience_ms = 200) {
  const DWORD start = GetTickCount();
  for (;;) {
    if (OpenClipboard(owner)) return true;
    if (GetTickCount() - start >= patience_ms) return false;
    Sleep(10);
  }
}
}  // namespace

HBITMAP CopyBitmap(HBITMAP source) {
  BITMAP bm{};
  if (!source || !GetObjectW(source, sizeof(bm), &bm) || bm.bmWidth <= 0 || bm.bmHeight <= 0) return nullptr;
  WindowDc screen(nullptr);
  UniqueMemDc src(CreateCompatibleDC(screen.get()));
  UniqueMemDc dst(CreateCompatibleDC(screen.get()));
  if (!src || !dst) return nullptr;
  UniqueBitmap copy(CreateCompatibleBitmap(screen.get(), bm.bmWidth, bm.bmHeight));
  if (!copy) return nullptr;
  {
    SelectGuard a(src.get(), source);
    SelectGuard b(dst.get(), copy.get());
    if (!BitBlt(dst.get(), 0, 0, bm.bmWidth, bm.bmHeight, src.get(), 0, 0, SRCCOPY)) return nullptr;
  }
  return copy.release();
}

bool PutBitmapOnClipboard(HWND owner, HBITMAP picture, DWORD patience_ms) {
  UniqueBitmap copy(CopyBitmap(picture));
  return copy && GiveBitmapToClipboard(owner, copy, patience_ms);
}

bool GiveBitmapToClipboard(HWND owner, UniqueBitmap& picture, DWORD patience_ms) {
  if (!picture || !OpenClipboardRetrying(owner, patience_ms)) return false;
  EmptyClipboard();
  bool ok = SetClipboardData(CF_BITMAP, picture.get()) != nullptr;
  if (ok) picture.release();  // the clipboard owns it now
  CloseClipboard();
  return ok;
}

bool PutTextOnClipboard(HWND owner, const std::wstring& text, DWORD patience_ms) {
  const size_t bytes = (text.size() + 1) * sizeof(wchar_t);
  HGLOBAL mem = GlobalAlloc(GMEM_MOVEABLE, bytes);
  if (!mem) return false;
  if (void* p = GlobalLock(mem)) {
    memcpy(p, text.c_str(), bytes);
    GlobalUnlock(mem);
  }
  if (!OpenClipboardRetrying(owner, patience_ms)) {
    GlobalFree(mem);
    return false;
  }
  EmptyClipboard();
  bool ok = SetClipboardData(CF_UNICODETEXT, mem) != nullptr;
  CloseClipboard();
  if (!ok) GlobalFree(mem);
  return ok;
}

bool EmptyTheClipboard(HWND owner) {
  if (!OpenClipboardRetrying(owner)) return false;
  EmptyClipboard();
  CloseClipboard();
  return true;
}

}  // namespace vardo::savepic
