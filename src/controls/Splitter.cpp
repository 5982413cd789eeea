#include "controls/Splitter.h"

#include "platform/text/TextCase.h"

#include <algorithm>

Splitter::Splitter() : panes_{{"pRoot", "Drive1"}, {"pFnd", "frFnd"}, {"pTrv", "TrView"}} {}

std::vector<Splitter::Pane>::iterator Splitter::findPane(std::string_view key) {
    return std::find_if(panes_.begin(), panes_.end(),
                        [key](const Pane& pane) { return TextCase::equal(pane.key, key); });
}

std::vector<Splitter::Pane>::const_iterator Splitter::findPane(std::string_view key) const {
    return std::find_if(panes_.begin(), panes_.end(),
                        [key](const Pane& pane) { return TextCase::equal(pane.key, key); });
}

void Splitter::changed() {
    if (listener_) {
        listener_();
    }
}

bool Splitter::addPane(std::string key, std::string_view after) {
    if (key.empty() || hasPane(key)) {
        return false;
    }
    auto position = after.empty() ? panes_.end() : findPane(after);
    if (position != panes_.end()) {
        ++position;
    }
    panes_.insert(position, Pane{std::move(key), {}});
    changed();
    return true;
}

bool Splitter::removePane(std::string_view key) {
    const auto it = findPane(key);
    if (it == panes_.end()) {
        return false;
    }
    panes_.erase(it);
    changed();
    return true;
}

bool Splitter::hasPane(std::string_view key) const {
    return findPane(key) != panes_.end();
}

std::vector<std::string> Splitter::paneKeys() const {
    std::vector<std::string> keys;
    for (const Pane& pane : panes_) {
        keys.push_back(pane.key);
    }
    return keys;
}

bool Splitter::setPaneChild(std::string_view key, std::string child) {
    const auto it = findPane(key);
    if (it == panes_.end()) {
        return false;
    }
    it->child = std::move(child);
    changed();
    return true;
}

std::string Splitter::paneChild(std::string_view key) const {
    const auto it = findPane(key);
    return it == panes_.end() ? std::string() : it->child;
}

bool Splitter::listShown() const {
    return paneChild("pLsV") == "LsView";
}

void Splitter::setTreePaneHeight(int pixels) {
    treeHeight_ = std::max(0, pixels);
    changed();
}

void Splitter::setControlSizeFromView(int width, int height) {
    controlWidth_ = width;
    controlHeight_ = height;
}
