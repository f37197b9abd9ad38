// A temporary folder tree for walk tests, built from relative paths: a path ending in "/" is a
// folder, any other a file (with `size` bytes when given). Removed again with the fixture.
#pragma once

#include <cstdint>
#include <filesystem>
#include <initializer_list>
#include <string>
#include <vector>

#include "core/text.h"

namespace melodex::testing {

class FolderTree {
  public:
    FolderTree();
    explicit FolderTree(std::initializer_list<std::string> relative_paths);
    ~FolderTree();
    FolderTree(const FolderTree&) = delete;
    FolderTree& operator=(const FolderTree&) = delete;

    void add(const std::string& relative_path, std::uintmax_t size = 0) const;
    void link(const std::string& relative_path, const std::string& points_to) const;
    // The root's folder text, ending in the separator.
    Text root() const;
    std::filesystem::path path(const std::string& relative_path) const;

  private:
    std::filesystem::path root_;
};

// A relative path written with "/" as this platform spells it.
Text native(std::string relative_path);

// The paths below the tree's root that a walk with the name pattern reaches, in walk order.
std::vector<Text> walked(const FolderTree& tree, const Text& pattern);

// Switches the process's character rule for the scope of one test.
class CharacterRuleScope {
  public:
    explicit CharacterRuleScope(CharacterRule rule) : previous_(character_rule()) {
        set_character_rule(rule);
    }
    ~CharacterRuleScope() { set_character_rule(previous_); }
    CharacterRuleScope(const CharacterRuleScope&) = delete;
    CharacterRuleScope& operator=(const CharacterRuleScope&) = delete;

  private:
    CharacterRule previous_;
};

}  // namespace melodex::testing
