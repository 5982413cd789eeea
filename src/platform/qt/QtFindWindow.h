#pragma once

#include "platform/fs/FileSearch.h"
#include "platform/FindWindow.h"

#include <QWidget>
#include <atomic>
#include <cstddef>
#include <memory>
#include <thread>

class QLabel;
class QLineEdit;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

// The program's own find window: a name pattern ("*" and "?"), the folder to search and
// the results with their folders. The search runs on a worker thread and its results come
// in batches, so the window stays usable and the search can be stopped at any time.
// A double-click (or Enter) on a result hands its full path to the open handler.
//
// Thread rules: the widgets and every member except the worker's cancel flag belong to
// the user-interface thread; the worker only reads the file system and posts its batches
// back to this object's thread.
class QtFindWindow : public QWidget, public FindWindow {
    Q_OBJECT

  public:
    QtFindWindow();
    ~QtFindWindow() override;

    void setOpenHandler(OpenHandler handler) override { open_ = std::move(handler); }
    void show(const std::string& folder) override;
    bool isShown() const override { return isVisible(); }
    void bringForward() override;

    void startSearch();
    void cancelSearch();
    bool searching() const { return searching_; }

  private:
    void buildLayout();
    std::string folderToSearch() const;
    void addResults(unsigned generation, const std::shared_ptr<FileSearch::Batch>& batch);
    void finish(unsigned generation, bool completed);
    void openResult(QTreeWidgetItem* item);
    void chooseFolder();
    void setSearching(bool on);
    void stopWorker();

    QLineEdit* pattern_;
    QLineEdit* folder_;
    QPushButton* browse_;
    QPushButton* search_;
    QPushButton* stop_;
    QTreeWidget* results_;
    QLabel* status_;

    OpenHandler open_;
    std::string folderBytes_; // the folder as given, for names that are not UTF-8
    std::thread worker_;
    std::shared_ptr<std::atomic<bool>> cancelled_;
    unsigned generation_ = 0;
    bool searching_ = false;
    std::size_t found_ = 0;
};
