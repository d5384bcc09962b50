/* xdnd_drop WINDOW X Y URI...: drops the URIs (text/uri-list) on the X window at the
 * root position X, Y, as a file manager does by drag and drop (the XDND protocol, as
 * the source). Exit code 0 once the target has taken the drop and said it is finished,
 * 1 when it refused or did not answer within 10 s, 2 on a usage error. */
#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <time.h>
#include <unistd.h>

static Display* display;
static Window source, target;
static Atom selection, uri_list, action_copy;

static Atom atom(const char* name) { return XInternAtom(display, name, False); }

static void send_to_target(const char* type, long l1, long l2, long l3, long l4) {
    XEvent event;
    memset(&event, 0, sizeof event);
    event.xclient.type = ClientMessage;
    event.xclient.window = target;
    event.xclient.message_type = atom(type);
    event.xclient.format = 32;
    event.xclient.data.l[0] = (long)source;
    event.xclient.data.l[1] = l1;
    event.xclient.data.l[2] = l2;
    event.xclient.data.l[3] = l3;
    event.xclient.data.l[4] = l4;
    XSendEvent(display, target, False, NoEventMask, &event);
    XFlush(display);
}

/* Waits for the client message of that type, answering requests for the data meanwhile;
 * 0 when it came in time. */
static int wait_for(const char* type, const char* data, XEvent* got) {
    const Atom wanted = atom(type);
    const time_t until = time(NULL) + 10;
    while (time(NULL) < until) {
        while (XPending(display)) {
            XEvent event;
            XNextEvent(display, &event);
            if (event.type == SelectionRequest) {
                XSelectionRequestEvent* request = &event.xselectionrequest;
                XEvent reply;
                memset(&reply, 0, sizeof reply);
                reply.xselection.type = SelectionNotify;
                reply.xselection.requestor = request->requestor;
                reply.xselection.selection = request->selection;
                reply.xselection.target = request->target;
                reply.xselection.time = request->time;
                reply.xselection.property = None;
                if (request->target == uri_list) {
                    XChangeProperty(display, request->requestor, request->property, uri_list, 8,
                                    PropModeReplace, (const unsigned char*)data, (int)strlen(data));
                    reply.xselection.property = request->property;
                }
                XSendEvent(display, request->requestor, False, NoEventMask, &reply);
                XFlush(display);
            } else if (event.type == ClientMessage && event.xclient.message_type == wanted) {
                *got = event;
                return 0;
            }
        }
        usleep(10000);
    }
    return 1;
}

int main(int argc, char** argv) {
    if (argc < 5) {
        fputs("usage: xdnd_drop WINDOW X Y URI...\n", stderr);
        return 2;
    }
    display = XOpenDisplay(NULL);
    if (display == NULL) {
        return 2;
    }
    target = (Window)strtoul(argv[1], NULL, 0);
    const long x = atol(argv[2]), y = atol(argv[3]);
    size_t size = 1;
    for (int i = 4; i < argc; ++i) {
        size += strlen(argv[i]) + 2;
    }
    char* data = calloc(size, 1);
    for (int i = 4; i < argc; ++i) {
        strcat(data, argv[i]);
        strcat(data, "\r\n");
    }
    selection = atom("XdndSelection");
    uri_list = atom("text/uri-list");
    action_copy = atom("XdndActionCopy");
    source = XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, 1, 1, 0, 0, 0);
    XSetSelectionOwner(display, selection, source, CurrentTime);

    XEvent answer;
    send_to_target("XdndEnter", 5L << 24, (long)uri_list, 0, 0);
    send_to_target("XdndPosition", 0, (x << 16) | y, CurrentTime, (long)action_copy);
    if (wait_for("XdndStatus", data, &answer) != 0 || !(answer.xclient.data.l[1] & 1)) {
        fputs("xdnd_drop: the target did not take the drop\n", stderr);
        send_to_target("XdndLeave", 0, 0, 0, 0);
        return 1;
    }
    send_to_target("XdndDrop", 0, CurrentTime, 0, 0);
    if (wait_for("XdndFinished", data, &answer) != 0) {
        fputs("xdnd_drop: the target did not finish the drop\n", stderr);
        return 1;
    }
    free(data);
    XCloseDisplay(display);
    return 0;
}
