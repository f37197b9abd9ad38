#include "core/text.h"

#include <algorithm>

namespace melodex {
namespace {

CharacterRule process_rule = CharacterRule::one_byte;

char fold_ascii(char byte) {
    return byte >= 'A' && byte <= 'Z' ? static_cast<char>(byte + 32) : byte;
}

Text folded(std::string_view text) {
    Text result(text);
    std::transform(result.begin(), result.end(), result.begin(), fold_ascii);
    return result;
}

// "#引号": a marker can name a double quote this way.
std::string_view quote_escape() {
    return spelled("#\xD2\xFD\xBA\xC5", "#引号");
}

// Zero-based offset of the first occurrence of `sought` (not empty) at or after `from` that begins
// where a character begins, counting characters from `from`; npos when there is none.
std::size_t find_at_character_start(std::string_view text, std::string_view sought,
                                    std::size_t from) {
    std::size_t character = from;
    while (true) {
        const std::size_t hit = text.find(sought, character);
        if (hit == std::string_view::npos || process_rule == CharacterRule::one_byte) return hit;
        while (character < hit) character += character_width(text, character);
        if (character == hit) return hit;
        // The hit began on a trail byte; look again from the next character.
    }
}

}  // namespace

CharacterRule character_rule() {
    return process_rule;
}

std::size_t character_width(std::string_view text, std::size_t at) {
    const bool lead = static_cast<unsigned char>(text[at]) >= 0x80;
    return process_rule == CharacterRule::two_byte && lead && at + 1 < text.size() ? 2 : 1;
}

void set_character_rule(CharacterRule rule) {
    process_rule = rule;
}

std::string_view spelled(std::string_view gbk, std::string_view utf8) {
    return process_rule == CharacterRule::two_byte ? gbk : utf8;
}

int byte_length(std::string_view text) {
    return static_cast<int>(text.size());
}

Text left_bytes(std::string_view text, int count) {
    if (count <= 0) return {};
    return Text(text.substr(0, static_cast<std::size_t>(count)));
}

Text right_bytes(std::string_view text, int count) {
    if (count <= 0) return {};
    const std::size_t n = std::min(text.size(), static_cast<std::size_t>(count));
    return Text(text.substr(text.size() - n));
}

Text middle_bytes(std::string_view text, int start, int count) {
    if (start < 1 || start > byte_length(text) || count <= 0) return {};
    return Text(text.substr(static_cast<std::size_t>(start - 1), static_cast<std::size_t>(count)));
}

int find_from(std::string_view text, std::string_view sought, int start, LetterCase letter_case) {
    const std::size_t begin = static_cast<std::size_t>(std::max(start, 1) - 1);
    if (begin >= text.size()) return -1;
    if (sought.empty()) return 1;
    const std::size_t hit = letter_case == LetterCase::ignored
                                ? find_at_character_start(folded(text), folded(sought), begin)
                                : find_at_character_start(text, sought, begin);
    return hit == std::string_view::npos ? -1 : static_cast<int>(hit) + 1;
}

Text substitute(std::string_view text, std::string_view sought, std::string_view replacement,
                LetterCase letter_case) {
    if (text.empty() || sought.empty()) return Text(text);
    const bool exact = letter_case == LetterCase::exact;
    const Text folded_text = exact ? Text() : folded(text);
    const Text folded_sought = exact ? Text() : folded(sought);
    const std::string_view haystack = exact ? text : std::string_view(folded_text);
    const std::string_view needle = exact ? sought : std::string_view(folded_sought);

    Text result;
    result.reserve(text.size());
    std::size_t piece = 0;
    for (std::size_t hit;
         (hit = find_at_character_start(haystack, needle, piece)) != std::string_view::npos;) {
        result.append(text.substr(piece, hit - piece));
        result.append(replacement);
        piece = hit + needle.size();
    }
    result.append(text.substr(piece));
    return result;
}

TextArray split_at(std::string_view text, std::string_view delimiter) {
    if (text.empty()) return {};
    if (delimiter.empty()) return {Text(text)};
    TextArray members;
    std::size_t piece = 0;
    for (std::size_t hit;
         (hit = find_at_character_start(text, delimiter, piece)) != std::string_view::npos;) {
        members.emplace_back(text.substr(piece, hit - piece));
        piece = hit + delimiter.size();
    }
    if (piece < text.size()) members.emplace_back(text.substr(piece));
    return members;
}

Text upper_ascii(std::string_view text) {
    Text result(text);
    for (std::size_t at = 0; at < result.size();) {
        const std::size_t width = character_width(result, at);
        if (width == 1 && result[at] >= 'a' && result[at] <= 'z') result[at] -= 32;
        at += width;
    }
    return result;
}

bool texts_equal(std::string_view first, std::string_view second) {
    return first == second;
}

Text text_between(std::string_view text, std::string_view opening, std::string_view closing,
                  int start, LetterCase letter_case) {
    const Text open_marker = substitute(opening, quote_escape(), "\"", LetterCase::exact);
    const Text close_marker = substitute(closing, quote_escape(), "\"", LetterCase::exact);
    const int open_at = find_from(text, open_marker, start, letter_case);
    if (open_at == -1) return {};
    const int inside = open_at + byte_length(open_marker);
    const int close_at = find_from(text, close_marker, inside, letter_case);
    if (close_at == -1) return {};
    return middle_bytes(text, inside, close_at - inside);
}

}  // namespace melodex
