#include "core/name_pattern.h"

namespace melodex {
namespace {

// The width of the character that begins at `at`, read as the file system reads a name: under the
// two-byte rule a lead byte (0x81-0xFE) takes the next byte only when that byte can be a trail
// byte (0x40-0x7E, 0x80-0xFE), as the double-byte decoders do. Otherwise the byte is a character
// of its own, so a name that is not valid double-byte text still ends in its ".mp3".
std::size_t name_character_width(std::string_view text, std::size_t at) {
    if (character_rule() != CharacterRule::two_byte || at + 1 >= text.size()) return 1;
    const auto lead = static_cast<unsigned char>(text[at]);
    const auto trail = static_cast<unsigned char>(text[at + 1]);
    const bool is_lead = lead >= 0x81 && lead <= 0xFE;
    const bool is_trail = (trail >= 0x40 && trail <= 0x7E) || (trail >= 0x80 && trail <= 0xFE);
    return is_lead && is_trail ? 2 : 1;
}

bool same_character(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        auto fold = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
        if (fold(a[i]) != fold(b[i])) return false;
    }
    return true;
}

// Wildcard match with one remembered "*": on a mismatch the last "*" takes one more character.
bool wildcard_matches(std::string_view name, std::string_view pattern) {
    std::size_t n = 0;
    std::size_t p = 0;
    std::size_t star = std::string_view::npos;
    std::size_t star_name = 0;
    while (n < name.size()) {
        if (p < pattern.size() && pattern[p] == '*') {
            star = p++;
            star_name = n;
            continue;
        }
        if (p < pattern.size()) {
            const std::size_t name_width = name_character_width(name, n);
            if (pattern[p] == '?') {
                ++p;
                n += name_width;
                continue;
            }
            const std::size_t pattern_width = name_character_width(pattern, p);
            if (same_character(name.substr(n, name_width), pattern.substr(p, pattern_width))) {
                p += pattern_width;
                n += name_width;
                continue;
            }
        }
        if (star == std::string_view::npos) return false;
        p = star + 1;
        star_name += name_character_width(name, star_name);
        n = star_name;
    }
    while (p < pattern.size() && pattern[p] == '*') ++p;
    return p == pattern.size();
}

}  // namespace

bool name_matches(std::string_view name, std::string_view pattern) {
    if (pattern.ends_with(".*") && wildcard_matches(name, pattern.substr(0, pattern.size() - 2))) {
        return true;
    }
    if (pattern.ends_with('.')) {
        return name.find('.') == std::string_view::npos &&
               wildcard_matches(name, pattern.substr(0, pattern.size() - 1));
    }
    return wildcard_matches(name, pattern);
}

}  // namespace melodex
