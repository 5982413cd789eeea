#include "settings/SettingsStore.h"

#include "platform/fs/FileSystem.h"
#include "platform/MessageBox.h"
#include "platform/desktop/SystemFolders.h"
#include "platform/text/TextCase.h"
#include "platform/text/Utf8.h"
#include "settings/SettingsEscape.h"
#include "settings/UserDataFolder.h"
#include "settings/ValueText.h"

#include <algorithm>
#include <cerrno>

namespace {

constexpr std::string_view kRoot = "運用";
constexpr std::string_view kRootEnd = "</運用>";
constexpr std::string_view kHeader = "<?xml version='1.0' encoding='Shift-JIS' ?>";

std::string openTag(std::string_view name) {
    return "<" + std::string(name) + ">";
}
std::string closeTag(std::string_view name) {
    return "</" + std::string(name) + ">";
}

std::string replaceAll(std::string text, std::string_view from, std::string_view to) {
    for (auto pos = text.find(from); pos != std::string::npos;
         pos = text.find(from, pos + to.size()))
        text.replace(pos, from.size(), to);
    return text;
}

bool atEndOfFirstLine(std::string_view text) {
    return text.empty() || text[0] == '\r' || text[0] == '\n';
}

} // namespace

SettingsStore::SettingsStore(MessageBox& messages) : messages_(messages) {}

void SettingsStore::resolveUserDataFolder(std::uintptr_t ownerWindow, std::string_view programName,
                      std::string_view programFolder) {
    ownerWindow_ = ownerWindow;
    UserDataFolder folder(messages_, programName, programFolder);
    userData_ = folder.resolve(specialFolderPath(26), specialFolderPath(5));
}

std::string SettingsStore::specialFolderPath(int number) const {
    std::string path = SystemFolders::path(number);
    while (path.size() > 1 && path.back() == '/')
        path.pop_back();
    return path;
}

void SettingsStore::createFolder(std::string_view path) {
    if (FileSystem::folderExists(path))
        return;
    std::string p(path);
    if (p.empty() || p.back() != '/')
        p += '/';
    // Every prefix before the second and later separators; a prefix that cannot be made
    // is skipped and the walk goes on.
    for (auto slash = p.find('/', p.find('/') + 1); slash != std::string::npos;
         slash = p.find('/', slash + 1)) {
        const std::string prefix = p.substr(0, slash);
        if (!prefix.empty() && !FileSystem::folderExists(prefix))
            FileSystem::createFolder(prefix);
    }
}

bool SettingsStore::readFile(std::string_view path) {
    document_.clear();
    readFailure_.clear();
    filePath_ = std::string(path);
    if (const auto dv = TextCase::find(filePath_, "_DV.xml"); dv != std::string::npos)
        filePath_.replace(dv, 7, ".xml");
    FileFault fault;
    if (const auto text = FileSystem::readAnsiText(filePath_, &fault)) {
        if (!atEndOfFirstLine(*text))
            document_ = *text;
    } else if (fault.error != ENOENT && fault.error != ENOTDIR) {
        // A file that is there but cannot be read must not be replaced by defaults.
        readFailure_ = fault.reason();
        return false;
    } else if (!FileSystem::writeBytesAtomically(filePath_, "")) {
        return false;
    }
    if (document_.empty())
        document_ = makeTag(0, kRoot, "\r\n");
    return true;
}

bool SettingsStore::writeFile() {
    writeFailure_.clear();
    if (filePath_.empty() || !readFailure_.empty())
        return false;
    FileFault fault;
    if (!FileSystem::writeAnsiText(filePath_, document_, &fault)) {
        writeFailure_ = fault.reason();
        return false;
    }
    if (!lostGroup_.empty())
        writeFailure_ = "ﾌｧｲﾙに " + std::string(kRootEnd) + " がないため <" + lostGroup_ +
                        "> の設定を書き込めません";
    return true;
}

