// What the core asks of the system it runs on. Each platform implements it in one file of its
// own (system_posix.cpp, system_win32.cpp).
#pragma once

#include "core/text.h"

namespace melodex {

// The character rule of the system's code page: two-byte for GBK, GB18030, BIG5 and the other
// double-byte code pages, one-byte for UTF-8 and single-byte ones.
CharacterRule system_character_rule();

// Where the keyword file and the report live, without a trailing separator; created when needed.
Text program_directory();

// One of the program's own texts (written in UTF-8 in the sources) in the system's code page.
Text system_text(std::string_view utf8);

// Whether standard error is a terminal, where progress can be shown.
bool standard_error_is_terminal();

// Standard output carries bytes unchanged: lines end in LF and a report keeps its CR LF (the
// Windows C library would otherwise turn every LF into CR LF).
void write_standard_output_as_bytes();

}  // namespace melodex
