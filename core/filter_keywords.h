// The filter keyword list: fragments the analysis must not search for, one per CR LF line of a
// file the user edits. A fragment equal to a keyword, ASCII letter case ignored, is skipped.
#pragma once

#include <unordered_set>

#include "core/text.h"

namespace melodex {

struct FilterKeywords {
    std::unordered_set<Text> upper_cased;
};

// The keywords that a keyword file's bytes hold. The text ends at the first zero byte; "\r\n" ends
// each keyword (which may be empty); nothing is trimmed and no byte-order mark is recognised.
FilterKeywords parse_filter_keywords(std::string_view bytes);

// Reads the keyword file, creating it empty when it is missing. A file that can be neither
// created nor read gives no keywords.
FilterKeywords load_filter_keywords(const Text& path);

bool is_filter_keyword(const FilterKeywords& keywords, std::string_view fragment);

}  // namespace melodex
