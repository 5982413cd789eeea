#include "platform/qt/BrowserWidget.h"

#include "controls/BrowserControls.h"
#include "controls/BrowserInput.h"
#include "controls/RetButtons.h"
#include "platform/qt/Guarded.h"
#include "platform/qt/QtDriveCombo.h"
#include "platform/qt/QtImageCache.h"
#include "platform/qt/QtListView.h"
#include "platform/qt/QtTreeModel.h"
#include "platform/qt/QtTreeView.h"

#include <QApplication>
#include <QComboBox>
#include <QEvent>
#include <QHBoxLayout>
#include <QResizeEvent>
#include <QSplitter>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>
#include <numeric>

namespace {

QString fromView(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QIcon buttonIcon(int index) {
    const QIcon themed = QIcon::fromTheme(fromView(RetButtons::iconName(index)));
    if (!themed.isNull()) {
        return themed;
    }
    static constexpr QStyle::StandardPixmap stand_ins[RetButtons::count] = {
        QStyle::SP_DirOpenIcon, QStyle::SP_FileDialogDetailedView, QStyle::SP_DirLinkIcon};
    return QApplication::style()->standardIcon(stand_ins[index]);
}

} // namespace

BrowserWidget::BrowserWidget(BrowserControls& controls, BrowserInput& input, QWidget* parent)
    : QWidget(parent), controls_(controls), input_(input),
      images_(std::make_unique<QtImageCache>(controls.imgLst)) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    buildTopRow();
    splitter_ = new QSplitter(Qt::Vertical, this);
    splitter_->setChildrenCollapsible(false);
    tree_ = new QtTreeView(controls_.treeControl, *images_, input_, splitter_);
    list_ = new QtListView(controls_.listControl, *images_, input_, splitter_);
    // The control names, for finding the panes from tests and accessibility tools.
    tree_->setObjectName(QStringLiteral("TrView"));
    list_->setObjectName(QStringLiteral("LsView"));
    splitter_->setObjectName(QStringLiteral("Splitter"));
    splitter_->addWidget(tree_);
    splitter_->addWidget(list_);
    layout->addWidget(splitter_, 1);
    tree_->installEventFilter(this);
    connect(splitter_, &QSplitter::splitterMoved, this,
            [this] { controls_.splitter.setTreePaneHeightFromView(tree_->height()); });
    controls_.splitter.setListener([this] { applyPanes(); });
    applyPanes();
}

BrowserWidget::~BrowserWidget() {
    // At shutdown the controls may go before the widgets; the tree tells when.
    if (tree_->treeModel()->attached()) {
        controls_.splitter.setListener({});
    } else {
        drives_->detach();
    }
    // The views draw with the image cache, which goes with the members: the views go first.
    delete splitter_;
}

QToolButton* BrowserWidget::retButton(int index) const {
    return index >= 0 && index < RetButtons::count ? buttons_[index] : nullptr;
}

void BrowserWidget::buildTopRow() {
    auto* row = new QHBoxLayout;
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(2);
    drives_ = new QtDriveCombo(controls_.drive1, input_, this);
    drives_->setObjectName(QStringLiteral("Drive1"));
    // The window is designed narrow: long drive names must not widen it.
    drives_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    drives_->setMinimumContentsLength(3);
    row->addWidget(drives_, 1);
    for (int i = 0; i < RetButtons::count; ++i) {
        auto* button = new QToolButton(this);
        button->setObjectName(QStringLiteral("imRet%1").arg(i));
        button->setIcon(buttonIcon(i));
        button->setToolTip(fromView(RetButtons::toolTip(i)));
        button->setAutoRaise(true);
        connect(button, &QToolButton::clicked, this,
                [this, i] { guarded("button click", [&] { input_.retButtonClicked(i); }); });
        buttons_[i] = button;
        row->addWidget(button);
    }
    static_cast<QVBoxLayout*>(layout())->addLayout(row);
}

void BrowserWidget::applyPanes() {
    list_->setVisible(controls_.splitter.listShown());
    applyTreeHeight();
}

void BrowserWidget::applyTreeHeight() {
    const int treeHeight = controls_.splitter.treePaneHeight();
    if (!list_->isVisibleTo(this) || treeHeight <= 0) {
        return;
    }
    const QList<int> sizes = splitter_->sizes();
    const int total = std::accumulate(sizes.begin(), sizes.end(), 0);
    treeHeightPending_ = total <= treeHeight || !isVisible();
    splitter_->setSizes({treeHeight, std::max(1, total - treeHeight)});
}

bool BrowserWidget::eventFilter(QObject* watched, QEvent* event) {
    if (watched == tree_ && event->type() == QEvent::Resize && !treeHeightPending_ &&
        tree_->treeModel()->attached()) {
        controls_.splitter.setTreePaneHeightFromView(tree_->height());
    }
    return QWidget::eventFilter(watched, event);
}

void BrowserWidget::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    if (treeHeightPending_) {
        applyTreeHeight();
    }
    controls_.splitter.setControlSizeFromView(width(), height());
    const int w = width();
    const int h = height();
    guarded("browser resize", [&] { input_.resized(w, h); });
}
