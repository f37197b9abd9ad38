// melodex-cli: the duplicate analysis, the manual search and the fragmenter from a terminal.
#include <CLI/CLI.hpp>

#include <cstdio>
#include <functional>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "core/analysis.h"
#include "core/file_system.h"
#include "core/fragments.h"
#include "core/number_text.h"
#include "core/program_files.h"
#include "core/search.h"
#include "core/system.h"
#include "core/whole_file.h"

namespace {

using namespace melodex;

constexpr int exit_failure = 1;
constexpr int exit_usage = 2;
constexpr int exit_incomplete = 3;

constexpr const char* exit_statuses =
    "Exit status: 0 done; 1 a folder is missing or the report cannot be written; 2 bad usage; "
    "3 done, but some folders could not be read (each is named on standard error).";

constexpr const char* usage =
    "usage: melodex-cli analyze [--suffix S] [--keywords FILE] [--report FILE]\n"
    "                           [--code-page gbk|utf-8] SOURCE TARGET\n"
    "       melodex-cli search [--code-page gbk|utf-8] FRAGMENT FOLDER\n"
    "       melodex-cli fragments [--display] [--suffix S] [--code-page gbk|utf-8] PATH...\n"
    "       melodex-cli --help\n";

struct Options {
    std::string code_page;
    std::string suffix = "mp3";
    std::string keywords;  // the program directory's keyword file unless given
    std::string report;    // the program directory's report file unless given
    bool keywords_given = false;
    bool report_given = false;
    bool display = false;
    std::vector<std::string> folders;  // SOURCE TARGET, or FRAGMENT FOLDER for search
    std::vector<std::string> paths;
};

void print_line(const std::vector<std::string_view>& fields) {
    std::string line;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (i > 0) line += '\t';
        line += fields[i];
    }
    line += '\n';
    std::fwrite(line.data(), 1, line.size(), stdout);
}

int fail(const std::string& message) {
    std::fprintf(stderr, "melodex-cli: %s\n", message.c_str());
    return exit_failure;
}

// The folders the walks of a run could not read, each named on standard error once, the first
// few by name and the rest by their number.
class FoldersNotRead {
  public:
    void operator()(const Text& folder, const Text& reason) {
        if (!folders_.insert(folder).second) return;
        if (folders_.size() <= named_limit) {
            named_.push_back("melodex-cli: cannot read folder " + folder + ": " + reason + "\n");
        }
    }

    // Names the folders, once the walks are over; the exit status of a run that got so far.
    int tell() const {
        for (const Text& line : named_) std::fputs(line.c_str(), stderr);
        if (folders_.size() > named_limit) {
            std::fprintf(stderr, "melodex-cli: %zu more folders could not be read\n",
                         folders_.size() - named_limit);
        }
        return folders_.empty() ? EXIT_SUCCESS : exit_incomplete;
    }

  private:
    static constexpr std::size_t named_limit = 20;
    std::set<Text> folders_;
    std::vector<Text> named_;
};

// A folder argument as the walk will read it: an empty text is the root folder.
bool is_folder(const Text& folder) {
    return entry_kind(folder.empty() ? Text(1, path_separator) : folder) == EntryKind::folder;
}

// The progress in the words the window shows it in, or nothing for a point the window does not
// show.
std::optional<Text> progress_text(const AnalysisProgress& progress) {
    switch (progress.stage) {
        case AnalysisStage::collecting_candidates:
            return system_text("加载过滤器...");
        case AnalysisStage::candidates_collected:
            return system_text("加载文件名称...");
        case AnalysisStage::candidate_analyzed:
            return number_text(progress.percent()) + "%";
        case AnalysisStage::finished:
            return system_text("MP3一按键找重");
        default:
            return std::nullopt;
    }
}

// Shows the stage or percentage on one terminal line, rewritten in place.
void show_progress(const AnalysisProgress& progress) {
    const std::optional<Text> text = progress_text(progress);
    if (!text) return;
    std::fprintf(stderr, "\r%-40s", text->c_str());
    std::fflush(stderr);
}

