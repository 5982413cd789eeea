#include "platform/qt/QtDriveCombo.h"

#include "controls/BrowserInput.h"
#include "controls/DriveList.h"
#include "platform/qt/Guarded.h"

QtDriveCombo::QtDriveCombo(DriveList& drives, BrowserInput& input, QWidget* parent)
    : QComboBox(parent), drives_(drives), input_(input) {
    setToolTip(QString::fromUtf8(DriveList::toolTip.data(),
                                 static_cast<qsizetype>(DriveList::toolTip.size())));
    // The main window may be narrow: the list gives way rather than widening it.
    setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    setMinimumContentsLength(1);
    setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    drives_.setListener([this] { apply(); });
    apply();
    connect(this, &QComboBox::activated, this, [this](int index) {
        // Choosing the entry already shown is no change.
        if (applying_ || !attached_ || index == drives_.selectedIndex()) {
            return;
        }
        drives_.selectFromView(index);
        guarded("drive choice", [&] { input_.driveChosen(index); });
    });
}

QtDriveCombo::~QtDriveCombo() {
    if (attached_) {
        drives_.setListener({});
    }
}

void QtDriveCombo::apply() {
    applying_ = true;
    const QSignalBlocker blocker(this);
    QStringList texts;
    for (const std::string& entry : drives_.entries()) {
        texts.append(QString::fromUtf8(entry));
    }
    bool same = count() == texts.size();
    for (int i = 0; same && i < count(); ++i) {
        same = itemText(i) == texts[i];
    }
    if (!same) {
        clear();
        addItems(texts);
    }
    setCurrentIndex(drives_.selectedIndex());
    applying_ = false;
}
