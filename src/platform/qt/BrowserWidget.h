#pragma once

#include <QWidget>
#include <memory>

struct BrowserControls;
class BrowserInput;
class QComboBox;
class QtImageCache;
class QSplitter;
class QToolButton;
class QtDriveCombo;
class QtListView;
class QtTreeView;

// The folder browser on screen: the drive list and the three buttons on top, below them
// the tree and, in the split view, the list under the tree in a splitter. It shows the
// controls the logic owns and turns user input into BrowserInput calls. The controls
// and the input must outlive the widget.
class BrowserWidget : public QWidget {
    Q_OBJECT

  public:
    BrowserWidget(BrowserControls& controls, BrowserInput& input, QWidget* parent = nullptr);
    ~BrowserWidget() override;

    QtTreeView* treeView() const { return tree_; }
    QtListView* listView() const { return list_; }
    QtDriveCombo* driveCombo() const { return drives_; }
    QToolButton* retButton(int index) const;

  protected:
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void buildTopRow();
    void applyPanes();
    void applyTreeHeight();

    BrowserControls& controls_;
    BrowserInput& input_;
    std::unique_ptr<QtImageCache> images_;
    QtDriveCombo* drives_ = nullptr;
    QToolButton* buttons_[3] = {};
    QSplitter* splitter_ = nullptr;
    QtTreeView* tree_ = nullptr;
    QtListView* list_ = nullptr;
    // A tree height the program set before the panes had their size.
    bool treeHeightPending_ = false;
};
