#include "support/FakeClipboardManager.h"

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <thread>
#include <xcb/xcb.h>

namespace {

long long nowMs() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

} // namespace

FakeClipboardManager::FakeClipboardManager(const std::string& display,
                                           std::vector<std::string> forms)
    : forms_(std::move(forms)) {
    conn_ = xcb_connect(display.c_str(), nullptr);
    if (xcb_connection_has_error(conn_))
        return;
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(conn_)).data;
    const std::uint32_t window = xcb_generate_id(conn_);
    xcb_create_window(conn_, XCB_COPY_FROM_PARENT, window, screen->root, 0, 0, 1, 1, 0,
                      XCB_WINDOW_CLASS_INPUT_ONLY, XCB_COPY_FROM_PARENT, 0, nullptr);
    const std::uint32_t manager = atom("CLIPBOARD_MANAGER");
    xcb_set_selection_owner(conn_, window, manager, XCB_CURRENT_TIME);
    auto* owner =
        xcb_get_selection_owner_reply(conn_, xcb_get_selection_owner(conn_, manager), nullptr);
    if (owner && owner->owner == window)
        window_ = window;
    free(owner);
}

FakeClipboardManager::~FakeClipboardManager() {
    xcb_disconnect(conn_);
}

std::uint32_t FakeClipboardManager::atom(const std::string& name) {
    auto* reply = xcb_intern_atom_reply(
        conn_, xcb_intern_atom(conn_, 0, static_cast<std::uint16_t>(name.size()), name.c_str()),
        nullptr);
    const std::uint32_t value = reply ? reply->atom : 0;
    free(reply);
    return value;
}

void* FakeClipboardManager::nextEvent(int responseType, long long deadlineMs) {
    while (nowMs() < deadlineMs) {
        xcb_generic_event_t* event = xcb_poll_for_event(conn_);
        if (!event) {
            if (xcb_connection_has_error(conn_))
                return nullptr;
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
            continue;
        }
        if ((event->response_type & 0x7F) == responseType)
            return event;
        free(event);
    }
    return nullptr;
}

bool FakeClipboardManager::fetch(const std::string& form, std::string& content,
                                 long long deadlineMs) {
    const std::uint32_t property = atom("FAKE_MANAGER_DATA");
    xcb_convert_selection(conn_, window_, atom("CLIPBOARD"), atom(form), property,
                          XCB_CURRENT_TIME);
    xcb_flush(conn_);
    auto* notify =
        static_cast<xcb_selection_notify_event_t*>(nextEvent(XCB_SELECTION_NOTIFY, deadlineMs));
    const bool given = notify && notify->property != XCB_NONE;
    free(notify);
    if (!given)
        return false;
    auto* reply = xcb_get_property_reply(
        conn_, xcb_get_property(conn_, 1, window_, property, XCB_GET_PROPERTY_TYPE_ANY, 0, 1 << 20),
        nullptr);
    if (reply)
        content.assign(static_cast<const char*>(xcb_get_property_value(reply)),
                       static_cast<std::size_t>(xcb_get_property_value_length(reply)));
    free(reply);
    return reply != nullptr;
}

std::map<std::string, std::string> FakeClipboardManager::waitForSave(int timeoutMs) {
    std::map<std::string, std::string> saved;
    if (!ok())
        return saved;
    const long long deadline = nowMs() + timeoutMs;
    const std::uint32_t saveTargets = atom("SAVE_TARGETS");
    for (;;) {
        auto* request =
            static_cast<xcb_selection_request_event_t*>(nextEvent(XCB_SELECTION_REQUEST, deadline));
        if (!request)
            return saved;
        if (request->target != saveTargets) {
            free(request);
            continue;
        }
        for (const std::string& form : forms_) {
            std::string content;
            if (fetch(form, content, deadline))
                saved[form] = content;
        }
        xcb_selection_notify_event_t answer{};
        answer.response_type = XCB_SELECTION_NOTIFY;
        answer.time = request->time;
        answer.requestor = request->requestor;
        answer.selection = request->selection;
        answer.target = request->target;
        answer.property = request->property;
        xcb_send_event(conn_, 0, request->requestor, XCB_EVENT_MASK_NO_EVENT,
                       reinterpret_cast<const char*>(&answer));
        xcb_flush(conn_);
        free(request);
        return saved;
    }
}
