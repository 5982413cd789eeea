#pragma once

#include <string>
#include <string_view>
#include <utility>

// Path and list text helpers. "/" is the path separator; "/" itself is the
// file-system root and is never cut to an empty path.
class PathText {
  public:
    // Appends the separator when the text does not end with it (case-insensitive).
    static void withSeparator(std::string& path, std::string_view separator = "/");
    // Removes the separator when the text ends with it.
    static void withoutSeparator(std::string& path, std::string_view separator = "/");
    // The part after the first `start` up to the next `end` (searched from one character
    // after the part's start), blanks trimmed; without a `start` match the part before the
    // first `end`. An empty `start` takes the text from its beginning. Case-insensitive.
    static std::string textBetween(std::string text, std::string_view start, std::string_view end);
    // The text after the last "."; the whole name when it has none.
    static std::string extensionOf(std::string_view name);
    // Folder path + "/" + name, without doubling the separator after "/".
    static std::string child(std::string folder, std::string_view name);
    // The folder and the last name of a path; trailing separators are not part of the
    // name, and a name without a folder lies in ".".
    static std::pair<std::string, std::string> folderAndName(std::string path);
    static std::string trimBlanks(std::string_view text);
    // Whether `path` is `folder` or lies below it, by their texts (nothing is resolved).
    static bool within(std::string_view path, std::string_view folder);
};
