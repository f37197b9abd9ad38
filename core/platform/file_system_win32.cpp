#include <windows.h>

#include <string>

#include "core/file_system.h"
#include "core/platform/wide_path_win32.h"

namespace melodex {

const char path_separator = '\\';

namespace {

using win32::ansi_text;

// Closes a find handle however the listing ends.
class FindHandle {
  public:
    explicit FindHandle(HANDLE handle) : handle_(handle) {}
    ~FindHandle() {
        if (valid()) ::FindClose(handle_);
    }
    FindHandle(const FindHandle&) = delete;
    FindHandle& operator=(const FindHandle&) = delete;
    bool valid() const { return handle_ != INVALID_HANDLE_VALUE; }
    HANDLE get() const { return handle_; }

  private:
    HANDLE handle_;
};

// The file ID of the folder the path leads to, junctions and folder links followed, so that a
// folder reached by two ways is known as one.
std::optional<FolderIdentity> identity_of(const std::wstring& folder) {
    const HANDLE handle =
        ::CreateFileW(folder.c_str(), FILE_READ_ATTRIBUTES,
                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                      OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return std::nullopt;
    BY_HANDLE_FILE_INFORMATION info{};
    const bool known = ::GetFileInformationByHandle(handle, &info) != 0;
    ::CloseHandle(handle);
    if (!known) return std::nullopt;
    return FolderIdentity{info.dwVolumeSerialNumber,
                          (std::uint64_t{info.nFileIndexHigh} << 32) | info.nFileIndexLow};
}

// Why a folder could not be listed, in the system's words; nothing when no folder is there.
Text failure_of(DWORD error) {
    if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ||
        error == ERROR_DIRECTORY) {
        return Text();
    }
    char message[512] = {};
    const DWORD length =
        ::FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error,
                         0, message, sizeof message, nullptr);
    Text failure(message, length);
    while (!failure.empty() && (failure.back() == '\r' || failure.back() == '\n' ||
                                failure.back() == ' ' || failure.back() == '.')) {
        failure.pop_back();
    }
    return failure.empty() ? "error " + std::to_string(error) : failure;
}

}  // namespace

FolderListing list_folder(const Location& folder) {
    FolderListing listing;
    std::wstring full = win32::full_path_of(folder);
    if (!full.empty() && full.back() != L'\\') full += L'\\';
    const std::wstring path = win32::long_path(full);
    WIN32_FIND_DATAW found{};
    const FindHandle find(::FindFirstFileExW((path + L"*").c_str(), FindExInfoStandard, &found,
                                             FindExSearchNameMatch, nullptr,
                                             FIND_FIRST_EX_LARGE_FETCH));
    if (!find.valid()) {
        listing.failure = failure_of(::GetLastError());
        return listing;
    }
    listing.identity = identity_of(path);
    do {
        const std::wstring_view name = found.cFileName;
        if (name == L"." || name == L"..") continue;
        FolderEntry entry{ansi_text(name), (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0,
                          Text()};
        // "?" stands for each character the code page cannot spell (no real name holds one):
        // the entry is reached by its exact path, as is everything inside a folder that is.
        if (!folder.exact.empty() || entry.name.find('?') != Text::npos) {
            entry.exact_path = win32::utf8_text(full + std::wstring(name));
        }
        listing.entries.push_back(std::move(entry));
    } while (::FindNextFileW(find.get(), &found));
    const DWORD ended = ::GetLastError();
    if (ended != ERROR_NO_MORE_FILES) listing.failure = failure_of(ended);
    return listing;
}

std::int64_t file_byte_count(const Location& file) {
    WIN32_FILE_ATTRIBUTE_DATA found{};
    if (!::GetFileAttributesExW(win32::reachable_path(file).c_str(), GetFileExInfoStandard,
                                &found)) {
        return -1;
    }
    return static_cast<std::int64_t>((std::uint64_t{found.nFileSizeHigh} << 32) |
                                     found.nFileSizeLow);
}

std::vector<std::int64_t> file_byte_counts(const Text&, const std::vector<Location>& files) {
    // A long path is looked up whole by the system at every call.
    std::vector<std::int64_t> sizes;
    sizes.reserve(files.size());
    for (const Location& file : files) sizes.push_back(file_byte_count(file));
    return sizes;
}

EntryKind entry_kind(const Text& path) {
    const DWORD attributes = ::GetFileAttributesW(win32::reachable_path(Location(path)).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return EntryKind::none;
    return (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0 ? EntryKind::folder : EntryKind::file;
}

}  // namespace melodex
