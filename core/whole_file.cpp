#include "core/whole_file.h"

#include "core/file_system.h"

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

ReplacingFile::ReplacingFile(Text target)
    : target_(std::move(target)), partial_(target_ + ".part") {
    file_ = target_.empty() ? nullptr : std::fopen(partial_.c_str(), "wb");
    failed_ = file_ == nullptr;
}

ReplacingFile::~ReplacingFile() {
    if (file_ != nullptr) {
        std::fclose(file_);
        std::remove(partial_.c_str());
    }
}

void ReplacingFile::write(std::string_view bytes) {
    if (failed_) return;
    failed_ = std::fwrite(bytes.data(), 1, bytes.size(), file_) != bytes.size();
}

bool ReplacingFile::commit() {
    if (file_ == nullptr) return false;
    const bool closed = std::fclose(file_) == 0;
    file_ = nullptr;
    if (!failed_ && closed && replace_file(partial_, target_)) return true;
    std::remove(partial_.c_str());
    return false;
}

}  // namespace melodex
