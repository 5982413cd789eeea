#pragma once

#include "support/ChildProcess.h"
#include "support/TempDir.h"

#include <map>
#include <string>

// What `lnkinfo` (liblnk-utils), an independent reader of shortcut files, prints for a
// file: its labelled fields ("Local path", "Working directory", ...); empty when it
// rejects the file.
inline std::map<std::string, std::string> lnkinfo(const TempDir& dir, const std::string& link) {
    const std::string out = dir / "lnkinfo.txt";
    ChildProcess reader({"/usr/bin/lnkinfo", link}, {"LANG=C.UTF-8", "LC_ALL=C.UTF-8"}, out);
    std::map<std::string, std::string> fields;
    if (reader.wait(20000) != 0)
        return fields;
    const std::string text = TempDir::read(out);
    std::size_t start = 0;
    while (start < text.size()) {
        auto end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        const std::string line = text.substr(start, end - start);
        start = end + 1;
        const auto colon = line.find(": ");
        if (line.empty() || line[0] != '\t' || colon == std::string::npos)
            continue;
        std::string label = line.substr(1, colon - 1);
        label.erase(label.find_last_not_of('\t') + 1);
        fields[label] = line.substr(colon + 2);
    }
    return fields;
}
