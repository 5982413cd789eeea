#include "support/XvfbServer.h"

#include "support/ChildProcess.h"

#include <chrono>
#include <cstdlib>
#include <poll.h>
#include <thread>
#include <unistd.h>
#include <xcb/xcb.h>

namespace {

// Reads the display number Xvfb writes to the pipe once it accepts connections.
std::string readDisplay(int fd) {
    std::string number;
    pollfd p{fd, POLLIN, 0};
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (std::chrono::steady_clock::now() < until) {
        if (poll(&p, 1, 200) <= 0)
            continue;
        char c;
        const ssize_t n = read(fd, &c, 1);
        if (n <= 0 || c == '\n')
            break;
        number += c;
    }
    return number.empty() ? std::string() : ":" + number;
}

bool wmRunning(const std::string& display) {
    xcb_connection_t* c = xcb_connect(display.c_str(), nullptr);
    bool found = false;
    if (!xcb_connection_has_error(c)) {
        xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
        auto atomCookie = xcb_intern_atom(c, 0, 24, "_NET_SUPPORTING_WM_CHECK");
        if (auto* atom = xcb_intern_atom_reply(c, atomCookie, nullptr)) {
            auto cookie = xcb_get_property(c, 0, root, atom->atom, XCB_ATOM_WINDOW, 0, 1);
            if (auto* reply = xcb_get_property_reply(c, cookie, nullptr)) {
                found = xcb_get_property_value_length(reply) > 0;
                free(reply);
            }
            free(atom);
        }
    }
    xcb_disconnect(c);
    return found;
}

// Openbox names itself before it serves map requests, and a request that comes in between
// is lost: a window mapped then is never shown. It serves them once it has framed a window
// of ours, mapped again while it has not.
void waitUntilWmFramesWindows(const std::string& display) {
    xcb_connection_t* c = xcb_connect(display.c_str(), nullptr);
    if (xcb_connection_has_error(c)) {
        xcb_disconnect(c);
        return;
    }
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(c)).data;
    const xcb_window_t w = xcb_generate_id(c);
    xcb_create_window(c, XCB_COPY_FROM_PARENT, w, screen->root, 0, 0, 1, 1, 0,
                      XCB_WINDOW_CLASS_INPUT_OUTPUT, screen->root_visual, 0, nullptr);
    bool framed = false;
    for (int i = 0; i < 600 && !framed; ++i) {
        if (i % 20 == 0) {
            xcb_unmap_window(c, w);
            xcb_map_window(c, w);
            xcb_flush(c);
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        if (auto* tree = xcb_query_tree_reply(c, xcb_query_tree(c, w), nullptr)) {
            framed = tree->parent != screen->root;
            free(tree);
        }
    }
    xcb_destroy_window(c, w);
    xcb_flush(c);
    xcb_disconnect(c);
}

} // namespace

XvfbServer::XvfbServer(int width, int height, WindowManager wm) {
    int fds[2];
    if (pipe(fds) != 0)
        return;
    const std::string screen = std::to_string(width) + "x" + std::to_string(height) + "x24";
    server_ = std::make_unique<ChildProcess>(
        std::vector<std::string>{"/usr/bin/Xvfb", "-displayfd", std::to_string(fds[1]), "-screen",
                                 "0", screen, "-nolisten", "tcp", "-dpi", "96"},
        std::vector<std::string>{});
    close(fds[1]);
    display_ = readDisplay(fds[0]);
    close(fds[0]);
    if (display_.empty() || wm == WindowManager::None)
        return;
    wm_ = std::make_unique<ChildProcess>(std::vector<std::string>{"/usr/bin/openbox"},
                                         std::vector<std::string>{"DISPLAY=" + display_});
    // Generous: on a loaded machine openbox can take many seconds to take the screen.
    for (int i = 0; i < 1200 && !wmRunning(display_); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    waitUntilWmFramesWindows(display_);
}

XvfbServer::~XvfbServer() = default;
