#pragma once

#include "platform/SettingsDialogView.h"
#include "settings/DocumentOptions.h"

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
    // writes them back.
    void edit(DocumentOptions& options, bool& exploreFolderShortcuts);

    // The last display was closed with Ok.
    bool accepted = false;

    static const SettingsDialogForm& form();
    static SettingsDialogState preset(const DocumentOptions& options, bool exploreFolderShortcuts);

  private:
    struct Point {
        int x;
        int y;
    };
    Point placement() const;
    static void takeBack(const SettingsDialogState& state, DocumentOptions& options,
                         bool& exploreFolderShortcuts);

    SettingsDialogView& view_;
    const MainWindowView& mainWindow_;
};
