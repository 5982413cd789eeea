#pragma once

#include "platform/SettingsDialogView.h"

#include <functional>
#include <vector>

// Records how the settings dialog was shown and answers with what the script does to the
// shown state (nothing by default) and whether it ends with Ok.
class ScriptedSettingsDialog : public SettingsDialogView {
  public:
    struct Call {
        SettingsDialogForm form;
        SettingsDialogState initial;
        int x = 0;
        int y = 0;
    };

    SettingsDialogOutcome showModal(const SettingsDialogForm& form,
                                    const SettingsDialogState& initial, int x, int y) override {
        calls.push_back({form, initial, x, y});
        SettingsDialogState state = initial;
        if (edit)
            edit(state);
        return {pressOk, state};
    }

    std::vector<Call> calls;
    std::function<void(SettingsDialogState&)> edit;
    bool pressOk = false;
};
