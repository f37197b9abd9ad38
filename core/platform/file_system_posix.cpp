#include <dirent.h>
#include <fcntl.h>
#include <linux/magic.h>
#include <sys/stat.h>
#include <sys/statfs.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <mutex>
#include <optional>
#include <sstream>
#include <string_view>
#include <utility>

#include "core/file_system.h"

namespace melodex {

const char path_separator = '/';

namespace {

// File systems that show the kernel's state as folders (processes, devices, settings, control
// files): they hold no music, and some lead back into the whole tree (/proc/PID/cwd). The
// hugetlbfs is among them: its files can only be mapped into memory, never written.
constexpr std::array<std::uint32_t, 25> kernel_state_types{
    PROC_SUPER_MAGIC,  SYSFS_MAGIC,          DEVPTS_SUPER_MAGIC,    DEBUGFS_MAGIC,
    TRACEFS_MAGIC,     SECURITYFS_MAGIC,     SELINUX_MAGIC,         SMACK_MAGIC,
    AAFS_MAGIC,        CGROUP_SUPER_MAGIC,   CGROUP2_SUPER_MAGIC,   RDTGROUP_SUPER_MAGIC,
    BPF_FS_MAGIC,      PSTOREFS_MAGIC,       EFIVARFS_MAGIC,        BINFMTFS_MAGIC,
    NSFS_MAGIC,        BINDERFS_SUPER_MAGIC, USBDEVICE_SUPER_MAGIC, OPENPROM_SUPER_MAGIC,
    XENFS_SUPER_MAGIC, HUGETLBFS_MAGIC,
    0x62656570,  // configfs
    0x65735543,  // fusectl
    0x19800202,  // mqueue
};

// Closes a file descriptor however the caller ends.
class Descriptor {
  public:
    Descriptor() = default;
    explicit Descriptor(int descriptor) : descriptor_(descriptor) {}
    ~Descriptor() {
        if (valid()) ::close(descriptor_);
    }
    Descriptor(Descriptor&& other) noexcept : descriptor_(std::exchange(other.descriptor_, -1)) {}
    Descriptor& operator=(Descriptor&& other) noexcept {
        std::swap(descriptor_, other.descriptor_);
        return *this;
    }
    bool valid() const { return descriptor_ >= 0; }
    int get() const { return descriptor_; }

