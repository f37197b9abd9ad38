// The two files the program keeps in its program directory, read and written by the window and
// by melodex-cli alike: the filter keyword list and the report of the last analysis.
#pragma once

#include "core/text.h"

namespace melodex {

// The names in the system's code page.
Text keyword_file_name();
Text report_file_name();

}  // namespace melodex
