#include "opening/OpenPolicy.h"

#include "opening/ShellServices.h"
#include "opening/WindowPlacement.h"
#include "platform/DocumentViewer.h"
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

} // namespace

OpenPolicy::OpenPolicy(ShellServices& shell, WindowPlacement* placement, Record record,
                       KeptViewers viewers)
    : shell_(shell), placement_(placement), record_(std::move(record)), viewers_(viewers) {}

void OpenPolicy::open(std::string& path, OpenMode mode) {
    WaitCursor busy(*host_);
    shownKind_ = DocumentKind::Shell;
    started_ = false;
    // Cancel keeps the document shown and opens nothing.
    const std::vector<std::string> pieces = piecesOf(path);
    const DocumentKind kind = kindFor(path, pieces, mode);
    if (!mayReplace(kind))
        return;
    if (!openInViewer(path, kind))
        openInShell(path, pieces, mode);
    if (shownKind_ != DocumentKind::Shell)
        switchKind();
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

bool OpenPolicy::mayReplace(DocumentKind next) {
    if (next == DocumentKind::Shell)
        return true;
    // The same kind's document gives way to the next one; another kind's on a switch.
    return mayClose(
        next == lastShownKind_ || lastShownKind_ == DocumentKind::Shell ? next : lastShownKind_);
}

bool OpenPolicy::mayClose(DocumentKind kind) {
    DocumentViewer* viewer = viewers_.exists(kind) ? viewers_.viewer(kind) : nullptr;
    if (!viewer || !viewer->modified())
        return true;
    switch (host_->askToSave(viewer->programName() +
                             "で表示している文書は変更されています。\r変更を保存しますか?")) {
    case MessageBox::SaveChoice::Save:
        return viewer->save();
    case MessageBox::SaveChoice::Discard:
        return true;
    case MessageBox::SaveChoice::Cancel:
        break;
    }
    return false;
}

void OpenPolicy::closeViewers() {
    for (DocumentKind kind : {DocumentKind::Sheet, DocumentKind::Word, DocumentKind::Browser}) {
        if (mayClose(kind))
            viewers_.quit(kind);
    }
}

bool OpenPolicy::openInViewer(std::string& path, DocumentKind kind) {
    shownKind_ = kind;
    if (shownKind_ == DocumentKind::Shell)
        return false;
    const std::string ext = TextCase::lower(PathText::extensionOf(path));
    if (ext == "url")
        path = ShellServices::shortcutTarget(path);
    const bool opened =
        shownKind_ == DocumentKind::Browser ? openInBrowser(path) : openInOffice(path);
    if (!opened) {
        // No viewer of the kind could be started: the desktop opens it, placed beside us.
        prepareForStart();
        started_ = shell_.openDocument(path, false);
    }
    return true;
}

bool OpenPolicy::openInOffice(const std::string& path) {
    if (viewers_.reusable(shownKind_)) {
        DocumentViewer& viewer = *viewers_.viewer(shownKind_);
        if (!viewer.minimized().value_or(false))
            viewer.closeDocument();
    } else if (!viewers_.create(shownKind_)) {
        return false;
    }
    DocumentViewer& viewer = *viewers_.viewer(shownKind_);
    placeDocumentWindow();
    started_ = viewer.open(path, host_->documentOptions().readOnly);
    viewer.show();
    placeDocumentWindow();
    return true;
}

bool OpenPolicy::openInBrowser(const std::string& path) {
    if (!viewers_.reusable(DocumentKind::Browser) && !viewers_.create(DocumentKind::Browser))
        return false;
    DocumentViewer& viewer = *viewers_.viewer(DocumentKind::Browser);
    viewer.show();
    placeDocumentWindow();
    started_ = viewer.open(path, false);
    placeDocumentWindow();
    return true;
}

void OpenPolicy::openInShell(const std::string& path, const std::vector<std::string>& pieces,
                             OpenMode mode) {
    const std::string ext = TextCase::lower(PathText::extensionOf(path));
    if (TextCase::find(host_->documentOptions().minimiseExtensions, ext) != std::string::npos)
        host_->minimizeMain();
    for (const std::string& piece : pieces)
        started_ = shell_.shellOpen(piece, mode == OpenMode::Explore) || started_;
}

// The previous kind's viewer gives way, whether or not this request's viewer came up.
void OpenPolicy::switchKind() {
    if (lastShownKind_ != shownKind_ && lastShownKind_ != DocumentKind::Shell)
        viewers_.leave(lastShownKind_);
    lastShownKind_ = shownKind_;
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

void OpenPolicy::placeDocumentWindow() {
    if (placement_ && placement_->lastPlaced() != 0) {
        prepareForStart();
        placement_->moveWindow();
    }
    placeViewer();
}

void OpenPolicy::placeViewer() {
    if (!viewers_.exists(shownKind_))
        return;
    DocumentViewer& viewer = *viewers_.viewer(shownKind_);
    const bool office = shownKind_ != DocumentKind::Browser;
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
    return viewers_.shownNames();
}
