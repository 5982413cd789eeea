#pragma once

#include "browser/Pane.h"

#include "actions/FileActions.h"

#include <string>
#include <vector>

// Writes every operation the dispatcher reaches as one line: its name, the source pane
// and the paths in brackets.
class RecordingFileActions : public FileActions {
  public:
    bool runFileOperation(FileOperationKind kind, const std::vector<std::string>& sources,
                          const std::string& destination) override {
        static const char* const kWords[] = {"複写", "移動", "削除"};
        add("FlOpr " + std::string(kWords[static_cast<int>(kind)]) + " " + join(sources) + " to " +
            destination);
        return flOprResult;
    }
    void makeNewFolder(Pane pane) override { add("MkNwFld " + paneName(pane)); }
    void renameSelected(Pane pane) override { add("RenSlc " + paneName(pane)); }
    void deleteSelected(const std::vector<std::string>& sources, Pane pane) override {
        add("DelSlc " + join(sources) + " " + paneName(pane));
    }
    void refreshFolderNode(const std::string& folder) override { add("trRfPh " + folder); }
    void undoLast() override { add("Undo"); }
    bool canUndo() const override { return undoable; }
    void putFilesOnClipboard(const std::vector<std::string>& paths, bool cut) override {
        add(std::string(cut ? "cut " : "copy ") + join(paths));
    }
    void pasteFiles(Pane pane) override { add("ClpPast " + paneName(pane)); }
    void copyListAsText() override { add("ClpLst"); }
    void makeShortcuts(const std::vector<std::string>& paths,
                       const std::string& destination) override {
        add("MkLnk " + join(paths) + " to " + destination);
    }

    std::vector<std::string> calls;
    bool flOprResult = true;
    bool undoable = false;

  private:
    void add(std::string call) { calls.push_back(std::move(call)); }
    static std::string paneName(Pane pane) { return pane == Pane::Tree ? "tree" : "list"; }
    static std::string join(const std::vector<std::string>& paths) {
        std::string text;
        for (const std::string& path : paths)
            text += "[" + path + "]";
        return text;
    }
};
