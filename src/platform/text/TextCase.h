#pragma once

#include <string>
#include <string_view>

// Letter-case rules of the program: paths and names compare without regard to case,
// using Unicode simple case folding one code point at a time (as the NTFS upcase table
// does). Bytes that are not UTF-8 are kept and compare as themselves.
class TextCase {
  public:
    static std::string fold(std::string_view s);
    static std::string lower(std::string_view s);
    // Simple upper-case mapping: the sort key of names, as the NTFS upcase table orders
    // them ("_" before letters).
    static std::string upper(std::string_view s);
    static bool equal(std::string_view a, std::string_view b);
    // <0, 0, >0: order of the upper-case forms, raw bytes breaking ties.
    static int compare(std::string_view a, std::string_view b);
    // Position of `needle` in `hay` from `from`, ignoring case; npos if absent.
    static std::size_t find(std::string_view hay, std::string_view needle, std::size_t from = 0);
};
