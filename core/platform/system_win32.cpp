#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <array>
#include <cstdio>

#include "core/platform/wide_path_win32.h"
#include "core/system.h"

namespace melodex {

CharacterRule system_character_rule() {
    // Simplified Chinese (GBK), Traditional Chinese (Big5), Korean and Japanese.
    constexpr std::array two_byte_code_pages{936u, 950u, 949u, 932u};
    const UINT code_page = ::GetACP();
    for (const UINT two_byte : two_byte_code_pages) {
        if (code_page == two_byte) return CharacterRule::two_byte;
    }
    return CharacterRule::one_byte;
}

Text program_directory() {
    return win32::text_leading_to(win32::executable_folder());
}

Text system_text(std::string_view utf8) {
    if (utf8.empty()) return {};
    const int utf8_length = static_cast<int>(utf8.size());
    const int wide_length = ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), utf8_length, nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(wide_length), L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), utf8_length, wide.data(), wide_length);
    const int length =
        ::WideCharToMultiByte(CP_ACP, 0, wide.data(), wide_length, nullptr, 0, nullptr, nullptr);
    Text text(static_cast<std::size_t>(length), '\0');
    ::WideCharToMultiByte(CP_ACP, 0, wide.data(), wide_length, text.data(), length, nullptr,
                          nullptr);
    return text;
}

bool standard_error_is_terminal() {
    DWORD mode = 0;
    return ::GetConsoleMode(::GetStdHandle(STD_ERROR_HANDLE), &mode) != 0;
}

void write_standard_output_as_bytes() {
    ::_setmode(::_fileno(stdout), _O_BINARY);
}

}  // namespace melodex
