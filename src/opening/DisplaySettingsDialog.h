#pragma once

#include "platform/SettingsDialogView.h"

#include <string>

class MainWindowView;

// The display-and-open settings dialog: edits how general documents and Doc/Xls/Htm
// documents open, the read-only switch, how folder shortcuts open and the extensions that
// minimise the main window. The caller's variables change only when the dialog is closed
// with Ok.
class DisplaySettingsDialog {
  public:
    // Offset of the dialog from the main window's top left corner, in twips.
    static constexpr int kOffsetLeftTwips = 500;
    static constexpr int kOffsetTopTwips = 1500;

    DisplaySettingsDialog(SettingsDialogView& view, const MainWindowView& mainWindow);

    // Shows the dialog modally next to the main window with the values preset; on Ok
    // writes the five values back.
    void Act(short& iTyF, short& iTyD, bool& bRed, bool& bLex, std::string& sMnFm);

    // The last display was closed with Ok.
    bool bAccept = false;

    static const SettingsDialogForm& form();
    static SettingsDialogState preset(short iTyF, short iTyD, bool bRed, bool bLex,
                                      const std::string& sMnFm);

  private:
    struct Point {
        int x;
        int y;
    };
    Point placement() const;
    static void takeBack(const SettingsDialogState& state, short& iTyF, short& iTyD, bool& bRed,
                         bool& bLex, std::string& sMnFm);

    SettingsDialogView& view_;
    const MainWindowView& mainWindow_;
};
