// The file-system operations the walks need. Each platform implements them in
// one file of its own (file_system_posix.cpp, file_system_win32.cpp).
#pragma once

#include <compare>
#include <cstdint>
#include <optional>
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

struct FolderEntry {
    Text name;  // the long name, without any folder
    bool is_folder = false;
};

struct FolderListing {
    std::optional<FolderIdentity> identity;  // empty when the folder could not be listed
    std::vector<FolderEntry> entries;        // "." and ".." left out
    Text failure;  // why the folder could not be read in full; empty when it could
};

// Every entry of `folder` (a folder text that ends in the separator, of any length), hidden and
// system ones included. A link to a folder counts as a folder; anything else that is not a
// folder, a dangling link included, as a file. On POSIX the names are sorted by byte value so
// that every listing of an unchanged tree is the same; Windows keeps the order its listing
// returns. A folder that cannot be listed gives no entries and, unless nothing is there, the
// reason. A folder of a system file system that shows the kernel's state rather than stored files
// (processes, devices, kernel settings) gives no entries and no reason.
FolderListing list_folder(const Text& folder);

// The size in bytes of what `path` (of any length) names, or -1 when nothing is found there.
std::int64_t file_byte_count(const Text& path);

enum class EntryKind { none, file, folder };
EntryKind entry_kind(const Text& path);

}  // namespace melodex
