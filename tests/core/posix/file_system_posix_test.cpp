// The POSIX listing under the walks: file systems of the kernel's state left out, paths longer
// than the system takes in one call, and folders that cannot be read.
#include <fcntl.h>
#include <grp.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "core/file_system.h"
#include "core/search.h"
#include "core/walk.h"
#include "tests/support/folder_tree.h"

namespace melodex {
namespace {

using ::testing::ElementsAre;
using testing::FolderTree;
using ::testing::IsEmpty;
using testing::walked;

// The exit status of a child that could not make the setting its test needs.
constexpr int cannot_set_up = 77;

struct ChildResult {
    int status = -1;  // the child's exit status, -1 when it did not exit
    std::vector<Text> lines;
};

// Runs `body` in a child process, for what a test must not do to the test program itself (drop
// its user, change its root), and gives back the lines the body returned.
ChildResult run_in_child(const std::function<std::vector<Text>()>& body) {
    int ends[2];
    if (::pipe(ends) != 0) return {};
    std::fflush(nullptr);
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(ends[0]);
        Text bytes;
        for (const Text& line : body()) bytes += line + '\n';
        const bool written =
            ::write(ends[1], bytes.data(), bytes.size()) == static_cast<ssize_t>(bytes.size());
        ::_exit(written ? 0 : 1);
    }
    ::close(ends[1]);
    ChildResult result;
    Text bytes;
    char buffer[4096];
    for (ssize_t got; (got = ::read(ends[0], buffer, sizeof buffer)) > 0;)
        bytes.append(buffer, got);
    ::close(ends[0]);
    int status = 0;
    if (child > 0 && ::waitpid(child, &status, 0) == child && WIFEXITED(status)) {
        result.status = WEXITSTATUS(status);
    }
    for (std::size_t at = 0, end; (end = bytes.find('\n', at)) != Text::npos; at = end + 1) {
        result.lines.push_back(bytes.substr(at, end - at));
    }
    return result;
}

// What a walk of `folder` with the name pattern "*" reaches: each file's full path, and
// "not read: FOLDER: REASON" for each folder it could not read.
std::vector<Text> walk_all(Text folder, const Text& left_out = Text()) {
    std::vector<Text> reached;
    walk_folder(
        folder, [] { return "*"; },
        [&](const Text& visited, const FolderEntry& file) {
            reached.push_back((visited + file.name).substr(left_out.size()));
        },
        {},
        [&](const Text& visited, const Text& reason) {
            reached.push_back("not read: " + visited.substr(left_out.size()) + ": " + reason);
        });
    return reached;
}

TEST(PosixListing, EntersNoKernelStateFolderThroughALink) {
    const FolderTree tree{"a.mp3", "music/b.mp3"};
    tree.link("proc", "/proc");
    tree.link("self", "/proc/self");  // its cwd and root lead back into the whole tree
    tree.link("sys", "/sys");
    Text folder = tree.root();
    int visits = 0;
    std::vector<Text> reached;
    walk_folder(
        folder, [] { return "*"; },
        [&](const Text& visited, const FolderEntry& file) {
            reached.push_back((visited + file.name).substr(tree.root().size()));
        },
        [&] { return ++visits > 0; });
    EXPECT_THAT(reached, ElementsAre("a.mp3", "music/b.mp3"));
    EXPECT_EQ(visits, 5);  // the root, music and the three links, each found empty

    for (const char* kernel_state : {"/proc/", "/sys/"}) {
        const FolderListing listing = list_folder(Location(kernel_state));
        EXPECT_TRUE(listing.identity) << kernel_state;
        EXPECT_THAT(listing.entries, IsEmpty()) << kernel_state;
        EXPECT_EQ(listing.failure, "") << kernel_state;
    }
}

// A system of its own, in a mount namespace with a tmpfs for its root: the kernel's file systems
// mounted where a system keeps them, a music folder holding a link to the root.
std::vector<Text> walks_of_a_small_system() {
    if (::unshare(CLONE_NEWNS) != 0 ||
        ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
        ::mount("melodex", "/tmp", "tmpfs", 0, nullptr) != 0) {
        ::_exit(cannot_set_up);
    }
    struct Mount {
        const char* type;
        const char* folder;
        bool needed;
    };
    for (const Mount& mount :
         {Mount{"proc", "/tmp/proc", true}, Mount{"sysfs", "/tmp/sys", true},
          Mount{"devtmpfs", "/tmp/dev", true}, Mount{"cgroup2", "/tmp/cgroup", false},
          Mount{"mqueue", "/tmp/mqueue", false}}) {
        ::mkdir(mount.folder, 0755);
        if (::mount(mount.type, mount.folder, mount.type, 0, nullptr) != 0) {
            if (mount.needed) ::_exit(cannot_set_up);
            ::rmdir(mount.folder);
        }
    }
    if (::chroot("/tmp") != 0 || ::chdir("/") != 0 || ::mkdir("/music", 0755) != 0 ||
        ::symlink("/", "/music/everything") != 0 ||
        ::symlink("/proc/self/cwd", "/music/where-i-am") != 0) {
        ::_exit(cannot_set_up);
    }
    for (const char* file : {"/top.mp3", "/music/a.mp3"}) std::fclose(std::fopen(file, "wb"));

    std::vector<Text> reached = walk_all("/music/");
    reached.push_back("--");
    for (const Text& path : walk_all("")) reached.push_back(path);
    return reached;
}

TEST(PosixListing, WalksALinkToTheRootAndTheRootItselfWithoutTheKernelsFileSystems) {
    const ChildResult result = run_in_child(walks_of_a_small_system);
    if (result.status == cannot_set_up) GTEST_SKIP() << "needs the right to mount (root)";
    EXPECT_EQ(result.status, 0);
    // The tmpfs holding the music is walked; the devtmpfs, proc and sysfs beside it are not.
    EXPECT_THAT(result.lines, ElementsAre("/music/a.mp3", "/music/everything/top.mp3", "--",
                                          "/top.mp3", "/music/a.mp3"));
}

// A chain of folders below the tree whose path is longer than `length`, made and removed one
// step at a time: no call takes the whole path.
class LongPath {
  public:
    LongPath(const FolderTree& tree, std::size_t length) {
        const Text name(250, 'n');
        int folder = ::open(tree.root().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        while (relative_.size() <= length) {
            ::mkdirat(folder, name.c_str(), 0755);
            folders_.push_back(folder);
            folder = ::openat(folder, name.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
            relative_ += name + '/';
        }
        folders_.push_back(folder);
    }
    ~LongPath() {
        const Text name(250, 'n');
        for (const char* file : {"deep song.mp3", "gone.mp3"}) ::unlinkat(folders_.back(), file, 0);
        for (std::size_t level = folders_.size() - 1; level > 0; --level) {
            ::close(folders_[level]);
            ::unlinkat(folders_[level - 1], name.c_str(), AT_REMOVEDIR);
        }
        ::close(folders_[0]);
    }
    LongPath(const LongPath&) = delete;
    LongPath& operator=(const LongPath&) = delete;

    // The deepest folder, open, and its path below the tree's root.
    int deepest() const { return folders_.back(); }
    const Text& relative() const { return relative_; }

  private:
    std::vector<int> folders_;
    Text relative_;
};

TEST(PosixListing, ReachesListsAndMeasuresPathsLongerThanTheSystemTakes) {
    const FolderTree tree{"a.mp3"};
    const LongPath deep(tree, 5000);
    const int file =
        ::openat(deep.deepest(), "deep song.mp3", O_WRONLY | O_CREAT | O_CLOEXEC, 0644);
    ASSERT_GE(file, 0);
    ASSERT_EQ(::ftruncate(file, 2 * 1048576), 0);
    ::close(file);
    ASSERT_EQ(::symlinkat("missing", deep.deepest(), "gone.mp3"), 0);
    const Text folder = tree.root() + deep.relative();
    ASSERT_GT(folder.size(), 5000u);

    EXPECT_THAT(walked(tree, "*.mp3"), ElementsAre("a.mp3", deep.relative() + "deep song.mp3",
                                                   deep.relative() + "gone.mp3"));
    EXPECT_EQ(file_byte_count(folder + "deep song.mp3"), 2 * 1048576);
    EXPECT_EQ(file_byte_count(folder + "gone.mp3"), -1);
    // Sizes read together, the folder looked up once; a file given by a path outside the folder
    // is looked up whole.
    EXPECT_THAT(file_byte_counts(folder, {folder + "deep song.mp3", folder + "gone.mp3",
                                          folder + "missing.mp3", tree.root() + "a.mp3"}),
                ElementsAre(2 * 1048576, -1, -1, 0));
    EXPECT_THAT(file_byte_counts(folder + "missing/", {folder + "missing/x.mp3"}), ElementsAre(-1));
    EXPECT_EQ(entry_kind(folder), EntryKind::folder);
    EXPECT_EQ(entry_kind(folder + "deep song.mp3"), EntryKind::file);
    EXPECT_EQ(entry_kind(folder + "gone.mp3"), EntryKind::file);  // a dangling link
    EXPECT_EQ(entry_kind(folder + "missing"), EntryKind::none);

    Text searched = tree.root();
    std::vector<Text> rows;
    list_matches(
        "deep song", searched,
        [&](const Location& file, const Text& size) { rows.push_back(file.path + '\t' + size); },
        {});
    EXPECT_THAT(rows, ElementsAre(folder + "deep song.mp3\t2MB"));
}

// Runs the body as a user the tree's folders do not belong to: permissions do not bind root.
std::vector<Text> as_another_user(const std::function<std::vector<Text>()>& body) {
    if (::geteuid() == 0 &&
        (::setgroups(0, nullptr) != 0 || ::setresgid(65534, 65534, 65534) != 0 ||
         ::setresuid(65534, 65534, 65534) != 0)) {
        ::_exit(cannot_set_up);
    }
    return body();
}

TEST(PosixListing, TellsEachFolderItCannotReadAndPassesOverIt) {
    const FolderTree tree{"a.mp3", "locked/b.mp3", "open/c.mp3"};
    std::filesystem::permissions(tree.path("locked"), std::filesystem::perms::none);
    const ChildResult result = run_in_child([&] {
        return as_another_user([&] {
            std::vector<Text> reached = walk_all(tree.root(), tree.root());
            for (const Text& path : walk_all(tree.root() + "locked", tree.root())) {
                reached.push_back(path);
            }
            // A folder that is not there is not one that could not be read.
            for (const Text& path : walk_all(tree.root() + "missing", tree.root())) {
                reached.push_back(path);
            }
            return reached;
        });
    });
    if (result.status == cannot_set_up) GTEST_SKIP() << "cannot run as another user";
    EXPECT_EQ(result.status, 0);
    EXPECT_THAT(result.lines, ElementsAre("a.mp3", "not read: locked/: Permission denied",
                                          "open/c.mp3", "not read: locked/: Permission denied"));
}

}  // namespace
}  // namespace melodex
