#include "platform/x11/XcbWindowList.h"

#include "platform/x11/XcbReply.h"

#include <QGuiApplication>
#include <QScreen>
#include <algorithm>
#include <array>
#include <chrono>
#include <thread>
#include <xcb/xcb.h>
#include <xcb/xcb_ewmh.h>

struct XcbWindowList::Ewmh {
    xcb_ewmh_connection_t atoms{};
    int screen = 0;
    xcb_window_t root = 0;
    bool ready = false; // a failed set-up has already released what it had

    ~Ewmh() {
        if (ready)
            xcb_ewmh_connection_wipe(&atoms);
    }
};

namespace {

// How long a move waits for a new window's frame.
constexpr std::chrono::milliseconds kFrameWait{500};

// Ids longer than this are not expected in one property; the rest is left out.
constexpr std::uint32_t kMaxIds = 65536;

// The 32-bit values of a window's property; empty when it is absent or the window is gone.
std::vector<std::uint32_t> cardinals(xcb_connection_t* c, xcb_window_t window, xcb_atom_t property,
                                     xcb_atom_t type) {
    xcb_generic_error_t* error = nullptr;
    XcbReply<xcb_get_property_reply_t> reply(xcb_get_property_reply(
        c, xcb_get_property(c, 0, window, property, type, 0, kMaxIds), &error));
    XcbReply<xcb_generic_error_t> ownedError(error);
    if (!reply || reply->format != 32)
        return {};
    const auto* values = static_cast<const std::uint32_t*>(xcb_get_property_value(reply.get()));
    const int count = xcb_get_property_value_length(reply.get()) / 4;
    return {values, values + count};
}

// True when the request was carried out; an error is taken here so that it never reaches
// the event queue of the application that shares the connection.
bool succeeded(xcb_connection_t* c, xcb_void_cookie_t cookie) {
    XcbReply<xcb_generic_error_t> error(xcb_request_check(c, cookie));
    return !error;
}

bool exists(xcb_connection_t* c, xcb_window_t window) {
    xcb_generic_error_t* error = nullptr;
    XcbReply<xcb_get_geometry_reply_t> geometry(
        xcb_get_geometry_reply(c, xcb_get_geometry(c, window), &error));
    XcbReply<xcb_generic_error_t> ownedError(error);
    return geometry != nullptr;
}

std::vector<WindowList::Handle> topmostFirst(const std::uint32_t* bottomUp, std::size_t count) {
    std::vector<WindowList::Handle> windows(bottomUp, bottomUp + count);
    std::reverse(windows.begin(), windows.end());
    return windows;
}

} // namespace

std::unique_ptr<XcbWindowList> XcbWindowList::forApplication() {
    xcb_connection_t* connection = nullptr;
    if (auto* app =
            qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr)
        connection = app->connection();
    const QScreen* screen = QGuiApplication::primaryScreen();
    return std::unique_ptr<XcbWindowList>(
        new XcbWindowList(connection, 0, false, screen ? screen->devicePixelRatio() : 1.0));
}

XcbWindowList::XcbWindowList(const std::string& display) {
    int screen = 0;
    xcb_connection_t* connection = xcb_connect(display.c_str(), &screen);
    owned_ = true;
    conn_ = connection;
    if (!xcb_connection_has_error(connection))
        attach(connection, screen);
}

XcbWindowList::XcbWindowList(xcb_connection_t* connection, int screen, bool owned,
                             double deviceRatio)
    : conn_(connection), owned_(owned), deviceRatio_(deviceRatio) {
    if (connection && !xcb_connection_has_error(connection))
        attach(connection, screen);
}

XcbWindowList::~XcbWindowList() {
    ewmh_.reset();
    if (owned_ && conn_)
        xcb_disconnect(conn_);
}

void XcbWindowList::attach(xcb_connection_t* connection, int screen) {
    auto ewmh = std::make_unique<Ewmh>();
    xcb_intern_atom_cookie_t* cookies = xcb_ewmh_init_atoms(connection, &ewmh->atoms);
    if (!xcb_ewmh_init_atoms_replies(&ewmh->atoms, cookies, nullptr))
        return;
    ewmh->ready = true;
    if (screen < 0 || screen >= ewmh->atoms.nb_screens)
        screen = 0;
    ewmh->screen = screen;
    ewmh->root = ewmh->atoms.screens[screen]->root;
    ewmh_ = std::move(ewmh);
}

