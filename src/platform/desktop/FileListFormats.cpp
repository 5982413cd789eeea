#include "platform/desktop/FileListFormats.h"

#include "platform/desktop/UriList.h"

namespace {

std::string gnomeText(const std::vector<std::string>& paths, ClipEffect effect) {
    std::string text = effect == ClipEffect::Move ? "cut" : "copy";
    for (const std::string& path : paths) {
        text += '\n';
        text += UriList::fileUri(path);
    }
    return text;
}

std::string plainText(const std::vector<std::string>& paths) {
    std::string text;
    for (const std::string& path : paths) {
        if (!text.empty())
            text += '\n';
        text += path;
    }
    return text;
}

// The GNOME form: its first line is the effect, the URIs follow.
std::pair<std::string_view, std::string_view> splitGnome(std::string_view text) {
    const std::size_t end = text.find('\n');
    std::string_view verb = text.substr(0, end);
    if (verb.ends_with('\r'))
        verb.remove_suffix(1);
    const std::string_view uris = end == std::string_view::npos ? "" : text.substr(end + 1);
    return {verb, uris};
}

} // namespace

FileListFormats::Formats FileListFormats::encode(const std::vector<std::string>& paths,
                                                 ClipEffect effect) {
    Formats formats;
    formats.emplace_back(kUriList, UriList::encode(paths));
    formats.emplace_back(kGnome, gnomeText(paths, effect));
    formats.emplace_back(kKde, effect == ClipEffect::Move ? "1" : "0");
    formats.emplace_back(kText, plainText(paths));
    return formats;
}

ClipboardFiles FileListFormats::decode(const Reader& read) {
    ClipboardFiles files;
    const std::optional<std::string> gnome = read(kGnome);
    const auto [verb, gnomeUris] = splitGnome(gnome ? *gnome : std::string_view());
    if (const std::optional<std::string> uris = read(kUriList))
        files.paths = UriList::decode(*uris);
    if (files.paths.empty())
        files.paths = UriList::decode(gnomeUris);
    if (gnome) {
        files.effect = verb == "cut" ? ClipEffect::Move : ClipEffect::Copy;
    } else {
        const std::optional<std::string> kde = read(kKde);
        files.effect = kde && kde->starts_with('1') ? ClipEffect::Move : ClipEffect::Copy;
    }
    return files;
}
