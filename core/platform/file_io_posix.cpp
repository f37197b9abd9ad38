#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>

#include "core/file_io.h"
#include "core/temporary_files.h"

namespace melodex {

namespace {

std::error_code last_error() {
    return {errno, std::system_category()};
}

// Closes a descriptor however the call that opened it ends.
class Descriptor {
  public:
    explicit Descriptor(int descriptor) : descriptor_(descriptor) {}
    ~Descriptor() {
        if (descriptor_ >= 0) ::close(descriptor_);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return descriptor_; }

  private:
    int descriptor_;
};

std::error_code refusal_of(mode_t mode) {
    if (S_ISDIR(mode)) return std::make_error_code(std::errc::is_a_directory);
    if (!S_ISREG(mode)) return not_a_regular_file();
    return {};
}

// The permissions a new file gets: what the umask leaves of 0666. The umask can only be read by
// setting it, so it is put back at once.
mode_t new_file_mode() {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

Text link_text(const Text& link, std::size_t size_hint) {
    Text text(std::max<std::size_t>(size_hint, 255) + 1, '\0');
    for (;;) {
        const ssize_t length = ::readlink(link.c_str(), text.data(), text.size());
        if (length < 0) return {};
        if (static_cast<std::size_t>(length) < text.size()) {
            text.resize(static_cast<std::size_t>(length));
            return text;
        }
        text.resize(text.size() * 2);
    }
}

std::error_code create_file(const Text& path, FileHandle& file) {
    const int descriptor =
        ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_NOCTTY | O_CLOEXEC, 0600);
    if (descriptor < 0) return last_error();
    file = descriptor;
    return {};
}

std::error_code write_file(FileHandle file, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(static_cast<int>(file), bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR) continue;
            return last_error();
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return {};
}

std::error_code finish_file(FileHandle file, const Text& target) {
    struct stat info {};
    // The permission bits of the file replaced; its owner and any set-ID bits are not taken over.
    const mode_t mode = ::stat(target.c_str(), &info) == 0 ? info.st_mode & 0777 : new_file_mode();
    if (::fchmod(static_cast<int>(file), mode) != 0) return last_error();
    if (::fsync(static_cast<int>(file)) != 0) return last_error();
    return {};
}

std::error_code close_file(FileHandle file) {
    // Linux releases the descriptor even when close is interrupted: it is not tried again.
    if (::close(static_cast<int>(file)) != 0 && errno != EINTR) return last_error();
    return {};
}

std::error_code rename_file(const Text& from, const Text& to) {
    if (::rename(from.c_str(), to.c_str()) != 0) return last_error();
    return {};
}

std::error_code flush_folder(const Text& folder) {
    const Descriptor descriptor(
        ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (descriptor.get() < 0) return last_error();
    // Some file systems cannot flush a folder and say so with EINVAL: nothing more can be done.
    if (::fsync(descriptor.get()) != 0 && errno != EINVAL) return last_error();
    return {};
}

std::error_code remove_file(const Text& path) {
    if (::unlink(path.c_str()) != 0) return last_error();
    return {};
}

void unlink_file(const char* path) {
    ::unlink(path);
}

extern "C" void remove_tracked_files_and_end(int signal) {
    remove_tracked_files(unlink_file);
    // The handler was installed for one call: the signal, delivered once this returns, now ends
    // the program as it would have without the handler.
    ::raise(signal);
}

}  // namespace

Text error_text(const std::error_code& error) {
    return error.message();
}

std::error_code read_regular_file(const Text& path, std::size_t limit, Text& bytes) {
    bytes.clear();
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) return last_error();
    if (const std::error_code refused = refusal_of(info.st_mode)) return refused;
    // Opened without waiting in case a FIFO has taken the file's place since the stat.
    const Descriptor descriptor(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (descriptor.get() < 0) return last_error();
    if (::fstat(descriptor.get(), &info) != 0) return last_error();
    if (const std::error_code refused = refusal_of(info.st_mode)) return refused;
    char buffer[1 << 16];
    for (;;) {
        const std::size_t wanted = std::min(sizeof buffer, limit + 1 - bytes.size());
        const ssize_t got = ::read(descriptor.get(), buffer, wanted);
        if (got < 0) {
            if (errno == EINTR) continue;
            bytes.clear();
            return last_error();
        }
        if (got == 0) return {};
        bytes.append(buffer, static_cast<std::size_t>(got));
        if (bytes.size() > limit) {
            bytes.clear();
            return std::make_error_code(std::errc::file_too_large);
        }
    }
}

std::error_code create_empty_file(const Text& path) {
    const Descriptor descriptor(::open(
        path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_NOCTTY | O_CLOEXEC, 0666));
    return descriptor.get() < 0 ? last_error() : std::error_code();
}

std::error_code replacement_target(const Text& path, Text& target) {
    constexpr int most_links = 40;
    Text current = path;
    for (int links = 0;; ++links) {
        struct stat info {};
        if (::lstat(current.c_str(), &info) != 0) {
            if (errno != ENOENT) return last_error();
            target = current;
            return {};
        }
        if (!S_ISLNK(info.st_mode)) {
            if (const std::error_code refused = refusal_of(info.st_mode)) return refused;
            target = current;
            return {};
        }
        if (links == most_links)
            return std::make_error_code(std::errc::too_many_symbolic_link_levels);
        const Text points_to = link_text(current, static_cast<std::size_t>(info.st_size));
        if (points_to.empty()) return last_error();
        if (points_to.front() == '/') {
            current = points_to;
        } else {
            // A relative link is read from the folder that holds it.
            current = current.substr(0, current.rfind('/') + 1) + points_to;
        }
    }
}

ReplacementCalls& replacement_calls() {
    static ReplacementCalls calls{create_file, write_file,   finish_file, close_file,
                                  rename_file, flush_folder, remove_file};
    return calls;
}

void remove_temporary_files_on_interruption() {
    constexpr std::array interruptions{SIGINT, SIGTERM, SIGHUP};
    struct sigaction action {};
    action.sa_handler = remove_tracked_files_and_end;
    action.sa_flags = SA_RESETHAND;
    ::sigemptyset(&action.sa_mask);
    for (const int signal : interruptions) ::sigaddset(&action.sa_mask, signal);
    for (const int signal : interruptions) {
        struct sigaction previous {};
        if (::sigaction(signal, nullptr, &previous) == 0 && previous.sa_handler == SIG_IGN)
            continue;
        ::sigaction(signal, &action, nullptr);
    }
}

}  // namespace melodex
