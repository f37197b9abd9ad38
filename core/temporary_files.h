// The temporary files of the replacements in progress, which an interruption removes (see
// remove_temporary_files_on_interruption): a few slots that a signal handler may read.
#pragma once

namespace melodex {

// The text must stay unchanged until forgotten; false says that no slot was left for it.
bool track_temporary_file(const char* path);
void forget_temporary_file(const char* path);

// Takes every tracked path out of its slot and hands it to `remove`; as safe in a signal
// handler as `remove` is.
void remove_tracked_files(void (*remove)(const char* path));

}  // namespace melodex
