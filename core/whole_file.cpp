#include "core/whole_file.h"

#include <cstdio>
#include <random>

#include "core/file_system.h"
#include "core/temporary_files.h"

namespace melodex {

Text read_whole_file(const Text& path) {
    if (path.empty()) return {};
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) return {};
    Text bytes;
    char buffer[1 << 16];
    for (std::size_t got; (got = std::fread(buffer, 1, sizeof buffer, file)) > 0;) {
        bytes.append(buffer, got);
    }
    std::fclose(file);
    return bytes;
}

bool write_whole_file(const Text& path, std::string_view bytes) {
    if (path.empty()) return false;
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) return false;
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    return std::fclose(file) == 0 && written;
}

namespace {

// Bytes gather up to this many before they are written.
constexpr std::size_t write_size = 1 << 16;
// The name of the file replaced is cut to this many bytes in the temporary file's name, which
// must stay within the longest name a folder takes.
constexpr std::size_t longest_name_part = 200;

// The length of the folder part of a path: up to its last separator that is a character of its
// own ('/' too, which Windows also takes).
std::size_t folder_length(const Text& path) {
    std::size_t length = 0;
    for (std::size_t at = 0; at < path.size(); at += character_width(path, at)) {
        if (path[at] == path_separator || path[at] == '/') length = at + 1;
    }
    return length;
}

Text temporary_name(const Text& target) {
    thread_local std::mt19937_64 random{std::random_device{}()};
    constexpr std::string_view letters =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    const std::size_t folder_end = folder_length(target);
    const std::string_view name = std::string_view(target).substr(folder_end);
    std::size_t name_part = 0;
    while (name_part < name.size()) {
        const std::size_t next = name_part + character_width(name, name_part);
        if (next > longest_name_part) break;
        name_part = next;
    }
    Text temporary = join_texts(target.substr(0, folder_end), ".", name.substr(0, name_part), ".");
    std::uniform_int_distribution<std::size_t> pick(0, letters.size() - 1);
    for (int k = 0; k < 6; ++k) temporary += letters[pick(random)];
    return temporary;
}

}  // namespace

ReplacingFile::ReplacingFile(Text target) {
    if (target.empty()) {
        error_ = std::make_error_code(std::errc::no_such_file_or_directory);
        return;
    }
    if (const std::error_code error = replacement_target(target, target_)) {
        error_ = error;
        return;
    }
    // Another name is tried while the names made are taken.
    for (int attempt = 0; attempt < 100; ++attempt) {
        temporary_ = temporary_name(target_);
        // Known before it exists, so that no interruption can leave it behind.
        tracked_ = track_temporary_file(temporary_.c_str());
        const std::error_code error = replacement_calls().create(temporary_, file_);
        if (!error) {
            open_ = true;
            temporary_exists_ = true;
            return;
        }
        if (tracked_) forget_temporary_file(temporary_.c_str());
        tracked_ = false;
        if (error != std::errc::file_exists) {
            error_ = error;
            return;
        }
    }
    error_ = std::make_error_code(std::errc::file_exists);
}

ReplacingFile::~ReplacingFile() {
    abandon();
}

void ReplacingFile::write(std::string_view bytes) {
    if (!open_) return;
    if (pending_.empty() && bytes.size() >= write_size) {
        if (const std::error_code error = replacement_calls().write(file_, bytes)) fail(error);
        return;
    }
    pending_ += bytes;
    if (pending_.size() >= write_size) write_pending();
}

void ReplacingFile::write_pending() {
    if (pending_.empty()) return;
    const std::error_code error = replacement_calls().write(file_, pending_);
    pending_.clear();
    if (error) fail(error);
}

bool ReplacingFile::commit() {
    if (!open_) return false;
    ReplacementCalls& calls = replacement_calls();
    write_pending();
    if (!open_) return false;
    if (const std::error_code error = calls.finish(file_, target_)) {
        fail(error);
        return false;
    }
    open_ = false;
    if (const std::error_code error = calls.close(file_)) {
        fail(error);
        return false;
    }
    if (const std::error_code error = calls.rename(temporary_, target_)) {
        fail(error);
        return false;
    }
    temporary_exists_ = false;
    abandon();
    // The file is in its place; if the folder cannot be flushed, a crash may still undo the rename,
    // which is said.
    error_ = calls.flush_folder(target_.substr(0, folder_length(target_)));
    return !error_;
}

Text ReplacingFile::error() const {
    if (!error_) return {};
    Text text = error_text(error_);
    if (removal_error_) {
        text += join_texts("; the temporary file ", temporary_,
                           " could not be removed: ", error_text(removal_error_));
    }
    return text;
}

void ReplacingFile::fail(std::error_code error) {
    error_ = error;
    abandon();
}

void ReplacingFile::abandon() {
    ReplacementCalls& calls = replacement_calls();
    if (open_) calls.close(file_);
    open_ = false;
    if (temporary_exists_) removal_error_ = calls.remove(temporary_);
    temporary_exists_ = false;
    if (tracked_) forget_temporary_file(temporary_.c_str());
    tracked_ = false;
}

}  // namespace melodex
