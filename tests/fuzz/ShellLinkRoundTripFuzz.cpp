// Shortcut files the program writes: every target, working folder and relative path it
// can store (no NUL, within the format's lengths) reads back exactly, with the target's
// attributes, times and the low 32 bits of its size.
#include "fuzz/FuzzSupport.h"
#include "platform/desktop/ShellLink.h"
#include "platform/text/WideText.h"

namespace {

bool storable(const std::string& path) {
    return path.find('\0') == std::string::npos && WideText::fromBytes(path).size() <= 0xFFFF;
}

} // namespace

// Input: attributes (4) size (8) three times (3 x 8), then target NUL working folder NUL
// relative path.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view input = fuzz::bytes(data, size);
    ShellLinkData link;
    link.fileAttributes = static_cast<std::uint32_t>(fuzz::number(input, 4));
    link.fileSize = fuzz::number(input, 8);
    link.creationTime = fuzz::number(input, 8);
    link.accessTime = fuzz::number(input, 8);
    link.writeTime = fuzz::number(input, 8);
    const auto f = fuzz::fields(input, 3);
    link.targetPath = f[0];
    link.workingDirectory = f[1];
    link.relativePath = f[2];

    const auto bytes = ShellLink::encode(link);
    FUZZ_CHECK(bytes.has_value() ==
               (!link.targetPath.empty() && storable(link.targetPath) &&
                storable(link.workingDirectory) && storable(link.relativePath)));
    if (!bytes)
        return 0;
    const auto back = ShellLink::decode(*bytes);
    FUZZ_CHECK(back);
    FUZZ_CHECK(back->targetPath == link.targetPath);
    FUZZ_CHECK(back->workingDirectory == link.workingDirectory);
    FUZZ_CHECK(back->relativePath == link.relativePath);
    FUZZ_CHECK(back->arguments.empty());
    FUZZ_CHECK(back->fileAttributes == link.fileAttributes);
    FUZZ_CHECK(back->fileSize == (link.fileSize & 0xFFFFFFFFu));
    FUZZ_CHECK(back->creationTime == link.creationTime);
    FUZZ_CHECK(back->accessTime == link.accessTime);
    FUZZ_CHECK(back->writeTime == link.writeTime);
    return 0;
}
