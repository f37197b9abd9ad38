// The full paths of a tree's files in walk order, held in one buffer: a large library's listing
// costs little more than its bytes.
#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

#include "core/text.h"

namespace melodex {

class PathList {
  public:
    void append(std::string_view folder, std::string_view name) {
        bytes_.append(folder);
        bytes_.append(name);
        ends_.push_back(bytes_.size());
    }
    std::size_t size() const { return ends_.size(); }
    std::string_view operator[](std::size_t index) const {
        const std::size_t begin = index == 0 ? 0 : ends_[index - 1];
        return std::string_view(bytes_).substr(begin, ends_[index] - begin);
    }

  private:
    Text bytes_;
    std::vector<std::size_t> ends_;
};

}  // namespace melodex
