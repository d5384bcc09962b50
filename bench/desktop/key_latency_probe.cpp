// Key to picture as a user sees it: starts the viewer on the first of two pictures
// that alternate in its directory, then presses Right (through XTEST) STEPS times, each
// time reading the screen back until the other picture's colour shows. Prints the
// 50th and 99th percentile and the longest of those times in milliseconds, then the
// viewer's peak memory in kB, and ends it.
// Usage: key_latency_probe STEPS RRGGBB_FIRST RRGGBB_SECOND COMMAND [ARGUMENT...]
#include "x11_probe.h"

#include <xcb/xtest.h>

#include <algorithm>
#include <cstdio>
#include <sys/wait.h>
#include <thread>

using namespace kadromir::probe;

namespace {

// Waits until one of the process's windows shows the colour; false after 5 s.
bool WaitForColour(xcb_connection_t* x, pid_t pid, std::uint32_t rgb) {
    const std::uint64_t start = NowNs();
    while (Milliseconds(start, NowNs()) < 5000) {
        for (const xcb_window_t window : WindowsOf(x, pid)) {
            if (ShowsColour(x, window, rgb)) {
                return true;
            }
        }
    }
    return false;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 5) {
        std::fputs("usage: key_latency_probe STEPS RRGGBB RRGGBB COMMAND [ARGUMENT...]\n", stderr);
        return 2;
    }
    const int steps = std::atoi(argv[1]);
    const std::uint32_t colours[2] = {
        static_cast<std::uint32_t>(std::strtoul(argv[2], nullptr, 16)),
        static_cast<std::uint32_t>(std::strtoul(argv[3], nullptr, 16))};
    xcb_connection_t* x = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(x)) {
        std::fputs("key_latency_probe: no X display\n", stderr);
        return 2;
    }
    const xcb_keycode_t right = KeycodeOf(x, 0xff53); // Right
    const pid_t child = Start(argv + 4);
    if (!WaitForColour(x, child, colours[0])) {
        std::fputs("key_latency_probe: the first picture never showed\n", stderr);
        Stop(child);
        return 1;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(500)); // settled, focused
    std::vector<double> times;
    int shown = 0;
    for (int i = 0; i < steps; ++i) {
        const std::uint64_t start = NowNs();
        xcb_test_fake_input(x, XCB_KEY_PRESS, right, XCB_CURRENT_TIME, XCB_NONE, 0, 0, 0);
        xcb_test_fake_input(x, XCB_KEY_RELEASE, right, XCB_CURRENT_TIME, XCB_NONE, 0, 0, 0);
        xcb_flush(x);
        shown = 1 - shown;
        if (!WaitForColour(x, child, colours[shown])) {
            std::fputs("key_latency_probe: a step never showed its picture\n", stderr);
            Stop(child);
            return 1;
        }
        times.push_back(Milliseconds(start, NowNs()));
        // A person's pace, and every phase of the refresh period gets its share.
        std::this_thread::sleep_for(std::chrono::milliseconds(23 + (i * 37) % 61));
    }
    std::sort(times.begin(), times.end());
    const auto at = [&](double q) {
        return times[static_cast<std::size_t>(q * (times.size() - 1))];
    };
    std::printf("%.1f %.1f %.1f %ld\n", at(0.5), at(0.99), times.back(), PeakKilobytes(child));
    Stop(child);
    xcb_disconnect(x);
    return 0;
}
