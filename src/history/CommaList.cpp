#include "history/CommaList.h"

#include "platform/text/TextCase.h"

std::vector<std::string> CommaList::parse(std::string_view text) {
    std::vector<std::string> entries;
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find(',', start);
        if (end == std::string_view::npos)
            end = text.size();
        if (end > start)
            entries.emplace_back(text.substr(start, end - start));
        start = end + 1;
    }
    return entries;
}

std::string CommaList::frame(const std::vector<std::string>& entries) {
    std::string text = ",";
    for (const std::string& entry : entries)
        if (storable(entry))
            text += entry + ",";
    return text;
}

bool CommaList::storable(std::string_view entry) {
    return !entry.empty() && entry.find(',') == std::string_view::npos;
}

int CommaList::find(const std::vector<std::string>& entries, std::string_view path) {
    for (std::size_t i = 0; i < entries.size(); ++i)
        if (TextCase::equal(entries[i], path))
            return static_cast<int>(i);
    return -1;
}
