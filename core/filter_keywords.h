// The filter keyword list: fragments the analysis must not search for, one per CR LF line of a
// file the user edits. A fragment equal to a keyword, ASCII letter case ignored, is skipped.
#pragma once

#include <cstddef>
#include <unordered_set>

#include "core/text.h"

namespace melodex {

struct FilterKeywords {
    std::unordered_set<Text> upper_cased;
};

// The keywords that a keyword file's bytes hold. The text ends at the first zero byte; "\r\n" ends
// each keyword (which may be empty); nothing is trimmed and no byte-order mark is recognised.
FilterKeywords parse_filter_keywords(std::string_view bytes);

// The most bytes a keyword file may hold: a keyword list is a few hundred short lines, and a
// larger file is far more likely a wrong one than a list.
constexpr std::size_t keyword_file_limit = 1 << 20;

struct KeywordFile {
    FilterKeywords keywords;
    Text error;  // why the file could not be used, in the system's words; empty when it was
};

// Reads the keyword file, creating it empty when it is missing (never through a link). Only a
// regular file of at most keyword_file_limit bytes is read; a folder, a FIFO, a device or a larger
// file is refused without being read, so that reading never blocks.
KeywordFile read_keyword_file(const Text& path);

// The keywords of read_keyword_file(): none when the file can be neither created nor used.
FilterKeywords load_filter_keywords(const Text& path);

bool is_filter_keyword(const FilterKeywords& keywords, std::string_view fragment);

}  // namespace melodex
