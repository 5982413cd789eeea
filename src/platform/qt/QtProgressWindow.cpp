#include "platform/qt/QtProgressWindow.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QLocale>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QString sizeText(std::uint64_t bytes) {
    return QLocale().formattedDataSize(static_cast<qint64>(bytes));
}

// Share of the work done, by bytes where there are any, else by items.
double doneShare(const FileOperationStatus& s) {
    if (s.bytesTotal > 0)
        return static_cast<double>(s.bytesDone) / static_cast<double>(s.bytesTotal);
    return s.itemsTotal > 0 ? static_cast<double>(s.itemsDone) / static_cast<double>(s.itemsTotal)
                            : 0.0;
}

} // namespace

QtProgressWindow::QtProgressWindow(QWidget* owner, std::function<void()> onCancel)
    : QDialog(owner), onCancel_(std::move(onCancel)), current_(new QLabel(this)),
      counts_(new QLabel(this)), timeLeft_(new QLabel(this)), bar_(new QProgressBar(this)) {
    setWindowTitle(QStringLiteral("Tavrin"));
    current_->setTextFormat(Qt::PlainText);
    current_->setMinimumWidth(360);
    bar_->setRange(0, 1000);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("キャンセル"));
    connect(buttons, &QDialogButtonBox::rejected, this, &QtProgressWindow::reject);
    auto* layout = new QVBoxLayout(this);
    for (QWidget* w : {static_cast<QWidget*>(current_), static_cast<QWidget*>(bar_),
                       static_cast<QWidget*>(counts_), static_cast<QWidget*>(timeLeft_),
                       static_cast<QWidget*>(buttons)})
        layout->addWidget(w);
}

void QtProgressWindow::show(const FileOperationStatus& s, qint64 elapsedMs) {
    current_->setText(
        QString::fromUtf8(s.current.data(), static_cast<qsizetype>(s.current.size())));
    const double share = doneShare(s);
    bar_->setValue(static_cast<int>(share * 1000));
    counts_->setText(QStringLiteral("%1 / %2 項目、%3 / %4")
                         .arg(s.itemsDone)
                         .arg(s.itemsTotal)
                         .arg(sizeText(s.bytesDone), sizeText(s.bytesTotal)));
    if (share > 0.01) {
        const qint64 seconds = static_cast<qint64>(elapsedMs * (1 - share) / share / 1000);
        timeLeft_->setText(QStringLiteral("残り約 %1 秒").arg(seconds + 1));
    }
    if (!isVisible())
        QDialog::show();
}

void QtProgressWindow::reject() {
    if (onCancel_)
        onCancel_();
    timeLeft_->setText(QStringLiteral("キャンセルしています…"));
}
