#pragma once

#include "controls/BrowserInput.h"

#include <string>
#include <vector>

// A BrowserInput that writes every call as a line of text and answers label edits and
// drag starts and drops from its members.
class RecordingBrowserInput : public BrowserInput {
  public:
    std::vector<std::string> calls;
    bool acceptLabelEdits = true;
    std::vector<std::string> dragPaths;
    DropOutcome dropOutcome = DropOutcome::Copied;

    void treeMousePressed(const std::string& key, MouseButton button,
                          KeyModifiers modifiers) override {
        add("tree press " + key + " " + describe(button, modifiers));
    }
    void treeMouseReleased(const std::string& key, MouseButton button,
                           KeyModifiers modifiers) override {
        add("tree release " + key + " " + describe(button, modifiers));
    }
    void treeNodeExpanding(const std::string& key) override { add("tree expanding " + key); }
    void treeNodeCollapsed(const std::string& key) override { add("tree collapsed " + key); }
    void treeNodeDoubleClicked(const std::string& key) override { add("tree double-click " + key); }
    bool treeLabelEdited(const std::string& key,
                         const std::optional<std::string>& newText) override {
        add("tree edited " + key + " " + newText.value_or("<abandoned>"));
        return acceptLabelEdits;
    }
    void treeKeyPressed(BrowserKey key, KeyModifiers) override {
        add("tree key " + std::to_string(static_cast<int>(key)));
    }
    void treeFocusLost() override { add("tree focus lost"); }
    void treeRowsShown(const std::vector<std::string>& keys) override {
        add("tree shown " + join(keys));
    }
    std::vector<std::string> treeDragStarting() override {
        add("tree drag start");
        return dragPaths;
    }
    void treeDragOver(const std::string& key, DragState state) override {
        add("tree drag " + key + " " + std::to_string(static_cast<int>(state)));
    }
    DropOutcome treeDropped(const std::string& key, const std::vector<std::string>& paths,
                            KeyModifiers modifiers) override {
        add("tree drop " + key + " " + join(paths) + " " + std::to_string(modifiers.state()));
        return dropOutcome;
    }

    void listMousePressed(const std::string& key, MouseButton button,
                          KeyModifiers modifiers) override {
        add("list press " + key + " " + describe(button, modifiers));
    }
    void listMouseReleased(const std::string& key, MouseButton button,
                           KeyModifiers modifiers) override {
        add("list release " + key + " " + describe(button, modifiers));
    }
    void listDoubleClicked(const std::string& key) override { add("list double-click " + key); }
    void listHeaderClicked(int column) override { add("list header " + std::to_string(column)); }
    bool listLabelEdited(const std::string& key,
                         const std::optional<std::string>& newText) override {
        add("list edited " + key + " " + newText.value_or("<abandoned>"));
        return acceptLabelEdits;
    }
    void listKeyPressed(BrowserKey key, KeyModifiers) override {
        add("list key " + std::to_string(static_cast<int>(key)));
    }
    std::vector<std::string> listDragStarting() override {
        add("list drag start");
        return dragPaths;
    }
    void listDragOver(const std::string& key, DragState state) override {
        add("list drag " + key + " " + std::to_string(static_cast<int>(state)));
    }
    DropOutcome listDropped(const std::string& key, const std::vector<std::string>& paths,
                            KeyModifiers modifiers) override {
        add("list drop " + key + " " + join(paths) + " " + std::to_string(modifiers.state()));
        return dropOutcome;
    }

    void driveChosen(int index) override { add("drive " + std::to_string(index)); }
    void retButtonClicked(int index) override { add("button " + std::to_string(index)); }
    void resized(int, int) override { ++resizes; }

    int resizes = 0;

    // The calls recorded so far that begin with `prefix`.
    std::vector<std::string> callsStartingWith(const std::string& prefix) const {
        std::vector<std::string> found;
        for (const std::string& call : calls) {
            if (call.rfind(prefix, 0) == 0) {
                found.push_back(call);
            }
        }
        return found;
    }

  private:
    void add(std::string call) { calls.push_back(std::move(call)); }
    static std::string describe(MouseButton button, KeyModifiers modifiers) {
        return std::to_string(static_cast<int>(button)) + " " + std::to_string(modifiers.state());
    }
    static std::string join(const std::vector<std::string>& paths) {
        std::string text;
        for (const std::string& path : paths) {
            text += "[" + path + "]";
        }
        return text;
    }
};
