#pragma once

// The plain C boundary between the program and the office module (libtavrin_office.so),
// which is loaded with dlopen so that the program starts where no office suite is
// installed. Texts are UTF-8; file addresses are percent-encoded file URLs (ASCII).
// Every function is safe to call with a session whose office has died: it then answers
// 0 / -1 and does nothing.

extern "C" {

struct TavrinOfficeSession;

enum TavrinOfficeWindow {
    TAVRIN_OFFICE_WINDOW_UNKNOWN = -1, // no window, or the office cannot be asked
    TAVRIN_OFFICE_WINDOW_HIDDEN = 0,
    TAVRIN_OFFICE_WINDOW_SHOWN = 1,
    TAVRIN_OFFICE_WINDOW_MINIMIZED = 2,
};

struct TavrinOfficeApi {
    int version;
    // The office's program folder (soffice.bin, fundamentalrc), as the module was built for.
    const char* programFolder;
    // Connects to the office listening on the named UNO pipe; null when none answers.
    TavrinOfficeSession* (*connect)(const char* pipeName);
    // Drops the connection (the office keeps running).
    void (*release)(TavrinOfficeSession* session);
    int (*alive)(TavrinOfficeSession* session);
    // Opens the document in place of the current one; macros never run. `spreadsheet`
    // also keeps links to other files from being updated.
    int (*open)(TavrinOfficeSession* session, const char* fileUrl, int readOnly, int spreadsheet);
    // Closes the current document without saving; the office's window stays.
    void (*closeDocument)(TavrinOfficeSession* session);
    int (*windowState)(TavrinOfficeSession* session);
    void (*show)(TavrinOfficeSession* session);
    void (*minimize)(TavrinOfficeSession* session);
    // From minimised or maximised back to the normal state.
    void (*restore)(TavrinOfficeSession* session);
    void (*setBounds)(TavrinOfficeSession* session, int x, int y, int width, int height);
    // Closes every document without saving and ends the office.
    int (*terminate)(TavrinOfficeSession* session);
    // Whether the current document holds edits not saved: 1 yes, 0 no (or no document).
    int (*modified)(TavrinOfficeSession* session);
    // Saves the current document where it came from, in its own format; 1 when saved.
    int (*save)(TavrinOfficeSession* session);
};

#define TAVRIN_OFFICE_API_VERSION 2
#define TAVRIN_OFFICE_API_SYMBOL "tavrin_office_api"

typedef const TavrinOfficeApi* (*TavrinOfficeApiFunction)(void);

} // extern "C"