std::string SettingsStore::tagOf(int scope, std::string_view name) {
    const std::string& text = scope == 0 ? document_ : groupText_;
    const std::string open = openTag(name);
    const auto openAt = text.find(open);
    const auto closeAt = text.find(closeTag(name));
    if (text.empty() || (openAt == std::string::npos && closeAt == std::string::npos))
        return {};
    if (openAt == std::string::npos || closeAt == std::string::npos || closeAt < openAt) {
        messages_.inform("<" + std::string(name) + "> の設定が読み込めません\rﾕｰｻﾞｰ環境ﾌｧｲﾙ(" +
                         filePath_ + ") が破損しています");
        return {};
    }
    const std::size_t start = openAt + open.size();
    if (scope != 0)
        return text.substr(start, closeAt - start);
    // A group's body without the line break after its opening tag and the indentation
    // before its closing tag: fixed cuts of 2 and 3 characters.
    const std::size_t from = Utf8::advance(text, start, 2);
    const std::size_t to = Utf8::retreat(text, closeAt, 3);
    return to > from ? text.substr(from, to - from) : std::string();
}

std::string SettingsStore::makeTag(int kind, std::string_view name, std::string_view content) {
    std::string text;
    switch (kind) {
    case 0:
        text = std::string(kHeader) + "‡" + openTag(name) + std::string(content) + closeTag(name);
        break;
    case 1:
        text = "   " + openTag(name) + "‡" + std::string(content) + "   " + closeTag(name) + "‡";
        break;
    default:
        text = "      " + openTag(name) + std::string(content) + closeTag(name) + "‡";
        break;
    }
    return replaceAll(std::move(text), "‡", "\r\n");
}

void SettingsStore::readGroup(std::string_view group) {
    groupName_ = std::string(group);
    groupText_ = tagOf(0, group);
}

std::string SettingsStore::valueOr(std::string_view key, std::string_view def) {
    std::string text = SettingsEscape::unescape(tagOf(1, key));
    return text.empty() ? std::string(def) : text;
}

bool SettingsStore::valueOr(std::string_view key, bool def) {
    const std::string text = tagOf(1, key);
    if (text.empty())
        return def;
    return ValueText::toBoolean(SettingsEscape::unescape(text)).value_or(def);
}

double SettingsStore::valueOr(std::string_view key, double def) {
    const std::string text = tagOf(1, key);
    return text.empty() ? def : ValueText::toNumber(SettingsEscape::unescape(text));
}

void SettingsStore::setValue(std::string_view key, std::string_view value) {
    setRaw(key, SettingsEscape::escape(value));
}

void SettingsStore::setValue(std::string_view key, bool value) {
    setRaw(key, ValueText::fromBoolean(value));
}

void SettingsStore::setValue(std::string_view key, const DateTime& value) {
    setRaw(key, ValueText::fromDate(value));
}

DateTime SettingsStore::valueOr(std::string_view key, const DateTime& def) {
    return ValueText::toDate(SettingsEscape::unescape(tagOf(1, key))).value_or(def);
}

std::string SettingsStore::numberText(double value) {
    return ValueText::fromNumber(value);
}

void SettingsStore::setRaw(std::string_view key, std::string_view text) {
    const std::string open = openTag(key);
    const auto openAt = groupText_.find(open);
    if (openAt != std::string::npos) {
        const std::size_t valueAt = openAt + open.size();
        const auto closeAt = groupText_.find(closeTag(key), valueAt);
        if (closeAt != std::string::npos) {
            groupText_.replace(valueAt, closeAt - valueAt, text);
            return;
        }
    }
    groupText_.insert(0, makeTag(2, key, text));
}

bool SettingsStore::writeGroup() {
    if (document_.empty())
        document_ = makeTag(0, kRoot, "\r\n");
    const std::string open = openTag(groupName_);
    const auto openAt = document_.find(open);
    if (openAt != std::string::npos) {
        const std::size_t bodyAt = Utf8::advance(document_, openAt + open.size(), 2);
        const std::size_t searchFrom = Utf8::advance(document_, openAt + open.size(), 1);
        const auto closeAt = document_.find(closeTag(groupName_), searchFrom);
        if (closeAt != std::string::npos) {
            // A hand-edited group on one line has no line break to skip.
            const std::size_t keep = std::min(bodyAt, closeAt);
            document_ = document_.substr(0, keep) + groupText_ + "   " + document_.substr(closeAt);
            return true;
        }
    }
    const auto endAt = document_.find(kRootEnd);
    if (endAt == std::string::npos) {
        lostGroup_ = groupName_;
        return false;
    }
    document_.insert(endAt, makeTag(1, groupName_, groupText_));
    return true;
}
