#pragma once

#include "opening/PathOpener.h"

#include <string>
#include <vector>

// Writes each request to `log`: "before", then "open <path>" (by the document rules),
// "plain open <path>" or "explore <path>".
class RecordingOpener : public PathOpener {
  public:
    void open(std::string& path, OpenMode mode) override {
        static constexpr const char* kPrefix[] = {"open ", "plain open ", "explore "};
        log.push_back(kPrefix[static_cast<int>(mode)] + path);
    }
    void prepareForStart() override { log.push_back("before"); }

    std::vector<std::string> log;
};
