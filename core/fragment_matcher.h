// Finds which paths hold which fragments for many fragments at once: an Aho-Corasick automaton
// over the fragments, run once over every path. A fragment counts only where it begins on a
// character start under the process's character rule, and letter case counts, as in find_from.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "core/keep_going.h"
#include "core/path_list.h"
#include "core/text.h"

namespace melodex {

// Told how many paths the matching pass has searched so far.
using PathsMatched = std::function<void(std::size_t paths)>;

class FragmentMatcher {
  public:
    // `fragments` must be distinct and not empty.
    explicit FragmentMatcher(const TextArray& fragments);

    // For each fragment, in the order given, the ascending numbers of the paths that hold it.
    // Every few thousand paths `matched` is told how far the pass has got and `keep_going` is
    // asked; when it returns false the search ends early and the result is incomplete.
    std::vector<std::vector<std::uint32_t>> match(const PathList& paths,
                                                  const KeepGoing& keep_going,
                                                  const PathsMatched& matched = {}) const;

  private:
    static constexpr std::uint32_t none = 0xFFFFFFFF;

    struct State {
        std::uint32_t fail = 0;
        std::uint32_t next_output =
            none;  // the nearest state down the fail chain that ends a fragment
        std::uint32_t fragment = none;  // the fragment this state ends, if any
        std::uint32_t length = 0;
    };

    std::uint32_t child(std::uint32_t state, unsigned char byte) const;
    void add_child(std::uint32_t state, unsigned char byte, std::uint32_t target);
    std::uint32_t step(std::uint32_t state, unsigned char byte) const;

    std::vector<State> states_;
    // Edges below the root in an open-addressing table keyed by (state, byte); the root's edges
    // in a direct table, since most bytes of a path are read at the root or near it.
    std::vector<std::uint64_t> edge_keys_;
    std::vector<std::uint32_t> edge_targets_;
    std::uint32_t root_edges_[256];
    std::size_t fragment_count_ = 0;
};

}  // namespace melodex
