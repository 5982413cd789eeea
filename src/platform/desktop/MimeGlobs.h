#pragma once

#include <bitset>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

// The file-name rules of the shared content-type database, from the "mime/globs2" lists
// of the XDG data folders: whole names ("Makefile"), patterns ("README*", "*~") and plain
// extensions ("*.txt", "*.tar.gz"). It tells which names only extension rules can match,
// and what part of such a name decides which ones do, so that names sharing that part
// may share one look-up.
class MimeGlobs {
  public:
    // The lists under $XDG_DATA_HOME and each folder of $XDG_DATA_DIRS.
    static MimeGlobs ofDataFolders();
    // Adds the rules of one globs2 text ("weight:type:glob[:flags]" lines).
    void add(std::string_view globs2);
    // Whether any rule was read: without rules nothing may be shared.
    bool known() const { return known_; }
    // Whether a whole-name or pattern rule matches the name (case is ignored, which
    // errs towards not sharing).
    bool hasNameRule(std::string_view name) const;
    // For a name without such a rule: its last extensions, as many as the longest
    // extension rule has dots (the whole name when it has no more); empty without any.
    std::string_view extensionKey(std::string_view name) const;

  private:
    // A pattern with cheap tests that rule most names out before the full match: the
    // characters its first and last elements allow and its longest run of plain text.
    struct Pattern {
        std::string glob;
        std::bitset<256> first;
        std::bitset<256> last;
        std::string run;
    };
    static Pattern compile(std::string glob);
    static bool mayMatch(const Pattern& pattern, std::string_view name);

    bool known_ = false;
    std::size_t maxDots_ = 0;
    struct Hash {
        using is_transparent = void;
        std::size_t operator()(std::string_view text) const {
            return std::hash<std::string_view>{}(text);
        }
    };
    std::unordered_set<std::string, Hash, std::equal_to<>> literals_;
    // The lengths of the whole names (up to 255): most names are ruled out by length.
    std::bitset<256> literalLengths_;
    std::vector<Pattern> patterns_;
};
