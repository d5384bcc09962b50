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

// Other platforms (offscreen among them) may answer for X11 without a connection.
xcb_connection_t* X11Connection() {
    if (QGuiApplication::platformName() != QLatin1String("xcb")) {
        return nullptr;
    }
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    return x11 ? x11->connection() : nullptr;
}

} // namespace

FrameRecord::FrameRecord() {
    xcb_connection_t* connection = X11Connection();
    if (connection == nullptr) {
        return;
    }
    static constexpr char Name[] = "_NET_FRAME_EXTENTS";
    ReplyPtr<xcb_intern_atom_reply_t> reply(
        xcb_intern_atom_reply(connection, xcb_intern_atom(connection, 1, std::strlen(Name), Name),
                              nullptr),
        &std::free);
    if (reply) {
        Atom = reply->atom;
    }
}

std::optional<QMargins> FrameRecord::Read(const QWidget& window) const {
    if (Atom == XCB_ATOM_NONE || !window.testAttribute(Qt::WA_WState_Created)) {
        return std::nullopt;
    }
    xcb_connection_t* connection = X11Connection();
    if (connection == nullptr) {
        return std::nullopt;
    }
    const auto id = static_cast<xcb_window_t>(window.winId());
    ReplyPtr<xcb_get_property_reply_t> reply(
        xcb_get_property_reply(connection,
                               xcb_get_property(connection, 0, id, Atom, XCB_ATOM_CARDINAL, 0, 4),
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
