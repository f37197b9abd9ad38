// Both fragmenters on any path: the display one gives 0, 2, 3 or 4 fragments of a name that lies
// in the path, and where the name holds no "." (so neither removes an extension) it cuts the same
// fragments as the analysis one.
// Input: rule byte, then path, suffix, separator (its first byte; none: the platform's).
#include <cstddef>
#include <cstdint>

#include "core/fragments.h"
#include "fuzz/fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace melodex;
    using fuzz::require;
    fuzz::FuzzInput input(data, size);
    const std::string_view path = input.field();
    const std::string_view suffix = input.field();
    const std::string_view separator_field = input.field();
    const char separator = separator_field.empty() ? path_separator : separator_field[0];

    TextArray analysis = analysis_fragments(path, suffix, separator);
    const DisplayFragments display = display_fragments(path, separator);

    const std::size_t count = display.fragments.size();
    require(count == 0 || (count >= 2 && count <= 4), "display fragments: 0, 2, 3 or 4");
    require(path.find(display.file_name) != std::string_view::npos, "the name lies in the path");
    if (display.file_name.find('.') == Text::npos) {
        if (analysis.size() < 2) analysis.clear();
        if (analysis.size() > 4) analysis.resize(4);
        require(display.fragments == analysis, "both fragmenters cut a name without a dot alike");
    }
    return 0;
}
