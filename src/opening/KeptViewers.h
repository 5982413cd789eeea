#pragma once

#include <array>
#include <string>
#include <string_view>

class DocumentViewer;

// What kind of program a document opens in; the numbers are the stored and compared
// values of the open policy.
enum class DocumentKind { Shell = 0, Word = 1, Sheet = 2, Browser = 3 };

// The kept viewers, one per document kind (a missing one, null, opens nothing), and what
// the program knows of them: a viewer exists from its first start until it is quit.
class KeptViewers {
  public:
    KeptViewers() = default;
    KeptViewers(DocumentViewer* word, DocumentViewer* sheet, DocumentViewer* browser);

    // The kind of a lower-cased extension: word-processor, spreadsheet and browser
    // documents; everything else goes to the shell.
    static DocumentKind kindOf(std::string_view extension);

    // The viewer of a kind, null for the shell kind or a missing viewer.
    DocumentViewer* viewer(DocumentKind kind) const;
    bool exists(DocumentKind kind) const;
    // Whether the existing viewer of a kind can be reused: the word processor answers at
    // all, the spreadsheet answers that it is shown, the browser is reachable.
    bool reusable(DocumentKind kind);
    // Starts a new viewer of the kind in place of the old one; false when none came up.
    bool create(DocumentKind kind);
    // Viewers that an earlier run left running (the answer No at its exit) and this run
    // never used become this run's, every kind alike, so that the exit question names
    // them and its Yes closes them. (A kind used in this run adopted its own at its start.)
    void adoptLeftRunning();
    // Another kind takes over: the word processor and the spreadsheet close their
    // document unsaved and are minimised; the browser closes its page onto an empty one.
    void leave(DocumentKind kind);

    // The viewers shown on the desktop, spreadsheet first, each named after the program
    // that really runs and followed by U+3000 ("LibreOffice Calc　Chromium　").
    std::string shownNames();
    // Closes every viewer's document unsaved and ends the viewers: spreadsheet, word
    // processor, browser.
    void quitAll();
    // Closes the viewer's document unsaved and ends it; nothing when it does not exist.
    void quit(DocumentKind kind);

  private:
    static std::size_t slot(DocumentKind kind) { return static_cast<std::size_t>(kind) - 1; }
    bool shown(DocumentKind kind);

    std::array<DocumentViewer*, 3> viewers_{};
    std::array<bool, 3> exists_{};
};
