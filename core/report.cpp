#include "core/report.h"

#include <algorithm>

#include "core/file_system.h"
#include "core/number_text.h"

namespace melodex {
namespace {

Text one_line_field(std::string_view field) {
    Text safe(field);
    std::replace_if(
        safe.begin(), safe.end(), [](char c) { return c == '\r' || c == '\n' || c == '\t'; },
        '?');
    return safe;
}

}  // namespace

Text report_line(std::string_view fragment, std::string_view path, std::string_view size) {
    return join_texts(one_line_field(fragment), "\t", one_line_field(path), "\t", size, "\r\n");
}

WalkEnd report_matches(const Text& fragment, Text& target_folder, Text& match_block,
                       const PendingEvents& pending_events) {
    return walk_folder(
        target_folder, [] { return Text("*.mp3"); },
        [&](const Text& folder, const Text& name) {
            const Text path = folder + name;
            if (find_from(path, fragment) == -1) return;
            match_block += report_line(fragment, path, size_text(file_byte_count(path)));
        },
        pending_events);
}

int count_line_breaks(std::string_view text) {
    int count = 0;
    for (int at = 1; (at = find_from(text, "\r\n", at)) != -1; at += 2) ++count;
    return count;
}

bool is_group(std::string_view match_block) { return count_line_breaks(match_block) >= 2; }

}  // namespace melodex
