// melodex-cli: the duplicate analysis, the manual search and the fragmenter from a terminal.
#include <CLI/CLI.hpp>

#include <cerrno>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "core/analysis.h"
#include "core/file_io.h"
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

constexpr const char* usage =
    "usage: melodex-cli analyze [--suffix S] [--keywords FILE] [--report FILE]\n"
    "                           [--code-page gbk|utf-8] SOURCE TARGET\n"
    "       melodex-cli search [--code-page gbk|utf-8] FRAGMENT FOLDER\n"
    "       melodex-cli fragments [--display] [--suffix S] [--code-page gbk|utf-8] PATH...\n"
    "       melodex-cli --help\n"
    "       melodex-cli --version\n";

constexpr const char* exit_statuses =
    "Exit status: 0 done; 1 a missing SOURCE, TARGET or FOLDER, an unusable --keywords file, or\n"
    "a report or standard output that cannot be written (the reason on standard error); 2 bad\n"
    "usage.";

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

    const KeywordFile keyword_file = read_keyword_file(keyword_path);
    // The program directory's file is used as the window uses it: without keywords when unusable.
    if (options.keywords_given && !keyword_file.error.empty()) {
        return fail(keyword_path + ": " + keyword_file.error);
    }
    const FilterKeywords& keywords = keyword_file.keywords;
    std::optional<ReplacingFile> report_file;
    if (!to_standard_output) report_file.emplace(report_path);
    const AnalysisHooks hooks{[&] { return options.suffix; },
                              [&](const AnalysisProgress& progress) {
                                  if (show) show_progress(progress);
                              },
                              {}};
    analyze_folders(source, target, keywords, hooks, [&](std::string_view bytes) {
        if (to_standard_output) {
            write_output(bytes);
        } else {
            report_file->write(bytes);
        }
    });
    if (show) std::fputc('\n', stderr);

    if (to_standard_output) {
        const Text failure = output_failure();
        if (!failure.empty()) return fail("cannot write the report to standard output: " + failure);
        return EXIT_SUCCESS;
    }
    if (!report_file->commit()) {
        return fail("cannot write the report file " + report_path + ": " + report_file->error());
    }
    if (show) std::fprintf(stderr, "report written to %s\n", report_path.c_str());
    return EXIT_SUCCESS;
}

int search(const Options& options) {
    const Text& fragment = options.folders[0];
    Text folder = options.folders[1];
    if (!is_folder(folder)) return fail("folder not found: " + folder);
    list_matches(fragment, folder,
                 [](const Text& path, const Text& size) {
                     print_line({path, size});
                 },
                 {});
    return finish_output();
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
    } catch (const CLI::CallForVersion& version) {
        return app.exit(version);
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
