// melodex-cli: the duplicate analysis, the manual search and the fragmenter from a terminal.
#include <CLI/CLI.hpp>

#include <cerrno>
#include <charconv>
#include <chrono>
#include <cstdio>
#include <functional>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "app/cli/progress.h"
#include "app/cli/summary.h"
#include "core/analysis.h"
#include "core/file_io.h"
#include "core/file_system.h"
#include "core/fragments.h"
#include "core/program_files.h"
#include "core/search.h"
#include "core/system.h"
#include "core/whole_file.h"

namespace {

using namespace melodex;

constexpr int exit_failure = 1;
constexpr int exit_usage = 2;
constexpr int exit_incomplete = 3;

constexpr const char* usage =
    "usage: melodex-cli analyze [--suffix S] [--keywords FILE] [--report FILE] [--distinct]\n"
    "                           [--max-group N] [--summary] [--code-page gbk|utf-8]\n"
    "                           SOURCE TARGET\n"
    "       melodex-cli search [--code-page gbk|utf-8] FRAGMENT FOLDER\n"
    "       melodex-cli fragments [--display] [--suffix S] [--code-page gbk|utf-8] PATH...\n"
    "       melodex-cli --help\n"
    "       melodex-cli --version\n";

constexpr const char* exit_statuses =
    "Exit status: 0 done; 1 a missing SOURCE, TARGET or FOLDER, an unusable --keywords file, or\n"
    "a report or standard output that cannot be written (the reason on standard error); 2 bad\n"
    "usage; 3 done, but some folders could not be read (each named on standard error).";

struct Options {
    std::string code_page;
    std::string suffix = "mp3";
    std::string keywords;  // the program directory's keyword file unless given
    std::string report;    // the program directory's report file unless given
    bool keywords_given = false;
    bool report_given = false;
    bool display = false;
    ReportOptions report_options;
    std::string max_group;  // checked by whole_number
    bool summary = false;
    std::string source;
    std::string target;
    std::string fragment;
    std::string folder;
    std::vector<std::string> paths;
};

// The first failure to write standard output, as errno told it.
int output_error = 0;

void write_output(std::string_view bytes) {
    if (std::fwrite(bytes.data(), 1, bytes.size(), stdout) != bytes.size() && output_error == 0) {
        output_error = errno != 0 ? errno : EIO;
    }
}

// Why not everything written to standard output reached it; empty when it all did.
Text output_failure() {
    if (std::fflush(stdout) != 0 && output_error == 0) output_error = errno != 0 ? errno : EIO;
    if (output_error == 0 && std::ferror(stdout)) output_error = EIO;
    return output_error == 0 ? Text() : error_text({output_error, std::generic_category()});
}

void print_line(const std::vector<std::string_view>& fields) {
    std::string line;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (i > 0) line += '\t';
        line += fields[i];
    }
    line += '\n';
    write_output(line);
}

int fail(const std::string& message) {
    std::fprintf(stderr, "melodex-cli: %s\n", message.c_str());
    return exit_failure;
}

// The status of a command that printed its results: a failure when they did not all arrive.
int finish_output() {
    const Text failure = output_failure();
    return failure.empty() ? EXIT_SUCCESS : fail("standard output: " + failure);
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

// A count as a decimal number of digits only, small enough to hold.
std::optional<std::size_t> whole_number(std::string_view text) {
    std::size_t number = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
    if (text.empty() || error != std::errc() || end != text.data() + text.size()) {
        return std::nullopt;
    }
    return number;
}

int analyze(const Options& options) {
    const Text& source = options.source;
    const Text& target = options.target;
    if (!is_folder(source)) return fail("source folder not found: " + source);
    if (!is_folder(target)) return fail("target folder not found: " + target);

    // The program directory is made when missing: only when a file of its own is used.
    const Text directory =
        options.keywords_given && options.report_given ? Text() : program_directory();
    const Text keyword_path =
        options.keywords_given ? options.keywords : keyword_file_path(directory);
    const Text report_path = options.report_given ? options.report : report_file_path(directory);
    const bool to_standard_output = report_path == "-";
    const bool show = standard_error_is_terminal();
    cli::ProgressLine progress(
        [](std::string_view bytes) {
            std::fwrite(bytes.data(), 1, bytes.size(), stderr);
            std::fflush(stderr);
        },
        [] { return std::chrono::steady_clock::now(); });

    const KeywordFile keyword_file = read_keyword_file(keyword_path);
    // The program directory's file is used as the window uses it: without keywords when unusable.
    if (options.keywords_given && !keyword_file.error.empty()) {
        return fail(keyword_path + ": " + keyword_file.error);
    }
    const FilterKeywords& keywords = keyword_file.keywords;
    std::optional<ReplacingFile> report_file;
    if (!to_standard_output) report_file.emplace(report_path);
    FoldersNotRead not_read;
    const AnalysisHooks hooks{[&] { return options.suffix; },
                              [&](const AnalysisProgress& at) {
                                  if (show) progress.show(at);
                              },
                              {},
                              std::ref(not_read)};
    const bool summarized = show || options.summary;
    AnalysisSummary summary;
    analyze_folders(
        source, target, keywords, hooks,
        [&](std::string_view bytes) {
            if (to_standard_output) {
                write_output(bytes);
            } else {
                report_file->write(bytes);
            }
        },
        options.report_options, summarized ? &summary : nullptr);
    progress.clear();
    const int done = not_read.tell();

    if (to_standard_output) {
        const Text failure = output_failure();
        if (!failure.empty()) return fail("cannot write the report to standard output: " + failure);
    } else if (!report_file->commit()) {
        return fail("cannot write the report file " + report_path + ": " + report_file->error());
    }
    if (summarized) std::fputs(cli::summary_text(summary, options.report_options).c_str(), stderr);
    if (show && !to_standard_output) {
        std::fprintf(stderr, "report written to %s\n", report_path.c_str());
    }
    return done;
}

int search(const Options& options) {
    const Text& fragment = options.fragment;
    Text folder = options.folder;
    if (!is_folder(folder)) return fail("folder not found: " + folder);
    FoldersNotRead not_read;
    list_matches(
        fragment, folder,
        [](const Location& file, const Text& size) {
            print_line({file.path, size});
        },
        {}, std::ref(not_read));
    const int done = not_read.tell();
    const int output = finish_output();
    return output != EXIT_SUCCESS ? output : done;
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
    return finish_output();
}

void add_code_page(CLI::App& command, Options& options) {
    command.add_option("--code-page", options.code_page, "Character rule of the names")
        ->check(CLI::IsMember({"gbk", "utf-8"}));
}

}  // namespace

