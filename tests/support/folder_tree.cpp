#include "tests/support/folder_tree.h"

#include <fstream>
#include <random>

namespace melodex::testing {

FolderTree::FolderTree() {
    std::random_device seed;
    root_ = std::filesystem::temp_directory_path() /
            ("melodex-test-" + std::to_string(seed()) + std::to_string(seed()));
    std::filesystem::create_directories(root_);
}

FolderTree::FolderTree(std::initializer_list<std::string> relative_paths) : FolderTree() {
    for (const std::string& relative : relative_paths) add(relative);
}

FolderTree::~FolderTree() {
    std::error_code ignored;
    std::filesystem::permissions(root_, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ignored);
    for (auto it = std::filesystem::recursive_directory_iterator(
             root_, std::filesystem::directory_options::skip_permission_denied, ignored);
         it != std::filesystem::recursive_directory_iterator(); it.increment(ignored)) {
        if (it->is_directory(ignored) && !it->is_symlink(ignored)) {
            std::filesystem::permissions(it->path(), std::filesystem::perms::owner_all,
                                         std::filesystem::perm_options::add, ignored);
        }
    }
    std::filesystem::remove_all(root_, ignored);
}

void FolderTree::add(const std::string& relative_path, std::uintmax_t size) const {
    const std::filesystem::path full = root_ / relative_path;
    if (relative_path.ends_with('/')) {
        std::filesystem::create_directories(full);
        return;
    }
    std::filesystem::create_directories(full.parent_path());
    std::ofstream(full, std::ios::binary).close();
    if (size > 0) std::filesystem::resize_file(full, size);
}

void FolderTree::link(const std::string& relative_path, const std::string& points_to) const {
    std::filesystem::create_symlink(points_to, root_ / relative_path);
}

Text FolderTree::root() const { return root_.string() + "/"; }

std::filesystem::path FolderTree::path(const std::string& relative_path) const {
    return root_ / relative_path;
}

}  // namespace melodex::testing
