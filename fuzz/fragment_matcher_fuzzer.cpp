// The fragment matcher against find_from: for every fragment, exactly the paths in which
// find_from finds it, in ascending order.
// Input: rule byte, then fragments up to the first empty field (repeats dropped), then paths.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "core/fragment_matcher.h"
#include "fuzz/fuzz_input.h"

namespace {

std::vector<std::vector<std::uint32_t>> matched(const melodex::TextArray& fragments,
                                                const melodex::PathList& paths) {
    return melodex::FragmentMatcher(fragments).match(paths, {});
}

bool holds(std::string_view path, std::string_view fragment) {
    return melodex::find_from(path, fragment) != -1;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace melodex;
    fuzz::FuzzInput input(data, size);
    TextArray fragments;
    for (std::string_view fragment; !(fragment = input.field()).empty();) {
        if (std::find(fragments.begin(), fragments.end(), fragment) == fragments.end()) {
            fragments.emplace_back(fragment);
        }
    }
    if (fragments.empty()) return 0;
    PathList paths;
    while (input.has_field()) paths.append(input.field(), "");

    const auto found = matched(fragments, paths);
    fuzz::require(found.size() == fragments.size(), "one list of paths per fragment");
    for (std::size_t f = 0; f < fragments.size(); ++f) {
        std::vector<std::uint32_t> expected;
        for (std::uint32_t p = 0; p < paths.size(); ++p) {
            if (holds(paths[p], fragments[f])) expected.push_back(p);
        }
        fuzz::require(found[f] == expected, "the paths in which find_from finds the fragment");
    }
    return 0;
}
