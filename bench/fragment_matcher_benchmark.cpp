// Micro-benchmarks of the fragment matcher: one pass over a listing of library paths for all of
// a run's fragments at once, and, for scale, looking for each fragment in every path on its own.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <random>
#include <set>
#include <string>

#include "core/fragment_matcher.h"

namespace {

using namespace melodex;

constexpr const char* words[] = {
    "Love", "Heart", "Night", "Dream", "Fire",  "Rain",  "Summer", "Blue",   "Golden",
    "City", "River", "Ocean", "Star",  "Moon",  "Light", "Shadow", "Dance",  "Home",
    "Road", "Wild",  "Time",  "Angel", "Storm", "Echo",  "Garden", "Mirror", "Silver",
    "Neon", "Radio", "Story", "爱",    "情",    "心",    "梦",     "夜",     "月",
    "光",   "风",    "雨",    "花",    "雪",    "海",    "天",     "星",     "云"};
constexpr std::size_t word_count = std::size(words);

struct Library {
    PathList paths;
    std::size_t path_bytes = 0;
    TextArray fragments;  // distinct, as a run's candidates give them
};

// `path_count` paths "/music/Artist/Album/Artist - Title.mp3" or ".../NN_Title.mp3", and
// `fragment_count` distinct fragments: artists and titles of those paths, and some titles that
// no path holds. The same arguments give the same library.
const Library& library(std::size_t path_count, std::size_t fragment_count) {
    static std::map<std::pair<std::size_t, std::size_t>, Library> made;
    Library& built = made[{path_count, fragment_count}];
    if (built.paths.size() == path_count) return built;

    std::mt19937_64 random(7);
    const auto phrase = [&](std::size_t most) {
        Text text = words[random() % word_count];
        for (std::size_t extra = random() % most; extra > 0; --extra) {
            text += ' ';
            text += words[random() % word_count];
        }
        return text;
    };
    std::vector<Text> artists;
    std::vector<Text> titles;
    for (std::size_t i = 0; i < path_count; ++i) {
        if (i % 60 == 0) artists.push_back(phrase(2));
        const Text album = phrase(3);
        const Text& artist = artists.back();
        titles.push_back(phrase(3));
        char number[4];
        std::snprintf(number, sizeof number, "%02zu_", i % 100);
        const Text name = join_texts(i % 3 == 0 ? number : artist + " - ", titles.back(), ".mp3");
        built.paths.append(join_texts("/music/", artist, "/", album, "/"), name);
        built.path_bytes += built.paths[i].size();
    }
    std::set<Text> seen;
    while (built.fragments.size() < fragment_count) {
        const std::size_t roll = random() % 10;
        Text fragment = roll < 3   ? artists[random() % artists.size()]
                        : roll < 9 ? titles[random() % titles.size()]
                                   : phrase(4);
        if (seen.insert(fragment).second) built.fragments.push_back(std::move(fragment));
    }
    return built;
}

void use_rule(std::int64_t rule) {
    set_character_rule(rule == 0 ? CharacterRule::one_byte : CharacterRule::two_byte);
}

// Arguments: fragments.
void BM_fragment_matcher_build(benchmark::State& state) {
    const Library& built = library(1000, static_cast<std::size_t>(state.range(0)));
    for (auto _ : state) benchmark::DoNotOptimize(FragmentMatcher(built.fragments));
}
BENCHMARK(BM_fragment_matcher_build)->Arg(1500)->Arg(15000)->Unit(benchmark::kMillisecond);

// Arguments: paths, fragments, character rule (0 one byte, 1 two bytes).
void BM_fragment_matcher_match(benchmark::State& state) {
    use_rule(state.range(2));
    const Library& built =
        library(static_cast<std::size_t>(state.range(0)), static_cast<std::size_t>(state.range(1)));
    const FragmentMatcher matcher(built.fragments);
    for (auto _ : state) benchmark::DoNotOptimize(matcher.match(built.paths, [] { return true; }));
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * built.path_bytes));
}
BENCHMARK(BM_fragment_matcher_match)
    ->Args({10000, 1500, 0})
    ->Args({50000, 7500, 0})
    ->Args({100000, 15000, 0})
    ->Args({100000, 15000, 1})
    ->Unit(benchmark::kMillisecond);

// find_from of every fragment in every path: what the matcher replaces. Arguments as above.
void BM_find_each_fragment(benchmark::State& state) {
    use_rule(state.range(2));
    const Library& built =
        library(static_cast<std::size_t>(state.range(0)), static_cast<std::size_t>(state.range(1)));
    for (auto _ : state) {
        std::size_t found = 0;
        for (const Text& fragment : built.fragments) {
            for (std::size_t i = 0; i < built.paths.size(); ++i) {
                if (find_from(built.paths[i], fragment) != -1) ++found;
            }
        }
        benchmark::DoNotOptimize(found);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * built.path_bytes));
}
BENCHMARK(BM_find_each_fragment)->Args({10000, 1500, 0})->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
