#include "core/walk.h"

#include <set>
#include <vector>

#include "core/file_system.h"
#include "core/name_pattern.h"

namespace melodex {
namespace {

// A folder being walked: its subfolders still to enter, in listing order.
struct OpenFolder {
    Text folder;
    std::vector<FolderEntry> subfolders;
    std::size_t next = 0;
};

// Whether the folder text ends in the separator as a character of its own: under the two-byte
// rule the trail byte of a character (a GBK 0x5C) can equal the backslash.
bool ends_in_separator(std::string_view folder) {
    if (folder.empty() || folder.back() != path_separator) return false;
    std::size_t last = 0;
    for (std::size_t next = 0; next < folder.size(); next += character_width(folder, next)) {
        last = next;
    }
    return last == folder.size() - 1;
}

}  // namespace

WalkEnd walk_folder(Text& folder, const NamePatternSource& pattern, const FileAction& action,
                    const KeepGoing& keep_going, const FolderNotRead& not_read) {
    std::set<FolderIdentity> entered;
    std::vector<OpenFolder> open;

    auto visit = [&](Location& location) {
        if (keep_going && !keep_going()) return false;
        Text& visited = location.path;
        if (!ends_in_separator(visited)) visited += path_separator;
        FolderListing listing = list_folder(location);
        if (listing.identity && !entered.insert(*listing.identity).second) return true;
        if (!listing.failure.empty() && not_read) not_read(visited, listing.failure);

        const Text name_pattern = pattern();
        OpenFolder opened{visited, {}};
        for (FolderEntry& entry : listing.entries) {
            if (entry.is_folder) {
                if (entry.name[0] != '.') opened.subfolders.push_back(std::move(entry));
            } else if (name_matches(entry.name, name_pattern)) {
                action(visited, entry);
            }
        }
        if (!opened.subfolders.empty()) open.push_back(std::move(opened));
        return true;
    };

    Location root(std::move(folder));
    const bool root_visited = visit(root);
    folder = std::move(root.path);
    if (!root_visited) return WalkEnd::stopped;
    while (!open.empty()) {
        OpenFolder& top = open.back();
        if (top.next == top.subfolders.size()) {
            open.pop_back();
            continue;
        }
        FolderEntry& entry = top.subfolders[top.next++];
        Location subfolder(top.folder + entry.name, std::move(entry.exact_path));
        if (!visit(subfolder)) return WalkEnd::stopped;
    }
    return WalkEnd::finished;
}

}  // namespace melodex
