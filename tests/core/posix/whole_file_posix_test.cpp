// Replacing a file on POSIX: links at the target, permissions, links planted beside it, targets
// that are no regular file, and interruptions by a signal.
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <utility>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "core/whole_file.h"
#include "tests/support/folder_tree.h"

namespace melodex {
namespace {

using ::testing::ElementsAre;
using testing::FolderTree;
using ::testing::UnorderedElementsAreArray;

// Every path below the tree's root, links not followed, folders ending in "/".
std::vector<std::string> everything_in(const FolderTree& tree) {
    std::vector<std::string> paths;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(tree.path(""))) {
        const std::string relative = entry.path().lexically_relative(tree.path("")).string();
        const bool folder = !entry.is_symlink() && entry.is_directory();
        paths.push_back(folder ? relative + "/" : relative);
    }
    return paths;
}

mode_t mode_of(const std::filesystem::path& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 ? info.st_mode & 07777 : 0;
}

struct LinkedReport {
    const char* what;
    std::vector<std::pair<std::string, std::string>> links;  // link, what it points to
    std::vector<std::string> files;                          // "folder/" or a file with "earlier"
    std::string replaced;                                    // the file that gets the report
};

TEST(ReplacingFilePosix, KeepsALinkAndReplacesTheFileItLeadsTo) {
    const LinkedReport cases[] = {
        {"a link beside it", {{"r.txt", "real.txt"}}, {"real.txt"}, "real.txt"},
        {"a chain into another folder",
         {{"r.txt", "other/l1"}, {"other/l1", "../other/l2"}, {"other/l2", "real.txt"}},
         {"other/", "other/real.txt"},
         "other/real.txt"},
        {"a dangling link", {{"r.txt", "new.txt"}}, {}, "new.txt"},
        {"an absolute link",
         {{"r.txt", "/ABSOLUTE/other/real.txt"}},
         {"other/", "other/real.txt"},
         "other/real.txt"},
    };
    for (const LinkedReport& c : cases) {
        SCOPED_TRACE(c.what);
        const FolderTree tree;
        std::vector<std::string> expected{"r.txt"};
        for (const std::string& file : c.files) {
            tree.add(file);
            if (!file.ends_with("/")) {
                ASSERT_TRUE(write_whole_file(tree.root() + file, "earlier"));
            }
            expected.push_back(file);
        }
        for (const auto& [link, points_to] : c.links) {
            const std::string_view absolute = "/ABSOLUTE/";
            tree.link(link, points_to.starts_with(absolute)
                                ? tree.root() + points_to.substr(absolute.size())
                                : points_to);
            if (link != "r.txt") expected.push_back(link);
        }
        if (c.files.empty()) expected.push_back(c.replaced);

        ReplacingFile file(tree.root() + "r.txt");
        file.write("new report");
        EXPECT_TRUE(file.commit()) << file.error();
        EXPECT_EQ(read_whole_file(tree.root() + c.replaced), "new report");
        EXPECT_TRUE(std::filesystem::is_symlink(tree.path("r.txt")));
        EXPECT_THAT(everything_in(tree), UnorderedElementsAreArray(expected));
    }
}

TEST(ReplacingFilePosix, RefusesALinkLoopAndATargetThatIsNoRegularFile) {
    const FolderTree tree;
    tree.link("loop.txt", "loop.txt");
    ASSERT_EQ(::mkfifo(tree.path("fifo").c_str(), 0600), 0);
    tree.link("to-fifo.txt", "fifo");
    const std::pair<const char*, std::error_code> cases[] = {
        {"loop.txt", std::make_error_code(std::errc::too_many_symbolic_link_levels)},
        {"fifo", not_a_regular_file()},
        {"to-fifo.txt", not_a_regular_file()},
    };
    for (const auto& [name, reason] : cases) {
        ReplacingFile file(tree.root() + name);
        file.write("x");
        EXPECT_FALSE(file.commit()) << name;
        EXPECT_EQ(file.error(), error_text(reason)) << name;
    }
    EXPECT_THAT(everything_in(tree),
                UnorderedElementsAreArray({"loop.txt", "fifo", "to-fifo.txt"}));
    EXPECT_TRUE(std::filesystem::is_fifo(tree.path("fifo")));
}

struct KeptMode {
    mode_t earlier;  // 0: no earlier file
    mode_t umask;
    mode_t expected;
};

TEST(ReplacingFilePosix, KeepsTheModeOfTheFileItReplacesAndHidesItsTemporaryFile) {
    const KeptMode cases[] = {
        {0600, 022, 0600}, {0640, 077, 0640}, {0755, 022, 0755}, {0, 022, 0644}, {0, 027, 0640},
    };
    for (const KeptMode& c : cases) {
        SCOPED_TRACE(::testing::Message() << std::oct << c.earlier << " " << c.umask);
        const FolderTree tree;
        const std::filesystem::path report = tree.path("r.txt");
        if (c.earlier != 0) {
            ASSERT_TRUE(write_whole_file(report.string(), "earlier"));
            ASSERT_EQ(::chmod(report.c_str(), c.earlier), 0);
        }
        const mode_t previous_umask = ::umask(c.umask);
        {
            ReplacingFile file(report.string());
            file.write("new");
            for (const auto& entry : std::filesystem::directory_iterator(tree.path(""))) {
                if (entry.path() != report) {
                    EXPECT_EQ(mode_of(entry.path()), 0600u);
                }
            }
            EXPECT_TRUE(file.commit());
        }
        ::umask(previous_umask);
        EXPECT_EQ(mode_of(report), c.expected);
        EXPECT_EQ(read_whole_file(report.string()), "new");
    }
}

TEST(ReplacingFilePosix, NeverWritesThroughALinkPlantedBesideTheTarget) {
    const FolderTree tree;
    ASSERT_TRUE(write_whole_file(tree.root() + "victim.txt", "victim"));
    tree.link("r.txt.part", "victim.txt");
    tree.link("dangling", "created-through-the-link");
    {
        ReplacingFile file(tree.root() + "r.txt");
        file.write("report");
        EXPECT_TRUE(file.commit());
    }
    EXPECT_EQ(read_whole_file(tree.root() + "victim.txt"), "victim");
    EXPECT_EQ(read_whole_file(tree.root() + "r.txt"), "report");

    // The temporary file is only ever made new: a link at its name is refused, never followed.
    for (const char* link : {"r.txt.part", "dangling"}) {
        FileHandle file = -1;
        EXPECT_EQ(replacement_calls().create(tree.root() + link, file), std::errc::file_exists);
    }
    EXPECT_THAT(everything_in(tree),
                UnorderedElementsAreArray({"victim.txt", "r.txt.part", "dangling", "r.txt"}));
}

TEST(ReplacingFilePosixDeathTest, RemovesItsTemporaryFileWhenTheProgramIsInterrupted) {
    for (const int signal : {SIGINT, SIGTERM, SIGHUP}) {
        const FolderTree tree;
        const Text report = tree.root() + "r.txt";
        ASSERT_TRUE(write_whole_file(report, "earlier"));
        EXPECT_EXIT(
            {
                remove_temporary_files_on_interruption();
                ReplacingFile file(report);
                file.write("half a rep");
                ::raise(signal);
            },
            ::testing::KilledBySignal(signal), "")
            << signal;
        EXPECT_THAT(everything_in(tree), ElementsAre("r.txt"));
        EXPECT_EQ(read_whole_file(report), "earlier");
    }
}

TEST(ReplacingFilePosixDeathTest, LeavesASignalThatIsIgnoredIgnored) {
    const FolderTree tree;
    const Text report = tree.root() + "r.txt";
    EXPECT_EXIT(
        {
            ::signal(SIGHUP, SIG_IGN);
            remove_temporary_files_on_interruption();
            {
                ReplacingFile file(report);
                file.write("report");
                ::raise(SIGHUP);
                if (!file.commit()) std::_Exit(1);
            }
            std::_Exit(7);
        },
        ::testing::ExitedWithCode(7), "");
    EXPECT_EQ(read_whole_file(report), "report");
    EXPECT_THAT(everything_in(tree), ElementsAre("r.txt"));
}

}  // namespace
}  // namespace melodex
