#pragma once

#include "platform/DocumentViewer.h"

#include <optional>
#include <string>
#include <vector>

// A kept viewer that writes every call into a log shared with other viewers, as
// "<name> <call>", and answers from its fields.
class RecordingViewer : public DocumentViewer {
  public:
    RecordingViewer(std::string name, std::vector<std::string>& log)
        : name_(std::move(name)), log_(log) {}

    bool alive() override { return running; }
    std::optional<bool> visible() override {
        return running ? std::optional<bool>(shown) : std::nullopt;
    }
    std::optional<bool> minimized() override {
        return running ? std::optional<bool>(isMinimized) : std::nullopt;
    }
    bool start() override {
        note("start");
        running = canStart;
        shown = running && leftBehind; // an adopted program still shows its window
        isMinimized = false;
        return running;
    }
    bool open(const std::string& path, bool readOnly) override {
        note("open " + path + (readOnly ? " ro" : ""));
        return running && canOpen;
    }
    void closeDocument() override {
        note("close");
        edited = false;
    }
    bool modified() override { return running && edited; }
    bool save() override {
        note("save");
        edited = false;
        return true;
    }
    void show() override {
        note("show");
        shown = running;
    }
    void minimize() override {
        note("minimize");
        isMinimized = true;
    }
    void restore() override {
        note("restore");
        isMinimized = false;
    }
    void setBounds(int left, int top, int width, int height) override {
        note("bounds " + std::to_string(left) + " " + std::to_string(top) + " " +
             std::to_string(width) + " " + std::to_string(height));
    }
    void quit() override {
        note("quit");
        running = false;
    }

    std::string programName() const override { return program.empty() ? name_ : program; }
    bool leftRunning() override { return leftBehind && !running; }
    int processId() override { return running ? pid : 0; }

    std::string program;     // the name it gives; its log name when empty
    bool leftBehind = false; // left running by an earlier run
    bool edited = false;     // the user typed into the document
    int pid = 4242;
    bool canStart = true;
    bool canOpen = true;
    bool running = false;
    bool shown = false;
    bool isMinimized = false;

  private:
    void note(const std::string& call) { log_.push_back(name_ + " " + call); }

    std::string name_;
    std::vector<std::string>& log_;
};
