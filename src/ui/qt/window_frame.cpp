#include "window_frame.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QThread>

#include <xcb/xcb.h>

#include <algorithm>
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

xcb_atom_t InternAtom(xcb_connection_t* connection, const char* name, bool onlyIfExists = true) {
    ReplyPtr<xcb_intern_atom_reply_t> reply(
        xcb_intern_atom_reply(connection,
                              xcb_intern_atom(connection, onlyIfExists, std::strlen(name), name),
                              nullptr),
        &std::free);
    return reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
}

xcb_window_t RootOf(xcb_connection_t* connection) {
    return xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
}

// A window's property of that type, up to `longs` 32-bit units; nothing on an error.
ReplyPtr<xcb_get_property_reply_t> ReadProperty(xcb_connection_t* connection, xcb_window_t window,
                                                xcb_atom_t property, xcb_atom_t type,
                                                std::uint32_t longs) {
    return ReplyPtr<xcb_get_property_reply_t>(
        xcb_get_property_reply(
            connection, xcb_get_property(connection, 0, window, property, type, 0, longs), nullptr),
        &std::free);
}

// Whether the running window manager lists `atom` among what it supports.
bool ManagerSupports(xcb_connection_t* connection, xcb_atom_t atom) {
    const xcb_atom_t supported = InternAtom(connection, "_NET_SUPPORTED");
    if (atom == XCB_ATOM_NONE || supported == XCB_ATOM_NONE) {
        return false;
    }
    const auto reply = ReadProperty(connection, RootOf(connection), supported, XCB_ATOM_ATOM, 4096);
    if (!reply || reply->format != 32) {
        return false;
    }
    const auto* atoms = static_cast<const xcb_atom_t*>(xcb_get_property_value(reply.get()));
    const int count = xcb_get_property_value_length(reply.get()) / 4;
    return std::find(atoms, atoms + count, atom) != atoms + count;
}

// Whether a window manager that follows the desktop conventions runs: it names its
// check window on the root.
bool ManagerFollowsConventions(xcb_connection_t* connection) {
    const xcb_atom_t check = InternAtom(connection, "_NET_SUPPORTING_WM_CHECK");
    if (check == XCB_ATOM_NONE) {
        return false;
    }
    const auto reply = ReadProperty(connection, RootOf(connection), check, XCB_ATOM_WINDOW, 1);
    return reply && reply->format == 32 && xcb_get_property_value_length(reply.get()) == 4;
}

} // namespace

FrameRecord::FrameRecord() {
    xcb_connection_t* connection = X11Connection();
    if (connection == nullptr) {
        return;
    }
    // Made if no one has named it yet: a manager that starts later records with it.
    Atom = InternAtom(connection, "_NET_FRAME_EXTENTS", false);
    const xcb_atom_t request = InternAtom(connection, "_NET_REQUEST_FRAME_EXTENTS");
    if (ManagerSupports(connection, request)) {
        RequestAtom = request;
    }
}

bool FrameRecord::ParentIsFrame() const {
    if (!ShadowsInParent) {
        xcb_connection_t* connection = X11Connection();
        if (connection == nullptr || !ManagerFollowsConventions(connection)) {
            return true;
        }
        ShadowsInParent = !ManagerSupports(connection, Atom);
    }
    return !*ShadowsInParent;
}

bool FrameRecord::RequestPrediction(QWidget& window) const {
    xcb_connection_t* connection = X11Connection();
    if (connection == nullptr || RequestAtom == XCB_ATOM_NONE || Atom == XCB_ATOM_NONE) {
        return false;
    }
    xcb_client_message_event_t message{};
    message.response_type = XCB_CLIENT_MESSAGE;
    message.format = 32;
    message.window = static_cast<xcb_window_t>(window.winId()); // makes the native window
    message.type = RequestAtom;
    xcb_send_event(connection, 0, RootOf(connection),
                   XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                   reinterpret_cast<const char*>(&message));
    xcb_flush(connection);
    return true;
}

std::optional<QMargins> FrameRecord::WaitFor(const QWidget& window, int timeoutMs) const {
    QElapsedTimer waited;
    waited.start();
    for (;;) {
        if (const std::optional<QMargins> frame = Read(window)) {
            return frame;
        }
        if (waited.elapsed() >= timeoutMs) {
            return std::nullopt;
        }
        QThread::usleep(500);
    }
}

std::optional<QPoint> FrameRecord::FramedPosition(const QWidget& window) const {
    xcb_connection_t* connection = X11Connection();
    if (connection == nullptr || !window.testAttribute(Qt::WA_WState_Created)) {
        return std::nullopt;
    }
    const auto id = static_cast<xcb_window_t>(window.winId());
    const xcb_window_t root = RootOf(connection);
    ReplyPtr<xcb_query_tree_reply_t> tree(
        xcb_query_tree_reply(connection, xcb_query_tree(connection, id), nullptr), &std::free);
    ReplyPtr<xcb_get_window_attributes_reply_t> attributes(
        xcb_get_window_attributes_reply(connection, xcb_get_window_attributes(connection, id),
                                        nullptr),
        &std::free);
    if (!tree || tree->parent == root || !attributes ||
        attributes->map_state != XCB_MAP_STATE_VIEWABLE) {
        return std::nullopt;
    }
    ReplyPtr<xcb_translate_coordinates_reply_t> at(
        xcb_translate_coordinates_reply(
            connection, xcb_translate_coordinates(connection, id, root, 0, 0), nullptr),
        &std::free);
    if (!at) {
        return std::nullopt;
    }
    return QPoint(at->dst_x, at->dst_y);
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
    const auto reply = ReadProperty(connection, id, Atom, XCB_ATOM_CARDINAL, 4);
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
