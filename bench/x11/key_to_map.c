/* Times one press of a key on the X display until a window of a given size
 * is mapped, as the X server sees it: the end of the path from a real key
 * press to a program's full-screen window on the display.
 *   key_to_map KEYS WIDTH HEIGHT FOCUS_WINDOW IGNORE_WINDOW OUT_FILE
 * KEYS is a chord of keysym names joined by "+" (Control_L+Alt_L+k),
 * pressed in that order and released in reverse.
 * FOCUS_WINDOW (an X window id, 0 for none) gets the input focus first, so
 * the key reaches the Wine program that owns it; a map of IGNORE_WINDOW
 * does not count. Writes the milliseconds (or -1 after 10 s) to OUT_FILE. */
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <time.h>

static double now_ms(void) {
  struct timespec t;
  clock_gettime(CLOCK_MONOTONIC, &t);
  return t.tv_sec * 1000.0 + t.tv_nsec / 1e6;
}

int main(int argc, char** argv) {
  if (argc != 7) {
    fprintf(stderr, "usage: key_to_map KEYSYM WIDTH HEIGHT FOCUS_WINDOW IGNORE_WINDOW OUT_FILE\n");
    return 2;
  }
  Display* d = XOpenDisplay(NULL);
  if (!d) return 2;
  KeyCode codes[8];
  int n = 0;
  char keys[256];
  snprintf(keys, sizeof keys, "%s", argv[1]);
  for (char* k = strtok(keys, "+"); k && n < 8; k = strtok(NULL, "+")) {
    const KeySym sym = XStringToKeysym(k);
    codes[n] = sym == NoSymbol ? 0 : XKeysymToKeycode(d, sym);
    if (!codes[n++]) return 2;
  }
  const int want_w = atoi(argv[2]), want_h = atoi(argv[3]);
  const Window focus = (Window)strtoul(argv[4], NULL, 0), ignore = (Window)strtoul(argv[5], NULL, 0);
  if (!n) return 2;
  Window root = DefaultRootWindow(d);
  XSelectInput(d, root, SubstructureNotifyMask);
  if (focus) XSetInputFocus(d, focus, RevertToParent, CurrentTime);
  XSync(d, False);
  double result = -1;
  const double t0 = now_ms();
  for (int i = 0; i < n; ++i) XTestFakeKeyEvent(d, codes[i], True, CurrentTime);
  XFlush(d);
  int released = 0;
  while (now_ms() - t0 < 10000) {
    // A real press: the keys are let go a moment later, whatever shows.
    if (!released && now_ms() - t0 > 30) {
      for (int i = n - 1; i >= 0; --i) XTestFakeKeyEvent(d, codes[i], False, CurrentTime);
      XFlush(d);
      released = 1;
    }
    if (!XPending(d)) {
      struct timespec nap = {0, 200000};
      nanosleep(&nap, NULL);
      continue;
    }
    XEvent e;
    XNextEvent(d, &e);
    if (e.type != MapNotify || e.xmap.window == ignore) continue;
    const double t = now_ms();
    XWindowAttributes a;
    if (XGetWindowAttributes(d, e.xmap.window, &a) && a.width == want_w && a.height == want_h) {
      result = t - t0;
      break;
    }
  }
  if (!released) {
    for (int i = n - 1; i >= 0; --i) XTestFakeKeyEvent(d, codes[i], False, CurrentTime);
    XSync(d, False);
  }
  FILE* f = fopen(argv[6], "w");
  if (!f) return 2;
  fprintf(f, "%.3f\n", result);
  fclose(f);
  XCloseDisplay(d);
  return result < 0;
}