int main(int argc, char** argv) {
    remove_temporary_files_on_interruption();
    write_standard_output_as_bytes();
    set_character_rule(system_character_rule());

    Options options;
    CLI::App app{"Melodex: finds probable duplicate music files by their names.", "melodex-cli"};
    app.require_subcommand(1);
    app.set_version_flag("--version", "melodex-cli " MELODEX_VERSION, "Print the version");
    app.footer(exit_statuses);

    CLI::App* analyze_command = app.add_subcommand("analyze", "Write the duplicate report");
    analyze_command->add_option("--suffix", options.suffix, "Suffix of the candidate files")
        ->default_str("mp3");
    CLI::Option* keywords_option =
        analyze_command->add_option("--keywords", options.keywords, "Filter keyword file")
            ->type_name("FILE");
    CLI::Option* report_option =
        analyze_command
            ->add_option("--report", options.report, "Report file, - for standard output")
            ->type_name("FILE");
    analyze_command->add_flag("--distinct", options.report_options.distinct,
                              "Each fragment's group once, where it first appears");
    analyze_command
        ->add_option("--max-group", options.max_group, "Leave out groups of more than N files")
        ->type_name("N")
        ->check(CLI::Validator(
            [](const std::string& text) {
                return whole_number(text) ? std::string() : "not a whole number: " + text;
            },
            "", "whole number"));
    analyze_command->add_flag("--summary", options.summary,
                              "Summary on standard error (default on a terminal)");
    add_code_page(*analyze_command, options);
    analyze_command->add_option("SOURCE", options.source, "Folder of the candidates")
        ->required()
        ->type_name("");
    analyze_command->add_option("TARGET", options.target, "Folder searched for them")
        ->required()
        ->type_name("");
    analyze_command->footer(
        "Example: melodex-cli analyze --distinct --max-group 500 --report - "
        "Downloads/ Music/");

    CLI::App* search_command =
        app.add_subcommand("search", "List the .mp3 files holding a fragment");
    add_code_page(*search_command, options);
    search_command->add_option("FRAGMENT", options.fragment, "Text the paths must hold")
        ->required()
        ->type_name("");
    search_command->add_option("FOLDER", options.folder, "Folder searched")
        ->required()
        ->type_name("");
    search_command->footer("Example: melodex-cli search Yesterday Music/");

    CLI::App* fragments_command = app.add_subcommand("fragments", "Show the search keys of names");
    fragments_command->add_flag("--display", options.display, "As the search panel shows them");
    fragments_command->add_option("--suffix", options.suffix, "Suffix removed from the names")
        ->default_str("mp3");
    add_code_page(*fragments_command, options);
    fragments_command->add_option("PATH", options.paths, "Paths of music files")
        ->required()
        ->type_name("");
    fragments_command->footer(
        "Example: melodex-cli fragments --display \"Music/Artist - Title.mp3\"");

    try {
        app.parse(argc, argv);
    } catch (const CLI::CallForHelp& help) {
        return app.exit(help);
    } catch (const CLI::CallForVersion& version) {
        return app.exit(version);
    } catch (const CLI::ParseError& error) {
        std::fprintf(stderr, "melodex-cli: %s\n", error.what());
        std::fputs(usage, stderr);
        return exit_usage;
    }

    options.keywords_given = keywords_option->count() > 0;
    options.report_given = report_option->count() > 0;
    if (!options.max_group.empty()) {
        options.report_options.max_group = whole_number(options.max_group);
    }
    if (options.code_page == "gbk") set_character_rule(CharacterRule::two_byte);
    if (options.code_page == "utf-8") set_character_rule(CharacterRule::one_byte);

    if (analyze_command->parsed()) return analyze(options);
    if (search_command->parsed()) return search(options);
    return fragments(options);
}
