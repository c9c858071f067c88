// Control for the DLL-planting test: loads gdiplus.dll the naive way (the
// default search order, program folder first) and exits.
#include <windows.h>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  HMODULE m = LoadLibraryW(L"gdiplus.dll");
  if (m) FreeLibrary(m);
  return m ? 0 : 1;
}
