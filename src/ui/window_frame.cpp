#include "window_frame.h"

#include <QGuiApplication>

#include <xcb/xcb.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>

namespace kadromir::ui {

namespace {

template <typename Reply> using ReplyPtr = std::unique_ptr<Reply, decltype(&std::free)>;

xcb_atom_t FrameExtentsAtom(xcb_connection_t* connection) {
    static constexpr char Name[] = "_NET_FRAME_EXTENTS";
    ReplyPtr<xcb_intern_atom_reply_t> reply(
        xcb_intern_atom_reply(connection,
                              xcb_intern_atom(connection, 1, std::strlen(Name), Name), nullptr),
        &std::free);
    return reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
}

} // namespace

std::optional<QMargins> RecordedFrame(const QWidget& window) {
    // Other platforms (offscreen among them) may answer for X11 without a connection.
    if (QGuiApplication::platformName() != QLatin1String("xcb") ||
        !window.testAttribute(Qt::WA_WState_Created)) {
        return std::nullopt;
    }
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    xcb_connection_t* connection = x11 ? x11->connection() : nullptr;
    if (connection == nullptr) {
        return std::nullopt;
    }
    const xcb_atom_t atom = FrameExtentsAtom(connection);
    if (atom == XCB_ATOM_NONE) {
        return std::nullopt;
    }
    const auto id = static_cast<xcb_window_t>(window.winId());
    ReplyPtr<xcb_get_property_reply_t> reply(
        xcb_get_property_reply(connection,
                               xcb_get_property(connection, 0, id, atom, XCB_ATOM_CARDINAL, 0, 4),
                               nullptr),
        &std::free);
    if (!reply || reply->type != XCB_ATOM_CARDINAL || reply->format != 32 ||
        xcb_get_property_value_length(reply.get()) != 4 * 4) {
        return std::nullopt;
    }
    std::uint32_t extents[4]; // left, right, top, bottom
    std::memcpy(extents, xcb_get_property_value(reply.get()), sizeof extents);
    for (const std::uint32_t extent : extents) {
        if (extent > 10000) {
            return std::nullopt; // not a frame any window manager draws
        }
    }
    return QMargins(int(extents[0]), int(extents[2]), int(extents[1]), int(extents[3]));
}

} // namespace kadromir::ui
