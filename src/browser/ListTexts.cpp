#include "browser/ListTexts.h"

#include <cmath>
#include <cstdio>
#include <ctime>

namespace {

// Local time of a moment. Rows of one folder mostly share an hour, so the conversion of
// the hour's start is kept and minutes and seconds are added to it; a moment past the
// local hour's end (zones with half-hour offsets) is converted in full.
std::tm localTime(ListTexts::TimePoint time) {
    static thread_local std::time_t cachedHour = -1;
    static thread_local std::tm cachedTm{};
    const std::time_t t = std::chrono::system_clock::to_time_t(time);
    const std::time_t hour = t - ((t % 3600) + 3600) % 3600;
    if (hour != cachedHour) {
        localtime_r(&hour, &cachedTm);
        cachedHour = hour;
    }
    const long seconds = cachedTm.tm_min * 60L + cachedTm.tm_sec + static_cast<long>(t - hour);
    if (seconds >= 3600) {
        std::tm tm{};
        localtime_r(&t, &tm);
        return tm;
    }
    std::tm tm = cachedTm;
    tm.tm_min = static_cast<int>(seconds / 60);
    tm.tm_sec = static_cast<int>(seconds % 60);
    return tm;
}

std::string rightAligned(std::string text) {
    if (text.size() < 8)
        text.insert(0, 8 - text.size(), ' ');
    return text;
}

} // namespace

std::string ListTexts::modified(TimePoint time) {
    const std::tm tm = localTime(time);
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%02d/%02d/%02d %02d:%02d", tm.tm_year % 100,
                  tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min);
    return buffer;
}

std::string ListTexts::day(TimePoint time) {
    const std::tm tm = localTime(time);
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%04d/%02d/%02d", tm.tm_year + 1900, tm.tm_mon + 1,
                  tm.tm_mday);
    return buffer;
}

std::string ListTexts::grouped(std::uint64_t value) {
    if (value == 0)
        return {};
    std::string digits = std::to_string(value);
    for (int i = static_cast<int>(digits.size()) - 3; i > 0; i -= 3)
        digits.insert(static_cast<std::size_t>(i), ",");
    return digits;
}

std::string ListTexts::sizeKb(std::uint64_t bytes) {
    const auto kb = static_cast<std::uint64_t>(std::round(static_cast<double>(bytes) / 1000.0));
    return rightAligned(grouped(kb)) + " KB";
}

std::string ListTexts::sizeBytes(std::uint64_t bytes) {
    return rightAligned(grouped(bytes)) + "B";
}

std::string ListTexts::tooltip(const FileRecord& entry) {
    std::string tip = "更新:" + day(entry.modified) + " 作成:" + day(entry.created);
    if (!entry.isFolder())
        tip += " ｻｲｽﾞ:" + grouped(entry.size);
    return tip;
}

std::string ListTexts::sortKey(const FileRecord& entry) {
    return (entry.isFolder() ? "D" : "L") + entry.name;
}
