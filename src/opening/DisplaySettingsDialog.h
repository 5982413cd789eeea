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
    void edit(short& fileOpenMode, short& officeOpenMode, bool& readOnly, bool& exploreFolderShortcuts, std::string& minimiseExtensions);

    // The last display was closed with Ok.
    bool accepted = false;

    static const SettingsDialogForm& form();
    static SettingsDialogState preset(short fileOpenMode, short officeOpenMode, bool readOnly, bool exploreFolderShortcuts,
                                      const std::string& minimiseExtensions);

  private:
    struct Point {
        int x;
        int y;
    };
    Point placement() const;
    static void takeBack(const SettingsDialogState& state, short& fileOpenMode, short& officeOpenMode, bool& readOnly,
                         bool& exploreFolderShortcuts, std::string& minimiseExtensions);

    SettingsDialogView& view_;
    const MainWindowView& mainWindow_;
};
