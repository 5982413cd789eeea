#include "platform/qt/QtSettingsDialog.h"

#include <QCheckBox>
#include <QDialog>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <vector>

namespace {

QString text(const std::string& s) {
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

// The dialog's controls, built from the form and read back when it closes.
class SettingsDialog : public QDialog {
  public:
    explicit SettingsDialog(const SettingsDialogForm& form) {
        setWindowTitle(text(form.caption));
        auto* layout = new QVBoxLayout(this);
        layout->addWidget(generalFrame(form));
        layout->addWidget(documentFrame(form));
        layout->addWidget(linkFrame(form));
        layout->addWidget(new QLabel(text(form.extensionsLabel), this));
        extensions_ = new QLineEdit(this);
        layout->addWidget(extensions_);
        layout->addLayout(buttons(form));
    }

    void preset(const SettingsDialogState& s) {
        check(general_, s.general);
        check(document_, s.document);
        readOnly_->setChecked(s.readOnlyChecked);
        readOnly_->setEnabled(s.readOnlyEnabled);
        check(link_, s.link);
        extensions_->setText(
            QString::fromUtf8(s.extensions.data(), static_cast<qsizetype>(s.extensions.size())));
    }

    SettingsDialogState state() const {
        SettingsDialogState s;
        s.general = selected(general_);
        s.document = selected(document_);
        s.readOnlyChecked = readOnly_->isChecked();
        s.readOnlyEnabled = readOnly_->isEnabled();
        s.link = selected(link_);
        s.extensions = extensions_->text().toStdString();
        return s;
    }

  private:
    template <std::size_t N>
    QGroupBox* optionFrame(const std::string& caption, const std::array<std::string, N>& options,
                           std::vector<QRadioButton*>& buttons, QVBoxLayout*& inner) {
        auto* frame = new QGroupBox(text(caption), this);
        inner = new QVBoxLayout(frame);
        for (const std::string& option : options) {
            buttons.push_back(new QRadioButton(text(option), frame));
            inner->addWidget(buttons.back());
        }
        return frame;
    }

    QGroupBox* generalFrame(const SettingsDialogForm& form) {
        QVBoxLayout* inner = nullptr;
        return optionFrame(form.frames[0], form.generalOptions, general_, inner);
    }

    QGroupBox* documentFrame(const SettingsDialogForm& form) {
        QVBoxLayout* inner = nullptr;
        QGroupBox* frame = optionFrame(form.frames[1], form.documentOptions, document_, inner);
        auto* note = new QLabel(text(form.doubleClickNote), frame);
        inner->insertWidget(0, note, 0, Qt::AlignRight);
        readOnly_ = new QCheckBox(text(form.readOnly), frame);
        inner->addWidget(readOnly_);
        return frame;
    }

    QGroupBox* linkFrame(const SettingsDialogForm& form) {
        QVBoxLayout* inner = nullptr;
        return optionFrame(form.frames[2], form.linkOptions, link_, inner);
    }

    QHBoxLayout* buttons(const SettingsDialogForm& form) {
        auto* row = new QHBoxLayout;
        auto* ok = new QPushButton(text(form.ok), this);
        auto* cancel = new QPushButton(text(form.cancel), this);
        ok->setDefault(true);
        connect(ok, &QPushButton::clicked, this, &QDialog::accept);
        connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
        row->addStretch();
        row->addWidget(ok);
        row->addWidget(cancel);
        return row;
    }

    static void check(const std::vector<QRadioButton*>& group, int index) {
        if (index >= 0 && index < static_cast<int>(group.size()))
            group[static_cast<std::size_t>(index)]->setChecked(true);
    }

    static int selected(const std::vector<QRadioButton*>& group) {
        for (std::size_t i = 0; i < group.size(); ++i)
            if (group[i]->isChecked())
                return static_cast<int>(i);
        return -1;
    }

    std::vector<QRadioButton*> general_;
    std::vector<QRadioButton*> document_;
    std::vector<QRadioButton*> link_;
    QCheckBox* readOnly_ = nullptr;
    QLineEdit* extensions_ = nullptr;
};

} // namespace

SettingsDialogOutcome QtSettingsDialog::showModal(const SettingsDialogForm& form,
                                                  const SettingsDialogState& initial, int x,
                                                  int y) {
    SettingsDialog dialog(form);
    dialog.preset(initial);
    dialog.adjustSize();
    dialog.move(x, y);
    // The close box rejects, as Cancel does.
    const bool accepted = dialog.exec() == QDialog::Accepted;
    return {accepted, dialog.state()};
}
