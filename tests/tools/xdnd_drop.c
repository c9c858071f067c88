/* xdnd_drop: drops files on the X window under a screen point through the
 * X11 drag-and-drop protocol (XDND), as a file manager would. This is the
 * only way a real file drop reaches a window under Wine.
 *
 *   xdnd_drop X Y FILE...
 *
 * FILE is a file:// URI, or an absolute Unix path that is turned into one.
 * The target is the deepest XdndAware window at (X, Y) on the root window.
 * Exits 0 when the target accepted and finished the drop, 1 when it
 * refused it, 2 on a time-out or when no target was found, 3 on bad use. */
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/select.h>
#include <time.h>

static Atom a_aware, a_enter, a_position, a_status, a_drop, a_finished, a_leave, a_selection, a_copy,
    a_urilist, a_targets, a_atom;
static char *g_data;
static size_t g_len;

static double now_s(void) {
  struct timespec t;
  clock_gettime(CLOCK_MONOTONIC, &t);
  return t.tv_sec + t.tv_nsec / 1e9;
}

/* Version the window announces, 0 when it takes no drops. */
static int aware_version(Display *d, Window w) {
  Atom type;
  int format;
  unsigned long n, after;
  unsigned char *prop = NULL;
  int v = 0;
  if (XGetWindowProperty(d, w, a_aware, 0, 1, False, AnyPropertyType, &type, &format, &n, &after, &prop) ==
          Success &&
      prop && n == 1 && format == 32)
    v = (int)((unsigned long *)prop)[0];
  if (prop) XFree(prop);
  return v;
}

static void append(const char *s, size_t n) {
  g_data = realloc(g_data, g_len + n + 1);
  memcpy(g_data + g_len, s, n);
  g_len += n;
  g_data[g_len] = 0;
}

/* file:// URI of an absolute path: bytes outside the unreserved set are
 * percent-encoded (so spaces and non-ASCII names survive). */
static void append_uri(const char *arg) {
  if (arg[0] != '/') {
    append(arg, strlen(arg));
  } else {
    append("file://", 7);
    for (const unsigned char *p = (const unsigned char *)arg; *p; ++p) {
      if ((*p >= 'a' && *p <= 'z') || (*p >= 'A' && *p <= 'Z') || (*p >= '0' && *p <= '9') ||
          strchr("/-_.~", *p)) {
        append((const char *)p, 1);
      } else {
        char buf[4];
        snprintf(buf, sizeof buf, "%%%02X", *p);
        append(buf, 3);
      }
    }
  }
  append("\r\n", 2);
}

static void send_client(Display *d, Window to, Atom type, long l0, long l1, long l2, long l3, long l4) {
  XEvent e;
  memset(&e, 0, sizeof e);
  e.xclient.type = ClientMessage;
  e.xclient.display = d;
  e.xclient.window = to;
  e.xclient.message_type = type;
  e.xclient.format = 32;
  e.xclient.data.l[0] = l0;
  e.xclient.data.l[1] = l1;
  e.xclient.data.l[2] = l2;
  e.xclient.data.l[3] = l3;
  e.xclient.data.l[4] = l4;
  XSendEvent(d, to, False, NoEventMask, &e);
  XFlush(d);
}

static void serve(Display *d, XSelectionRequestEvent *r) {
  XEvent reply;
  memset(&reply, 0, sizeof reply);
  reply.xselection.type = SelectionNotify;
  reply.xselection.display = d;
  reply.xselection.requestor = r->requestor;
  reply.xselection.selection = r->selection;
  reply.xselection.target = r->target;
  reply.xselection.time = r->time;
  reply.xselection.property = None;
  Atom prop = r->property != None ? r->property : r->target;
  if (r->target == a_targets) {
    Atom list[2] = {a_targets, a_urilist};
    XChangeProperty(d, r->requestor, prop, a_atom, 32, PropModeReplace, (unsigned char *)list, 2);
    reply.xselection.property = prop;
  } else if (r->target == a_urilist) {
    XChangeProperty(d, r->requestor, prop, a_urilist, 8, PropModeReplace, (unsigned char *)g_data, (int)g_len);
    reply.xselection.property = prop;
  }
  XSendEvent(d, r->requestor, False, NoEventMask, &reply);
  XFlush(d);
}

/* Waits for a client message of the given type, serving selection
 * requests meanwhile. */
