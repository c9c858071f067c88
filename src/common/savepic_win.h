// Saving the picker's and the ruler's pictures: the save dialog, the
// encoder chosen by the file name's extension and the error message.
#pragma once
#include <windows.h>

#include <optional>
#include <string>

#include "common/handles_win.h"
#include "common/savepic.h"

namespace vardo::savepic {

// A copy of a GDI+-owned string.
std::wstring WideTextFromPtr(const wchar_t* text);

// The first GDI+ encoder whose patterns include "*.<ext>" (any case).
// GDI+ must be running.
bool FindEncoderByExtension(const std::wstring& ext, CLSID* clsid);

// Encodes the bitmap into `path` in the format `ext` selects. The file is
// written beside and then moved into place, so a failure leaves any earlier
// file of that name as it was. Returns the reason when no file was written.
std::optional<SaveError> SaveImageFile(HBITMAP picture, const std::wstring& path, const std::wstring& ext,
                                       unsigned jpeg_quality = 80, unsigned tiff_depth = 24,
                                       unsigned tiff_compression = kCompressionNone);

void ShowSaveError(HWND owner, const SaveError& error);

// A save dialog owned by `owner` that asks before replacing a file. An
// empty title or folder leaves the system's own; a name typed without an
// extension gets the chosen filter's (or `default_ext`). Empty when
// cancelled.
struct SaveDialog {
  std::wstring filter;  // label NUL pattern NUL ... NUL
  std::wstring title;
  std::wstring default_ext;
  std::wstring folder;
};
std::optional<std::wstring> AskFileNameToSave(HWND owner, const SaveDialog& dialog);

// The picker's save dialog ("Save", default extension PNG, starting in the
// program's folder).
std::optional<std::wstring> AskSaveFileName(HWND owner);

enum class SaveOutcome { kCancelled, kSaved, kFailed };
// Asks for a name and saves the picture. A saved picture clears the
// clipboard; a failed one is reported in the "错误" box and the clipboard
// keeps the picture.
SaveOutcome CutdSave(HWND owner, HBITMAP picture);

// Clipboard helpers (retrying briefly while another program holds it).
// Puts a copy; waits up to `patience_ms` for a clipboard held by another
// program.
bool PutBitmapOnClipboard(HWND owner, HBITMAP picture, DWORD patience_ms = 200);
// Hands a device-dependent bitmap itself to the clipboard, without a copy:
// on success the clipboard owns it and `picture` is empty; on failure the
// caller keeps it.
bool GiveBitmapToClipboard(HWND owner, UniqueBitmap& picture, DWORD patience_ms);
bool PutTextOnClipboard(HWND owner, const std::wstring& text, DWORD patience_ms = 200);
bool EmptyTheClipboard(HWND owner);

// A device-independent copy of a bitmap, not selected anywhere.
HBITMAP CopyBitmap(HBITMAP source);

}  // namespace vardo::savepic
