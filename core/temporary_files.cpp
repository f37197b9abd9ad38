#include "core/temporary_files.h"

#include <array>
#include <atomic>
#include <chrono>
#include <thread>

namespace melodex {
namespace {

// Lock-free, so that a signal handler reads them safely.
std::array<std::atomic<const char*>, 4> tracked_files{};
static_assert(std::atomic<const char*>::is_always_lock_free);

}  // namespace

bool track_temporary_file(const char* path) {
    for (std::atomic<const char*>& slot : tracked_files) {
        const char* empty = nullptr;
        if (slot.compare_exchange_strong(empty, path)) return true;
    }
    return false;
}

void forget_temporary_file(const char* path) {
    for (std::atomic<const char*>& slot : tracked_files) {
        const char* expected = path;
        if (slot.compare_exchange_strong(expected, nullptr)) return;
    }
    // An interruption has taken the path and is ending the program: the text must outlive its
    // use there.
    for (;;) std::this_thread::sleep_for(std::chrono::hours(1));
}

void remove_tracked_files(void (*remove)(const char* path)) {
    for (std::atomic<const char*>& slot : tracked_files) {
        if (const char* path = slot.exchange(nullptr)) remove(path);
    }
}

}  // namespace melodex
