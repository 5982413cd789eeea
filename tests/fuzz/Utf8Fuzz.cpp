// UTF-8 stepping over byte strings that need not be UTF-8, and the UTF-16 form of Windows
// file formats: every byte string comes back exactly from UTF-16.
#include "fuzz/FuzzSupport.h"
#include "platform/text/Utf8.h"
#include "platform/text/WideText.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes = fuzz::bytes(data, size);
    FUZZ_CHECK(WideText::toBytes(WideText::fromBytes(bytes)) == bytes);

    std::string rebuilt;
    std::size_t count = 0;
    bool valid = true;
    for (std::size_t i = 0; i < bytes.size(); ++count) {
        const Utf8::Step step = Utf8::decode(bytes, i);
        FUZZ_CHECK(step.length >= 1 && i + step.length <= bytes.size());
        FUZZ_CHECK(Utf8::advance(bytes, i, 1) == i + step.length);
        FUZZ_CHECK(Utf8::retreat(bytes, i + step.length, 1) == i);
        if (step.wellFormed)
            Utf8::append(rebuilt, step.codePoint);
        else
            rebuilt += bytes[i];
        valid = valid && step.wellFormed;
        i += step.length;
    }
    FUZZ_CHECK(rebuilt == bytes);
    FUZZ_CHECK(Utf8::length(bytes) == count);
    FUZZ_CHECK(Utf8::isValid(bytes) == valid);
    FUZZ_CHECK(Utf8::advance(bytes, 0, count) == bytes.size());
    FUZZ_CHECK(Utf8::retreat(bytes, bytes.size(), count) == 0);
    // The UTF-16 of a file, read back as bytes and written again, is stable.
    std::u16string units(bytes.size() / 2, u'\0');
    for (std::size_t i = 0; i < units.size(); ++i)
        units[i] = static_cast<char16_t>(static_cast<unsigned char>(bytes[2 * i]) |
                                         static_cast<unsigned char>(bytes[2 * i + 1]) << 8);
    const std::string fromFile = WideText::toBytes(units);
    FUZZ_CHECK(WideText::toBytes(WideText::fromBytes(fromFile)) == fromFile);
    return 0;
}
