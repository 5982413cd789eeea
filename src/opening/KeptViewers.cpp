#include "opening/KeptViewers.h"

#include "platform/DocumentViewer.h"

#include <utility>

namespace {

constexpr std::string_view kWordExtensions[] = {"doc", "docx", "rtf", "txt"};
constexpr std::string_view kSheetExtensions[] = {"xls", "xlsx", "csv"};
constexpr std::string_view kBrowserExtensions[] = {"htm",  "html", "mht", "pdf", "jpg",
                                                   "jpeg", "gif",  "png", "url"};

template <std::size_t N>
bool listed(const std::string_view (&extensions)[N], std::string_view extension) {
    for (std::string_view e : extensions)
        if (e == extension)
            return true;
    return false;
}

constexpr std::string_view kSpace = "\u3000";

} // namespace

KeptViewers::KeptViewers(DocumentViewer* word, DocumentViewer* sheet, DocumentViewer* browser)
    : viewers_{word, sheet, browser} {}

DocumentKind KeptViewers::kindOf(std::string_view extension) {
    if (listed(kWordExtensions, extension))
        return DocumentKind::Word;
    if (listed(kSheetExtensions, extension))
        return DocumentKind::Sheet;
    if (listed(kBrowserExtensions, extension))
        return DocumentKind::Browser;
    return DocumentKind::Shell;
}

DocumentViewer* KeptViewers::viewer(DocumentKind kind) const {
    return kind == DocumentKind::Shell ? nullptr : viewers_[slot(kind)];
}

bool KeptViewers::exists(DocumentKind kind) const {
    return viewer(kind) && exists_[slot(kind)];
}

bool KeptViewers::reusable(DocumentKind kind) {
    if (!exists(kind))
        return false;
    DocumentViewer& v = *viewer(kind);
    switch (kind) {
    case DocumentKind::Word:
        return v.visible().has_value();
    case DocumentKind::Sheet:
        // A spreadsheet that answers but shows no window is replaced by a new one.
        return v.visible().value_or(false);
    case DocumentKind::Browser:
        return v.alive();
    case DocumentKind::Shell:
        break;
    }
    return false;
}

bool KeptViewers::create(DocumentKind kind) {
    DocumentViewer* v = viewer(kind);
    if (!v)
        return false;
    exists_[slot(kind)] = v->start();
    return exists_[slot(kind)];
}

void KeptViewers::adoptLeftRunning() {
    for (DocumentKind kind : {DocumentKind::Word, DocumentKind::Sheet, DocumentKind::Browser}) {
        if (!exists(kind) && viewer(kind) && viewer(kind)->leftRunning())
            create(kind);
    }
}

void KeptViewers::leave(DocumentKind kind) {
    if (!exists(kind))
        return;
    DocumentViewer& v = *viewer(kind);
    // The browser's document closes onto an empty page; it stays shown.
    v.closeDocument();
    if (kind != DocumentKind::Browser)
        v.minimize();
}

bool KeptViewers::shown(DocumentKind kind) {
    return exists(kind) && viewer(kind)->visible().value_or(false);
}

std::string KeptViewers::shownNames() {
    std::string names;
    for (DocumentKind kind : {DocumentKind::Sheet, DocumentKind::Word, DocumentKind::Browser}) {
        if (shown(kind))
            names.append(viewer(kind)->programName()).append(kSpace);
    }
    return names;
}

void KeptViewers::quitAll() {
    for (DocumentKind kind : {DocumentKind::Sheet, DocumentKind::Word, DocumentKind::Browser})
        quit(kind);
}

void KeptViewers::quit(DocumentKind kind) {
    if (!exists(kind))
        return;
    viewer(kind)->quit();
    exists_[slot(kind)] = false;
}
