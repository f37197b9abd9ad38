// Text: bytes in the system code page, measured and positioned in bytes (positions from 1, -1 for
// "not found"). The scanning operations walk a text character by character under the character
// rule chosen for the process; the slicing operations count bytes only.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace melodex {

using Text = std::string;
using TextArray = std::vector<Text>;

enum class CharacterRule {
    // Double-byte code pages (GBK, BIG5, ...): a byte of 0x80 or more and the byte after it
    // form one character.
    two_byte,
    // UTF-8 and single-byte code pages: every byte is its own character.
    one_byte,
};

CharacterRule character_rule();
void set_character_rule(CharacterRule rule);

// One of the system's own non-ASCII literals as this process's texts spell it: the GBK bytes under
// the two-byte rule, the UTF-8 bytes under the one-byte rule.
std::string_view spelled(std::string_view gbk, std::string_view utf8);

int byte_length(std::string_view text);
Text left_bytes(std::string_view text, int count);
Text right_bytes(std::string_view text, int count);
Text middle_bytes(std::string_view text, int start, int count);

// Whether ASCII letters match regardless of their case.
enum class LetterCase { exact, ignored };

int find_from(std::string_view text, std::string_view sought, int start = 1,
              LetterCase letter_case = LetterCase::exact);
Text substitute(std::string_view text, std::string_view sought, std::string_view replacement,
                LetterCase letter_case);
TextArray split_at(std::string_view text, std::string_view delimiter);
Text upper_ascii(std::string_view text);
bool texts_equal(std::string_view first, std::string_view second);
Text text_between(std::string_view text, std::string_view opening, std::string_view closing,
                  int start, LetterCase letter_case);

template <typename... Parts>
Text join_texts(const Parts&... parts) {
    Text joined;
    (joined.append(std::string_view(parts)), ...);
    return joined;
}

// The number of bytes (1 or 2) of the character that begins at zero-based offset `at`.
std::size_t character_width(std::string_view text, std::size_t at);

}  // namespace melodex
