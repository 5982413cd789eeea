#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
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

// The run's temporary folder, removed at exit. It lies on tmpfs where there is one: the
// settings are flushed to disk on every save, which would slow the fuzzing to a crawl.
// HOME and XDG_CONFIG_HOME point into it, so no target touches the user's own settings.
class Folder {
  public:
    Folder() {
        const char* base = std::filesystem::is_directory("/dev/shm") ? "/dev/shm" : "/tmp";
        std::string pattern = std::string(base) + "/tavrin-fuzz-XXXXXX";
        if (!mkdtemp(pattern.data()))
            std::abort();
        path_ = pattern;
        setenv("HOME", mkdir("home").c_str(), 1);
        setenv("XDG_CONFIG_HOME", mkdir("config").c_str(), 1);
    }
    ~Folder() {
        std::error_code error;
        std::filesystem::remove_all(path_, error);
    }
    Folder(const Folder&) = delete;
    Folder& operator=(const Folder&) = delete;

    std::string operator/(std::string_view relative) const {
        return path_ + "/" + std::string(relative);
    }
    std::string mkdir(std::string_view relative) const {
        const std::string path = *this / relative;
        std::filesystem::create_directories(path);
        return path;
    }
    // Creates the file (and its folders) with exactly these bytes.
    std::string write(std::string_view relative, std::string_view bytes) const {
        const std::string path = *this / relative;
        std::filesystem::create_directories(std::filesystem::path(path).parent_path());
        std::ofstream(path, std::ios::binary | std::ios::trunc)
            .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        return path;
    }

  private:
    std::string path_;
};

inline const Folder& folder() {
    static const Folder folder;
    return folder;
}

} // namespace fuzz
