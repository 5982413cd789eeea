#include "platform/AnsiCodec.h"

#include "platform/Utf8.h"

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

std::string AnsiCodec::encode(std::string_view utf8) {
    IconvHandle cd("CP932", "UTF-8");
    if (!cd.valid())
        return std::string(utf8);
    return cd.convert(utf8, [&](std::string& out, std::size_t pos) -> std::size_t {
        const Utf8::Step step = Utf8::decode(utf8, pos);
        out += step.wellFormed ? '?' : utf8[pos];
        return step.length;
    });
}

std::string AnsiCodec::decode(std::string_view ansi) {
    IconvHandle cd("UTF-8", "CP932");
    if (!cd.valid())
        return std::string(ansi);
    return cd.convert(ansi, [&](std::string& out, std::size_t pos) -> std::size_t {
        out += ansi[pos];
        return 1;
    });
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
