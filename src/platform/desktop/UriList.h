#pragma once

#include <string>
#include <string_view>
#include <vector>

// The "text/uri-list" form of a list of local paths: one percent-encoded "file://" URI
// a line, lines ended by CR LF. Paths are byte strings; every byte that is not an
// unreserved URI character is percent-encoded, so any name (blanks, commas, line
// breaks, bytes that are not UTF-8) travels whole and decodes unchanged.
class UriList {
  public:
    static std::string encode(const std::vector<std::string>& paths);
    // Local paths of the "file:" URIs of a list, in order. Comment lines ("#"), empty
    // lines and URIs of other schemes or hosts are skipped.
    static std::vector<std::string> decode(std::string_view list);
    static std::string fileUri(std::string_view path);
    // The path of one "file:" URI; empty when it is not a local file URI.
    static std::string pathOf(std::string_view uri);
};
