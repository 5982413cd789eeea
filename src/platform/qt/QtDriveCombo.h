#pragma once

#include <QComboBox>

class BrowserInput;
class DriveList;

// The drive list on screen: shows the DriveList's entries and selection, and reports an
// entry the user chooses. Selections made by the program are not reported back.
class QtDriveCombo : public QComboBox {
    Q_OBJECT

  public:
    QtDriveCombo(DriveList& drives, BrowserInput& input, QWidget* parent = nullptr);
    ~QtDriveCombo() override;

    // The drive list has been destroyed: it is not touched any more.
    void detach() { attached_ = false; }

  private:
    void apply();

    DriveList& drives_;
    BrowserInput& input_;
    bool applying_ = false;
    bool attached_ = true;
};
