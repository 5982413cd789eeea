#pragma once

#include "platform/fs/FileSystem.h"

#include <string>
#include <string_view>

// Whether the entries whose names begin with "." (a home folder's ".cache" and ".config",
// an office's ".~lock.*#" files) are shown in the tree and the list; they are by default.
// While they are hidden, the folder the user works in and the folders on the way to it
// stay, so hiding never takes the user out of where they are; only their hidden siblings
// go.
class HiddenEntries {
  public:
    // The rule: a name that begins with "." ("." and ".." themselves are never listed).
    static bool isHiddenName(std::string_view name) { return name.starts_with('.'); }

    bool shown() const { return shown_; }
    void setShown(bool shown) { shown_ = shown; }
    // The folder that stays, with every folder above it, while hidden entries are hidden.
    void keep(std::string folder) { kept_ = std::move(folder); }
    // Whether the entry is left out of the panes now.
    bool hides(const FileRecord& entry) const;
    // What a look inside a folder passes over: nothing while hidden entries are shown.
    FileSystem::NameTest skipped() const { return shown_ ? nullptr : &isHiddenName; }

  private:
    bool onKeptPath(std::string_view path) const;

    bool shown_ = true;
    std::string kept_;
};
