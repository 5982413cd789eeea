// The exported C table of the office module. Nothing thrown by the bridge or the office
// crosses it: every entry answers 0 / -1 or does nothing instead.
#include "OfficeBridgeApi.h"
#include "OfficeSession.h"

#include <exception>

struct TavrinOfficeSession {
    OfficeSession office;
};

namespace {

template <typename F, typename R> R guarded(TavrinOfficeSession* session, R failed, F&& call) {
    if (!session)
        return failed;
    try {
        return call(session->office);
    } catch (...) {
        return failed;
    }
}

template <typename F> void guardedVoid(TavrinOfficeSession* session, F&& call) {
    guarded(session, 0, [&](OfficeSession& office) {
        call(office);
        return 1;
    });
}

TavrinOfficeSession* connectOffice(const char* pipeName) {
    try {
        return new TavrinOfficeSession{OfficeSession(pipeName)};
    } catch (...) {
        return nullptr;
    }
}

void releaseOffice(TavrinOfficeSession* session) {
    try {
        delete session;
    } catch (...) {
    }
}

int aliveOffice(TavrinOfficeSession* session) {
    return guarded(session, 0, [](OfficeSession& o) { return o.alive() ? 1 : 0; });
}

int openDocument(TavrinOfficeSession* session, const char* fileUrl, int readOnly, int spreadsheet) {
    return guarded(session, 0, [&](OfficeSession& o) {
        return o.open(rtl::OUString::createFromAscii(fileUrl), readOnly != 0,
                      spreadsheet != 0 ? OfficeKind::Calc : OfficeKind::Writer)
                   ? 1
                   : 0;
    });
}

void closeDocument(TavrinOfficeSession* session) {
    guardedVoid(session, [](OfficeSession& o) { o.closeDocument(); });
}

int windowState(TavrinOfficeSession* session) {
    return guarded(session, -1, [](OfficeSession& o) { return o.windowState(); });
}

void showWindow(TavrinOfficeSession* session) {
    guardedVoid(session, [](OfficeSession& o) { o.show(); });
}

void minimizeWindow(TavrinOfficeSession* session) {
    guardedVoid(session, [](OfficeSession& o) { o.minimize(); });
}

void restoreWindow(TavrinOfficeSession* session) {
    guardedVoid(session, [](OfficeSession& o) { o.restore(); });
}

void setWindowBounds(TavrinOfficeSession* session, int x, int y, int width, int height) {
    guardedVoid(session, [&](OfficeSession& o) { o.setBounds(x, y, width, height); });
}

int terminateOffice(TavrinOfficeSession* session) {
    return guarded(session, 0, [](OfficeSession& o) {
        o.terminate();
        return 1;
    });
}

int modifiedDocument(TavrinOfficeSession* session) {
    return guarded(session, 0, [](OfficeSession& o) { return o.modified() ? 1 : 0; });
}

int saveDocument(TavrinOfficeSession* session) {
    return guarded(session, 0, [](OfficeSession& o) { return o.save() ? 1 : 0; });
}

const TavrinOfficeApi kApi{TAVRIN_OFFICE_API_VERSION,
                           TAVRIN_OFFICE_PROGRAM_FOLDER,
                           connectOffice,
                           releaseOffice,
                           aliveOffice,
                           openDocument,
                           closeDocument,
                           windowState,
                           showWindow,
                           minimizeWindow,
                           restoreWindow,
                           setWindowBounds,
                           terminateOffice,
                           modifiedDocument,
                           saveDocument};

} // namespace

extern "C" __attribute__((visibility("default"))) const TavrinOfficeApi* tavrin_office_api() {
    return &kApi;
}
