#pragma once

#include "platform/Clipboard.h"

#include <optional>
#include <string>

// Keeps what is put on it; a file list stays until something replaces it.
class FakeClipboard : public Clipboard {
  public:
    void setText(std::string_view value) override {
        text = std::string(value);
        files = {};
    }
    bool hasFileList() const override { return !files.paths.empty(); }
    void setFileList(const std::vector<std::string>& paths, ClipEffect effect) override {
        files = {paths, effect};
        text.reset();
    }
    ClipboardFiles fileList() const override { return files; }

    std::optional<std::string> text;
    ClipboardFiles files;
};
