// The POSIX system facts: the character rule of the locale's codeset, and the program directory
// under the XDG base directory rules.
#include <langinfo.h>

#include <clocale>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>

#include <gtest/gtest.h>

#include "core/system.h"
#include "core/whole_file.h"
#include "tests/support/folder_tree.h"

namespace melodex {
namespace {

using testing::FolderTree;

// Sets or removes an environment variable for the scope of one test.
class EnvironmentScope {
  public:
    EnvironmentScope(const char* name, const std::optional<std::string>& value) : name_(name) {
        if (const char* previous = std::getenv(name)) previous_ = previous;
        set(value);
    }
    ~EnvironmentScope() { set(previous_); }
    EnvironmentScope(const EnvironmentScope&) = delete;
    EnvironmentScope& operator=(const EnvironmentScope&) = delete;

  private:
    void set(const std::optional<std::string>& value) {
        if (value) {
            ::setenv(name_, value->c_str(), 1);
        } else {
            ::unsetenv(name_);
        }
    }

    const char* name_;
    std::optional<std::string> previous_;
};

// The process's character type comes back as it was: the system's rule sets it from the
// environment.
class CharacterTypeScope {
  public:
    CharacterTypeScope() : previous_(std::setlocale(LC_CTYPE, nullptr)) {}
    ~CharacterTypeScope() { std::setlocale(LC_CTYPE, previous_.c_str()); }
    CharacterTypeScope(const CharacterTypeScope&) = delete;
    CharacterTypeScope& operator=(const CharacterTypeScope&) = delete;

  private:
    std::string previous_;
};

// Builds a locale of the character type alone in `folder`, named after its codeset: few systems
// have a two-byte locale installed. False when the system cannot build one.
bool build_locale(const FolderTree& folder, const std::string& codeset) {
    const Text source = folder.root() + "ctype";
    if (!write_whole_file(source, "LC_CTYPE\ncopy \"POSIX\"\nEND LC_CTYPE\n")) return false;
    const std::string command = "localedef -c -f " + codeset + " -i '" + source + "' '" +
                                folder.root() + "test." + codeset + "' > /dev/null 2>&1";
    if (std::system(command.c_str()) == -1) return false;
    return std::filesystem::exists(folder.path("test." + codeset + "/LC_CTYPE"));
}

TEST(SystemCharacterRule, IsTwoByteForTheDoubleByteCodesetsOnly) {
    const FolderTree locales;
    const CharacterTypeScope character_type;
    const EnvironmentScope locale_path("LOCPATH", locales.root());
    const struct {
        std::string locale;
        std::string codeset;  // as the locale names it
        CharacterRule rule;
    } cases[] = {
        {"C", "ANSI_X3.4-1968", CharacterRule::one_byte},
        {"C.UTF-8", "UTF-8", CharacterRule::one_byte},
        {"test.GBK", "GBK", CharacterRule::two_byte},
        {"test.BIG5", "BIG5", CharacterRule::two_byte},
    };
    for (const auto& c : cases) {
        if (c.locale.starts_with("test.") && !build_locale(locales, c.codeset)) {
            GTEST_SKIP() << "localedef cannot build a " << c.codeset << " locale here";
        }
        const EnvironmentScope all("LC_ALL", c.locale);
        EXPECT_EQ(system_character_rule(), c.rule) << c.locale;
        EXPECT_EQ(std::string(::nl_langinfo(CODESET)), c.codeset) << c.locale;
    }
}

TEST(ProgramDirectory, IsMelodexInTheDataHomeOrElseInHomesLocalShare) {
    const FolderTree tree;
    const Text home = tree.root() + "home";
    const Text data_home = tree.root() + "data";
    const struct {
        std::optional<std::string> data_home;
        std::optional<std::string> home;
        Text expected;
    } cases[] = {
        {data_home, home, data_home + "/melodex"},
        {data_home, std::nullopt, data_home + "/melodex"},
        {std::nullopt, home, home + "/.local/share/melodex"},
        {"", home, home + "/.local/share/melodex"},
        {"relative/data", home, home + "/.local/share/melodex"},  // only an absolute one counts
    };
    for (const auto& c : cases) {
        const EnvironmentScope data_home_variable("XDG_DATA_HOME", c.data_home);
        const EnvironmentScope home_variable("HOME", c.home);
        EXPECT_EQ(program_directory(), c.expected) << c.data_home.value_or("(unset)");
        EXPECT_TRUE(std::filesystem::is_directory(c.expected)) << c.expected;
        std::filesystem::remove_all(c.expected);
    }
}

}  // namespace
}  // namespace melodex
