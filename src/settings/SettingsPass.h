#pragma once

#include "settings/SettingsStore.h"
#include "settings/ValueText.h"

#include <limits>
#include <optional>
#include <string>
#include <string_view>
#include <type_traits>

// One pass over a list of settings of the current group, loading or storing: each setting
// is named once, with its key, its member and its default, and the same list serves both.
// A loaded number out of its member's range leaves the default; an empty optional is not
// stored.
class SettingsPass {
  public:
    enum class Direction { Load, Store };

    SettingsPass(SettingsStore& ini, Direction direction) : ini_(ini), direction_(direction) {}

    template <typename T> void value(std::string_view key, T& member, const T& byDefault) {
        if (direction_ == Direction::Store)
            ini_.setValue(key, member);
        else
            member = loaded(key, byDefault);
    }
    template <typename T>
    void value(std::string_view key, std::optional<T>& member, const T& byDefault) {
        if (direction_ == Direction::Load)
            member = loaded(key, byDefault);
        else if (member)
            ini_.setValue(key, *member);
    }

  private:
    template <typename T> T loaded(std::string_view key, const T& byDefault) {
        if constexpr (std::is_arithmetic_v<T> && !std::is_same_v<T, bool>) {
            const auto rounded = ValueText::roundHalfEven(ini_.valueOr(key, byDefault));
            const bool fits = rounded >= std::numeric_limits<T>::min() &&
                              rounded <= std::numeric_limits<T>::max();
            return fits ? static_cast<T>(rounded) : byDefault;
        } else {
            return ini_.valueOr(key, byDefault);
        }
    }

    SettingsStore& ini_;
    Direction direction_;
};
