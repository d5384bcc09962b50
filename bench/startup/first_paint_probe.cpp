// Start-up as a user sees it: starts a program and reads the screen back from the X
// server until a pixel of the given colour shows in one of the program's windows.
// Prints the milliseconds from the start to that moment, then ends the program.
// Usage: first_paint_probe RRGGBB COMMAND [ARGUMENT...]
#include <xcb/xcb.h>

#include <chrono>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <memory>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

template <typename Reply> using ReplyPtr = std::unique_ptr<Reply, decltype(&std::free)>;
template <typename Reply> ReplyPtr<Reply> Own(Reply* reply) {
    return ReplyPtr<Reply>(reply, &std::free);
}

xcb_atom_t Atom(xcb_connection_t* x, const char* name) {
    const auto reply =
        Own(xcb_intern_atom_reply(x, xcb_intern_atom(x, 0, std::strlen(name), name), nullptr));
    return reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
}

// The windows of the process: top-level ones, and those the window manager framed.
std::vector<xcb_window_t> WindowsOf(xcb_connection_t* x, xcb_window_t root, xcb_atom_t pidAtom,
                                    pid_t pid) {
    std::vector<xcb_window_t> found;
    std::vector<xcb_window_t> candidates;
    const auto top = Own(xcb_query_tree_reply(x, xcb_query_tree(x, root), nullptr));
    if (!top) {
        return found;
    }
    const xcb_window_t* children = xcb_query_tree_children(top.get());
    for (int i = 0; i < xcb_query_tree_children_length(top.get()); ++i) {
        candidates.push_back(children[i]);
        const auto inner = Own(xcb_query_tree_reply(x, xcb_query_tree(x, children[i]), nullptr));
        if (inner) {
            const xcb_window_t* grand = xcb_query_tree_children(inner.get());
            candidates.insert(candidates.end(), grand,
                              grand + xcb_query_tree_children_length(inner.get()));
        }
    }
    for (const xcb_window_t window : candidates) {
        const auto property = Own(xcb_get_property_reply(
            x, xcb_get_property(x, 0, window, pidAtom, XCB_ATOM_CARDINAL, 0, 1), nullptr));
        if (property && xcb_get_property_value_length(property.get()) == 4 &&
            *static_cast<const std::uint32_t*>(xcb_get_property_value(property.get())) ==
                static_cast<std::uint32_t>(pid)) {
            found.push_back(window);
        }
    }
    return found;
}

bool ShowsColour(xcb_connection_t* x, xcb_window_t window, std::uint32_t rgb) {
    const auto attributes =
        Own(xcb_get_window_attributes_reply(x, xcb_get_window_attributes(x, window), nullptr));
    const auto geometry = Own(xcb_get_geometry_reply(x, xcb_get_geometry(x, window), nullptr));
    if (!attributes || !geometry || attributes->map_state != XCB_MAP_STATE_VIEWABLE) {
        return false;
    }
    const auto image =
        Own(xcb_get_image_reply(x,
                                xcb_get_image(x, XCB_IMAGE_FORMAT_Z_PIXMAP, window, 0, 0,
                                              geometry->width, geometry->height, ~0u),
                                nullptr));
    if (!image || image->depth != 24) {
        return false;
    }
    const auto* pixels = reinterpret_cast<const std::uint32_t*>(xcb_get_image_data(image.get()));
    const int count = xcb_get_image_data_length(image.get()) / 4;
    for (int i = 0; i < count; ++i) {
        if ((pixels[i] & 0xFFFFFF) == rgb) {
            return true;
        }
    }
    return false;
}

} // namespace

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
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(x)).data->root;
    const xcb_atom_t pidAtom = Atom(x, "_NET_WM_PID");
    const auto start = std::chrono::steady_clock::now();
    const pid_t child = fork();
    if (child == 0) {
        const int null = open("/dev/null", O_WRONLY);
        dup2(null, 1);
        dup2(null, 2);
        execvp(argv[2], argv + 2);
        _exit(127);
    }
    int status = 1;
    for (;;) {
        const double ms =
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                .count();
        if (ms > 10000 || waitpid(child, nullptr, WNOHANG) == child) {
            std::fputs("first_paint_probe: the colour never showed\n", stderr);
            break;
        }
        bool shown = false;
        for (const xcb_window_t window : WindowsOf(x, root, pidAtom, child)) {
            shown = shown || ShowsColour(x, window, rgb);
        }
        if (shown) {
            std::printf("%.1f\n", ms);
            status = 0;
            break;
        }
        std::this_thread::sleep_for(std::chrono::microseconds(500));
    }
    kill(child, SIGTERM);
    waitpid(child, nullptr, 0);
    xcb_disconnect(x);
    return status;
}
