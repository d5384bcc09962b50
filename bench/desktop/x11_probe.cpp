#include "x11_probe.h"

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <sys/wait.h>
#include <unistd.h>

namespace kadromir::probe {
namespace {

xcb_atom_t Atom(xcb_connection_t* x, const char* name) {
    const auto reply =
        Own(xcb_intern_atom_reply(x, xcb_intern_atom(x, 0, std::strlen(name), name), nullptr));
    return reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
}

} // namespace

pid_t Start(char** command) {
    const pid_t child = fork();
    if (child == 0) {
        const int null = open("/dev/null", O_WRONLY);
        dup2(null, 1);
        dup2(null, 2);
        execvp(command[0], command);
        _exit(127);
    }
    return child;
}

std::vector<xcb_window_t> WindowsOf(xcb_connection_t* x, pid_t pid) {
    static const xcb_atom_t pidAtom = Atom(x, "_NET_WM_PID");
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(x)).data->root;
    std::vector<xcb_window_t> candidates;
    const auto top = Own(xcb_query_tree_reply(x, xcb_query_tree(x, root), nullptr));
    if (!top) {
        return {};
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
    std::vector<xcb_window_t> found;
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

std::vector<std::uint32_t> WindowPixels(xcb_connection_t* x, xcb_window_t window) {
    return WindowPixels(x, window, 0, 1 << 15);
}

std::vector<std::uint32_t> WindowPixels(xcb_connection_t* x, xcb_window_t window, int left,
                                        int width) {
    const auto attributes =
        Own(xcb_get_window_attributes_reply(x, xcb_get_window_attributes(x, window), nullptr));
    const auto geometry = Own(xcb_get_geometry_reply(x, xcb_get_geometry(x, window), nullptr));
    if (!attributes || !geometry || attributes->map_state != XCB_MAP_STATE_VIEWABLE) {
        return {};
    }
    const int from = std::clamp(left, 0, int{geometry->width});
    const int wide = std::clamp(width, 0, geometry->width - from);
    if (wide == 0) {
        return {};
    }
    const auto image = Own(xcb_get_image_reply(
        x,
        xcb_get_image(x, XCB_IMAGE_FORMAT_Z_PIXMAP, window, static_cast<std::int16_t>(from), 0,
                      static_cast<std::uint16_t>(wide), geometry->height, ~0u),
        nullptr));
    if (!image || image->depth != 24) {
        return {};
    }
    const auto* pixels = reinterpret_cast<const std::uint32_t*>(xcb_get_image_data(image.get()));
    const int count = xcb_get_image_data_length(image.get()) / 4;
    std::vector<std::uint32_t> result(pixels, pixels + count);
    for (std::uint32_t& pixel : result) {
        pixel &= 0xFFFFFF;
    }
    return result;
}

std::string WindowTitle(xcb_connection_t* x, xcb_window_t window) {
    const auto reply = Own(xcb_get_property_reply(
        x, xcb_get_property(x, 0, window, Atom(x, "_NET_WM_NAME"), Atom(x, "UTF8_STRING"), 0, 1024),
        nullptr));
    if (!reply) {
        return {};
    }
    const auto* text = static_cast<const char*>(xcb_get_property_value(reply.get()));
    return std::string(text, static_cast<std::size_t>(xcb_get_property_value_length(reply.get())));
}

xcb_keycode_t KeycodeOf(xcb_connection_t* x, xcb_keysym_t symbol) {
    const xcb_setup_t* setup = xcb_get_setup(x);
    const auto map = Own(xcb_get_keyboard_mapping_reply(
        x,
        xcb_get_keyboard_mapping(
            x, setup->min_keycode,
            static_cast<std::uint8_t>(setup->max_keycode - setup->min_keycode + 1)),
        nullptr));
    if (!map) {
        return 0;
    }
    const xcb_keysym_t* syms = xcb_get_keyboard_mapping_keysyms(map.get());
    const int perCode = map->keysyms_per_keycode;
    for (int code = setup->min_keycode; code <= setup->max_keycode; ++code) {
        if (syms[(code - setup->min_keycode) * perCode] == symbol) {
            return static_cast<xcb_keycode_t>(code);
        }
    }
    return 0;
}

bool ShowsColour(xcb_connection_t* x, xcb_window_t window, std::uint32_t rgb) {
    const std::vector<std::uint32_t> pixels = WindowPixels(x, window);
    return std::find(pixels.begin(), pixels.end(), rgb) != pixels.end();
}

long PeakKilobytes(pid_t pid) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmHWM:", 0) == 0) {
            return std::strtol(line.c_str() + 6, nullptr, 10);
        }
    }
    return 0;
}

void Stop(pid_t pid) {
    kill(pid, SIGTERM);
    waitpid(pid, nullptr, 0);
}

std::uint64_t NowNs() {
    return static_cast<std::uint64_t>(std::chrono::duration_cast<std::chrono::nanoseconds>(
                                          std::chrono::steady_clock::now().time_since_epoch())
                                          .count());
}

double Milliseconds(std::uint64_t fromNs, std::uint64_t toNs) {
    return static_cast<double>(toNs - fromNs) / 1e6;
}

} // namespace kadromir::probe
