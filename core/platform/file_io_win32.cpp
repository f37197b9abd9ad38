#include <windows.h>

#include <algorithm>
#include <limits>

#include "core/file_io.h"
#include "core/platform/wide_path_win32.h"
#include "core/temporary_files.h"

namespace melodex {

namespace {

std::error_code last_error() {
    return {static_cast<int>(::GetLastError()), std::system_category()};
}

// Closes a file handle however the call that opened it ends.
class File {
  public:
    explicit File(HANDLE handle) : handle_(handle) {}
    ~File() {
        if (valid()) ::CloseHandle(handle_);
    }
    File(const File&) = delete;
    File& operator=(const File&) = delete;
    bool valid() const { return handle_ != INVALID_HANDLE_VALUE; }
    HANDLE get() const { return handle_; }

  private:
    HANDLE handle_;
};

HANDLE handle_of(FileHandle file) {
    return reinterpret_cast<HANDLE>(file);
}

// `path` as the wide calls take it at any length: whole, with the "\\?\" prefix (which also keeps
// the system from reading anything into the text but the separators). Device names such as NUL,
// and paths that have a prefix already, stay as they are.
std::wstring long_path(const Text& path) {
    return win32::reachable_path(Location(path));
}

std::error_code create_file(const Text& path, FileHandle& file) {
    // Shared for deletion, so that an interruption can remove the file while it is being written.
    const HANDLE handle = ::CreateFileW(long_path(path).c_str(), GENERIC_WRITE, FILE_SHARE_DELETE,
                                        nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return last_error();
    file = reinterpret_cast<FileHandle>(handle);
    return {};
}

std::error_code write_file(FileHandle file, std::string_view bytes) {
    while (!bytes.empty()) {
        const DWORD wanted = static_cast<DWORD>(
            std::min<std::size_t>(bytes.size(), std::numeric_limits<DWORD>::max() / 2));
        DWORD written = 0;
        if (!::WriteFile(handle_of(file), bytes.data(), wanted, &written, nullptr)) {
            return last_error();
        }
        bytes.remove_prefix(written);
    }
    return {};
}

std::error_code finish_file(FileHandle file, const Text&) {
    // The new file takes the permissions its folder gives; the old file's go with it.
    if (!::FlushFileBuffers(handle_of(file))) return last_error();
    return {};
}

std::error_code close_file(FileHandle file) {
    if (!::CloseHandle(handle_of(file))) return last_error();
    return {};
}

std::error_code rename_file(const Text& from, const Text& to) {
    if (!::MoveFileExW(long_path(from).c_str(), long_path(to).c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        return last_error();
    }
    return {};
}

std::error_code flush_folder(const Text&) {
    // MOVEFILE_WRITE_THROUGH has flushed the rename already.
    return {};
}

std::error_code remove_file(const Text& path) {
    const std::wstring wide = long_path(path);
    // A virus scanner or an indexer may hold a file it has just seen for a moment.
    for (int attempt = 0;; ++attempt) {
        if (::DeleteFileW(wide.c_str())) return {};
        if (::GetLastError() != ERROR_SHARING_VIOLATION || attempt == 10) return last_error();
        ::Sleep(50);
    }
}

void delete_file(const char* path) {
    ::DeleteFileW(long_path(path).c_str());
}

BOOL WINAPI remove_tracked_files_and_end(DWORD) {
    remove_tracked_files(delete_file);
    // The system's own handler, next in line, ends the program.
    return FALSE;
}

}  // namespace

Text error_text(const std::error_code& error) {
    Text text = error.message();
    // The system's messages end in a line break.
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' ')) {
        text.pop_back();
    }
    return text;
}

std::error_code read_regular_file(const Text& path, std::size_t limit, Text& bytes) {
    bytes.clear();
    const std::wstring wide = long_path(path);
    const DWORD attributes = ::GetFileAttributesW(wide.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return last_error();
    if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        return std::make_error_code(std::errc::is_a_directory);
    }
    const File file(::CreateFileW(wide.c_str(), GENERIC_READ,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid()) return last_error();
    // A pipe, a console or another device is not read.
    if (::GetFileType(file.get()) != FILE_TYPE_DISK) return not_a_regular_file();
    char buffer[1 << 16];
    for (;;) {
        const DWORD wanted = static_cast<DWORD>(std::min(sizeof buffer, limit + 1 - bytes.size()));
        DWORD got = 0;
        if (!::ReadFile(file.get(), buffer, wanted, &got, nullptr)) {
            bytes.clear();
            return last_error();
        }
        if (got == 0) return {};
        bytes.append(buffer, got);
        if (bytes.size() > limit) {
            bytes.clear();
            return std::make_error_code(std::errc::file_too_large);
        }
    }
}

std::error_code create_empty_file(const Text& path) {
    const File file(::CreateFileW(long_path(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    return file.valid() ? std::error_code() : last_error();
}

std::error_code replacement_target(const Text& path, Text& target) {
    const DWORD attributes = ::GetFileAttributesW(long_path(path).c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        return std::make_error_code(std::errc::is_a_directory);
    }
    target = path;
    return {};
}

ReplacementCalls& replacement_calls() {
    static ReplacementCalls calls{create_file, write_file,   finish_file, close_file,
                                  rename_file, flush_folder, remove_file};
    return calls;
}

void remove_temporary_files_on_interruption() {
    ::SetConsoleCtrlHandler(remove_tracked_files_and_end, TRUE);
}

}  // namespace melodex
