#pragma once

#include <string>

// How documents open: options the main window keeps, the settings dialog edits, the
// open policy applies and the browser stores with its own parameters.
struct DocumentOptions {
    short fileOpenMode = 1;
    short officeOpenMode = 2;
    bool readOnly = false;
    std::string minimiseExtensions = "EXE";
};
