// The folder overview as a user sees it: starts the viewer on a picture, notes its peak
// memory once the picture shows, presses Enter (through XTEST) and reads the screen back
// until the first screen of tiles is whole (the overview's ground shows, and no empty
// frame of a tile still waiting); then presses Down STEPS times at a held key's rate
// (30 a second), each time timing the press to the frame that shows the move (the
// title names the new selection and the pixels across the first column have changed). Prints Enter
// to the whole first screen, the 50th and 99th percentile and the longest of the frames in
// milliseconds, and the peak memory in kB before Enter and at the end. Usage: overview_probe STEPS
// RRGGBB_PICTURE COMMAND [ARGUMENT...]
#include "x11_probe.h"

#include <xcb/xtest.h>

#include <algorithm>
#include <cstdio>
#include <thread>

using namespace kadromir::probe;

namespace {

// The overview's ground and a waiting tile's frame.
constexpr std::uint32_t Ground = 0x202020;
constexpr std::uint32_t Pending = 0x56566E;
// Reading the whole window back takes tens of milliseconds under Xvfb: the probe reads
// strips. With tiles of 128 pixels (the scale at first), a waiting tile's frame has its
// left side at x = 16 + 152 c in column c; the middle of the first column's pictures and
// names is at x = 80, which a move down changes (the selection's band moves, or the
// rows scroll).
constexpr int Columns = 8;
int FrameLeft(int column) {
    return 16 + 152 * column;
}
constexpr int MoveStrip = 76, MoveStripWidth = 8;

void Press(xcb_connection_t* x, xcb_keycode_t key) {
    xcb_test_fake_input(x, XCB_KEY_PRESS, key, XCB_CURRENT_TIME, XCB_NONE, 0, 0, 0);
    xcb_test_fake_input(x, XCB_KEY_RELEASE, key, XCB_CURRENT_TIME, XCB_NONE, 0, 0, 0);
    xcb_flush(x);
}

bool Contains(const std::vector<std::uint32_t>& pixels, std::uint32_t rgb) {
    return std::find(pixels.begin(), pixels.end(), rgb) != pixels.end();
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 4) {
        std::fputs("usage: overview_probe STEPS RRGGBB COMMAND [ARGUMENT...]\n", stderr);
        return 2;
    }
    const int steps = std::atoi(argv[1]);
    const auto picture = static_cast<std::uint32_t>(std::strtoul(argv[2], nullptr, 16));
    xcb_connection_t* x = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(x)) {
        std::fputs("overview_probe: no X display\n", stderr);
        return 2;
    }
    const xcb_keycode_t enter = KeycodeOf(x, 0xff0d), down = KeycodeOf(x, 0xff54);
    const pid_t child = Start(argv + 3);
    xcb_window_t window = XCB_NONE;
    for (const std::uint64_t start = NowNs();
         window == XCB_NONE && Milliseconds(start, NowNs()) < 5000;) {
        for (const xcb_window_t shown : WindowsOf(x, child)) {
            if (ShowsColour(x, shown, picture)) {
                window = shown;
            }
        }
    }
    if (window == XCB_NONE) {
        std::fputs("overview_probe: the picture never showed\n", stderr);
        Stop(child);
        return 1;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(500)); // settled, focused
    const long ownKb = PeakKilobytes(child);

    const auto fail = [&](const char* what) {
        std::fprintf(stderr, "overview_probe: %s\n", what);
        Stop(child);
        return 1;
    };
    std::uint64_t start = NowNs();
    Press(x, enter);
    double enterMs = -1;
    while (Milliseconds(start, NowNs()) < 10000) {
        bool ground = false, pending = false;
        for (int column = 0; column < Columns; ++column) {
            const std::vector<std::uint32_t> line = WindowPixels(x, window, FrameLeft(column), 1);
            ground = ground || Contains(line, Ground);
            pending = pending || Contains(line, Pending);
        }
        if (ground && !pending) {
            enterMs = Milliseconds(start, NowNs());
            break;
        }
    }
    if (enterMs < 0) {
        return fail("the overview never showed whole");
    }

    std::vector<double> frames;
    for (int i = 0; i < steps; ++i) {
        const std::string title = WindowTitle(x, window);
        const std::vector<std::uint32_t> before =
            WindowPixels(x, window, MoveStrip, MoveStripWidth);
        start = NowNs();
        Press(x, down);
        bool moved = false;
        while (Milliseconds(start, NowNs()) < 5000) {
            if (WindowTitle(x, window) != title) {
                moved = true;
                break;
            }
        }
        bool drawn = false;
        while (moved && Milliseconds(start, NowNs()) < 5000) {
            if (WindowPixels(x, window, MoveStrip, MoveStripWidth) != before) {
                drawn = true;
                break;
            }
        }
        if (!drawn) {
            std::fprintf(stderr, "overview_probe: at step %d the title was [%s], now [%s]\n", i,
                         title.c_str(), WindowTitle(x, window).c_str());
            return fail("a move never showed");
        }
        frames.push_back(Milliseconds(start, NowNs()));
        const double spent = Milliseconds(start, NowNs());
        if (spent < 33) {
            std::this_thread::sleep_for(
                std::chrono::microseconds(static_cast<long>((33 - spent) * 1000)));
        }
    }
    std::sort(frames.begin(), frames.end());
    const auto at = [&](double q) {
        return frames[static_cast<std::size_t>(q * (frames.size() - 1))];
    };
    std::printf("%.1f %.1f %.1f %.1f %ld %ld\n", enterMs, at(0.5), at(0.99), frames.back(), ownKb,
                PeakKilobytes(child));
    Stop(child);
    xcb_disconnect(x);
    return 0;
}
