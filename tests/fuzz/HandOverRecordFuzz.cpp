// The record handed to a sibling tool: always well formed, and each text in it is either
// empty or reads back as exactly the text given.
#include "fuzz/FuzzSupport.h"
#include "opening/HandOverRecord.h"
#include "platform/text/AnsiCodec.h"

namespace {

std::string_view textAt(std::string_view record, std::size_t& pos) {
    FUZZ_CHECK(pos + 2 <= record.size());
    const std::size_t length = static_cast<unsigned char>(record[pos]) |
                               static_cast<std::size_t>(static_cast<unsigned char>(record[pos + 1]))
                                   << 8;
    pos += 2;
    FUZZ_CHECK(pos + length <= record.size());
    const std::string_view text = record.substr(pos, length);
    pos += length;
    return text;
}

void carriedWholeOrEmpty(std::string_view ansi, std::string_view original) {
    FUZZ_CHECK(ansi.empty() || AnsiCodec::decode(ansi) == original);
}

} // namespace

// Input: left, top, width, height (4 x 4), then root NUL path.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view input = fuzz::bytes(data, size);
    const std::string_view numbers = input.substr(0, std::min<std::size_t>(16, input.size()));
    std::int32_t area[4];
    for (auto& value : area)
        value = static_cast<std::int32_t>(fuzz::number(input, 4));
    const auto f = fuzz::fields(input, 2);
    const std::string record =
        HandOverRecord::bytes(area[0], area[1], area[2], area[3], f[0], f[1]);

    FUZZ_CHECK(record.substr(0, numbers.size()) == numbers);
    std::size_t pos = 16;
    carriedWholeOrEmpty(textAt(record, pos), f[0]);
    carriedWholeOrEmpty(textAt(record, pos), f[1]);
    FUZZ_CHECK(pos == record.size());
    return 0;
}
