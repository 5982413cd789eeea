#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// Bounds-checked little-endian reads from a byte buffer of unknown origin. Every read
// checks the remaining length first; a read that does not fit returns nullopt and leaves
// the position where it was.
class ByteReader {
  public:
    explicit ByteReader(std::string_view data) : data_(data) {}

    std::size_t position() const { return pos_; }
    std::size_t remaining() const { return data_.size() - pos_; }
    bool skip(std::size_t count) {
        if (count > remaining())
            return false;
        pos_ += count;
        return true;
    }
    std::optional<std::string_view> bytes(std::size_t count) {
        if (count > remaining())
            return std::nullopt;
        const std::string_view out = data_.substr(pos_, count);
        pos_ += count;
        return out;
    }
    std::optional<std::uint16_t> u16() { return number<std::uint16_t>(); }
    std::optional<std::uint32_t> u32() { return number<std::uint32_t>(); }
    std::optional<std::uint64_t> u64() { return number<std::uint64_t>(); }
    // `count` UTF-16 code units.
    std::optional<std::u16string> utf16(std::size_t count) {
        if (count > remaining() / 2)
            return std::nullopt;
        std::u16string out;
        out.reserve(count);
        for (std::size_t i = 0; i < count; ++i)
            out += static_cast<char16_t>(*u16());
        return out;
    }

  private:
    template <typename T> std::optional<T> number() {
        if (sizeof(T) > remaining())
            return std::nullopt;
        T value = 0;
        for (std::size_t i = 0; i < sizeof(T); ++i)
            value |= static_cast<T>(static_cast<unsigned char>(data_[pos_ + i])) << (8 * i);
        pos_ += sizeof(T);
        return value;
    }

    std::string_view data_;
    std::size_t pos_ = 0;
};