std::vector<WindowList::Handle> XcbWindowList::shownWindows() {
    if (!connected())
        return {};
    return windowManagerRuns() ? managedWindows() : mappedTopLevels();
}

// A window manager names its check window on the root, and the window names itself; a
// stale property left by one that has ended fails the second test.
std::vector<WindowList::Handle> XcbWindowList::windowsOf(int pid) {
    std::vector<Handle> own;
    if (pid <= 0)
        return own;
    for (Handle window : shownWindows()) {
        const auto owner = cardinals(conn_, static_cast<xcb_window_t>(window),
                                     ewmh_->atoms._NET_WM_PID, XCB_ATOM_CARDINAL);
        if (!owner.empty() && owner.front() == static_cast<std::uint32_t>(pid))
            own.push_back(window);
    }
    return own;
}

bool XcbWindowList::windowManagerRuns() {
    if (!connected())
        return false;
    const xcb_atom_t check = ewmh_->atoms._NET_SUPPORTING_WM_CHECK;
    const auto named = cardinals(conn_, ewmh_->root, check, XCB_ATOM_WINDOW);
    if (named.empty())
        return false;
    const auto self = cardinals(conn_, named.front(), check, XCB_ATOM_WINDOW);
    return !self.empty() && self.front() == named.front();
}

std::vector<WindowList::Handle> XcbWindowList::managedWindows() {
    const auto stacking =
        cardinals(conn_, ewmh_->root, ewmh_->atoms._NET_CLIENT_LIST_STACKING, XCB_ATOM_WINDOW);
    if (!stacking.empty())
        return topmostFirst(stacking.data(), stacking.size());
    const auto clients =
        cardinals(conn_, ewmh_->root, ewmh_->atoms._NET_CLIENT_LIST, XCB_ATOM_WINDOW);
    return {clients.begin(), clients.end()};
}

std::vector<WindowList::Handle> XcbWindowList::mappedTopLevels() {
    XcbReply<xcb_query_tree_reply_t> tree(
        xcb_query_tree_reply(conn_, xcb_query_tree(conn_, ewmh_->root), nullptr));
    if (!tree)
        return {};
    const xcb_window_t* children = xcb_query_tree_children(tree.get());
    const auto count = static_cast<std::size_t>(xcb_query_tree_children_length(tree.get()));
    std::vector<xcb_get_window_attributes_cookie_t> cookies;
    cookies.reserve(count);
    for (std::size_t i = 0; i < count; ++i)
        cookies.push_back(xcb_get_window_attributes(conn_, children[i]));
    std::vector<std::uint32_t> shown;
    for (std::size_t i = 0; i < count; ++i) {
        xcb_generic_error_t* error = nullptr;
        XcbReply<xcb_get_window_attributes_reply_t> attributes(
            xcb_get_window_attributes_reply(conn_, cookies[i], &error));
        XcbReply<xcb_generic_error_t> ownedError(error);
        if (attributes && attributes->map_state == XCB_MAP_STATE_VIEWABLE &&
            !attributes->override_redirect)
            shown.push_back(children[i]);
    }
    return topmostFirst(shown.data(), shown.size());
}

bool XcbWindowList::move(Handle window, const ScreenRect& rect) {
    if (!connected() || window == 0 || rect.width <= 0 || rect.height <= 0)
        return false;
    const ScreenRect device = rect.inDevicePixels(deviceRatio_);
    const bool moved =
        windowManagerRuns() ? moveManaged(window, device) : moveUnmanaged(window, device);
    xcb_flush(conn_);
    return moved;
}

