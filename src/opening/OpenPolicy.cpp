#include "opening/OpenPolicy.h"

#include "opening/ShellServices.h"
#include "opening/WindowPlacement.h"
#include "platform/DocumentViewer.h"
#include "platform/ScopedFlag.h"
#include "platform/UiLoop.h"
#include "platform/fs/FileSystem.h"
#include "platform/text/PathText.h"
#include "platform/text/TextCase.h"
#include "settings/DocumentOptions.h"
#include "settings/ValueText.h"

#include <vector>

namespace {

// The pieces of a ","-joined path list. A path that exists as a whole is one piece, since
// Linux names may hold commas. The only look at the disk of an open.
std::vector<std::string> piecesOf(const std::string& paths) {
    if (FileSystem::exists(paths))
        return {paths};
    std::vector<std::string> pieces;
    std::size_t from = 0;
    for (;;) {
        const auto comma = paths.find(',', from);
        std::string piece =
            paths.substr(from, comma == std::string::npos ? std::string::npos : comma - from);
        if (!piece.empty())
            pieces.push_back(std::move(piece));
        if (comma == std::string::npos)
            return pieces;
        from = comma + 1;
    }
}

std::string savePrompt(const DocumentViewer& viewer) {
    return viewer.programName() + "で表示している文書は変更されています。\r変更を保存しますか?";
}

} // namespace

OpenPolicy::OpenPolicy(ShellServices& shell, WindowPlacement* placement, Record record,
                       KeptViewers viewers, UiLoop* loop)
    : shell_(shell), placement_(placement), record_(std::move(record)), viewers_(viewers),
      queue_(loop ? loop->newBackgroundWork() : nullptr, loop ? loop->newTimer() : nullptr) {
    queue_.holdWhile([this] { return inOpen_ || (host_ && host_->handlerBusy()); });
}

void OpenPolicy::open(std::string& path, OpenMode mode) {
    ScopedFlag inOpen(inOpen_);
    const std::vector<std::string> pieces = piecesOf(path);
    const DocumentKind kind = kindFor(path, pieces, mode);
    if (kind != DocumentKind::Shell) {
        queue_.submit(static_cast<int>(kind), [this, path, kind] { beginViewer(path, kind); });
        return;
    }
    WaitCursor busy(*host_);
    shownKind_ = DocumentKind::Shell;
    started_ = false;
    openInShell(path, pieces, mode);
    // Only what really started goes into the recent lists.
    if (record_ && started_)
        record_(path);
}

DocumentKind OpenPolicy::kindFor(const std::string& path, const std::vector<std::string>& pieces,
                                 OpenMode mode) const {
    const bool single = pieces.size() == 1 && pieces.front() == path;
    if (mode != OpenMode::Document || host_->documentOptions().officeOpenMode < 2 || !single)
        return DocumentKind::Shell;
    return KeptViewers::kindOf(TextCase::lower(PathText::extensionOf(path)));
}

// The same kind's document gives way to the next one; another kind's on a switch.
DocumentKind OpenPolicy::replacedKind(DocumentKind next) const {
    return next == lastShownKind_ || lastShownKind_ == DocumentKind::Shell ? next : lastShownKind_;
}

bool OpenPolicy::mayClose(DocumentKind kind) {
    DocumentViewer* viewer = viewers_.exists(kind) ? viewers_.viewer(kind) : nullptr;
    if (!viewer || !viewer->modified())
        return true;
    switch (host_->askToSave(savePrompt(*viewer))) {
    case MessageBox::SaveChoice::Save:
        return viewer->save();
    case MessageBox::SaveChoice::Discard:
        return true;
    case MessageBox::SaveChoice::Cancel:
        break;
    }
    return false;
}

void OpenPolicy::adoptViewersLeftRunning() {
    if (settleViewers())
        viewers_.adoptLeftRunning();
}

void OpenPolicy::closeViewers() {
    if (!settleViewers())
        return;
    for (DocumentKind kind : {DocumentKind::Sheet, DocumentKind::Word, DocumentKind::Browser}) {
        if (mayClose(kind))
            viewers_.quit(kind);
    }
}

bool OpenPolicy::settleViewers() {
    const bool wasBusy = queue_.busy();
    if (!queue_.settle(ViewerQueue::kLongestCalls))
        return false;
    if (wasBusy)
        host_->showWorking(false);
    return true;
}

// A viewer request: the document it replaces may be kept by the user, then the kind's
// viewer is reused or started, placed, given the document and placed again; the previous
// kind gives way. Viewer calls run away from the window's thread, all else between them.
void OpenPolicy::beginViewer(std::string path, DocumentKind kind) {
    host_->showWorking(true);
    auto run = std::make_shared<ViewerRun>();
    run->path = std::move(path);
    run->kind = kind;
    const DocumentKind replaced = replacedKind(kind);
    run->closing = viewers_.exists(replaced) ? viewers_.viewer(replaced) : nullptr;
    if (!run->closing) {
        prepareViewer(run);
        return;
    }
    queue_.call([run] { run->modified = run->closing->modified(); },
                [this, run] { askToReplace(run); });
}

