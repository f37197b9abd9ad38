// The input shared by the fuzz targets: the first byte chooses the process's character rule (odd:
// the two-byte rule, even: the one-byte rule) and its other bits a target's own choices; the bytes
// after it are fields separated by zero bytes. A broken invariant aborts with its name, so that
// libFuzzer keeps the input.
#pragma once

#include <charconv>
#include <climits>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "core/text.h"

namespace melodex::fuzz {

class FuzzInput {
  public:
    FuzzInput(const std::uint8_t* data, std::size_t size)
        : rest_(reinterpret_cast<const char*>(data), size) {
        if (!rest_.empty()) {
            lead_ = static_cast<unsigned char>(rest_[0]);
            rest_.remove_prefix(1);
        }
        set_character_rule(lead_ & 1 ? CharacterRule::two_byte : CharacterRule::one_byte);
    }

    // Bit `bit` (1 to 7) of the first byte.
    bool choice(int bit) const { return (lead_ >> bit) & 1; }

    // True while a field is left to take: a last zero byte is followed by one more, empty field.
    bool has_field() const { return has_field_; }

    // The next field; empty once every field is taken.
    std::string_view field() {
        if (!has_field_) return {};
        const std::size_t end = rest_.find('\0');
        const std::string_view taken = rest_.substr(0, end);
        if (end == std::string_view::npos) {
            has_field_ = false;
            rest_ = {};
        } else {
            rest_.remove_prefix(end + 1);
        }
        return taken;
    }

    // The next field read as a decimal number, limited to the range of int; 0 when it holds none.
    int number() {
        const std::string_view text = field();
        long long value = 0;
        std::from_chars(text.data(), text.data() + text.size(), value);
        return static_cast<int>(value < INT_MIN ? INT_MIN : value > INT_MAX ? INT_MAX : value);
    }

    // The bytes not taken as fields yet, zero bytes included.
    std::string_view bytes() const { return rest_; }

  private:
    std::string_view rest_;
    unsigned char lead_ = 0;
    bool has_field_ = true;
};

inline void require(bool holds, const char* invariant) {
    if (holds) return;
    std::fprintf(stderr, "broken invariant: %s\n", invariant);
    std::abort();
}

}  // namespace melodex::fuzz
