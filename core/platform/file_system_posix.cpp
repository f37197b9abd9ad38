#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>

#include "core/file_system.h"

namespace melodex {

const char path_separator = '/';

namespace {

bool is_folder_behind_link(const Text& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

}  // namespace

FolderListing list_folder(const Text& folder) {
    FolderListing listing;
    DIR* stream = ::opendir(folder.c_str());
    if (stream == nullptr) return listing;
    struct stat info {};
    if (::fstat(::dirfd(stream), &info) == 0) {
        listing.identity = FolderIdentity{static_cast<std::uint64_t>(info.st_dev),
                                          static_cast<std::uint64_t>(info.st_ino)};
    }
    while (const dirent* entry = ::readdir(stream)) {
        const std::string_view name = entry->d_name;
        if (name == "." || name == "..") continue;
        bool is_folder = entry->d_type == DT_DIR;
        if (entry->d_type == DT_LNK || entry->d_type == DT_UNKNOWN) {
            is_folder = is_folder_behind_link(folder + Text(name));
        }
        listing.entries.push_back({Text(name), is_folder});
    }
    ::closedir(stream);
    std::sort(listing.entries.begin(), listing.entries.end(),
              [](const FolderEntry& a, const FolderEntry& b) { return a.name < b.name; });
    return listing;
}

std::int64_t file_byte_count(const Text& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) return -1;
    return static_cast<std::int64_t>(info.st_size);
}

EntryKind entry_kind(const Text& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) {
        return ::lstat(path.c_str(), &info) == 0 ? EntryKind::file : EntryKind::none;
    }
    return S_ISDIR(info.st_mode) ? EntryKind::folder : EntryKind::file;
}

}  // namespace melodex
