// The texts in which numbers reach the user: file sizes and the progress percentage.
#pragma once

#include <cstdint>

#include "core/text.h"

namespace melodex {

// Rounds half away from zero to `decimals` places (negative: tens, hundreds, ...), adding 1e-12
// to the scaled magnitude first so that a value a double holds a hair below a half rounds up.
double round_to_decimals(double value, int decimals = 0);

// The value with 13 significant digits, general format: fixed notation for decimal exponents
// from -4 to 12, otherwise d.ddde+NNN; trailing zeros dropped.
Text number_text(double value);

// A file's byte count in MB with up to two decimals above one mebibyte, else in whole KB.
// -1 (file not found) gives 0KB.
Text size_text(std::int64_t byte_count);

}  // namespace melodex
