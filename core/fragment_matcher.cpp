#include "core/fragment_matcher.h"

#include <algorithm>
#include <bit>
#include <queue>

namespace melodex {
namespace {

constexpr std::uint64_t empty_key = ~std::uint64_t{0};

std::uint64_t edge_key(std::uint32_t state, unsigned char byte) {
    return (std::uint64_t{state} << 8) | byte;
}

std::size_t slot_of(std::uint64_t key, std::size_t mask) {
    return static_cast<std::size_t>((key * 0x9E3779B97F4A7C15ULL) >> 20) & mask;
}

}  // namespace

std::uint32_t FragmentMatcher::child(std::uint32_t state, unsigned char byte) const {
    if (state == 0) return root_edges_[byte];
    const std::uint64_t key = edge_key(state, byte);
    const std::size_t mask = edge_keys_.size() - 1;
    for (std::size_t slot = slot_of(key, mask);; slot = (slot + 1) & mask) {
        if (edge_keys_[slot] == key) return edge_targets_[slot];
        if (edge_keys_[slot] == empty_key) return none;
    }
}

void FragmentMatcher::add_child(std::uint32_t state, unsigned char byte, std::uint32_t target) {
    if (state == 0) {
        root_edges_[byte] = target;
        return;
    }
    const std::uint64_t key = edge_key(state, byte);
    const std::size_t mask = edge_keys_.size() - 1;
    std::size_t slot = slot_of(key, mask);
    while (edge_keys_[slot] != empty_key) slot = (slot + 1) & mask;
    edge_keys_[slot] = key;
    edge_targets_[slot] = target;
}

FragmentMatcher::FragmentMatcher(const TextArray& fragments) : fragment_count_(fragments.size()) {
    std::size_t total_bytes = 0;
    for (const Text& fragment : fragments) total_bytes += fragment.size();
    const std::size_t table_size = std::bit_ceil(std::max<std::size_t>(16, total_bytes * 2));
    edge_keys_.assign(table_size, empty_key);
    edge_targets_.assign(table_size, none);
    std::fill(std::begin(root_edges_), std::end(root_edges_), none);

    // Each state's edges as a list while building: the fail links need them in order of depth.
    std::vector<std::uint32_t> first_child{none};
    std::vector<std::uint32_t> next_sibling{none};
    std::vector<unsigned char> edge_byte{0};

    states_.emplace_back();
    for (std::uint32_t number = 0; number < fragments.size(); ++number) {
        std::uint32_t state = 0;
        for (const char c : fragments[number]) {
            const auto byte = static_cast<unsigned char>(c);
            std::uint32_t next = child(state, byte);
            if (next == none) {
                next = static_cast<std::uint32_t>(states_.size());
                states_.push_back({0, none, none, states_[state].length + 1});
                add_child(state, byte, next);
                first_child.push_back(none);
                next_sibling.push_back(first_child[state]);
                edge_byte.push_back(byte);
                first_child[state] = next;
            }
            state = next;
        }
        states_[state].fragment = number;
    }

    // Fail links breadth first, so that a state's fail target is complete before the state. The
    // root's children fail to the root.
    std::queue<std::uint32_t> pending;
    for (std::uint32_t next = first_child[0]; next != none; next = next_sibling[next]) {
        pending.push(next);
    }
    while (!pending.empty()) {
        const std::uint32_t state = pending.front();
        pending.pop();
        for (std::uint32_t next = first_child[state]; next != none; next = next_sibling[next]) {
            const std::uint32_t fail = step(states_[state].fail, edge_byte[next]);
            states_[next].fail = fail;
            states_[next].next_output =
                states_[fail].fragment != none ? fail : states_[fail].next_output;
            pending.push(next);
        }
    }
}

std::uint32_t FragmentMatcher::step(std::uint32_t state, unsigned char byte) const {
    while (true) {
        const std::uint32_t next = child(state, byte);
        if (next != none) return next;
        if (state == 0) return 0;
        state = states_[state].fail;
    }
}

std::vector<std::vector<std::uint32_t>> FragmentMatcher::match(const PathList& paths,
                                                               const KeepGoing& keep_going,
                                                               const PathsMatched& matched) const {
    std::vector<std::vector<std::uint32_t>> found(fragment_count_);
    std::vector<bool> starts_character;
    const bool every_byte_starts = character_rule() == CharacterRule::one_byte;
    for (std::uint32_t number = 0; number < paths.size(); ++number) {
        if (number % 4096 == 4095) {
            if (matched) matched(number);
            if (keep_going && !keep_going()) break;
        }
        const std::string_view path = paths[number];
        if (!every_byte_starts) {
            starts_character.assign(path.size(), false);
            for (std::size_t at = 0; at < path.size(); at += character_width(path, at)) {
                starts_character[at] = true;
            }
        }
        std::uint32_t state = 0;
        for (std::size_t at = 0; at < path.size(); ++at) {
            state = step(state, static_cast<unsigned char>(path[at]));
            std::uint32_t output =
                states_[state].fragment != none ? state : states_[state].next_output;
            for (; output != none; output = states_[output].next_output) {
                const std::size_t begin = at + 1 - states_[output].length;
                if (!every_byte_starts && !starts_character[begin]) continue;
                std::vector<std::uint32_t>& holders = found[states_[output].fragment];
                if (holders.empty() || holders.back() != number) holders.push_back(number);
            }
        }
    }
    return found;
}

}  // namespace melodex
