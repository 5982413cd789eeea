#pragma once

#include "platform/fs/FileFault.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// What a shortcut file holds that the program writes or reads.
struct ShellLinkData {
    std::string targetPath;           // local path of the target, "/" separated, bytes kept
    std::string workingDirectory;     // "" when the link names none
    std::string relativePath;         // the target relative to the link's folder; may be ""
    std::string arguments;            // read only: the program writes none
    std::uint32_t fileAttributes = 0; // Windows attribute bits of the target (16 folder)
    std::uint64_t fileSize = 0;
    std::uint64_t creationTime = 0; // FILETIME: 100 ns steps since 1601-01-01 UTC
    std::uint64_t accessTime = 0;
    std::uint64_t writeTime = 0;
};

// Shortcut files (".lnk") in the published Shell Link binary format, as Windows and
// other readers of that format expect them: a header with the link class id, a LinkInfo
// with the target as local base path (in the ANSI code page and in UTF-16), and the
// working directory and relative path as UTF-16 string data. No item id list is written:
// a Linux path has no shell namespace, and readers resolve the link by its LinkInfo.
//
// Paths travel as UTF-16; bytes that are not UTF-8 are carried as described in WideText,
// so every Linux path (without NUL, at most 65,535 UTF-16 units) comes back exactly.
// Reading checks every size and offset against the file and rejects what does not fit.
class ShellLink {
  public:
    // Shortcut files larger than this are not read (real ones are a few kilobytes).
    static constexpr std::size_t kMaxFileSize = 1 << 20;

    // The file's bytes, or nullopt when the data cannot be stored whole (an empty target,
    // a NUL in a path, a path longer than the format's 16-bit lengths allow).
    static std::optional<std::string> encode(const ShellLinkData& link);
    // nullopt when the bytes are not a shell link or a structure in it does not fit.
    // A link without a local path (network share, shell namespace item) reads with an
    // empty target.
    static std::optional<ShellLinkData> decode(std::string_view bytes);

    // Writes a shortcut to `target` (attributes, times and size taken from it) at
    // `linkPath`, replacing an existing file in one step.
    static bool save(std::string_view linkPath, std::string_view target,
                     std::string_view workingDirectory);
    // The same, but never over an existing entry: a taken name leaves it as it was and
    // sets `fault` to EEXIST.
    static bool create(std::string_view linkPath, std::string_view target,
                       std::string_view workingDirectory, FileFault& fault);
    // Reads a shortcut file. A link with only a relative path is resolved against the
    // link's own folder.
    static std::optional<ShellLinkData> load(std::string_view linkPath);
    // `target` relative to `folder` ("./a", "../b/c"); "" unless both are absolute.
    static std::string relativeTo(std::string_view folder, std::string_view target);
};
