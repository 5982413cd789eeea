#include "platform/qt/QtFindWindow.h"

#include "platform/fs/FileSystem.h"
#include "platform/text/NamePattern.h"
#include "platform/qt/Guarded.h"

#include <QFileDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

constexpr int kPathRole = Qt::UserRole;

QString fromBytes(const std::string& bytes) {
    return QString::fromUtf8(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

std::string toBytes(const QString& text) {
    const QByteArray utf8 = text.toUtf8();
    return {utf8.constData(), static_cast<std::size_t>(utf8.size())};
}

} // namespace

QtFindWindow::QtFindWindow()
    : pattern_(new QLineEdit(this)), folder_(new QLineEdit(this)),
      browse_(new QPushButton(QStringLiteral("参照..."), this)),
      search_(new QPushButton(QStringLiteral("検索開始"), this)),
      stop_(new QPushButton(QStringLiteral("中止"), this)), results_(new QTreeWidget(this)),
      status_(new QLabel(this)) {
    setWindowTitle(QStringLiteral("ﾌｧｲﾙの検索"));
    setWindowFlag(Qt::Window);
    buildLayout();
    setSearching(false);
    connect(search_, &QPushButton::clicked, this,
            [this] { guarded("search", [&] { startSearch(); }); });
    connect(pattern_, &QLineEdit::returnPressed, this,
            [this] { guarded("search", [&] { startSearch(); }); });
    connect(stop_, &QPushButton::clicked, this, [this] { cancelSearch(); });
    connect(browse_, &QPushButton::clicked, this,
            [this] { guarded("folder choice", [&] { chooseFolder(); }); });
    connect(results_, &QTreeWidget::itemActivated, this, [this](QTreeWidgetItem* item) {
        guarded("opening a result", [&] { openResult(item); });
    });
    resize(600, 440);
}

QtFindWindow::~QtFindWindow() {
    stopWorker();
}

void QtFindWindow::buildLayout() {
    pattern_->setObjectName(QStringLiteral("pattern"));
    pattern_->setPlaceholderText(QStringLiteral("*.txt"));
    folder_->setObjectName(QStringLiteral("folder"));
    search_->setObjectName(QStringLiteral("search"));
    stop_->setObjectName(QStringLiteral("stop"));
    results_->setObjectName(QStringLiteral("results"));
    status_->setObjectName(QStringLiteral("status"));
    results_->setHeaderLabels({QStringLiteral("名前"), QStringLiteral("ﾌｫﾙﾀﾞ")});
    results_->setRootIsDecorated(false);
    results_->setUniformRowHeights(true);
    results_->header()->resizeSection(0, 220);

    auto* form = new QGridLayout;
    form->addWidget(new QLabel(QStringLiteral("名前:"), this), 0, 0);
    form->addWidget(pattern_, 0, 1, 1, 2);
    form->addWidget(new QLabel(QStringLiteral("場所:"), this), 1, 0);
    form->addWidget(folder_, 1, 1);
    form->addWidget(browse_, 1, 2);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(search_);
    buttons->addWidget(stop_);
    buttons->addWidget(status_, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(buttons);
    layout->addWidget(results_, 1);
}

void QtFindWindow::show(const std::string& folder) {
    folderBytes_ = folder;
    folder_->setText(fromBytes(folder));
    QWidget::show();
    bringForward();
    pattern_->setFocus();
}

void QtFindWindow::bringForward() {
    raise();
    activateWindow();
}

// The folder as it was given while its text is unchanged, so that a name that is not
// UTF-8 is searched as it is; else what the user typed.
std::string QtFindWindow::folderToSearch() const {
    if (folder_->text() == fromBytes(folderBytes_))
        return folderBytes_;
    return toBytes(folder_->text());
}

void QtFindWindow::startSearch() {
    cancelSearch();
    stopWorker();
    results_->clear();
    found_ = 0;
    const std::string root = folderToSearch();
    if (!FileSystem::folderExists(root)) {
        status_->setText(QStringLiteral("場所が見つかりません"));
        return;
    }
    const unsigned generation = ++generation_;
    cancelled_ = std::make_shared<std::atomic<bool>>(false);
    setSearching(true);
    status_->setText(QStringLiteral("検索中..."));
    worker_ = std::thread([this, root, generation, cancelled = cancelled_,
                           pattern = NamePattern(toBytes(pattern_->text()))] {
        bool completed = false;
        guarded("search", [&] {
            completed = FileSearch::run(root, pattern, *cancelled, [&](FileSearch::Batch&& b) {
                auto batch = std::make_shared<FileSearch::Batch>(std::move(b));
                QMetaObject::invokeMethod(
                    this, [this, generation, batch] { addResults(generation, batch); },
                    Qt::QueuedConnection);
            });
        });
        QMetaObject::invokeMethod(
            this, [this, generation, completed] { finish(generation, completed); },
            Qt::QueuedConnection);
    });
}

// Stops at once as far as the window is concerned: later batches of the stopped search
// are dropped, and the worker ends at its next folder.
void QtFindWindow::cancelSearch() {
    if (!searching_)
        return;
    cancelled_->store(true);
    ++generation_;
    setSearching(false);
    status_->setText(QStringLiteral("中止しました (%1 件)").arg(found_));
}

void QtFindWindow::stopWorker() {
    if (cancelled_)
        cancelled_->store(true);
    if (worker_.joinable())
        worker_.join();
}

void QtFindWindow::addResults(unsigned generation,
                              const std::shared_ptr<FileSearch::Batch>& batch) {
    if (generation != generation_)
        return;
    QList<QTreeWidgetItem*> items;
    items.reserve(static_cast<qsizetype>(batch->size()));
    for (const FileSearch::Hit& hit : *batch) {
        auto* item = new QTreeWidgetItem({fromBytes(hit.name), fromBytes(hit.folder)});
        const std::string path = hit.path();
        item->setData(0, kPathRole, QByteArray(path.data(), static_cast<qsizetype>(path.size())));
        items.append(item);
    }
    results_->addTopLevelItems(items);
    found_ += batch->size();
    status_->setText(QStringLiteral("検索中... %1 件").arg(found_));
}

void QtFindWindow::finish(unsigned generation, bool completed) {
    if (generation != generation_)
        return;
    setSearching(false);
    status_->setText(completed ? QStringLiteral("%1 件見つかりました").arg(found_)
                               : QStringLiteral("中止しました (%1 件)").arg(found_));
}

void QtFindWindow::openResult(QTreeWidgetItem* item) {
    if (!item || !open_)
        return;
    const QByteArray path = item->data(0, kPathRole).toByteArray();
    open_(std::string(path.constData(), static_cast<std::size_t>(path.size())));
}

void QtFindWindow::chooseFolder() {
    const QString chosen =
        QFileDialog::getExistingDirectory(this, QStringLiteral("検索する場所"), folder_->text());
    if (!chosen.isEmpty())
        folder_->setText(chosen);
}

void QtFindWindow::setSearching(bool on) {
    searching_ = on;
    search_->setEnabled(!on);
    stop_->setEnabled(on);
}
