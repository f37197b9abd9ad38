#include "tests/win32/wide_files.h"

#include <windows.h>

#include "core/platform/wide_path_win32.h"

namespace melodex::testing {

std::wstring long_form(const Text& path) {
    return win32::long_path(win32::full_path(win32::wide_text(path, CP_ACP)));
}

bool make_wide_file(const std::wstring& path, std::int64_t size) {
    const HANDLE file = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                      FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    LARGE_INTEGER end{};
    end.QuadPart = size;
    const bool sized =
        ::SetFilePointerEx(file, end, nullptr, FILE_BEGIN) != 0 && ::SetEndOfFile(file) != 0;
    ::CloseHandle(file);
    return sized;
}

void remove_below(const std::wstring& folder, bool with_folder) {
    WIN32_FIND_DATAW found{};
    const HANDLE find = ::FindFirstFileW((folder + L"\\*").c_str(), &found);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            const std::wstring name = found.cFileName;
            if (name == L"." || name == L"..") continue;
            const std::wstring path = folder + L"\\" + name;
            if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
                remove_below(path, true);
            } else {
                ::DeleteFileW(path.c_str());
            }
        } while (::FindNextFileW(find, &found));
        ::FindClose(find);
    }
    if (with_folder) ::RemoveDirectoryW(folder.c_str());
}

std::vector<Text> ansi_listing(const Text& pattern) {
    std::vector<Text> names;
    WIN32_FIND_DATAA found{};
    const HANDLE find = ::FindFirstFileA(pattern.c_str(), &found);
    if (find == INVALID_HANDLE_VALUE) return names;
    do {
        const Text name = found.cFileName;
        if (name != "." && name != "..") names.push_back(name);
    } while (::FindNextFileA(find, &found));
    ::FindClose(find);
    return names;
}

bool wide_entry_exists(const std::wstring& path) {
    return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

}  // namespace melodex::testing
