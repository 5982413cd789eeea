#pragma once

#include "opening/KeptViewers.h"
#include "opening/PathOpener.h"
#include "opening/ViewerQueue.h"
#include "platform/MainWindowView.h"
#include "platform/MessageBox.h"
#include "platform/WindowList.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

class DocumentViewer;
class ShellServices;
class UiLoop;
class WindowPlacement;
struct DocumentOptions;

// The main window as the open policy needs it.
class PolicyHost {
  public:
    virtual ~PolicyHost() = default;
    virtual const DocumentOptions& documentOptions() const = 0;
    virtual void minimizeMain() = 0;
    virtual int mainWidthTwips() const = 0;
    virtual double mainTwipsPerPixelX() const = 0;
    virtual PixelRect workArea() const = 0;
    // The hourglass while a request runs (a viewer's start takes seconds).
    virtual void setWaitCursor(bool on) = 0;
    // The working pointer over the window while a viewer request runs in the background.
    virtual void showWorking(bool /*on*/) {}
    // Whether a handler is under way whose menus or lists a finished request must not
    // change beneath it (a context menu is up, a file operation runs).
    virtual bool handlerBusy() const { return false; }
    // Whether to save a viewer's unsaved edits before its document closes.
    virtual MessageBox::SaveChoice askToSave(std::string_view text) = 0;
};

// How a path chosen in the browser or a recent-files menu is opened. With the office option
// (2 or 3) a single word-processor, spreadsheet or browser document opens in the kept
// viewer of its kind, beside the main window, one document at a time; switching kinds
// closes the previous kind's document. Everything else goes to the desktop's default
// application (or is started, for a program); extensions in the minimise list ("EXE" by
// default) minimise the main window first. Every path that opened (something started,
// or a viewer took it) is recorded in the recent lists.
// A viewer request runs in the background (ViewerQueue): the window stays usable while an
// office starts, and the request is recorded when it has ended.
class OpenPolicy : public PathOpener {
  public:
    using Record = std::function<void(const std::string& path)>;

    // `loop` brings the viewers' answers back; without one, viewer requests are handled on
    // the spot.
    OpenPolicy(ShellServices& shell, WindowPlacement* placement, Record record,
               KeptViewers viewers = {}, UiLoop* loop = nullptr);
    // The main window, which exists after the browser that opens through this policy; set
    // before the first open.
    void attachHost(PolicyHost& host) { host_ = &host; }

    void open(std::string& path, OpenMode mode) override;
    // Arms the placement of started programs' windows right of the main window.
    void prepareForStart() override;
    // The part of the work area right of the main window, in the program's pixels.
    ScreenRect rectangle() const;
    // After the main window changed its width: the placed window and the viewer of the
    // last request follow.
    void placeDocumentWindow();

    // The viewers shown at shutdown, named for the question; closing them on request (a
    // viewer whose edits the user keeps with Cancel stays).
    // Viewers an earlier run left running are adopted first, so they are named too.
    void adoptViewersLeftRunning();
    std::string openViewerNames();
    void closeViewers();

    DocumentKind shownKind() const { return shownKind_; }
    // Whether a viewer request is under way or waiting.
    bool viewerBusy() const { return queue_.busy(); }

  private:
    // One viewer request, shared by its calls away from the window's thread and its steps.
    struct ViewerRun {
        std::string path;
        DocumentKind kind = DocumentKind::Shell;
        bool readOnly = false;
        DocumentViewer* closing = nullptr; // whose document the request replaces
        bool modified = false;
        bool saved = false;
        bool ready = false; // the kind's viewer is up
        bool started = false;
    };
    using Run = std::shared_ptr<ViewerRun>;

    // The kind a request goes to: a viewer's, or the shell's; `pieces` are the paths of
    // `path`.
    DocumentKind kindFor(const std::string& path, const std::vector<std::string>& pieces,
                         OpenMode mode) const;
    // Before a viewer's document closes: unsaved edits are saved or dropped as the user
    // says; false when the user keeps them (Cancel), and nothing may close.
    bool mayClose(DocumentKind kind);
    // Whether a request of `next` may close the document it would replace.
    DocumentKind replacedKind(DocumentKind next) const;
    // The steps of a viewer request, in their order.
    void beginViewer(std::string path, DocumentKind kind);
    void askToReplace(const Run& run);
    void prepareViewer(const Run& run);
    void viewerPrepared(const Run& run);
    void switchKind(const Run& run);
    // `replaced`: the request got as far as replacing the shown document.
    void endViewer(const Run& run, bool replaced);
    void openInShell(const std::string& path, const std::vector<std::string>& pieces,
                     OpenMode mode);
    // Waits for a viewer request's calls before the viewers are used here; the waiting
    // requests are dropped, since the program ends. False when the calls still run.
    bool settleViewers();
    // The window placed by a start, and the viewer of `kind`, right of the main window.
    void placeBeside(DocumentKind kind);
    void placeViewer(DocumentKind kind);
    bool placeFrames(DocumentViewer& viewer, bool office, const ScreenRect& pixels);

    PolicyHost* host_ = nullptr;
    ShellServices& shell_;
    WindowPlacement* placement_;
    Record record_;
    KeptViewers viewers_;
    DocumentKind shownKind_ = DocumentKind::Shell;
    DocumentKind lastShownKind_ = DocumentKind::Shell;
    // Whether the request being handled started something.
    bool started_ = false;
    // Inside open(): a viewer request's step waits until it has returned.
    bool inOpen_ = false;
    ViewerQueue queue_;
};
