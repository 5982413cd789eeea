// The text forms of stored values: numbers, Booleans, dates and the escapes of the settings
// file. Escaping then unescaping gives the value back, a number written reads back the
// same, a date read and written reads back the same.
#include "fuzz/FuzzSupport.h"
#include "platform/text/AnsiCodec.h"
#include "platform/text/Utf8.h"
#include "settings/SettingsEscape.h"
#include "settings/ValueText.h"

#include <cmath>
#include <cstring>

namespace {

// What an escaped value may hold: text CP932 carries unchanged, and no tag brackets.
bool storable(std::string_view escaped) {
    for (std::size_t i = 0; i < escaped.size();) {
        const Utf8::Step step = Utf8::decode(escaped, i);
        if (!step.wellFormed || step.codePoint == '<' || step.codePoint == '>' ||
            !AnsiCodec::roundTrips(step.codePoint))
            return false;
        i += step.length;
    }
    return true;
}

void numberReadsBack(double value) {
    if (!std::isfinite(value))
        return;
    const std::string text = ValueText::fromNumber(value);
    FUZZ_CHECK(ValueText::toNumber(text) == value);
    FUZZ_CHECK(ValueText::toBoolean(text) == (value != 0));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text = fuzz::bytes(data, size);
    const std::string escaped = SettingsEscape::escape(text);
    FUZZ_CHECK(storable(escaped));
    FUZZ_CHECK(SettingsEscape::unescape(escaped) == text);
    SettingsEscape::unescape(text);

    numberReadsBack(ValueText::toNumber(text));
    ValueText::toBoolean(text);
    if (size >= sizeof(double)) {
        double raw;
        std::memcpy(&raw, data, sizeof raw);
        numberReadsBack(raw);
    }
    if (const auto date = ValueText::toDate(text))
        FUZZ_CHECK(ValueText::toDate(ValueText::fromDate(*date)) == *date);
    return 0;
}
