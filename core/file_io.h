// The system calls behind the program's own files, the report and the keyword file: a bounded read
// that never blocks, the creation of a new empty file, the steps of a replacement and the removal
// of an unfinished replacement when the program is interrupted. Each platform implements them in
// one file of its own (file_io_posix.cpp, file_io_win32.cpp); on Windows they take paths of any
// length, converted from the ANSI code page.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <system_error>

#include "core/text.h"

namespace melodex {

// An open file: a descriptor on POSIX, a HANDLE on Windows.
using FileHandle = std::intptr_t;

// The reason of a failed call in the system's words, as `cp` would print it.
Text error_text(const std::error_code& error);

// The refusal of a FIFO, a device or a socket where a regular file is needed (a folder is refused
// as std::errc::is_a_directory).
inline std::error_code not_a_regular_file() {
    struct Category : std::error_category {
        const char* name() const noexcept override { return "melodex"; }
        std::string message(int) const override { return "Not a regular file"; }
    };
    static const Category category;
    return {1, category};
}

// Puts the bytes of the regular file at `path` in `bytes`, when it holds at most `limit` of them
// (std::errc::file_too_large otherwise). Anything but a regular file is refused before it is
// read, so that neither a FIFO nor a device can block or flood the reader.
std::error_code read_regular_file(const Text& path, std::size_t limit, Text& bytes);

// Makes a new empty file; refused when anything is there, a dangling link included.
std::error_code create_empty_file(const Text& path);

// The file that a replacement of `path` replaces: on POSIX the end of the chain of links at `path`
// (up to 40 of them; the file it names need not exist), on Windows `path` itself. An existing
// folder, FIFO or device there is refused.
std::error_code replacement_target(const Text& path, Text& target);

// The system calls of a replacement, in one table so that a test can make any of them fail: it
// swaps an entry for the length of the test and puts the platform's back afterwards.
struct ReplacementCalls {
    // A new file that only its owner may use, never made through a link; std::errc::file_exists
    // when the name is taken.
    std::error_code (*create)(const Text& path, FileHandle& file);
    // Every byte, or the reason why not.
    std::error_code (*write)(FileHandle file, std::string_view bytes);
    // Gives the file the permissions of `target` (those of a new file when there is none) and
    // flushes its bytes to the disk.
    std::error_code (*finish)(FileHandle file, const Text& target);
    std::error_code (*close)(FileHandle file);
    // Puts `from` in the place of `to` in one step, replacing any file there.
    std::error_code (*rename)(const Text& from, const Text& to);
    // Flushes the entries of a folder (a text ending in the separator; empty for the working
    // folder) to the disk, so that a rename survives a crash.
    std::error_code (*flush_folder)(const Text& folder);
    std::error_code (*remove)(const Text& path);
};
ReplacementCalls& replacement_calls();

// From now on SIGINT, SIGTERM and SIGHUP (on Windows the console's Ctrl+C, Ctrl+Break and close)
// first remove the temporary file of every replacement in progress, then end the program as they
// would have. A signal the program was started to ignore stays ignored.
void remove_temporary_files_on_interruption();

}  // namespace melodex
