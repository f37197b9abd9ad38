// The report of an analysis run: groups of lines "fragment TAB full path TAB size CR LF", each
// group two or more lines of one fragment followed by an empty line.
#pragma once

#include "core/text.h"
#include "core/walk.h"

namespace melodex {

// A fragment or a path as a report line shows it: CR, LF and TAB are written as "?", so that
// every line holds exactly one line break and three fields.
Text report_field(std::string_view text);
bool needs_report_field(std::string_view text);

// Appends one report line of fields already made with report_field.
void append_report_line(Text& report, std::string_view fragment_field, std::string_view path_field,
                        std::string_view size);

// Appends the report line of every ".mp3" file of the tree whose full path contains `fragment`.
WalkEnd report_matches(const Text& fragment, Text& target_folder, Text& match_block,
                       const KeepGoing& keep_going, const FolderNotRead& not_read = {});

// The number of "\r\n" pairs in the text, counted without overlap.
int count_line_breaks(std::string_view text);

// A match block goes into the report when it holds two or more lines.
bool is_group(std::string_view match_block);

}  // namespace melodex
