// Start-up as a user sees it: starts a program and reads the screen back from the X
// server until a pixel of the given colour shows in one of the program's windows.
// Prints the milliseconds from the start to that moment and the program's peak memory
// in kB then, and ends the program.
// Usage: first_paint_probe RRGGBB COMMAND [ARGUMENT...]
#include "x11_probe.h"

#include <cstdio>
#include <sys/wait.h>
#include <thread>

using namespace kadromir::probe;

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fputs("usage: first_paint_probe RRGGBB COMMAND [ARGUMENT...]\n", stderr);
        return 2;
    }
    const auto rgb = static_cast<std::uint32_t>(std::strtoul(argv[1], nullptr, 16));
    xcb_connection_t* x = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(x)) {
        std::fputs("first_paint_probe: no X display\n", stderr);
        return 2;
    }
    const std::uint64_t start = NowNs();
    const pid_t child = Start(argv + 2);
    int status = 1;
    for (;;) {
        const double ms = Milliseconds(start, NowNs());
        if (ms > 10000 || waitpid(child, nullptr, WNOHANG) == child) {
            std::fputs("first_paint_probe: the colour never showed\n", stderr);
            break;
        }
        bool shown = false;
        for (const xcb_window_t window : WindowsOf(x, child)) {
            shown = shown || ShowsColour(x, window, rgb);
        }
        if (shown) {
            std::printf("%.1f %ld\n", ms, PeakKilobytes(child));
            status = 0;
            break;
        }
        std::this_thread::sleep_for(std::chrono::microseconds(500));
    }
    Stop(child);
    xcb_disconnect(x);
    return status;
}
