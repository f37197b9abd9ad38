// Name patterns on any name and pattern: "*" and "*.*" select every name, a name without a
// trailing "." selects itself, and ASCII letter case never changes the answer.
// Input: rule byte, then name, pattern.
#include <cstddef>
#include <cstdint>

#include "core/name_pattern.h"
#include "fuzz/fuzz_input.h"

namespace {

// Every ASCII letter raised, trail bytes of two-byte characters included: the pattern compares
// each byte regardless of case.
melodex::Text raised(std::string_view text) {
    melodex::Text result(text);
    for (char& c : result) {
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
    }
    return result;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace melodex;
    using fuzz::require;
    fuzz::FuzzInput input(data, size);
    const std::string_view name = input.field();
    const std::string_view pattern = input.field();

    const bool matches = name_matches(name, pattern);
    require(name_matches(raised(name), pattern) == matches, "letter case of the name");
    require(name_matches(name, raised(pattern)) == matches, "letter case of the pattern");
    require(name_matches(name, "*"), "* selects every name");
    require(name_matches(name, "*.*"), "*.* selects every name");
    if (!name.ends_with('.')) require(name_matches(name, name), "a name selects itself");
    return 0;
}
