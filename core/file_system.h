// The file-system operations the walks need. Each platform implements them in
// one file of its own (file_system_posix.cpp, file_system_win32.cpp).
#pragma once

#include <compare>
#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

#include "core/text.h"

namespace melodex {

// Separates a folder text from the names in it: '\' on Windows, '/' elsewhere.
extern const char path_separator;

// A real folder, whatever way leads to it: a walk enters each one once.
struct FolderIdentity {
    std::uint64_t device = 0;
    std::uint64_t index = 0;
    auto operator<=>(const FolderIdentity&) const = default;
};

// Where a file or folder is. Its path text, as the code page spells it, is what is matched, cut,
// shown and reported. On Windows a name the ANSI code page cannot spell has a "?" for each
// character it lacks, so the text leads nowhere: `exact` then holds the whole path in full in
// UTF-8, which leads to the entry. It is empty where the text leads there itself (always on POSIX,
// where a name is its own bytes).
struct Location {
    Location() = default;
    Location(Text path, Text exact = Text()) : path(std::move(path)), exact(std::move(exact)) {}
    Location(const char* path) : path(path) {}

    Text path;
    Text exact;
    bool operator==(const Location&) const = default;
};

struct FolderEntry {
    Text name;  // the long name as the code page spells it, without any folder
    bool is_folder = false;
    Text exact_path;  // the entry's whole exact path (see Location), when it needs one
};

struct FolderListing {
    std::optional<FolderIdentity> identity;  // empty when the folder could not be listed
    std::vector<FolderEntry> entries;        // "." and ".." left out
    Text failure;  // why the folder could not be read in full; empty when it could
};

// Every entry of `folder` (whose text ends in the separator, of any length), hidden and
// system ones included. A link to a folder counts as a folder; anything else that is not a
// folder, a dangling link included, as a file. On POSIX the names are sorted by byte value so
// that every listing of an unchanged tree is the same; Windows keeps the order its listing
// returns. A folder that cannot be listed gives no entries and, unless nothing is there, the
// reason. A folder of a system file system that shows the kernel's state rather than stored files
// (processes, devices, kernel settings) gives no entries and no reason.
FolderListing list_folder(const Location& folder);

// The size in bytes of what is at `file` (of any length), or -1 when nothing is found there.
std::int64_t file_byte_count(const Location& file);

// The sizes of `files`, all in `folder` (whose text ends in the separator), in their order, as
// file_byte_count gives them: the folder is looked up once rather than once for each file.
std::vector<std::int64_t> file_byte_counts(const Text& folder, const std::vector<Location>& files);

enum class EntryKind { none, file, folder };
EntryKind entry_kind(const Text& path);

}  // namespace melodex
