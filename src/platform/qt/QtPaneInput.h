#pragma once

#include "platform/controls/ControlTypes.h"

#include <QMimeData>
#include <QMouseEvent>
#include <string>
#include <vector>

// Translations of Qt input into the terms of BrowserInput, shared by the tree and the
// list views.
class QtPaneInput {
  public:
    static MouseButton button(Qt::MouseButton button);
    static KeyModifiers modifiers(Qt::KeyboardModifiers modifiers);
    static BrowserKey key(int qtKey);
    // Drag data for local paths: "text/uri-list" with every byte of the paths kept.
    static QMimeData* mimeDataFor(const std::vector<std::string>& paths);
    // The local paths a drop offers; empty when it offers none.
    static std::vector<std::string> pathsOf(const QMimeData* data);
    static bool offersPaths(const QMimeData* data);
};
