// Micro-benchmarks of the text operations the analysis leans on, on a 1 MB text of report-like
// lines with Chinese and English names, under both character rules, and of cutting a path into
// its fragments.
#include <benchmark/benchmark.h>

#include "core/fragments.h"
#include "core/text.h"

namespace {

using namespace melodex;

// The character rule of a case: 0 one byte per character, 1 the two-byte rule.
void use_rule(const benchmark::State& state) {
    set_character_rule(state.range(0) == 0 ? CharacterRule::one_byte : CharacterRule::two_byte);
}

// About 1 MB of lines like those of a report, ending in a line no other line resembles.
const Text& megabyte_text() {
    static const Text text = [] {
        const Text lines[] = {
            "Love Story\t/music/Emma Taylor/Golden Days (2004)/Emma Taylor - Love "
            "Story.mp3\t0KB\r\n",
            "晴天\t/music/周杰伦/叶惠美/周杰伦 - 晴天 (Live).mp3\t3.5MB\r\n",
            "03\t/music/王菲/天空/03_红豆.mp3\t0KB\r\n",
        };
        Text built;
        for (std::size_t i = 0; built.size() < 1'000'000; ++i) built += lines[i % 3];
        return built + "Needle\t/music/end.mp3\t0KB\r\n";
    }();
    return text;
}

void find_from_case(benchmark::State& state, LetterCase letter_case) {
    use_rule(state);
    const Text& text = megabyte_text();
    for (auto _ : state) benchmark::DoNotOptimize(find_from(text, "Needle", 1, letter_case));
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}

void BM_find_from(benchmark::State& state) {
    find_from_case(state, LetterCase::exact);
}
BENCHMARK(BM_find_from)->Arg(0)->Arg(1);

void BM_find_from_ignoring_case(benchmark::State& state) {
    find_from_case(state, LetterCase::ignored);
}
BENCHMARK(BM_find_from_ignoring_case)->Arg(0)->Arg(1);

void BM_split_at(benchmark::State& state) {
    use_rule(state);
    const Text& text = megabyte_text();
    for (auto _ : state) benchmark::DoNotOptimize(split_at(text, "\r\n"));
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_split_at)->Arg(0)->Arg(1);

void substitute_case(benchmark::State& state, LetterCase letter_case) {
    use_rule(state);
    const Text& text = megabyte_text();
    for (auto _ : state) benchmark::DoNotOptimize(substitute(text, ".mp3", ".MP3", letter_case));
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}

void BM_substitute(benchmark::State& state) {
    substitute_case(state, LetterCase::exact);
}
BENCHMARK(BM_substitute)->Arg(0)->Arg(1);

void BM_substitute_ignoring_case(benchmark::State& state) {
    substitute_case(state, LetterCase::ignored);
}
BENCHMARK(BM_substitute_ignoring_case)->Arg(0)->Arg(1);

void BM_analysis_fragments(benchmark::State& state) {
    use_rule(state);
    const Text path = "/music/周杰伦/叶惠美 (2003)/周杰伦 - 晴天 (Live).mp3";
    for (auto _ : state) benchmark::DoNotOptimize(analysis_fragments(path, "mp3", '/'));
}
BENCHMARK(BM_analysis_fragments)->Arg(0)->Arg(1);

}  // namespace

BENCHMARK_MAIN();
