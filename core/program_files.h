// The two files the program keeps in its program directory, read and written by the window and
// by melodex-cli alike: the filter keyword list and the report of the last analysis.
#pragma once

#include "core/text.h"

namespace melodex {

// Where they are in `directory` (without a trailing separator), their names in the system's
// code page.
Text keyword_file_path(const Text& directory);
Text report_file_path(const Text& directory);

}  // namespace melodex
