#include "core/platform/wide_path_win32.h"

namespace melodex::win32 {

std::wstring wide_text(std::string_view text, UINT code_page) {
    if (text.empty()) return {};
    const int size = static_cast<int>(text.size());
    const int length = ::MultiByteToWideChar(code_page, 0, text.data(), size, nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    ::MultiByteToWideChar(code_page, 0, text.data(), size, wide.data(), length);
    return wide;
}

namespace {

std::string narrow_text(std::wstring_view wide, UINT code_page, DWORD flags,
                        const char* substitute) {
    if (wide.empty()) return {};
    const int size = static_cast<int>(wide.size());
    const int length =
        ::WideCharToMultiByte(code_page, flags, wide.data(), size, nullptr, 0, substitute, nullptr);
    std::string narrow(static_cast<std::size_t>(length), '\0');
    ::WideCharToMultiByte(code_page, flags, wide.data(), size, narrow.data(), length, substitute,
                          nullptr);
    return narrow;
}

}  // namespace

std::string utf8_text(std::wstring_view wide) {
    return narrow_text(wide, CP_UTF8, 0, nullptr);
}

Text ansi_text(std::wstring_view wide) {
    // No best fit: a character the code page lacks never turns into a look-alike ("é" into "e"),
    // which would make a name that does not exist.
    return narrow_text(wide, CP_ACP, WC_NO_BEST_FIT_CHARS, "?");
}

std::wstring full_path(const std::wstring& path) {
    std::wstring full(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            ::GetFullPathNameW(path.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
        if (length == 0) return path;
        if (length < full.size()) {
            full.resize(length);
            return full;
        }
        full.resize(length);
    }
}

std::wstring long_path(std::wstring_view full) {
    constexpr std::wstring_view extended = L"\\\\?\\";
    // Already in a form the system takes as it is ("\\?\", or a device path "\\.\").
    if (full.starts_with(extended) || full.starts_with(L"\\\\.\\")) return std::wstring(full);
    if (full.starts_with(L"\\\\")) return std::wstring(L"\\\\?\\UNC\\").append(full.substr(2));
    return std::wstring(extended).append(full);
}

std::wstring full_path_of(const Location& location) {
    if (!location.exact.empty()) return wide_text(location.exact, CP_UTF8);
    return full_path(wide_text(location.path, CP_ACP));
}

std::wstring reachable_path(const Location& location) {
    if (location.path.empty() && location.exact.empty()) return {};
    return long_path(full_path_of(location));
}

Text text_leading_to(const std::wstring& full) {
    Text text = ansi_text(full);
    if (wide_text(text, CP_ACP) == full) return text;
    const std::wstring long_form = long_path(full);
    std::wstring short_form;
    for (DWORD length = 0;;) {
        const DWORD needed = ::GetShortPathNameW(long_form.c_str(), short_form.data(), length);
        if (needed == 0) return text;
        short_form.resize(needed);
        if (needed < length) break;
        length = needed;
    }
    // Back to the form the path was given in.
    constexpr std::wstring_view unc = L"\\\\?\\UNC\\";
    if (long_form != full && short_form.starts_with(unc)) {
        short_form.replace(0, unc.size(), L"\\\\");
    } else if (long_form != full) {
        short_form.erase(0, 4);
    }
    return ansi_text(short_form);
}

std::wstring executable_folder() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) return {};
        if (length < path.size()) {
            path.resize(length);
            break;
        }
        path.resize(path.size() * 2);
    }
    const std::size_t last_separator = path.rfind(L'\\');
    return last_separator == std::wstring::npos ? std::wstring() : path.substr(0, last_separator);
}

}  // namespace melodex::win32
