// What Explorer reads from melodex.exe and melodex-cli.exe: the program's icon, and a version
// resource naming the product, its version and the program.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/text.h"

namespace melodex {
namespace {

struct Program {
    const char* path;
    const char* name;
};

class ProgramResources : public testing::TestWithParam<Program> {};

Text string_value(const std::vector<char>& info, const Text& name) {
    char* value = nullptr;
    UINT length = 0;
    const Text key = "\\StringFileInfo\\040904B0\\" + name;
    if (!::VerQueryValueA(info.data(), key.c_str(), reinterpret_cast<void**>(&value), &length)) {
        return "(none)";
    }
    return Text(value);
}

TEST_P(ProgramResources, CarryTheIconAndTheVersion) {
    const Program program = GetParam();
    HMODULE module = ::LoadLibraryExA(program.path, nullptr,
                                      LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    ASSERT_NE(module, nullptr);
    EXPECT_NE(::FindResourceA(module, MAKEINTRESOURCEA(MELODEX_PROGRAM_ICON), RT_GROUP_ICON),
              nullptr);
    ::FreeLibrary(module);

    const DWORD size = ::GetFileVersionInfoSizeA(program.path, nullptr);
    ASSERT_GT(size, 0u);
    std::vector<char> info(size);
    ASSERT_TRUE(::GetFileVersionInfoA(program.path, 0, size, info.data()));
    EXPECT_EQ(string_value(info, "ProductName"), "Melodex");
    EXPECT_EQ(string_value(info, "ProductVersion"), MELODEX_VERSION);
    EXPECT_EQ(string_value(info, "FileVersion"), MELODEX_VERSION);
    EXPECT_EQ(string_value(info, "OriginalFilename"), Text(program.name) + ".exe");
    EXPECT_NE(string_value(info, "FileDescription").find("Melodex"), Text::npos);

    // The numbers Explorer shows as the file version.
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(::VerQueryValueA(info.data(), "\\", reinterpret_cast<void**>(&fixed), &length));
    const Text numbers = std::to_string(HIWORD(fixed->dwFileVersionMS)) + "." +
                         std::to_string(LOWORD(fixed->dwFileVersionMS)) + "." +
                         std::to_string(HIWORD(fixed->dwFileVersionLS));
    EXPECT_EQ(numbers, MELODEX_VERSION);
}

INSTANTIATE_TEST_SUITE_P(BothPrograms, ProgramResources,
                         testing::Values(Program{MELODEX_EXE, "melodex"},
                                         Program{MELODEX_CLI_EXE, "melodex-cli"}),
                         [](const testing::TestParamInfo<Program>& info) {
                             return info.index == 0 ? "melodex" : "melodex_cli";
                         });

}  // namespace
}  // namespace melodex
