#pragma once

#include "platform/SettingsDialogView.h"

// The settings dialog as a Qt dialog: option buttons in group boxes, the read-only check
// box, the extension text box, Ok and Cancel.
class QtSettingsDialog : public SettingsDialogView {
  public:
    SettingsDialogOutcome showModal(const SettingsDialogForm& form,
                                    const SettingsDialogState& initial, int x, int y) override;
};
