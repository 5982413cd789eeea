#include "platform/qt/QtPaneInput.h"

#include "platform/qt/Guarded.h"

#include <QDrag>

#include "platform/desktop/UriList.h"

namespace {

const QString uriListType = QStringLiteral("text/uri-list");

// Drags of this program under way: a drop they make waits until they have ended.
int ownDrags = 0;

struct OwnDrag {
    OwnDrag() { ++ownDrags; }
    ~OwnDrag() { --ownDrags; }
    OwnDrag(const OwnDrag&) = delete;
    OwnDrag& operator=(const OwnDrag&) = delete;
};

// Runs `work` from the event loop once no drag of this program is under way, unless
// `context` has gone by then.
void runAfterOwnDrags(QObject* context, std::function<void()> work) {
    QMetaObject::invokeMethod(
        context,
        [context, work = std::move(work)]() mutable {
            if (ownDrags > 0)
                runAfterOwnDrags(context, std::move(work));
            else
                work();
        },
        Qt::QueuedConnection);
}

} // namespace

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
    case Qt::Key_Z:
        return BrowserKey::Z;
    case Qt::Key_H:
        return BrowserKey::H;
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
    case BrowserKey::Z:
    case BrowserKey::H:
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
    // The target of a move moves the items itself: nothing is deleted here whatever the
    // drag returns. Qt deletes the drag object when the drag is over.
    const OwnDrag running;
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

void QtPaneInput::dropped(QDropEvent* event, bool ownDrag, QObject* context, const KeyAt& keyAt,
                          Drop report) {
    std::vector<std::string> paths = pathsOf(event->mimeData());
    if (paths.empty()) {
        answer(event, DropOutcome::Nothing);
        return;
    }
    std::string key = keyAt(event->position().toPoint());
    const KeyModifiers mods = modifiers(event->modifiers());
    if (ownDrag) {
        answer(event, DropOutcome::Copied);
        runAfterOwnDrags(context, [report = std::move(report), key = std::move(key),
                                   paths = std::move(paths),
                                   mods] { guarded("drop", [&] { report(key, paths, mods); }); });
        return;
    }
    DropOutcome outcome = DropOutcome::Nothing;
    guarded("drop", [&] { outcome = report(key, paths, mods); });
    answer(event, outcome);
}

void QtPaneInput::answer(QDropEvent* event, DropOutcome outcome) {
    switch (outcome) {
    case DropOutcome::Copied:
        event->setDropAction(Qt::CopyAction);
        event->accept();
        break;
    case DropOutcome::Moved:
        event->setDropAction(Qt::MoveAction);
        event->accept();
        break;
    case DropOutcome::Nothing:
        event->setDropAction(Qt::IgnoreAction);
        event->ignore();
        break;
    }
}
