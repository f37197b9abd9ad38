// Name patterns such as "*.mp3", "*." + suffix and "*.*", matched against a long file name.
#pragma once

#include "core/text.h"

namespace melodex {

// "*" stands for any run of characters (none included), "?" for exactly one character, and every
// other character for itself with ASCII letters compared regardless of case. As on the system the
// patterns come from, a "." that ends the pattern stands for the end of a name that holds no "."
// at all ("*." selects the names without a dot), and a ".*" that ends it also matches where the
// name ends ("*.*" selects every name). Characters are those of the file system's names: under
// the two-byte rule a lead byte and a trail byte after it, or else one byte alone, so a "." is
// never part of a double-byte character.
bool name_matches(std::string_view name, std::string_view pattern);

}  // namespace melodex
