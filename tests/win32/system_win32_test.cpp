// What the Windows system source tells the core, in code page 936.
#include <windows.h>

#include <gtest/gtest.h>

#include "core/file_system.h"
#include "core/system.h"

namespace melodex {
namespace {

TEST(Win32System, FollowsTheAnsiCodePage) {
    ASSERT_EQ(::GetACP(), 936u) << "the tests run in code page 936";
    EXPECT_EQ(system_character_rule(), CharacterRule::two_byte);
    EXPECT_EQ(system_text("MP3过滤关键字.txt"), "MP3\xB9\xFD\xC2\xCB\xB9\xD8\xBC\xFC\xD7\xD6.txt");
    EXPECT_EQ(system_text("mp3"), "mp3");
    EXPECT_EQ(system_text(""), "");
    EXPECT_FALSE(standard_error_is_terminal());  // the test runner reads it
}

TEST(Win32System, NamesTheFolderOfTheExecutable) {
    char module[MAX_PATH] = {};
    ::GetModuleFileNameA(nullptr, module, MAX_PATH);
    const Text directory = program_directory();
    ASSERT_FALSE(directory.empty());
    EXPECT_NE(directory.back(), '\\');
    const Text executable = module;
    EXPECT_EQ(executable.substr(0, directory.size() + 1), directory + "\\");
    EXPECT_EQ(executable.find('\\', directory.size() + 1), Text::npos);
    EXPECT_EQ(entry_kind(directory), EntryKind::folder);
}

}  // namespace
}  // namespace melodex