  private:
    int descriptor_ = -1;
};

// Opens the folder at `path`, whatever its length: a path the system takes whole in one step, a
// longer one a piece at a time, each piece relative to the folder the one before led to, so that
// no more than two descriptors are open at once. `flags` are those of the last step.
Descriptor open_folder(std::string_view path, int flags) {
    constexpr std::size_t piece_limit = PATH_MAX - 1;
    Descriptor base;
    std::size_t at = 0;
    while (true) {
        std::size_t end = path.size();
        if (end - at > piece_limit) {
            const std::size_t cut = path.rfind(path_separator, at + piece_limit - 1);
            if (cut == std::string_view::npos || cut < at) {
                errno = ENAMETOOLONG;
                return {};
            }
            end = cut + 1;
        }
        // A piece after the first must not begin with a separator: it would start at the root.
        std::size_t next = end;
        while (next < path.size() && path[next] == path_separator) ++next;
        const bool last = next == path.size();
        const std::string piece(path.substr(at, end - at));
        Descriptor opened(::openat(base.valid() ? base.get() : AT_FDCWD, piece.c_str(),
                                   (last ? flags : O_PATH) | O_DIRECTORY | O_CLOEXEC));
        if (last || !opened.valid()) return opened;
        base = std::move(opened);
        at = next;
    }
}

// fstatat on a path of any length; a long one is looked up in its opened parent folder.
int stat_path(const Text& path, struct stat& info, int flags) {
    if (path.size() < PATH_MAX) return ::fstatat(AT_FDCWD, path.c_str(), &info, flags);
    const std::size_t slash = path.rfind(path_separator);
    if (slash == Text::npos) {
        errno = ENAMETOOLONG;
        return -1;
    }
    const Descriptor parent = open_folder(std::string_view(path).substr(0, slash + 1), O_PATH);
    if (!parent.valid()) return -1;
    const Text name = slash + 1 == path.size() ? Text(".") : path.substr(slash + 1);
    return ::fstatat(parent.get(), name.c_str(), &info, flags);
}

// The device of the first file system of `type` in this process's mount table.
std::optional<dev_t> device_mounted_as(std::string_view type) {
    std::ifstream table("/proc/self/mountinfo");
    std::string line;
    while (std::getline(table, line)) {
        // "ID PARENT MAJOR:MINOR ROOT MOUNT-POINT OPTIONS [TAGS...] - TYPE SOURCE OPTIONS";
        // spaces inside the fields are written as \040.
        const std::size_t dash = line.find(" - ");
        if (dash == std::string::npos) continue;
        std::istringstream after(line.substr(dash + 3));
        std::string mounted_type;
        after >> mounted_type;
        if (mounted_type != type) continue;
        unsigned major_number = 0;
        unsigned minor_number = 0;
        if (std::sscanf(line.c_str(), "%*s %*s %u:%u", &major_number, &minor_number) == 2) {
            return makedev(major_number, minor_number);
        }
    }
    return std::nullopt;
}

// devtmpfs, the kernel's view of the devices, tells the statfs type of tmpfs, which holds stored
// files like any disk: the mount table tells them apart. devtmpfs is one file system for the
// whole system, however often it is mounted, so its device is kept once found.
bool is_device_view(dev_t device) {
    static std::mutex mutex;
    static std::optional<dev_t> devices;
    const std::lock_guard lock(mutex);
    if (!devices) devices = device_mounted_as("devtmpfs");
    return devices && *devices == device;
}

bool shows_kernel_state(int folder, dev_t device) {
    struct statfs system {};
    if (::fstatfs(folder, &system) != 0) return false;
    const auto type = static_cast<std::uint32_t>(system.f_type);
    if (type == TMPFS_MAGIC) return is_device_view(device);
    return std::find(kernel_state_types.begin(), kernel_state_types.end(), type) !=
           kernel_state_types.end();
}

// Why a folder could not be read; nothing when there is no folder there to read.
Text failure_of(int error) {
    if (error == ENOENT || error == ENOTDIR) return Text();
    return std::strerror(error);
}

bool is_folder_behind_link(int folder, const char* name) {
    struct stat info {};
    return ::fstatat(folder, name, &info, 0) == 0 && S_ISDIR(info.st_mode);
}

}  // namespace

FolderListing list_folder(const Location& folder) {
    FolderListing listing;
    const Descriptor opened = open_folder(folder.path, O_RDONLY);
    if (!opened.valid()) {
        listing.failure = failure_of(errno);
        return listing;
    }
    struct stat info {};
    if (::fstat(opened.get(), &info) == 0) {
        listing.identity = FolderIdentity{static_cast<std::uint64_t>(info.st_dev),
                                          static_cast<std::uint64_t>(info.st_ino)};
        if (shows_kernel_state(opened.get(), info.st_dev)) return listing;
    }
    // Read by the system call beneath readdir, with no stream to set up around the descriptor.
    alignas(dirent64) char entries[32768];
    ssize_t got = 0;
    while ((got = ::getdents64(opened.get(), entries, sizeof entries)) > 0) {
        for (ssize_t at = 0; at < got;) {
            const auto* entry = reinterpret_cast<const dirent64*>(entries + at);
            at += entry->d_reclen;
            const std::string_view name = entry->d_name;
            if (name == "." || name == "..") continue;
            bool is_folder = entry->d_type == DT_DIR;
            if (entry->d_type == DT_LNK || entry->d_type == DT_UNKNOWN) {
                is_folder = is_folder_behind_link(opened.get(), entry->d_name);
            }
            listing.entries.push_back({Text(name), is_folder, Text()});
        }
    }
    if (got < 0) listing.failure = failure_of(errno);
    std::sort(listing.entries.begin(), listing.entries.end(),
              [](const FolderEntry& a, const FolderEntry& b) { return a.name < b.name; });
    return listing;
}

std::int64_t file_byte_count(const Location& file) {
    struct stat info {};
    if (stat_path(file.path, info, 0) != 0) return -1;
    return static_cast<std::int64_t>(info.st_size);
}

std::vector<std::int64_t> file_byte_counts(const Text& folder, const std::vector<Location>& files) {
    std::vector<std::int64_t> sizes;
    sizes.reserve(files.size());
    const Descriptor opened = open_folder(folder, O_PATH);
    for (const Location& file : files) {
        struct stat info {};
        const bool found =
            opened.valid() && file.path.starts_with(folder)
                ? ::fstatat(opened.get(), file.path.c_str() + folder.size(), &info, 0) == 0
                : stat_path(file.path, info, 0) == 0;
        sizes.push_back(found ? static_cast<std::int64_t>(info.st_size) : -1);
    }
    return sizes;
}

EntryKind entry_kind(const Text& path) {
    struct stat info {};
    if (stat_path(path, info, 0) != 0) {
        return stat_path(path, info, AT_SYMLINK_NOFOLLOW) == 0 ? EntryKind::file : EntryKind::none;
    }
    return S_ISDIR(info.st_mode) ? EntryKind::folder : EntryKind::file;
}

}  // namespace melodex
