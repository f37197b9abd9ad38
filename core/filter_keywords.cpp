#include "core/filter_keywords.h"

#include "core/file_system.h"
#include "core/whole_file.h"

namespace melodex {

FilterKeywords parse_filter_keywords(std::string_view bytes) {
    const std::string_view text = bytes.substr(0, bytes.find('\0'));
    FilterKeywords keywords;
    for (Text& keyword : split_at(upper_ascii(text), "\r\n")) {
        keywords.upper_cased.insert(std::move(keyword));
    }
    return keywords;
}

FilterKeywords load_filter_keywords(const Text& path) {
    if (entry_kind(path) == EntryKind::none) write_whole_file(path, "");
    return parse_filter_keywords(read_whole_file(path));
}

bool is_filter_keyword(const FilterKeywords& keywords, std::string_view fragment) {
    return keywords.upper_cased.contains(upper_ascii(fragment));
}

}  // namespace melodex
