// The title fragmenter: cuts a music file's path into the fragments by which duplicates are
// sought. The file name loses its extension and a bracketed remark, then is cut at the first
// separator it holds: " - ", then "-", then "_", then " ".
#pragma once

#include "core/file_system.h"
#include "core/text.h"

namespace melodex {

// Every fragment of the name, for the analysis run. Removes every "." + suffix (ASCII letter case
// ignored) from the name. A name without a separator gives none.
TextArray analysis_fragments(std::string_view path, std::string_view suffix,
                             char separator = path_separator);

struct DisplayFragments {
    Text file_name;
    TextArray fragments;  // 0, 2, 3 or 4 of them, never exactly one
};

// The file name and at most four fragments, for a file dropped on the window. Removes ".mp3" in
// exactly that letter case.
DisplayFragments display_fragments(std::string_view path, char separator = path_separator);

}  // namespace melodex
