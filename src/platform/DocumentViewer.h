#pragma once

#include <optional>
#include <string>

// One kept viewer of a document kind (word processor, spreadsheet, browser): a separate
// program started on first need and reused, showing one document at a time. Every call
// answers what it could do and never throws: a viewer whose program died, or was never
// installed, simply answers false or nothing.
//
// Threads: every call blocks the calling thread until the viewer program answers or its
// time runs out: start() up to 30 s for an office (15 s for the browser), open() up to
// 15 s, every other call up to 5 s; a viewer that does not answer in time is ended. One
// thread at a time; calls from the user-interface thread freeze the window meanwhile.
class DocumentViewer {
  public:
    virtual ~DocumentViewer() = default;

    // Whether a viewer program is running and reachable now: the reuse test.
    virtual bool alive() = 0;
    // Whether its window is on the desktop (a minimised window counts as shown, a hidden
    // one does not); nothing when the viewer cannot be asked (not started, died, quit by
    // the user).
    virtual std::optional<bool> visible() = 0;
    // Whether its window is minimised; nothing when it cannot be asked.
    virtual std::optional<bool> minimized() = 0;
    // Starts a new viewer program, dropping the old one. False when the program is not
    // installed or did not come up.
    virtual bool start() = 0;
    // Opens `path` (a local file path, or for the browser kind also an address such as
    // "about:blank" or "https://…") in place of the current document. Office documents
    // open without running their macros; `readOnly` refuses writes to the file.
    virtual bool open(const std::string& path, bool readOnly) = 0;
    // Closes the current document without saving; the viewer stays.
    virtual void closeDocument() = 0;
    // Whether the current document holds edits that were not saved (typed by the user
    // into the viewer); false when it cannot be asked.
    virtual bool modified() = 0;
    // Saves the current document where it came from, in its own format; false when not.
    virtual bool save() = 0;
    // Shows the window (Visible := true).
    virtual void show() = 0;
    virtual void minimize() = 0;
    // Restores the window from minimised or maximised to its normal state.
    virtual void restore() = 0;
    // Moves the window's inside to a rectangle in the program's pixels (see ScreenRect).
    virtual void setBounds(int left, int top, int width, int height) = 0;
    // Closes the document without saving and ends the viewer program.
    virtual void quit() = 0;
    // Whether a viewer program that an earlier run of this program left running (the
    // answer No at its exit) waits for this viewer, which is not connected to it; a
    // start() then adopts it.
    virtual bool leftRunning() = 0;
    // The process id of the viewer program that shows the documents; 0 when none runs.
    virtual int processId() = 0;
    // The program that shows the documents, as the user knows it ("LibreOffice Writer").
    virtual std::string programName() const = 0;
};
