// "text/uri-list" from the clipboard or a drop: the paths decoded are absolute, and any
// list of absolute paths (every byte but NUL allowed) encodes and decodes unchanged.
#include "fuzz/FuzzSupport.h"
#include "platform/desktop/UriList.h"

namespace {

void travelsWhole(const std::vector<std::string>& paths) {
    FUZZ_CHECK(UriList::decode(UriList::encode(paths)) == paths);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes = fuzz::bytes(data, size);
    const auto decoded = UriList::decode(bytes);
    for (const std::string& path : decoded)
        FUZZ_CHECK(!path.empty() && path.front() == '/');
    travelsWhole(decoded);

    std::vector<std::string> paths;
    for (std::size_t start = 0; start <= bytes.size();) {
        const auto nul = std::min(bytes.find('\0', start), bytes.size());
        paths.push_back("/" + std::string(bytes.substr(start, nul - start)));
        start = nul + 1;
    }
    travelsWhole(paths);
    return 0;
}
