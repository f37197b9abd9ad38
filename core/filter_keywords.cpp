#include "core/filter_keywords.h"

#include "core/file_io.h"

namespace melodex {

FilterKeywords parse_filter_keywords(std::string_view bytes) {
    const std::string_view text = bytes.substr(0, bytes.find('\0'));
    FilterKeywords keywords;
    for (Text& keyword : split_at(upper_ascii(text), "\r\n")) {
        keywords.upper_cased.insert(std::move(keyword));
    }
    return keywords;
}

KeywordFile read_keyword_file(const Text& path) {
    Text bytes;
    std::error_code error = read_regular_file(path, keyword_file_limit, bytes);
    if (error == std::errc::no_such_file_or_directory) {
        error = create_empty_file(path);
        // Another program may have made it in the meantime; a dangling link stays refused.
        if (error == std::errc::file_exists) {
            error = read_regular_file(path, keyword_file_limit, bytes);
        }
    }
    if (error) return {{}, error_text(error)};
    return {parse_filter_keywords(bytes), {}};
}

FilterKeywords load_filter_keywords(const Text& path) {
    return read_keyword_file(path).keywords;
}

bool is_filter_keyword(const FilterKeywords& keywords, std::string_view fragment) {
    return keywords.upper_cased.contains(upper_ascii(fragment));
}

}  // namespace melodex
