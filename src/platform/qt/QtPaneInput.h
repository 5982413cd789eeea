#pragma once

#include "controls/ControlTypes.h"

#include <QDropEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <functional>
#include <string>
#include <vector>

// Translations of Qt input into the terms of BrowserInput, shared by the tree and the
// list views.
class QtPaneInput {
  public:
    static MouseButton button(Qt::MouseButton button);
    static KeyModifiers modifiers(Qt::KeyboardModifiers modifiers);
    static BrowserKey key(int qtKey);
    // Keys the program acts on, which the view's own key handling must not see (it would
    // copy a row's text, search for a letter, and so on).
    static bool ownsKey(BrowserKey key, KeyModifiers modifiers);
    // Drag data for local paths: "text/uri-list" with every byte of the paths kept.
    static QMimeData* mimeDataFor(const std::vector<std::string>& paths);
    // The local paths a drop offers; empty when it offers none.
    static std::vector<std::string> pathsOf(const QMimeData* data);
    static bool offersPaths(const QMimeData* data);

    // Starts a drag of local paths from `source`; nothing without paths.
    static void startDrag(QObject* source, const std::vector<std::string>& paths);
    // A drag entering or moving over a pane: accepted and reported when it offers paths.
    // `keyAt` names the item under the pointer.
    using KeyAt = std::function<std::string(const QPoint&)>;
    static void dragPassing(QDragMoveEvent* event, DragState state, const KeyAt& keyAt,
                            const std::function<void(const std::string&, DragState)>& report);
    // A drop of paths on a pane, answered with what the logic did (copy, move, or
    // nothing: ignored), so a source never deletes what was only copied. A drop from a
    // drag of this program (`ownDrag`) is answered "copy" at once and handed to the logic
    // after the drag has ended, with `context` alive: its copy shows dialogs that must not
    // run under the drag's pointer grab, and this program's drags act on no answer.
    using Drop = std::function<DropOutcome(const std::string&, const std::vector<std::string>&,
                                           KeyModifiers)>;
    static void dropped(QDropEvent* event, bool ownDrag, QObject* context, const KeyAt& keyAt,
                        Drop report);
    // Tells the drop's source what was done.
    static void answer(QDropEvent* event, DropOutcome outcome);
};
