#include <langinfo.h>
#include <unistd.h>

#include <array>
#include <clocale>
#include <cstdlib>
#include <filesystem>
#include <string_view>

#include "core/system.h"

namespace melodex {

CharacterRule system_character_rule() {
    std::setlocale(LC_CTYPE, "");
    const std::string_view codeset = ::nl_langinfo(CODESET);
    constexpr std::array two_byte_codesets{"GBK", "GB18030", "GB2312", "BIG5", "BIG5-HKSCS"};
    for (const std::string_view two_byte : two_byte_codesets) {
        if (codeset == two_byte) return CharacterRule::two_byte;
    }
    return CharacterRule::one_byte;
}

Text program_directory() {
    const char* data_home = std::getenv("XDG_DATA_HOME");
    const char* home = std::getenv("HOME");
    Text directory;
    if (data_home != nullptr && data_home[0] == '/') {
        directory = Text(data_home) + "/melodex";
    } else {
        directory = Text(home != nullptr ? home : "") + "/.local/share/melodex";
    }
    std::error_code ignored;
    std::filesystem::create_directories(directory, ignored);
    return directory;
}

Text system_text(std::string_view utf8) {
    return Text(utf8);
}

bool standard_error_is_terminal() {
    return ::isatty(STDERR_FILENO) == 1;
}

void write_standard_output_as_bytes() {}

}  // namespace melodex
