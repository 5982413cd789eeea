// Shortcut files from anywhere: decoding never reads outside the bytes, a file loads as its
// bytes decode, and what decodes with a target is written again and reads back the same.
#include "fuzz/FuzzSupport.h"
#include "platform/desktop/ShellLink.h"

namespace {

void writtenAgainReadsBack(const ShellLinkData& link) {
    const auto bytes = ShellLink::encode(link);
    if (!bytes)
        return;
    const auto again = ShellLink::decode(*bytes);
    FUZZ_CHECK(again);
    FUZZ_CHECK(again->targetPath == link.targetPath);
    FUZZ_CHECK(again->workingDirectory == link.workingDirectory);
    FUZZ_CHECK(again->relativePath == link.relativePath);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes = fuzz::bytes(data, size);
    const auto link = ShellLink::decode(bytes);
    const auto loaded = ShellLink::load(fuzz::folder().write("links/a.lnk", bytes));
    FUZZ_CHECK(link.has_value() == loaded.has_value());
    if (!link)
        return 0;
    FUZZ_CHECK(link->workingDirectory == loaded->workingDirectory);
    if (!link->targetPath.empty()) {
        FUZZ_CHECK(loaded->targetPath == link->targetPath);
        writtenAgainReadsBack(*link);
    }
    return 0;
}
