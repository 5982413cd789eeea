#include "support/X11Probe.h"

#include "support/ChildProcess.h"

#include <chrono>
#include <cstdlib>
#include <functional>
#include <thread>
#include <xcb/xcb.h>

X11Probe::X11Probe(const std::string& display) {
    conn_ = xcb_connect(display.c_str(), nullptr);
    if (!xcb_connection_has_error(conn_))
        root_ = xcb_setup_roots_iterator(xcb_get_setup(conn_)).data->root;
}

X11Probe::~X11Probe() {
    xcb_disconnect(conn_);
}

bool X11Probe::ok() const {
    return root_ != 0;
}

std::string X11Probe::title(std::uint32_t window) {
    auto cookie =
        xcb_get_property(conn_, 0, window, XCB_ATOM_WM_NAME, XCB_GET_PROPERTY_TYPE_ANY, 0, 256);
    std::string text;
    if (auto* reply = xcb_get_property_reply(conn_, cookie, nullptr)) {
        text.assign(static_cast<const char*>(xcb_get_property_value(reply)),
                    static_cast<std::size_t>(xcb_get_property_value_length(reply)));
        free(reply);
    }
    return text;
}

int X11Probe::shownPopups() {
    auto* tree = xcb_query_tree_reply(conn_, xcb_query_tree(conn_, root_), nullptr);
    if (!tree)
        return 0;
    int shown = 0;
    const auto* kids = xcb_query_tree_children(tree);
    for (int i = 0; i < xcb_query_tree_children_length(tree); ++i) {
        auto* attrs = xcb_get_window_attributes_reply(
            conn_, xcb_get_window_attributes(conn_, kids[i]), nullptr);
        if (attrs && attrs->override_redirect && attrs->map_state == XCB_MAP_STATE_VIEWABLE)
            ++shown;
        free(attrs);
    }
    free(tree);
    return shown;
}

std::vector<X11Probe::Window> X11Probe::windows() {
    std::vector<Window> found;
    // Walks two levels: without a window manager the windows are children of the root;
    // with one, children of its frames.
    std::function<void(std::uint32_t, int)> walk = [&](std::uint32_t parent, int depth) {
        auto* tree = xcb_query_tree_reply(conn_, xcb_query_tree(conn_, parent), nullptr);
        if (!tree)
            return;
        const auto* kids = xcb_query_tree_children(tree);
        for (int i = 0; i < xcb_query_tree_children_length(tree); ++i) {
            const std::uint32_t w = kids[i];
            auto* attrs = xcb_get_window_attributes_reply(
                conn_, xcb_get_window_attributes(conn_, w), nullptr);
            const bool viewable = attrs && attrs->map_state == XCB_MAP_STATE_VIEWABLE;
            free(attrs);
            if (!viewable)
                continue;
            const std::string t = title(w);
            if (!t.empty()) {
                Window win{w, t};
                auto* geo = xcb_get_geometry_reply(conn_, xcb_get_geometry(conn_, w), nullptr);
                auto* pos = xcb_translate_coordinates_reply(
                    conn_, xcb_translate_coordinates(conn_, w, root_, 0, 0), nullptr);
                if (geo && pos) {
                    win.x = pos->dst_x;
                    win.y = pos->dst_y;
                    win.width = geo->width;
                    win.height = geo->height;
                }
                free(geo);
                free(pos);
                found.push_back(win);
            } else if (depth < 2) {
                walk(w, depth + 1);
            }
        }
        free(tree);
    };
    walk(root_, 0);
    return found;
}

std::optional<X11Probe::Window> X11Probe::waitForWindow(const std::string& wanted, int timeoutMs) {
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (std::chrono::steady_clock::now() < until) {
        for (const auto& w : windows())
            if (w.title == wanted)
                return w;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return std::nullopt;
}

int X11Probe::rootWidth() const {
    return xcb_setup_roots_iterator(xcb_get_setup(conn_)).data->width_in_pixels;
}

int X11Probe::rootHeight() const {
    return xcb_setup_roots_iterator(xcb_get_setup(conn_)).data->height_in_pixels;
}

std::vector<std::uint32_t> X11Probe::grab(int x, int y, int width, int height) {
    auto* image = xcb_get_image_reply(
        conn_,
        xcb_get_image(conn_, XCB_IMAGE_FORMAT_Z_PIXMAP, root_, static_cast<std::int16_t>(x),
                      static_cast<std::int16_t>(y), static_cast<std::uint16_t>(width),
                      static_cast<std::uint16_t>(height), ~0u),
        nullptr);
    std::vector<std::uint32_t> pixels;
    // Xvfb's default screen: depth 24 in 32-bit pixels.
    const auto size = static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
    if (image && static_cast<std::size_t>(xcb_get_image_data_length(image)) == size * 4) {
        const auto* data = reinterpret_cast<const std::uint32_t*>(xcb_get_image_data(image));
        pixels.reserve(size);
        for (std::size_t i = 0; i < size; ++i)
            pixels.push_back(data[i] & 0xFFFFFF);
    }
    free(image);
    return pixels;
}

void X11Probe::xdotool(const std::string& display, std::vector<std::string> args) {
    args.insert(args.begin(), "/usr/bin/xdotool");
    ChildProcess run(args, {"DISPLAY=" + display});
    run.wait(5000);
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
}
