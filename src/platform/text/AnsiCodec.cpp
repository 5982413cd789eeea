#include "platform/text/AnsiCodec.h"

#include "platform/text/Utf8.h"

#include <cerrno>
#include <iconv.h>
#include <memory>

namespace {

// One iconv descriptor, closed when it goes out of scope.
class IconvHandle {
  public:
    IconvHandle(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
    ~IconvHandle() {
        if (valid())
            iconv_close(cd_);
    }
    IconvHandle(const IconvHandle&) = delete;
    IconvHandle& operator=(const IconvHandle&) = delete;
    bool valid() const { return cd_ != reinterpret_cast<iconv_t>(-1); }

    // Converts as much as possible; on an unconvertible input `onError` is told the
    // position and returns how many input bytes to skip after appending its own output.
    template <typename OnError> std::string convert(std::string_view in, OnError onError) {
        std::string out;
        out.reserve(in.size() * 3 / 2 + 4);
        std::size_t pos = 0;
        char buffer[4096];
        while (pos < in.size()) {
            char* src = const_cast<char*>(in.data() + pos);
            std::size_t srcLeft = in.size() - pos;
            char* dst = buffer;
            std::size_t dstLeft = sizeof buffer;
            const std::size_t rc = iconv(cd_, &src, &srcLeft, &dst, &dstLeft);
            const int err = errno;
            out.append(buffer, static_cast<std::size_t>(dst - buffer));
            pos = in.size() - srcLeft;
            if (rc == static_cast<std::size_t>(-1) && err != E2BIG) {
                iconv(cd_, nullptr, nullptr, nullptr, nullptr);
                pos += onError(out, pos);
            }
        }
        return out;
    }

  private:
    iconv_t cd_;
};

} // namespace

namespace {

// A byte that decoding could not keep as it is travels as U+DC80..U+DCFF, the lone
// surrogate of the byte, written in UTF-8 as ED B2 80..ED B3 BF.
constexpr unsigned char kEscapeLead = 0xED;

bool isByteEscape(std::string_view s, std::size_t pos) {
    return pos + 2 < s.size() && static_cast<unsigned char>(s[pos]) == kEscapeLead &&
           (s[pos + 1] == '\xB2' || s[pos + 1] == '\xB3') &&
           (static_cast<unsigned char>(s[pos + 2]) & 0xC0) == 0x80;
}

char escapedByte(std::string_view s, std::size_t pos) {
    return static_cast<char>(0x80 | ((s[pos + 1] & 1) << 6) | (s[pos + 2] & 0x3F));
}

void appendByteEscape(std::string& out, unsigned char byte) {
    Utf8::append(out, 0xDC00 + byte);
}

// Length of the CP932 character starting at s[pos]: 2 for a lead byte with a trail byte
// after it, else 1.
std::size_t charLength(std::string_view s, std::size_t pos) {
    const auto lead = static_cast<unsigned char>(s[pos]);
    if (!((lead >= 0x81 && lead <= 0x9F) || (lead >= 0xE0 && lead <= 0xFC)) || pos + 1 >= s.size())
        return 1;
    const auto trail = static_cast<unsigned char>(s[pos + 1]);
    return trail >= 0x40 && trail <= 0xFC && trail != 0x7F ? 2 : 1;
}

std::string rawDecode(IconvHandle& cd, std::string_view ansi) {
    return cd.convert(ansi, [&](std::string& out, std::size_t pos) -> std::size_t {
        out += ansi[pos];
        return 1;
    });
}

} // namespace

std::string AnsiCodec::encode(std::string_view utf8) {
    IconvHandle cd("CP932", "UTF-8");
    if (!cd.valid())
        return std::string(utf8);
    return cd.convert(utf8, [&](std::string& out, std::size_t pos) -> std::size_t {
        if (isByteEscape(utf8, pos)) {
            out += escapedByte(utf8, pos);
            return 3;
        }
        const Utf8::Step step = Utf8::decode(utf8, pos);
        out += step.wellFormed ? '?' : utf8[pos];
        return step.length;
    });
}

std::string AnsiCodec::decode(std::string_view ansi) {
    IconvHandle cd("UTF-8", "CP932");
    if (!cd.valid())
        return std::string(ansi);
    // Bytes that are not CP932 are copied as they are; that keeps them unless copied
    // bytes happen to form UTF-8 together, which the second pass below takes care of.
    std::string text = rawDecode(cd, ansi);
    if (encode(text) == ansi)
        return text;
    return decodeByCharacter(ansi);
}

std::string AnsiCodec::decodeByCharacter(std::string_view ansi) {
    IconvHandle cd("UTF-8", "CP932");
    std::string out;
    for (std::size_t pos = 0; pos < ansi.size();) {
        const std::size_t len = charLength(ansi, pos);
        bool valid = true;
        const std::string piece = cd.convert(ansi.substr(pos, len), [&](std::string&, std::size_t) {
            valid = false;
            return len;
        });
        const auto byte = static_cast<unsigned char>(ansi[pos]);
        if (valid) {
            out += piece; // a duplicate code comes back as the one Windows writes
            pos += len;
        } else {
            if (byte < 0x80)
                out += static_cast<char>(byte);
            else
                appendByteEscape(out, byte);
            pos += 1;
        }
    }
    return out;
}

std::unordered_map<char32_t, bool>& AnsiCodec::roundTripCache() {
    static std::unordered_map<char32_t, bool> cache;
    return cache;
}

bool AnsiCodec::roundTrips(char32_t codePoint) {
    if (codePoint < 0x80)
        return true;
    auto& cache = roundTripCache();
    if (auto it = cache.find(codePoint); it != cache.end())
        return it->second;
    std::string text;
    Utf8::append(text, codePoint);
    const std::string ansi = encode(text);
    const bool ok = ansi != "?" && decode(ansi) == text;
    cache.emplace(codePoint, ok);
    return ok;
}
