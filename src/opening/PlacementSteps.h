#pragma once

// The two steps of placing the window of a program that is being started: a snapshot of
// the shown windows before the start (mode 0) and the move of the first new one into the
// placement rectangle after it (mode 1). Does nothing while placement is not armed.
class PlacementSteps {
  public:
    virtual ~PlacementSteps() = default;
    virtual void placeWindow(int mode) = 0;
};
