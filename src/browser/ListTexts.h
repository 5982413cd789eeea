#pragma once

#include "platform/fs/FileSystem.h"

#include <chrono>
#include <cstdint>
#include <string>

// Column and tooltip texts of the file list.
class ListTexts {
  public:
    using TimePoint = std::chrono::system_clock::time_point;

    // "yy/mm/dd hh:nn" in local time.
    static std::string modified(TimePoint time);
    // "yyyy/mm/dd" in local time.
    static std::string day(TimePoint time);
    // Thousands with ",", empty for 0 ("#,###").
    static std::string grouped(std::uint64_t value);
    // Size of a file's row, made or brought up to date by a reconciliation (one form, so
    // a file never changes how its size reads): bytes / 1000 rounded, right-aligned in
    // eight places, " KB".
    static std::string sizeKb(std::uint64_t bytes);
    // "更新:" date " 作成:" date, and " ｻｲｽﾞ:" bytes for a file.
    static std::string tooltip(const FileRecord& entry);
    // "D" + name for a folder, "L" + name for a file: folders sort first.
    static std::string sortKey(const FileRecord& entry);
};
