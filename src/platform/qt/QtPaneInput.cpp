#include "platform/qt/QtPaneInput.h"

#include "platform/qt/Guarded.h"

#include <QDrag>

#include "platform/UriList.h"

namespace {
const QString uriListType = QStringLiteral("text/uri-list");
}

MouseButton QtPaneInput::button(Qt::MouseButton button) {
    switch (button) {
    case Qt::LeftButton:
        return MouseButton::Left;
    case Qt::RightButton:
        return MouseButton::Right;
    case Qt::MiddleButton:
        return MouseButton::Middle;
    default:
        return MouseButton::None;
    }
}

KeyModifiers QtPaneInput::modifiers(Qt::KeyboardModifiers modifiers) {
    return KeyModifiers{modifiers.testFlag(Qt::ShiftModifier),
                        modifiers.testFlag(Qt::ControlModifier),
                        modifiers.testFlag(Qt::AltModifier)};
}

BrowserKey QtPaneInput::key(int qtKey) {
    switch (qtKey) {
    case Qt::Key_Delete:
        return BrowserKey::Delete;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return BrowserKey::Enter;
    case Qt::Key_F2:
        return BrowserKey::F2;
    case Qt::Key_Escape:
        return BrowserKey::Escape;
    case Qt::Key_C:
        return BrowserKey::C;
    case Qt::Key_X:
        return BrowserKey::X;
    case Qt::Key_V:
        return BrowserKey::V;
    case Qt::Key_F10:
        return BrowserKey::F10;
    case Qt::Key_Menu:
        return BrowserKey::Menu;
    case Qt::Key_Backspace:
        return BrowserKey::Backspace;
    default:
        return BrowserKey::Other;
    }
}

bool QtPaneInput::ownsKey(BrowserKey key, KeyModifiers modifiers) {
    switch (key) {
    case BrowserKey::Delete:
    case BrowserKey::Enter:
    case BrowserKey::F2:
    case BrowserKey::Menu:
    case BrowserKey::Backspace:
        return true;
    case BrowserKey::C:
    case BrowserKey::X:
    case BrowserKey::V:
        return modifiers == KeyModifiers{false, true, false};
    case BrowserKey::F10:
        return modifiers == KeyModifiers{true, false, false};
    default:
        return false;
    }
}

QMimeData* QtPaneInput::mimeDataFor(const std::vector<std::string>& paths) {
    auto* data = new QMimeData;
    data->setData(uriListType, QByteArray::fromStdString(UriList::encode(paths)));
    return data;
}

std::vector<std::string> QtPaneInput::pathsOf(const QMimeData* data) {
    if (!offersPaths(data)) {
        return {};
    }
    return UriList::decode(data->data(uriListType).toStdString());
}

bool QtPaneInput::offersPaths(const QMimeData* data) {
    return data != nullptr && data->hasFormat(uriListType);
}

void QtPaneInput::startDrag(QObject* source, const std::vector<std::string>& paths) {
    if (paths.empty())
        return;
    auto* drag = new QDrag(source);
    drag->setMimeData(mimeDataFor(paths));
    drag->exec(Qt::CopyAction | Qt::MoveAction, Qt::CopyAction);
}

void QtPaneInput::dragPassing(QDragMoveEvent* event, DragState state, const KeyAt& keyAt,
                              const std::function<void(const std::string&, DragState)>& report) {
    if (!offersPaths(event->mimeData())) {
        event->ignore();
        return;
    }
    event->acceptProposedAction();
    const std::string key = keyAt(event->position().toPoint());
    guarded("drag", [&] { report(key, state); });
}

void QtPaneInput::dropped(
    QDropEvent* event, const KeyAt& keyAt,
    const std::function<void(const std::string&, const std::vector<std::string>&, KeyModifiers)>&
        report) {
    const std::vector<std::string> paths = pathsOf(event->mimeData());
    if (paths.empty()) {
        event->ignore();
        return;
    }
    event->setDropAction(Qt::CopyAction);
    event->accept();
    const std::string key = keyAt(event->position().toPoint());
    const KeyModifiers mods = modifiers(event->modifiers());
    guarded("drop", [&] { report(key, paths, mods); });
}
