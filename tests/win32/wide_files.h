// Files and folders made and removed through the wide calls, which reach any depth and any name:
// the ANSI calls and the standard library stop at 260 characters and at the code page.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/text.h"

namespace melodex::testing {

// The whole path of `path` (a text of the code page) in the form the wide calls take at any
// length.
std::wstring long_form(const Text& path);

// Makes a file of `size` bytes (zeros) at `path`, a long form; false when it could not be made.
bool make_wide_file(const std::wstring& path, std::int64_t size = 0);

// Removes everything below `folder`, a long form, and the folder itself when `with_folder`.
void remove_below(const std::wstring& folder, bool with_folder = false);

// The names the system's own ANSI listing gives for `pattern` (a folder text and "*", "*.mp3"),
// "." and ".." left out.
std::vector<Text> ansi_listing(const Text& pattern);

// Whether anything is at `path`, a long form.
bool wide_entry_exists(const std::wstring& path);

}  // namespace melodex::testing
