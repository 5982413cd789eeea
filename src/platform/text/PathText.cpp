#include "platform/text/PathText.h"

#include "platform/text/TextCase.h"

namespace {

bool endsWithNoCase(std::string_view text, std::string_view tail) {
    return text.size() >= tail.size() &&
           TextCase::equal(text.substr(text.size() - tail.size()), tail);
}

} // namespace

void PathText::withSeparator(std::string& path, std::string_view separator) {
    if (separator.empty())
        separator = "/";
    if (!endsWithNoCase(path, separator))
        path += separator;
}

void PathText::withoutSeparator(std::string& path, std::string_view separator) {
    if (separator.empty())
        separator = "/";
    if (separator == "/" && path == "/")
        return;
    if (endsWithNoCase(path, separator))
        path.resize(path.size() - separator.size());
}

std::string PathText::textBetween(std::string text, std::string_view start, std::string_view end) {
    if (!endsWithNoCase(text, end))
        text += end;
    std::size_t from = 0;
    std::size_t to = std::string::npos;
    const std::size_t at = start.empty() ? 0 : TextCase::find(text, start);
    if (start.empty() || at != std::string::npos) {
        from = at + start.size();
        to = TextCase::find(text, end, from + 1);
    } else {
        to = TextCase::find(text, end);
    }
    if (to == std::string::npos || to < from)
        return trimBlanks(std::string_view(text).substr(from));
    return trimBlanks(std::string_view(text).substr(from, to - from));
}

std::string PathText::extensionOf(std::string_view name) {
    const auto dot = name.rfind('.');
    return std::string(dot == std::string_view::npos ? name : name.substr(dot + 1));
}

std::string PathText::child(std::string folder, std::string_view name) {
    withSeparator(folder);
    folder += name;
    return folder;
}

std::pair<std::string, std::string> PathText::folderAndName(std::string path) {
    while (path.size() > 1 && path.back() == '/')
        path.pop_back();
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return {".", path};
    return {slash == 0 ? "/" : path.substr(0, slash), path.substr(slash + 1)};
}

std::string PathText::trimBlanks(std::string_view text) {
    const auto first = text.find_first_not_of(' ');
    if (first == std::string_view::npos)
        return {};
    return std::string(text.substr(first, text.find_last_not_of(' ') - first + 1));
}

bool PathText::within(std::string_view path, std::string_view folder) {
    if (folder == "/")
        return path.starts_with('/');
    return path.starts_with(folder) && (path.size() == folder.size() || path[folder.size()] == '/');
}
