// The text operations on any bytes: the slicing operations stay inside their text, and the
// searching ones agree with a plain search that tries one character start after another.
// Input: rule byte (bit 1: ASCII letter case ignored), then text, sought, other, start, count.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "core/text.h"
#include "fuzz/fuzz_input.h"

namespace melodex::fuzz {
namespace {

bool same_bytes(std::string_view a, std::string_view b, bool ignore_case) {
    auto fold = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if ((ignore_case ? fold(a[i]) : a[i]) != (ignore_case ? fold(b[i]) : b[i])) return false;
    }
    return true;
}

LetterCase letter_case(bool ignore_case) {
    return ignore_case ? LetterCase::ignored : LetterCase::exact;
}

// Where find_from must answer: the first character start at or after `start`, counting
// characters from there, at which `sought` begins.
int first_occurrence(std::string_view text, std::string_view sought, int start, bool ignore_case) {
    const std::size_t begin = static_cast<std::size_t>(std::max(start, 1) - 1);
    if (begin >= text.size()) return -1;
    if (sought.empty()) return 1;
    for (std::size_t at = begin; at + sought.size() <= text.size();
         at += character_width(text, at)) {
        if (same_bytes(text.substr(at, sought.size()), sought, ignore_case)) {
            return static_cast<int>(at) + 1;
        }
    }
    return -1;
}

// The texts between the successive occurrences of `sought` that substitute and split_at cut at:
// each search starts where the last occurrence ends.
std::vector<std::string_view> pieces(std::string_view text, std::string_view sought,
                                     bool ignore_case) {
    std::vector<std::string_view> found;
    std::size_t piece = 0;
    for (int hit;
         (hit = first_occurrence(text, sought, static_cast<int>(piece) + 1, ignore_case)) != -1;) {
        found.push_back(text.substr(piece, static_cast<std::size_t>(hit - 1) - piece));
        piece = static_cast<std::size_t>(hit - 1) + sought.size();
    }
    found.push_back(text.substr(piece));
    return found;
}

void check_slices(std::string_view text, int start, int count) {
    const std::size_t wanted = count <= 0 ? 0 : static_cast<std::size_t>(count);
    const Text left = left_bytes(text, count);
    require(left.size() == std::min(wanted, text.size()) && text.starts_with(left), "left_bytes");
    const Text right = right_bytes(text, count);
    require(right.size() == std::min(wanted, text.size()) && text.ends_with(right), "right_bytes");
    const Text middle = middle_bytes(text, start, count);
    if (start < 1 || start > byte_length(text) || count <= 0) {
        require(middle.empty(), "middle_bytes outside the text");
    } else {
        const std::string_view from = text.substr(static_cast<std::size_t>(start - 1));
        require(middle.size() == std::min(wanted, from.size()) && from.starts_with(middle),
                "middle_bytes");
    }
}

void check_find(std::string_view text, std::string_view sought, int start, bool ignore_case) {
    const int found = find_from(text, sought, start, letter_case(ignore_case));
    require(found == first_occurrence(text, sought, start, ignore_case), "find_from");
}

void check_substitute(std::string_view text, std::string_view sought, std::string_view replacement,
                      bool ignore_case) {
    const Text result = substitute(text, sought, replacement, letter_case(ignore_case));
    if (text.empty() || sought.empty()) {
        require(result == text, "substitute without text or sought text");
        return;
    }
    Text expected;
    const std::vector<std::string_view> kept = pieces(text, sought, ignore_case);
    for (std::size_t i = 0; i < kept.size(); ++i) {
        if (i > 0) expected.append(replacement);
        expected.append(kept[i]);
    }
    require(result == expected, "substitute");
}

void check_split(std::string_view text, std::string_view delimiter) {
    const TextArray members = split_at(text, delimiter);
    if (text.empty() || delimiter.empty()) {
        require(members == (text.empty() ? TextArray{} : TextArray{Text(text)}),
                "split_at without text or delimiter");
        return;
    }
    std::vector<std::string_view> expected = pieces(text, delimiter, false);
    if (expected.back().empty()) expected.pop_back();  // the text ends in the delimiter
    require(std::equal(members.begin(), members.end(), expected.begin(), expected.end()),
            "split_at");
}

void check_upper(std::string_view text) {
    const Text upper = upper_ascii(text);
    require(upper.size() == text.size(), "upper_ascii keeps the length");
    for (std::size_t i = 0; i < text.size(); ++i) {
        const bool raised = text[i] >= 'a' && text[i] <= 'z' && upper[i] == text[i] - 32;
        require(upper[i] == text[i] || raised, "upper_ascii changes only small letters");
        if (character_rule() == CharacterRule::one_byte) {
            require(!(upper[i] >= 'a' && upper[i] <= 'z'), "upper_ascii leaves no small letter");
        }
    }
    require(upper_ascii(upper) == upper, "upper_ascii twice");
}

void check_between(std::string_view text, std::string_view opening, std::string_view closing,
                   int start, bool ignore_case) {
    const Text inside = text_between(text, opening, closing, start, letter_case(ignore_case));
    require(text.find(inside) != std::string_view::npos, "text_between lies inside the text");
}

}  // namespace
}  // namespace melodex::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace melodex::fuzz;
    FuzzInput input(data, size);
    const bool ignore_case = input.choice(1);
    const std::string_view text = input.field();
    const std::string_view sought = input.field();
    const std::string_view other = input.field();
    const int start = input.number();
    const int count = input.number();

    check_slices(text, start, count);
    check_find(text, sought, start, ignore_case);
    check_substitute(text, sought, other, ignore_case);
    check_split(text, sought);
    check_upper(text);
    check_between(text, sought, other, start, ignore_case);
    return 0;
}
