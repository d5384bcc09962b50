#pragma once

// What the desktop measurements share: starting a program, finding its windows and
// reading their pixels back from the X server.
#include <xcb/xcb.h>

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <sys/types.h>
#include <vector>

namespace kadromir::probe {

template <typename Reply> using ReplyPtr = std::unique_ptr<Reply, decltype(&std::free)>;
template <typename Reply> ReplyPtr<Reply> Own(Reply* reply) {
    return ReplyPtr<Reply>(reply, &std::free);
}

// Starts the command with its output thrown away; returns its process.
pid_t Start(char** command);
// The viewable windows of the process: top-level ones and those a manager framed.
std::vector<xcb_window_t> WindowsOf(xcb_connection_t* x, pid_t pid);
// The window's pixels (0x00RRGGBB), row by row, none unless it is viewable; or those
// of a strip `width` wide from `left`, the window's whole height.
std::vector<std::uint32_t> WindowPixels(xcb_connection_t* x, xcb_window_t window);
std::vector<std::uint32_t> WindowPixels(xcb_connection_t* x, xcb_window_t window, int left,
                                        int width);
// The window's title (_NET_WM_NAME), as UTF-8 bytes.
std::string WindowTitle(xcb_connection_t* x, xcb_window_t window);
// The key code of a key symbol on the server's keyboard, 0 when none.
xcb_keycode_t KeycodeOf(xcb_connection_t* x, xcb_keysym_t symbol);
// Whether a pixel of colour 0xRRGGBB shows in the window.
bool ShowsColour(xcb_connection_t* x, xcb_window_t window, std::uint32_t rgb);
// The process's peak resident memory in kB (VmHWM), 0 when unknown.
long PeakKilobytes(pid_t pid);
// Ends the process and waits for it.
void Stop(pid_t pid);
double Milliseconds(std::uint64_t fromNs, std::uint64_t toNs);
std::uint64_t NowNs();

} // namespace kadromir::probe