int analyze(const Options& options) {
    const Text& source = options.folders[0];
    const Text& target = options.folders[1];
    if (!is_folder(source)) return fail("source folder not found: " + source);
    if (!is_folder(target)) return fail("target folder not found: " + target);

    const Text directory = options.keywords_given && options.report_given
                               ? Text()
                               : program_directory() + path_separator;
    const Text keyword_path =
        options.keywords_given ? options.keywords : directory + keyword_file_name();
    const Text report_path = options.report_given ? options.report : directory + report_file_name();
    const bool to_standard_output = report_path == "-";
    const bool show = standard_error_is_terminal();

    const FilterKeywords keywords = load_filter_keywords(keyword_path);
    std::optional<ReplacingFile> report_file;
    if (!to_standard_output) report_file.emplace(report_path);
    FoldersNotRead not_read;
    const AnalysisHooks hooks{[&] { return options.suffix; },
                              [&](const AnalysisProgress& progress) {
                                  if (show) show_progress(progress);
                              },
                              {},
                              std::ref(not_read)};
    analyze_folders(source, target, keywords, hooks, [&](std::string_view bytes) {
        if (to_standard_output) {
            std::fwrite(bytes.data(), 1, bytes.size(), stdout);
        } else {
            report_file->write(bytes);
        }
    });
    if (show) std::fputc('\n', stderr);
    const int done = not_read.tell();

    if (to_standard_output) {
        if (std::fflush(stdout) != 0 || std::ferror(stdout)) {
            return fail("cannot write the report to standard output");
        }
        return done;
    }
    if (!report_file->commit()) return fail("cannot write the report file: " + report_path);
    if (show) std::fprintf(stderr, "report written to %s\n", report_path.c_str());
    return done;
}

int search(const Options& options) {
    const Text& fragment = options.folders[0];
    Text folder = options.folders[1];
    if (!is_folder(folder)) return fail("folder not found: " + folder);
    FoldersNotRead not_read;
    list_matches(
        fragment, folder,
        [](const Text& path, const Text& size) {
            print_line({path, size});
        },
        {}, std::ref(not_read));
    return not_read.tell();
}

int fragments(const Options& options) {
    for (const Text& path : options.paths) {
        if (options.display) {
            const DisplayFragments shown = display_fragments(path);
            std::vector<std::string_view> fields{shown.file_name};
            const std::string count = std::to_string(shown.fragments.size());
            fields.push_back(count);
            fields.insert(fields.end(), shown.fragments.begin(), shown.fragments.end());
            print_line(fields);
        } else {
            const TextArray found = analysis_fragments(path, options.suffix);
            const std::string count = std::to_string(found.size());
            std::vector<std::string_view> fields{count};
            fields.insert(fields.end(), found.begin(), found.end());
            print_line(fields);
        }
    }
    return EXIT_SUCCESS;
}

void add_code_page(CLI::App& command, Options& options) {
    command.add_option("--code-page", options.code_page, "Character rule of the names")
        ->check(CLI::IsMember({"gbk", "utf-8"}));
}

}  // namespace

int main(int argc, char** argv) {
    write_standard_output_as_bytes();
    set_character_rule(system_character_rule());

    Options options;
    CLI::App app{"Melodex: finds probable duplicate music files by their names.", "melodex-cli"};
    app.require_subcommand(1);
    app.footer(exit_statuses);

    CLI::App* analyze_command = app.add_subcommand("analyze", "Write the duplicate report");
    analyze_command->add_option("--suffix", options.suffix, "Suffix of the candidate files")
        ->default_str("mp3");
    CLI::Option* keywords_option =
        analyze_command->add_option("--keywords", options.keywords, "Filter keyword file");
    CLI::Option* report_option = analyze_command->add_option("--report", options.report,
                                                             "Report file, - for standard output");
    add_code_page(*analyze_command, options);
    analyze_command->add_option("SOURCE TARGET", options.folders, "Source and target folders")
        ->required()
        ->expected(2);

    CLI::App* search_command =
        app.add_subcommand("search", "List the .mp3 files holding a fragment");
    add_code_page(*search_command, options);
    search_command->add_option("FRAGMENT FOLDER", options.folders, "Fragment and folder")
        ->required()
        ->expected(2);

    CLI::App* fragments_command = app.add_subcommand("fragments", "Show the search keys of names");
    fragments_command->add_flag("--display", options.display, "As the search panel shows them");
    fragments_command->add_option("--suffix", options.suffix, "Suffix removed from the names")
        ->default_str("mp3");
    add_code_page(*fragments_command, options);
    fragments_command->add_option("PATH", options.paths, "Paths of music files")->required();

    try {
        app.parse(argc, argv);
    } catch (const CLI::CallForHelp& help) {
        return app.exit(help);
    } catch (const CLI::ParseError& error) {
        std::fprintf(stderr, "melodex-cli: %s\n", error.what());
        std::fputs(usage, stderr);
        return exit_usage;
    }

    options.keywords_given = keywords_option->count() > 0;
    options.report_given = report_option->count() > 0;
    if (options.code_page == "gbk") set_character_rule(CharacterRule::two_byte);
    if (options.code_page == "utf-8") set_character_rule(CharacterRule::one_byte);

    if (analyze_command->parsed()) return analyze(options);
    if (search_command->parsed()) return search(options);
    return fragments(options);
}
