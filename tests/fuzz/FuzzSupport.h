#pragma once

#include "support/TempDir.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

// Helpers shared by the fuzz targets. A target is a plain LLVMFuzzerTestOneInput: built
// with libFuzzer it is fuzzed, built with FuzzReplayMain it replays its seed corpus.

// A broken promise ends the run the way a sanitizer finding does, so libFuzzer keeps the
// input and the replay test fails.
#define FUZZ_CHECK(condition)                                                                      \
    do {                                                                                           \
        if (!(condition)) {                                                                        \
            std::fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #condition);     \
            std::abort();                                                                          \
        }                                                                                          \
    } while (false)

namespace fuzz {

inline std::string_view bytes(const std::uint8_t* data, std::size_t size) {
    return {reinterpret_cast<const char*>(data), size};
}

// The input cut at NUL bytes into exactly `count` fields (missing ones empty, the last
// one keeps the rest), so seeds stay readable text.
inline std::vector<std::string> fields(std::string_view input, std::size_t count) {
    std::vector<std::string> out;
    while (out.size() + 1 < count) {
        const auto nul = input.find('\0');
        out.emplace_back(input.substr(0, nul));
        input = nul == std::string_view::npos ? std::string_view() : input.substr(nul + 1);
    }
    out.emplace_back(input);
    return out;
}

// A little-endian number from the front of the input (zeros past its end).
inline std::uint64_t number(std::string_view& input, std::size_t width) {
    std::uint64_t value = 0;
    for (std::size_t i = 0; i < width && i < input.size(); ++i)
        value |= std::uint64_t(static_cast<unsigned char>(input[i])) << (8 * i);
    input.remove_prefix(std::min(width, input.size()));
    return value;
}

// One temporary folder for the whole run, removed at exit. XDG_CONFIG_HOME and HOME point
// into it, so targets that store settings never touch the user's own.
inline const TempDir& folder() {
    struct Folder {
        TempDir dir;
        Folder() {
            setenv("HOME", dir.mkdir("home").c_str(), 1);
            setenv("XDG_CONFIG_HOME", dir.mkdir("config").c_str(), 1);
        }
    };
    static const Folder folder;
    return folder.dir;
}

} // namespace fuzz
