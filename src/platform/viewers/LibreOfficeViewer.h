#pragma once

#include "platform/DocumentViewer.h"
#include "platform/OfficeKind.h"
#include "platform/viewers/OfficeProcess.h"

#include <functional>
#include <optional>
#include <string>

struct TavrinOfficeApi;
struct TavrinOfficeSession;

// The kept word-processor or spreadsheet viewer: a LibreOffice of its own (own user
// profile, so each kind can be ended alone) reached over a private UNO pipe through the
// office module, which is loaded on the first start. Every request is bounded in time:
// an office that does not answer is ended, and the next start begins a new one.
class LibreOfficeViewer : public DocumentViewer {
  public:
    // `deviceRatio`: the screen's device pixels to one of the program's, which the office
    // places its windows in.
    LibreOfficeViewer(OfficeKind kind, std::string profileFolder, double deviceRatio = 1.0);
    // Lets go of the office without ending it, unless it no longer shows any window.
    ~LibreOfficeViewer() override;
    LibreOfficeViewer(const LibreOfficeViewer&) = delete;
    LibreOfficeViewer& operator=(const LibreOfficeViewer&) = delete;

    bool alive() override;
    std::optional<bool> visible() override;
    std::optional<bool> minimized() override;
    bool start() override;
    bool open(const std::string& path, bool readOnly) override;
    void closeDocument() override;
    bool modified() override;
    bool save() override;
    void show() override;
    void minimize() override;
    void restore() override;
    void setBounds(int left, int top, int width, int height) override;
    void quit() override;
    std::string programName() const override {
        return kind_ == OfficeKind::Calc ? "LibreOffice Calc" : "LibreOffice Writer";
    }
    bool leftRunning() override;

    // The running office's process id (an adopted one's too), 0 when none was started.
    int processId() override { return adopted_ > 0 ? adopted_ : process_.pid(); }
    // The file URL of a path, relative ones taken from the working folder: every byte but
    // the unreserved ones and "/" percent-encoded, so any name reaches the office whole.
    static std::string fileUrl(const std::string& path);

  private:
    using Request = std::function<int(const TavrinOfficeApi&, TavrinOfficeSession*)>;
    std::optional<int> request(Request call, int timeoutMs);
    // A request that answers nothing (show, minimise, ...); failures are the viewer's
    // usual silence.
    void command(void (*TavrinOfficeApi::*action)(TavrinOfficeSession*)) noexcept;
    std::optional<int> windowState();
    bool launch(const TavrinOfficeApi& api, const std::string& pipeName);
    bool connect(const TavrinOfficeApi& api, const std::string& pipeName, int timeoutMs);
    void prepareProfile() const;
    // The argument that gives the office this viewer's profile.
    std::string installation() const;
    // An office of this profile other than the one launched; 0 for none.
    pid_t otherOffice();
    void adoptIfHandedOver();
    void endAdopted();
    void endOffice();
    void drop();
    void removePipeSocket();

    OfficeKind kind_;
    std::string profileFolder_;
    double deviceRatio_;
    const TavrinOfficeApi* api_ = nullptr;
    TavrinOfficeSession* session_ = nullptr;
    OfficeProcess process_;
    // An office left running by an earlier run, which the launch handed over to: not a
    // child of this program, so it is watched through its process id.
    pid_t adopted_ = 0;
    std::string pipeSocket_;
};