static int wait_for(Display *d, Atom type, double deadline, XClientMessageEvent *out) {
  int fd = ConnectionNumber(d);
  while (now_s() < deadline) {
    while (XPending(d)) {
      XEvent e;
      XNextEvent(d, &e);
      if (e.type == SelectionRequest) serve(d, &e.xselectionrequest);
      else if (e.type == ClientMessage && e.xclient.message_type == type) {
        *out = e.xclient;
        return 1;
      }
    }
    fd_set set;
    FD_ZERO(&set);
    FD_SET(fd, &set);
    struct timeval tv = {0, 20000};
    select(fd + 1, &set, NULL, NULL, &tv);
  }
  return 0;
}

int main(int argc, char **argv) {
  if (argc < 4) {
    fprintf(stderr, "usage: %s X Y FILE...\n", argv[0]);
    return 3;
  }
  int x = atoi(argv[1]), y = atoi(argv[2]);
  double timeout = getenv("XDND_TIMEOUT") ? atof(getenv("XDND_TIMEOUT")) : 10.0;
  for (int i = 3; i < argc; ++i) append_uri(argv[i]);

  Display *d = XOpenDisplay(NULL);
  if (!d) {
    fprintf(stderr, "xdnd_drop: cannot open display\n");
    return 2;
  }
  a_aware = XInternAtom(d, "XdndAware", False);
  a_enter = XInternAtom(d, "XdndEnter", False);
  a_position = XInternAtom(d, "XdndPosition", False);
  a_status = XInternAtom(d, "XdndStatus", False);
  a_drop = XInternAtom(d, "XdndDrop", False);
  a_finished = XInternAtom(d, "XdndFinished", False);
  a_leave = XInternAtom(d, "XdndLeave", False);
  a_selection = XInternAtom(d, "XdndSelection", False);
  a_copy = XInternAtom(d, "XdndActionCopy", False);
  a_urilist = XInternAtom(d, "text/uri-list", False);
  a_targets = XInternAtom(d, "TARGETS", False);
  a_atom = XA_ATOM;

  Window root = DefaultRootWindow(d);
  Window target = None, cur = root, child = None;
  int version = 0, cx, cy;
  /* Descend from the root through the windows under the point; the
   * deepest XdndAware one takes the drop. */
  while (XTranslateCoordinates(d, root, cur, x, y, &cx, &cy, &child) && child != None) {
    cur = child;
    int v = aware_version(d, cur);
    if (v > 0) {
      target = cur;
      version = v;
    }
  }
  if (target == None) {
    fprintf(stderr, "xdnd_drop: no XdndAware window at %d,%d\n", x, y);
    return 2;
  }
  if (version > 5) version = 5;

  Window src = XCreateSimpleWindow(d, root, -10, -10, 1, 1, 0, 0, 0);
  XSelectInput(d, src, PropertyChangeMask);
  /* A real timestamp: the server's time from a property change. */
  XChangeProperty(d, src, a_selection, XA_STRING, 8, PropModeAppend, NULL, 0);
  XEvent ev;
  Time t = CurrentTime;
  double until = now_s() + 2;
  while (now_s() < until) {
    XNextEvent(d, &ev);
    if (ev.type == PropertyNotify) {
      t = ev.xproperty.time;
      break;
    }
  }
  XSetSelectionOwner(d, a_selection, src, t);
  if (XGetSelectionOwner(d, a_selection) != src) {
    fprintf(stderr, "xdnd_drop: cannot own XdndSelection\n");
    return 2;
  }

  double deadline = now_s() + timeout;
  XClientMessageEvent m;
  send_client(d, target, a_enter, (long)src, (long)version << 24, (long)a_urilist, 0, 0);
  send_client(d, target, a_position, (long)src, 0, ((long)x << 16) | (y & 0xFFFF), (long)t, (long)a_copy);
  if (!wait_for(d, a_status, deadline, &m)) {
    fprintf(stderr, "xdnd_drop: no XdndStatus from 0x%lx\n", target);
    return 2;
  }
  if (!(m.data.l[1] & 1)) {
    fprintf(stderr, "xdnd_drop: window 0x%lx refuses the drop\n", target);
    send_client(d, target, a_leave, (long)src, 0, 0, 0, 0);
    return 1;
  }
  send_client(d, target, a_drop, (long)src, 0, (long)t, 0, 0);
  if (!wait_for(d, a_finished, deadline, &m)) {
    fprintf(stderr, "xdnd_drop: no XdndFinished from 0x%lx\n", target);
    return 2;
  }
  /* Version 5 reports whether the drop was performed. */
  if (version >= 5 && !(m.data.l[1] & 1)) {
    fprintf(stderr, "xdnd_drop: drop not performed\n");
    return 1;
  }
  XCloseDisplay(d);
  free(g_data);
  return 0;
}
