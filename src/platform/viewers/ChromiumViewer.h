#pragma once

#include "platform/DocumentViewer.h"

#include <QJsonObject>
#include <chrono>
#include <memory>
#include <optional>
#include <string>
#include <sys/types.h>

class MessagePipe;
class SpawnedProgram;

// The browser kind's kept viewer: Chromium (or Chrome) with a profile folder of its own,
// driven through the DevTools protocol over its remote-debugging pipe, so no other
// process can reach it through a port. The browser lives only as long as the pipe: it
// ends with this program. One page is attached and shown; all calls are synchronous on
// the calling thread and each waits a few seconds at most for its answer.
class ChromiumViewer : public DocumentViewer {
  public:
    // `deviceRatio`: the screen's device pixels to one of the program's. The browser is
    // started at that scale, so its window bounds are in the program's pixels.
    explicit ChromiumViewer(std::string profileFolder, double deviceRatio = 1.0);
    ~ChromiumViewer() override;
    ChromiumViewer(const ChromiumViewer&) = delete;
    ChromiumViewer& operator=(const ChromiumViewer&) = delete;

    bool alive() override;
    std::optional<bool> visible() override;
    std::optional<bool> minimized() override;
    bool start() override;
    // `readOnly` means nothing to a browser.
    bool open(const std::string& path, bool readOnly) override;
    void closeDocument() override;
    void show() override;
    void minimize() override;
    void restore() override;
    // In the program's pixels. Restoring or placing the window brings back one the user has closed.
    void setBounds(int left, int top, int width, int height) override;
    void quit() override;
    std::string programName() const override { return "Chromium"; }
    // The browser ends with the program that drives it: none is ever left running.
    bool leftRunning() override { return false; }
    // Pages are shown, not edited: nothing is ever to be saved.
    bool modified() override { return false; }
    bool save() override { return false; }

    // The address the page shows; empty when the browser cannot be asked.
    std::string locationUrl();
    // The browser's process while it runs, else 0.
    pid_t processId() override;
    // What the browser is told to open: a local path becomes a "file://" URL with every
    // byte that is not plainly safe percent-encoded (so any name arrives whole); an
    // address such as "about:blank" or "https://…" stays as it is.
    static std::string addressOf(const std::string& path);

  private:
    enum class Target { Browser, Page };
    using Duration = std::chrono::milliseconds;

    std::optional<QJsonObject> call(const char* method, const QJsonObject& params = {},
                                    Target target = Target::Browser);
    std::optional<QJsonObject> callWithin(const char* method, const QJsonObject& params,
                                          Target target, Duration timeout);
    bool navigate(const std::string& address);
    bool launch(const std::string& program);
    bool attachPage();
    bool ensurePage();
    std::optional<QJsonObject> window();
    std::optional<QString> windowState();
    bool setWindowBounds(const QJsonObject& bounds);
    void waitForState(const QString& state);
    void drop();

    std::string profileFolder_;
    double deviceRatio_;
    std::unique_ptr<SpawnedProgram> process_;
    std::unique_ptr<MessagePipe> pipe_;
    long long nextId_ = 1;
    bool hung_ = false;
    QString targetId_;
    QString sessionId_;
};
