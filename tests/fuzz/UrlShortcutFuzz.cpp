// Internet shortcuts in any encoding: an address found is one trimmed, non-empty line.
#include "fuzz/FuzzSupport.h"
#include "platform/desktop/UrlShortcut.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes = fuzz::bytes(data, size);
    UrlShortcut::parse(bytes);
    const auto url = UrlShortcut::read(fuzz::folder().write("a.url", bytes));
    if (!url)
        return 0;
    FUZZ_CHECK(!url->empty());
    FUZZ_CHECK(url->find('\n') == std::string::npos);
    for (const char edge : {url->front(), url->back()})
        FUZZ_CHECK(edge != ' ' && edge != '\t' && edge != '\r');
    return 0;
}
