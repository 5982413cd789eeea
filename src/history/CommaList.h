#pragma once

#include <string>
#include <string_view>
#include <vector>

// The stored form of the path lists: a comma, then every entry followed by a comma
// (",e1,e2,...,en,"); the empty list is ",". Files of the Windows program hold the same
// form, so it stays as it is.
//
// A comma has no escape in this form, and Linux paths may contain one: such a path would
// read back as two bogus entries. The lists therefore keep their entries whole in memory,
// and `frame` leaves out every entry that contains a comma. Such a path lives in the list
// and its menu for the run, but is not stored.
class CommaList {
  public:
    // The non-empty pieces between commas, in order.
    static std::vector<std::string> parse(std::string_view text);
    // The stored form of the entries that can be framed (empty entries and entries with a
    // comma are left out).
    static std::string frame(const std::vector<std::string>& entries);
    static bool storable(std::string_view entry);
    // Index of the first entry equal to `path` without regard to case; -1 when none.
    static int find(const std::vector<std::string>& entries, std::string_view path);
};
