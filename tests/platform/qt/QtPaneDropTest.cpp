#include "controls/BrowserControls.h"
#include "platform/qt/QtImageCache.h"
#include "platform/qt/QtListModel.h"
#include "platform/qt/QtListView.h"
#include "platform/qt/QtPaneInput.h"
#include "platform/qt/RecordingBrowserInput.h"
#include "platform/qt/ViewEvents.h"

#include <QDragEnterEvent>
#include <QMimeData>
#include <gtest/gtest.h>
#include <memory>

namespace {

const std::vector<std::string> kOddPaths = {"/tmp/x, y\nz \xff.txt", "/tmp/100%/<a> & b"};

// A list view with a folder row and a file row; drops are sent as the window system
// delivers them: an entry, then the drop.
class QtPaneDropTest : public ::testing::Test {
  protected:
    QtPaneDropTest() : cache(controls.imgLst), view(controls.listControl, cache, input) {
        ListItemData folder;
        folder.key = "L001";
        folder.text = "sub";
        ListItemData file;
        file.key = "L002";
        file.text = "a.txt";
        controls.listControl.addItems({folder, file});
        view.resize(400, 300);
        view.show();
        data.reset(QtPaneInput::mimeDataFor(kOddPaths));
    }
    QPoint centreOf(const std::string& key) {
        return view.visualRect(view.listModel()->indexOf(controls.listControl.find(key))).center();
    }
    // Drops `data` at the row; the drop event as the source would see it answered.
    std::unique_ptr<QDropEvent> drop(const std::string& key, Qt::KeyboardModifiers modifiers) {
        QDragEnterEvent enter(centreOf(key), Qt::CopyAction | Qt::MoveAction, data.get(),
                              Qt::LeftButton, modifiers);
        QApplication::sendEvent(view.viewport(), &enter);
        auto event =
            std::make_unique<QDropEvent>(QPointF(centreOf(key)), Qt::CopyAction | Qt::MoveAction,
                                         data.get(), Qt::LeftButton, modifiers);
        QApplication::sendEvent(view.viewport(), event.get());
        return event;
    }

    BrowserControls controls;
    RecordingBrowserInput input;
    QtImageCache cache;
    QtListView view;
    std::unique_ptr<QMimeData> data;
};

TEST_F(QtPaneDropTest, TheSourceHearsWhatWasReallyDone) {
    struct Case {
        DropOutcome outcome;
        bool accepted;
        Qt::DropAction action;
    };
    for (const Case& c : {Case{DropOutcome::Copied, true, Qt::CopyAction},
                          Case{DropOutcome::Moved, true, Qt::MoveAction},
                          Case{DropOutcome::Nothing, false, Qt::IgnoreAction}}) {
        input.dropOutcome = c.outcome;
        const auto event = drop("L001", Qt::ShiftModifier);
        EXPECT_EQ(event->isAccepted(), c.accepted) << static_cast<int>(c.outcome);
        EXPECT_EQ(event->dropAction(), c.action) << static_cast<int>(c.outcome);
    }
    EXPECT_EQ(input.callsStartingWith("list drop"),
              std::vector<std::string>(3, "list drop L001 [" + kOddPaths[0] + "][" + kOddPaths[1] +
                                              "] 1"))
        << "the paths arrive whole";
    EXPECT_EQ(input.callsStartingWith("list drag"),
              std::vector<std::string>(3, "list drag L001 0"));
}

TEST_F(QtPaneDropTest, DataWithoutFilesIsRefusedUntouched) {
    data = std::make_unique<QMimeData>();
    data->setText("/tmp/a");
    const auto event = drop("L002", Qt::NoModifier);
    EXPECT_FALSE(event->isAccepted());
    EXPECT_TRUE(input.callsStartingWith("list d").empty());
}

TEST_F(QtPaneDropTest, ADropOfThisProgramsOwnDragRunsAfterTheDrag) {
    QDropEvent event(QPointF(centreOf("L002")), Qt::CopyAction | Qt::MoveAction, data.get(),
                     Qt::LeftButton, Qt::NoModifier);
    int reports = 0;
    QtPaneInput::dropped(
        &event, true, &view, [this](const QPoint& p) { return view.keyAt(p); },
        [&](const std::string& key, const std::vector<std::string>& paths, KeyModifiers) {
            EXPECT_EQ(key, "L002");
            EXPECT_EQ(paths, kOddPaths);
            ++reports;
            return DropOutcome::Moved;
        });
    EXPECT_EQ(reports, 0) << "not inside the drop event";
    EXPECT_TRUE(event.isAccepted());
    EXPECT_EQ(event.dropAction(), Qt::CopyAction) << "never a move before one was done";
    ViewEvents::settle();
    EXPECT_EQ(reports, 1);

    // A view gone meanwhile takes its pending drop with it.
    auto gone = std::make_unique<QWidget>();
    QtPaneInput::dropped(
        &event, true, gone.get(), [](const QPoint&) { return std::string(); },
        [&](const std::string&, const std::vector<std::string>&, KeyModifiers) {
            ++reports;
            return DropOutcome::Copied;
        });
    gone.reset();
    ViewEvents::settle();
    EXPECT_EQ(reports, 1);
}

} // namespace
