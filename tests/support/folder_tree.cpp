#include "tests/support/folder_tree.h"

#include <algorithm>
#include <clocale>
#include <cstdio>
#include <random>
#include <stdexcept>

#include "core/file_system.h"
#include "core/walk.h"

namespace melodex::testing {

FolderTree::FolderTree() {
    // Where std::filesystem converts narrow names (Windows), it goes by the C library's character
    // type: the system's code page, in which the listing returns the names.
    std::setlocale(LC_CTYPE, "");
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
    const std::size_t last_slash = relative_path.rfind('/');
    if (last_slash != std::string::npos) {
        std::filesystem::create_directories(root_ / relative_path.substr(0, last_slash));
    }
    if (last_slash == relative_path.size() - 1) return;
    // Made by the C library, as the program makes its files: the name is read in the system's
    // code page whatever bytes it holds.
    std::FILE* file = std::fopen((root() + native(relative_path)).c_str(), "wb");
    if (file == nullptr) throw std::runtime_error("cannot create " + relative_path);
    if (size > 0) {
        std::fseek(file, static_cast<long>(size - 1), SEEK_SET);
        std::fputc(0, file);
    }
    std::fclose(file);
}

void FolderTree::link(const std::string& relative_path, const std::string& points_to) const {
    std::filesystem::create_symlink(points_to, root_ / relative_path);
}

Text FolderTree::root() const {
    return root_.string() + path_separator;
}

std::filesystem::path FolderTree::path(const std::string& relative_path) const {
    return root_ / relative_path;
}

Text native(std::string relative_path) {
    std::replace(relative_path.begin(), relative_path.end(), '/', path_separator);
    return relative_path;
}

std::vector<Text> walked(const FolderTree& tree, const Text& pattern) {
    std::vector<Text> reached;
    Text folder = tree.root();
    walk_folder(
        folder, [&] { return pattern; },
        [&](const Text& visited, const FolderEntry& file) {
            reached.push_back((visited + file.name).substr(tree.root().size()));
        },
        {});
    return reached;
}

}  // namespace melodex::testing
