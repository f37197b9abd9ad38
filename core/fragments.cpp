#include "core/fragments.h"

namespace melodex {
namespace {

Text file_name_of(std::string_view path, char separator) {
    TextArray parts = split_at(path, std::string_view(&separator, 1));
    return parts.empty() ? Text() : parts.back();
}

// Removes every occurrence of the first "(...)" group of the title, content and brackets alike.
Text drop_bracket_group(const Text& title) {
    const Text inner = text_between(title, "(", ")", 1, LetterCase::exact);
    return substitute(title, join_texts("(", inner, ")"), "", LetterCase::exact);
}

Text without_brackets(Text title) {
    if (find_from(title, "(") != -1) title = drop_bracket_group(title);
    const std::string_view full_width_open = spelled("\xA3\xA8", "（");
    if (find_from(title, full_width_open) != -1) {
        title = substitute(title, full_width_open, "(", LetterCase::exact);
        title = substitute(title, spelled("\xA3\xA9", "）"), ")", LetterCase::exact);
        title = drop_bracket_group(title);
    }
    return title;
}

TextArray cut_at_first_separator(const Text& title) {
    for (const std::string_view separator : {" - ", "-", "_", " "}) {
        if (find_from(title, separator) != -1) return split_at(title, separator);
    }
    return {};
}

}  // namespace

TextArray analysis_fragments(std::string_view path, std::string_view suffix, char separator) {
    const Text name = file_name_of(path, separator);
    return cut_at_first_separator(
        without_brackets(substitute(name, join_texts(".", suffix), "", LetterCase::ignored)));
}

DisplayFragments display_fragments(std::string_view path, char separator) {
    DisplayFragments result{file_name_of(path, separator), {}};
    TextArray fragments = cut_at_first_separator(
        without_brackets(substitute(result.file_name, ".mp3", "", LetterCase::exact)));
    if (fragments.size() >= 2) {
        if (fragments.size() > 4) fragments.resize(4);
        result.fragments = std::move(fragments);
    }
    return result;
}

}  // namespace melodex
