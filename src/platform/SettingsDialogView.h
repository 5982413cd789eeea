#pragma once

#include <array>
#include <string>

// Texts of the display-and-open settings dialog, top to bottom.
struct SettingsDialogForm {
    std::string caption;
    std::array<std::string, 3> frames;          // Frame1(0..2)
    std::array<std::string, 2> generalOptions;  // opOpnF(0..1), in frame 0
    std::string doubleClickNote;                // Label1(1), top right of frame 1
    std::array<std::string, 4> documentOptions; // opOpn(0..3), in frame 1
    std::string readOnly;                       // ckRed, in frame 1
    std::array<std::string, 2> linkOptions;     // opLnk(0..1), in frame 2
    std::string extensionsLabel;                // Label1(0), above the text box
    std::string ok;                             // cmRet(0)
    std::string cancel;                         // cmRet(1)
};

// What the controls hold. An option index of -1 means no button of that group is
// selected.
struct SettingsDialogState {
    int general = -1;  // opOpnF
    int document = -1; // opOpn
    bool readOnlyChecked = false;
    bool readOnlyEnabled = false;
    int link = -1;          // opLnk
    std::string extensions; // txKak
};

struct SettingsDialogOutcome {
    bool accepted = false; // closed with Ok; Cancel and the close box give false
    SettingsDialogState state;
};

// The settings dialog on screen: shows the form modally with its frame's top left corner
// at (x, y) in screen pixels, returns when the user closes it. It only shows and collects;
// the dialog's rules are the caller's.
// Threads: the user-interface thread; the dialog is modal and returns when closed.
class SettingsDialogView {
  public:
    virtual ~SettingsDialogView() = default;
    virtual SettingsDialogOutcome showModal(const SettingsDialogForm& form,
                                            const SettingsDialogState& initial, int x, int y) = 0;
};
