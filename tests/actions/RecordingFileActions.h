#pragma once

#include "actions/FileActions.h"

#include <string>
#include <vector>

// Writes every operation the dispatcher reaches as one line: its name, the source pane
// and the paths in brackets.
class RecordingFileActions : public FileActions {
  public:
    bool FlOpr(std::string_view word, const std::vector<std::string>& sources,
               const std::string& destination, bool noProgress, bool noConfirmation) override {
        add("FlOpr " + std::string(word) + " " + join(sources) + " to " + destination +
            (noProgress || noConfirmation ? " quiet" : ""));
        return flOprResult;
    }
    void MkNwFld(bool bTrv) override { add("MkNwFld " + pane(bTrv)); }
    void RenSlc(bool bTrv) override { add("RenSlc " + pane(bTrv)); }
    void DelSlc(const std::vector<std::string>& sources, bool bTrv) override {
        add("DelSlc " + join(sources) + " " + pane(bTrv));
    }
    void trRfPh(const std::string& folder) override { add("trRfPh " + folder); }
    void ClpSetFL(const std::vector<std::string>& paths, bool cut) override {
        add(std::string(cut ? "cut " : "copy ") + join(paths));
    }
    void ClpPast(bool bTrv) override { add("ClpPast " + pane(bTrv)); }
    void ClpLst() override { add("ClpLst"); }
    void MkLnk(const std::vector<std::string>& paths, const std::string& destination) override {
        add("MkLnk " + join(paths) + " to " + destination);
    }

    std::vector<std::string> calls;
    bool flOprResult = true;

  private:
    void add(std::string call) { calls.push_back(std::move(call)); }
    static std::string pane(bool bTrv) { return bTrv ? "tree" : "list"; }
    static std::string join(const std::vector<std::string>& paths) {
        std::string text;
        for (const std::string& path : paths)
            text += "[" + path + "]";
        return text;
    }
};