// The window manager takes the outer frame's corner (north-west gravity) and the client's
// size, so the frame's borders come off the rectangle's size. A maximised window would not
// move, so that state is taken away first.
bool XcbWindowList::moveManaged(Handle window, const ScreenRect& rect) {
    const auto id = static_cast<xcb_window_t>(window);
    if (!exists(conn_, id))
        return false;
    auto& atoms = ewmh_->atoms;
    const auto frame = frameExtents(id);
    const int width = std::max(1, rect.width - frame[0] - frame[1]);
    const int height = std::max(1, rect.height - frame[2] - frame[3]);
    xcb_ewmh_request_change_wm_state(
        &atoms, ewmh_->screen, id, XCB_EWMH_WM_STATE_REMOVE, atoms._NET_WM_STATE_MAXIMIZED_VERT,
        atoms._NET_WM_STATE_MAXIMIZED_HORZ, XCB_EWMH_CLIENT_SOURCE_TYPE_OTHER);
    const auto flags = static_cast<xcb_ewmh_moveresize_window_opt_flags_t>(
        XCB_EWMH_MOVERESIZE_WINDOW_X | XCB_EWMH_MOVERESIZE_WINDOW_Y |
        XCB_EWMH_MOVERESIZE_WINDOW_WIDTH | XCB_EWMH_MOVERESIZE_WINDOW_HEIGHT);
    xcb_ewmh_request_moveresize_window(
        &atoms, ewmh_->screen, id, XCB_GRAVITY_NORTH_WEST, XCB_EWMH_CLIENT_SOURCE_TYPE_OTHER, flags,
        static_cast<std::uint32_t>(rect.left), static_cast<std::uint32_t>(rect.top),
        static_cast<std::uint32_t>(width), static_cast<std::uint32_t>(height));
    return true;
}

// Left, right, top and bottom border of the window manager's frame. A window that has just
// appeared may not have its frame yet; when the window manager announces that it tells
// the frame, a short wait lets it do so.
std::array<int, 4> XcbWindowList::frameExtents(Handle window) {
    const auto id = static_cast<xcb_window_t>(window);
    const xcb_atom_t extents = ewmh_->atoms._NET_FRAME_EXTENTS;
    const auto supported =
        cardinals(conn_, ewmh_->root, ewmh_->atoms._NET_SUPPORTED, XCB_ATOM_ATOM);
    const bool told = std::find(supported.begin(), supported.end(), extents) != supported.end();
    const auto until = std::chrono::steady_clock::now() + kFrameWait;
    for (;;) {
        const auto values = cardinals(conn_, id, extents, XCB_ATOM_CARDINAL);
        if (values.size() >= 4)
            return {static_cast<int>(values[0]), static_cast<int>(values[1]),
                    static_cast<int>(values[2]), static_cast<int>(values[3])};
        if (!told || std::chrono::steady_clock::now() >= until)
            return {0, 0, 0, 0};
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

bool XcbWindowList::moveUnmanaged(Handle window, const ScreenRect& rect) {
    const std::array<std::uint32_t, 4> values{
        static_cast<std::uint32_t>(rect.left), static_cast<std::uint32_t>(rect.top),
        static_cast<std::uint32_t>(rect.width), static_cast<std::uint32_t>(rect.height)};
    const std::uint16_t mask = XCB_CONFIG_WINDOW_X | XCB_CONFIG_WINDOW_Y | XCB_CONFIG_WINDOW_WIDTH |
                               XCB_CONFIG_WINDOW_HEIGHT;
    return succeeded(conn_, xcb_configure_window_checked(conn_, static_cast<xcb_window_t>(window),
                                                         mask, values.data()));
}

bool XcbWindowList::activate(Handle window) {
    if (!connected() || window == 0)
        return false;
    const auto id = static_cast<xcb_window_t>(window);
    bool done = true;
    if (windowManagerRuns()) {
        xcb_ewmh_request_change_active_window(&ewmh_->atoms, ewmh_->screen, id,
                                              XCB_EWMH_CLIENT_SOURCE_TYPE_OTHER, XCB_CURRENT_TIME,
                                              XCB_NONE);
    } else {
        const std::uint32_t above = XCB_STACK_MODE_ABOVE;
        done = succeeded(conn_, xcb_configure_window_checked(
                                    conn_, id, XCB_CONFIG_WINDOW_STACK_MODE, &above)) &&
               succeeded(conn_, xcb_set_input_focus_checked(conn_, XCB_INPUT_FOCUS_POINTER_ROOT, id,
                                                            XCB_CURRENT_TIME));
    }
    xcb_flush(conn_);
    return done;
}
