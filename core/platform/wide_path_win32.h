// How the program's texts and paths cross to the wide (UTF-16) Windows calls and back: the system's
// own ANSI spelling of a name, full paths, and the long-path form that passes the 260-character
// limit.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

#include "core/file_system.h"
#include "core/text.h"

namespace melodex::win32 {

// The text read in the code page (CP_ACP for the program's texts, CP_UTF8).
std::wstring wide_text(std::string_view text, UINT code_page);
std::string utf8_text(std::wstring_view wide);

// A name as the ANSI code page spells it, each UTF-16 unit it cannot spell written as "?", as
// the system's own ANSI listing gives it.
Text ansi_text(std::wstring_view wide);

// The path made whole against the current folder, with "." and ".." resolved and "/" read as
// "\"; the path itself when the system cannot make it whole.
std::wstring full_path(const std::wstring& path);

// A full path in the form that reaches any depth ("\\?\C:\...", "\\?\UNC\server\share\...").
std::wstring long_path(std::wstring_view full);

// The whole path of a location, as the shell takes it: its exact path or else its text made whole.
std::wstring full_path_of(const Location& location);

// The same in the form the file calls take at any length; empty for an empty location, which
// every call refuses.
std::wstring reachable_path(const Location& location);

// A full path as a text of the code page for the user to see and type: its ANSI spelling or,
// where the code page cannot spell it, its short form when the volume keeps short names (the
// spelling with "?" otherwise). Only for the window's own folders: a listing spells names and
// keeps their exact paths instead.
Text text_leading_to(const std::wstring& full);

// The folder of the running program, in full, without a trailing separator.
std::wstring executable_folder();

}  // namespace melodex::win32
