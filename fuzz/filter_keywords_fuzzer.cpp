// The keyword file parser on any bytes: every CR LF line before the first zero byte is a keyword,
// in any ASCII letter case, and the list holds nothing else.
// Input: rule byte, then the keyword file's bytes.
#include <cstddef>
#include <cstdint>
#include <unordered_set>

#include "core/filter_keywords.h"
#include "fuzz/fuzz_input.h"

namespace {

// ASCII capitals made small where they are characters of their own (the trail byte of a two-byte
// character is no letter).
melodex::Text lowered(std::string_view text) {
    melodex::Text result(text);
    for (std::size_t at = 0; at < result.size(); at += melodex::character_width(result, at)) {
        if (result[at] >= 'A' && result[at] <= 'Z') result[at] = static_cast<char>(result[at] + 32);
    }
    return result;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace melodex;
    using fuzz::require;
    fuzz::FuzzInput input(data, size);
    const std::string_view bytes = input.bytes();
    const FilterKeywords keywords = parse_filter_keywords(bytes);

    const std::string_view text = bytes.substr(0, bytes.find('\0'));
    std::unordered_set<Text> lines;
    for (const Text& line : split_at(text, "\r\n")) {
        require(is_filter_keyword(keywords, line), "a line is a keyword");
        require(is_filter_keyword(keywords, lowered(line)), "in any letter case");
        lines.insert(upper_ascii(line));
    }
    require(keywords.upper_cased == lines, "the list holds the lines and nothing else");
    return 0;
}
