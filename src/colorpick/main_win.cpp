// Placeholder entry point; the program's real start-up replaces it.
#include <windows.h>

#include "common/process_win.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  vardo::InitProcess();
  return 0;
}