// Cancel, or a save that failed, keeps the document shown and opens nothing.
void OpenPolicy::askToReplace(const Run& run) {
    if (!run->modified) {
        prepareViewer(run);
        return;
    }
    switch (host_->askToSave(savePrompt(*run->closing))) {
    case MessageBox::SaveChoice::Save:
        queue_.call([run] { run->saved = run->closing->save(); },
                    [this, run] { run->saved ? prepareViewer(run) : endViewer(run, false); });
        return;
    case MessageBox::SaveChoice::Discard:
        prepareViewer(run);
        return;
    case MessageBox::SaveChoice::Cancel:
        break;
    }
    endViewer(run, false);
}

void OpenPolicy::prepareViewer(const Run& run) {
    shownKind_ = run->kind;
    if (TextCase::lower(PathText::extensionOf(run->path)) == "url")
        run->path = ShellServices::shortcutTarget(run->path);
    run->readOnly = run->kind != DocumentKind::Browser && host_->documentOptions().readOnly;
    queue_.call(
        [this, run] {
            const DocumentKind kind = run->kind;
            const bool reused = viewers_.reusable(kind);
            run->ready = reused || viewers_.create(kind);
            if (!run->ready)
                return;
            DocumentViewer& viewer = *viewers_.viewer(kind);
            if (kind == DocumentKind::Browser)
                viewer.show();
            // A reused office viewer drops its document, unless it was minimised.
            else if (reused && !viewer.minimized().value_or(false))
                viewer.closeDocument();
        },
        [this, run] { viewerPrepared(run); });
}

void OpenPolicy::viewerPrepared(const Run& run) {
    if (!run->ready) {
        // No viewer of the kind could be started: the desktop opens it, placed beside us.
        prepareForStart();
        run->started = shell_.openDocument(run->path, false);
        switchKind(run);
        return;
    }
    placeBeside(run->kind);
    queue_.call(
        [this, run] {
            DocumentViewer& viewer = *viewers_.viewer(run->kind);
            run->started = viewer.open(run->path, run->readOnly);
            if (run->kind != DocumentKind::Browser)
                viewer.show();
        },
        [this, run] {
            placeBeside(run->kind);
            switchKind(run);
        });
}

// The previous kind's viewer gives way, whether or not this request's viewer came up.
void OpenPolicy::switchKind(const Run& run) {
    const DocumentKind left = lastShownKind_;
    lastShownKind_ = run->kind;
    if (left == run->kind || left == DocumentKind::Shell) {
        endViewer(run, true);
        return;
    }
    queue_.call([this, left] { viewers_.leave(left); }, [this, run] { endViewer(run, true); });
}

void OpenPolicy::endViewer(const Run& run, bool replaced) {
    if (!replaced)
        shownKind_ = DocumentKind::Shell;
    // Only what really started goes into the recent lists.
    if (record_ && run->started)
        record_(run->path);
    host_->showWorking(false);
    queue_.done();
}

void OpenPolicy::openInShell(const std::string& path, const std::vector<std::string>& pieces,
                             OpenMode mode) {
    const std::string ext = TextCase::lower(PathText::extensionOf(path));
    if (TextCase::find(host_->documentOptions().minimiseExtensions, ext) != std::string::npos)
        host_->minimizeMain();
    for (const std::string& piece : pieces)
        started_ = shell_.shellOpen(piece, mode == OpenMode::Explore) || started_;
}

ScreenRect OpenPolicy::rectangle() const {
    const PixelRect work = host_->workArea();
    const int px = static_cast<int>(
        ValueText::roundHalfEven(host_->mainWidthTwips() / host_->mainTwipsPerPixelX()));
    return ScreenRect{work.left + px - 1, work.top, work.width() - px + 1, work.height()};
}

void OpenPolicy::prepareForStart() {
    if (placement_)
        placement_->setPlacement(rectangle());
}

// While a viewer request runs, its viewer is its own: the request places it at its next
// step, with the rectangle of then.
void OpenPolicy::placeDocumentWindow() {
    placeBeside(queue_.busy() ? DocumentKind::Shell : shownKind_);
}

void OpenPolicy::placeBeside(DocumentKind kind) {
    if (placement_ && placement_->lastPlaced() != 0) {
        prepareForStart();
        placement_->moveWindow();
    }
    placeViewer(kind);
}

void OpenPolicy::placeViewer(DocumentKind kind) {
    if (!viewers_.exists(kind))
        return;
    DocumentViewer& viewer = *viewers_.viewer(kind);
    const bool office = kind != DocumentKind::Browser;
    const ScreenRect pixels = rectangle();
    if (placeFrames(viewer, office, pixels))
        return;
    viewer.setBounds(pixels.left, pixels.top, pixels.width, pixels.height);
    if (office)
        viewer.restore();
}

// A viewer places its window's inside, so under a window manager the frame would stand out
// of the area, the title bar above the screen. Where the window list finds the viewer's
// windows, their frames are placed in the area instead (an office window restored first).
bool OpenPolicy::placeFrames(DocumentViewer& viewer, bool office, const ScreenRect& pixels) {
    const int pid = viewer.processId();
    if (!placement_ || !placement_->hasWindowsOf(pid))
        return false;
    if (office)
        viewer.restore();
    return placement_->placeWindowsOf(pid, pixels);
}

std::string OpenPolicy::openViewerNames() {
    return settleViewers() ? viewers_.shownNames() : std::string();
}
