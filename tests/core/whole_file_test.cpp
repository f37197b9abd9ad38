#include "core/whole_file.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <functional>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "tests/support/folder_tree.h"

namespace melodex {
namespace {

using ::testing::ElementsAre;
using testing::FolderTree;

// The names in a folder, whatever they are.
std::vector<std::string> names_in(const std::filesystem::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

// What the system says when the path cannot be read, in its own words.
Text reason_of_reading(const Text& path) {
    Text ignored;
    return error_text(read_regular_file(path, 1, ignored));
}

// Swaps the system calls of replacements for a test's and puts the platform's back at the end.
class CallsSwap {
  public:
    CallsSwap() : saved_(replacement_calls()) {}
    ~CallsSwap() { replacement_calls() = saved_; }
    CallsSwap(const CallsSwap&) = delete;
    CallsSwap& operator=(const CallsSwap&) = delete;

  private:
    ReplacementCalls saved_;
};

TEST(WholeFile, ReadsAndWritesEveryByte) {
    const FolderTree tree;
    const Text path = tree.root() + "f.txt";
    const std::string bytes("a\0b\r\n\xFF", 6);
    EXPECT_TRUE(write_whole_file(path, bytes));
    EXPECT_EQ(read_whole_file(path), bytes);
    EXPECT_TRUE(write_whole_file(path, ""));
    EXPECT_EQ(read_whole_file(path), "");
    EXPECT_EQ(read_whole_file(tree.root() + "missing"), "");
    EXPECT_EQ(read_whole_file(""), "");
    EXPECT_FALSE(write_whole_file("", "x"));
    EXPECT_FALSE(write_whole_file(tree.root() + "missing/f.txt", "x"));
}

TEST(ReadRegularFile, ReadsUpToItsLimitAndRefusesMoreOrAFolder) {
    const FolderTree tree{"folder/"};
    const Text path = tree.root() + "f.txt";
    ASSERT_TRUE(write_whole_file(path, "12345"));
    Text bytes = "left over";
    EXPECT_FALSE(read_regular_file(path, 5, bytes));
    EXPECT_EQ(bytes, "12345");
    EXPECT_EQ(read_regular_file(path, 4, bytes), std::errc::file_too_large);
    EXPECT_EQ(bytes, "");
    EXPECT_EQ(read_regular_file(tree.root() + "folder", 5, bytes), std::errc::is_a_directory);
    EXPECT_EQ(read_regular_file(tree.root() + "missing", 5, bytes),
              std::errc::no_such_file_or_directory);
    EXPECT_EQ(read_regular_file("", 5, bytes), std::errc::no_such_file_or_directory);

    EXPECT_FALSE(create_empty_file(tree.root() + "new.txt"));
    EXPECT_EQ(std::filesystem::file_size(tree.path("new.txt")), 0u);
    EXPECT_EQ(create_empty_file(path), std::errc::file_exists);
    EXPECT_EQ(read_whole_file(path), "12345");
}

TEST(ReplacingFile, ReplacesTheTargetOnlyWhenCommitted) {
    const FolderTree tree;
    const Text path = tree.root() + "report.txt";
    ASSERT_TRUE(write_whole_file(path, "earlier"));
    {
        ReplacingFile abandoned(path);
        abandoned.write("half a rep");
        EXPECT_EQ(names_in(tree.path("")).size(), 2u);
    }
    EXPECT_EQ(read_whole_file(path), "earlier");
    EXPECT_THAT(names_in(tree.path("")), ElementsAre("report.txt"));
    {
        ReplacingFile file(path);
        file.write("new ");
        file.write(std::string(200'000, 'x'));  // more than is gathered before a write
        file.write("report");
        EXPECT_EQ(read_whole_file(path), "earlier");
        EXPECT_TRUE(file.commit());
        EXPECT_EQ(file.error(), "");
    }
    EXPECT_EQ(read_whole_file(path), "new " + std::string(200'000, 'x') + "report");
    EXPECT_THAT(names_in(tree.path("")), ElementsAre("report.txt"));
}

TEST(ReplacingFile, LeavesOneWholeFileWhenTwoReplaceItAtOnce) {
    const FolderTree tree;
    const Text path = tree.root() + "report.txt";
    ReplacingFile first(path);
    ReplacingFile second(path);
    for (int k = 0; k < 1000; ++k) {
        first.write("first run\r\n");
        second.write("second\r\n");
    }
    EXPECT_TRUE(second.commit());
    EXPECT_TRUE(first.commit());
    Text expected;
    for (int k = 0; k < 1000; ++k) expected += "first run\r\n";
    EXPECT_EQ(read_whole_file(path), expected);
    EXPECT_THAT(names_in(tree.path("")), ElementsAre("report.txt"));
}

TEST(ReplacingFile, SaysSoWhenTheTargetCannotBeWritten) {
    const FolderTree tree{"report.txt/"};
    const Text in_missing_folder = tree.root() + testing::native("missing/report.txt");
    ReplacingFile missing_folder(in_missing_folder);
    EXPECT_FALSE(missing_folder.commit());
    EXPECT_EQ(missing_folder.error(), reason_of_reading(in_missing_folder));
    ReplacingFile no_name("");
    EXPECT_FALSE(no_name.commit());
    EXPECT_NE(no_name.error(), "");
    // A folder stands where the report should go: the earlier content stays.
    ReplacingFile blocked(tree.root() + "report.txt");
    blocked.write("x");
    EXPECT_FALSE(blocked.commit());
    EXPECT_EQ(blocked.error(), error_text(std::make_error_code(std::errc::is_a_directory)));
    EXPECT_TRUE(std::filesystem::is_directory(tree.path("report.txt")));
    EXPECT_THAT(names_in(tree.path("")), ElementsAre("report.txt"));
}

struct FailingCall {
    const char* call;
    std::function<void(ReplacementCalls&)> make_fail;
    std::errc reason;
    bool replaced;  // whether the new file is in place all the same
};

std::error_code no_space() {
    return std::make_error_code(std::errc::no_space_on_device);
}
std::error_code io_error() {
    return std::make_error_code(std::errc::io_error);
}

TEST(ReplacingFile, NamesTheReasonOfAFailedStepAndLeavesNoTemporaryFile) {
    const FailingCall cases[] = {
        {"create",
         [](ReplacementCalls& c) {
             c.create = [](const Text&, FileHandle&) { return no_space(); };
         },
         std::errc::no_space_on_device, false},
        {"write",
         [](ReplacementCalls& c) {
             c.write = [](FileHandle, std::string_view) { return no_space(); };
         },
         std::errc::no_space_on_device, false},
        {"finish",
         [](ReplacementCalls& c) { c.finish = [](FileHandle, const Text&) { return io_error(); }; },
         std::errc::io_error, false},
        {"close",
         [](ReplacementCalls& c) {
             static decltype(c.close) real = c.close;
             c.close = [](FileHandle file) {
                 real(file);
                 return io_error();
             };
         },
         std::errc::io_error, false},
        {"rename",
         [](ReplacementCalls& c) {
             c.rename = [](const Text&, const Text&) {
                 return std::make_error_code(std::errc::permission_denied);
             };
         },
         std::errc::permission_denied, false},
        {"flush_folder",
         [](ReplacementCalls& c) { c.flush_folder = [](const Text&) { return io_error(); }; },
         std::errc::io_error, true},
    };
    for (const FailingCall& c : cases) {
        SCOPED_TRACE(c.call);
        const FolderTree tree;
        const Text path = tree.root() + "report.txt";
        ASSERT_TRUE(write_whole_file(path, "earlier"));
        const CallsSwap swap;
        c.make_fail(replacement_calls());
        ReplacingFile file(path);
        file.write(std::string(100'000, 'x'));
        file.write("end");
        EXPECT_FALSE(file.commit());
        EXPECT_EQ(file.error(), error_text(std::make_error_code(c.reason)));
        EXPECT_EQ(read_whole_file(path),
                  c.replaced ? std::string(100'000, 'x') + "end" : "earlier");
        EXPECT_THAT(names_in(tree.path("")), ElementsAre("report.txt"));
    }
}

TEST(ReplacingFile, SaysWhenItsTemporaryFileCouldNotBeRemoved) {
    const FolderTree tree;
    const Text path = tree.root() + "report.txt";
    const CallsSwap swap;
    replacement_calls().rename = [](const Text&, const Text&) { return io_error(); };
    replacement_calls().remove = [](const Text&) {
        return std::make_error_code(std::errc::permission_denied);
    };
    ReplacingFile file(path);
    EXPECT_FALSE(file.commit());
    const std::vector<std::string> left = names_in(tree.path(""));
    ASSERT_EQ(left.size(), 1u);
    EXPECT_EQ(file.error(),
              join_texts(error_text(io_error()), "; the temporary file ", tree.root(), left[0],
                         " could not be removed: ",
                         error_text(std::make_error_code(std::errc::permission_denied))));
}

TEST(ReplacingFile, FlushesTheFileBeforeItsRenameAndTheFolderAfterIt) {
    static std::vector<std::string> calls;
    static ReplacementCalls real;
    calls.clear();
    const CallsSwap swap;
    real = replacement_calls();
    ReplacementCalls& c = replacement_calls();
    c.finish = [](FileHandle file, const Text& target) {
        calls.push_back("finish " + target);
        return real.finish(file, target);
    };
    c.close = [](FileHandle file) {
        calls.push_back("close");
        return real.close(file);
    };
    c.rename = [](const Text& from, const Text& to) {
        calls.push_back("rename to " + to);
        return real.rename(from, to);
    };
    c.flush_folder = [](const Text& folder) {
        calls.push_back("flush " + folder);
        return real.flush_folder(folder);
    };
    const FolderTree tree;
    const Text path = tree.root() + "report.txt";
    ReplacingFile file(path);
    file.write("report");
    EXPECT_TRUE(file.commit());
    EXPECT_THAT(
        calls, ElementsAre("finish " + path, "close", "rename to " + path, "flush " + tree.root()));
    EXPECT_EQ(read_whole_file(path), "report");
}

TEST(ReplacingFile, MakesItsTemporaryFileInTheTargetsFolderUnderANameOfItsOwn) {
    static std::vector<Text> created;
    static ReplacementCalls real;
    created.clear();
    const CallsSwap swap;
    real = replacement_calls();
    replacement_calls().create = [](const Text& path, FileHandle& file) {
        created.push_back(path);
        return real.create(path, file);
    };
    const FolderTree tree;
    const Text long_name(240, 'n');
    for (const Text& name : {Text("report.txt"), long_name}) {
        ReplacingFile first(tree.root() + name);
        ReplacingFile second(tree.root() + name);
    }
    ASSERT_EQ(created.size(), 4u);
    EXPECT_NE(created[0], created[1]);
    EXPECT_NE(created[2], created[3]);
    const auto expect_name = [&](const Text& temporary, const Text& name_part) {
        const Text prefix = join_texts(tree.root(), ".", name_part, ".");
        ASSERT_EQ(temporary.size(), prefix.size() + 6) << temporary;
        EXPECT_EQ(temporary.substr(0, prefix.size()), prefix);
        for (const char c : temporary.substr(prefix.size()))
            EXPECT_TRUE(std::isalnum(static_cast<unsigned char>(c))) << c;
    };
    expect_name(created[0], "report.txt");
    expect_name(created[2], long_name.substr(0, 200));
    EXPECT_THAT(names_in(tree.path("")), ::testing::IsEmpty());
}

}  // namespace
}  // namespace melodex
