#include "browser/ListTexts.h"

#include <charconv>
#include <cmath>
#include <cstdint>
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

// The last two decimal digits of a value (of its magnitude when negative).
char* twoDigits(char* out, int value) {
    const unsigned v = value < 0 ? 0u - static_cast<unsigned>(value) : static_cast<unsigned>(value);
    out[0] = static_cast<char>('0' + v / 10 % 10);
    out[1] = static_cast<char>('0' + v % 10);
    return out + 2;
}

// A folder's rows mostly share their minute and day: the last text made is kept with the
// span of moments [from, to) it holds for.
struct LastText {
    std::time_t from = 1;
    std::time_t to = 0;
    std::string text;

    template <typename Make> const std::string& get(ListTexts::TimePoint time, Make make) {
        const std::time_t t = std::chrono::system_clock::to_time_t(time);
        if (t < from || t >= to)
            make(t, localTime(time));
        return text;
    }
};

} // namespace

std::string ListTexts::modified(TimePoint time) {
    static thread_local LastText last;
    return last.get(time, [](std::time_t t, const std::tm& tm) {
        char buffer[14];
        char* p = twoDigits(buffer, tm.tm_year % 100);
        *p++ = '/';
        p = twoDigits(p, tm.tm_mon + 1);
        *p++ = '/';
        p = twoDigits(p, tm.tm_mday);
        *p++ = ' ';
        p = twoDigits(p, tm.tm_hour);
        *p++ = ':';
        twoDigits(p, tm.tm_min);
        last.text.assign(buffer, sizeof buffer);
        last.from = t - tm.tm_sec;
        last.to = last.from + 60;
    });
}

std::string ListTexts::day(TimePoint time) {
    // Kept for the local hour: no hour spans two days.
    static thread_local LastText last;
    return last.get(time, [](std::time_t t, const std::tm& tm) {
        char buffer[32];
        std::snprintf(buffer, sizeof buffer, "%04d/%02d/%02d", tm.tm_year + 1900, tm.tm_mon + 1,
                      tm.tm_mday);
        last.text = buffer;
        last.from = t - tm.tm_min * 60 - tm.tm_sec;
        last.to = last.from + 3600;
    });
}

std::string ListTexts::grouped(std::uint64_t value) {
    if (value == 0)
        return {};
    char digits[20];
    const auto [end, error] = std::to_chars(digits, digits + sizeof digits, value);
    const auto count = static_cast<std::size_t>(end - digits);
    std::string out;
    out.reserve(count + count / 3);
    for (std::size_t i = 0; i < count; ++i) {
        if (i > 0 && (count - i) % 3 == 0)
            out.push_back(',');
        out.push_back(digits[i]);
    }
    return out;
}

std::string ListTexts::sizeKb(std::uint64_t bytes) {
    const auto kb = static_cast<std::uint64_t>(std::round(static_cast<double>(bytes) / 1000.0));
    return rightAligned(grouped(kb)) + " KB";
}

std::string ListTexts::tooltip(const FileRecord& entry) {
    std::string tip;
    tip.reserve(64);
    tip += "更新:";
    tip += day(entry.modified);
    tip += " 作成:";
    tip += day(entry.created);
    if (!entry.isFolder()) {
        tip += " ｻｲｽﾞ:";
        tip += grouped(entry.size);
    }
    return tip;
}

std::string ListTexts::sortKey(const FileRecord& entry) {
    std::string key;
    key.reserve(entry.name.size() + 1);
    key += entry.isFolder() ? 'D' : 'L';
    key += entry.name;
    return key;
}
