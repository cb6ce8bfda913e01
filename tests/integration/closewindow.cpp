// Asks a window to close the way a window manager does, with the
// WM_DELETE_WINDOW client message:  halvardine_closewindow <window id>
// (xdotool's windowclose destroys the window instead).

#include <X11/Xlib.h>

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <window id>\n", argv[0]);
        return 2;
    }
    Display* X = XOpenDisplay(nullptr);
    if (!X) {
        std::fprintf(stderr, "no X display\n");
        return 1;
    }
    const Window Target = std::strtoul(argv[1], nullptr, 0);
    XEvent Event{};
    Event.xclient.type = ClientMessage;
    Event.xclient.window = Target;
    Event.xclient.message_type = XInternAtom(X, "WM_PROTOCOLS", False);
    Event.xclient.format = 32;
    Event.xclient.data.l[0] = static_cast<long>(XInternAtom(X, "WM_DELETE_WINDOW", False));
    Event.xclient.data.l[1] = CurrentTime;
    XSendEvent(X, Target, False, NoEventMask, &Event);
    XCloseDisplay(X);
    return 0;
}
