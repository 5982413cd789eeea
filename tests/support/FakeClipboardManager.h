#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

struct xcb_connection_t;

// A clipboard manager as desktops run one: it owns CLIPBOARD_MANAGER, and when the owner
// of the clipboard ends and asks it to save the clipboard (SAVE_TARGETS), it fetches the
// forms it wants from that owner before it answers.
class FakeClipboardManager {
  public:
    FakeClipboardManager(const std::string& display, std::vector<std::string> forms);
    ~FakeClipboardManager();
    FakeClipboardManager(const FakeClipboardManager&) = delete;
    FakeClipboardManager& operator=(const FakeClipboardManager&) = delete;

    bool ok() const { return window_ != 0; }
    // Waits for a request to save; the forms fetched then (form → content, the forms
    // the owner could not give left out). Empty when no request came in time.
    std::map<std::string, std::string> waitForSave(int timeoutMs);

  private:
    std::uint32_t atom(const std::string& name);
    // The next event of this response type, or null after the deadline.
    void* nextEvent(int responseType, long long deadlineMs);
    bool fetch(const std::string& form, std::string& content, long long deadlineMs);

    xcb_connection_t* conn_ = nullptr;
    std::uint32_t window_ = 0;
    std::vector<std::string> forms_;
};
