#pragma once

#include "controls/MainMenu.h"

// A chosen item of the main window's menus, as a plain call into the logic. Must not
// throw.
class MenuInput {
  public:
    virtual ~MenuInput() = default;
    virtual void menuChosen(MenuFamily family, int index) = 0;
};
