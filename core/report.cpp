#include "core/report.h"

#include <algorithm>

#include "core/search.h"

namespace melodex {
namespace {

bool breaks_a_line(char c) {
    return c == '\r' || c == '\n' || c == '\t';
}

}  // namespace

bool needs_report_field(std::string_view text) {
    return std::any_of(text.begin(), text.end(), breaks_a_line);
}

Text report_field(std::string_view text) {
    Text field(text);
    std::replace_if(field.begin(), field.end(), breaks_a_line, '?');
    return field;
}

void append_report_line(Text& report, std::string_view fragment_field, std::string_view path_field,
                        std::string_view size) {
    report.append(fragment_field).append(1, '\t').append(path_field).append(1, '\t');
    report.append(size).append("\r\n");
}

WalkEnd report_matches(const Text& fragment, Text& target_folder, Text& match_block,
                       const KeepGoing& keep_going, const FolderNotRead& not_read) {
    const Text fragment_field = report_field(fragment);
    return list_matches(
        fragment, target_folder,
        [&](const Location& file, const Text& size) {
            append_report_line(match_block, fragment_field, report_field(file.path), size);
        },
        keep_going, not_read);
}

int count_line_breaks(std::string_view text) {
    int count = 0;
    for (int at = 1; (at = find_from(text, "\r\n", at)) != -1; at += 2) ++count;
    return count;
}

bool is_group(std::string_view match_block) {
    return count_line_breaks(match_block) >= 2;
}

}  // namespace melodex
