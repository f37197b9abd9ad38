// Whole-file input and output, and a file that replaces another only once it is complete.
#pragma once

#include <system_error>

#include "core/file_io.h"
#include "core/text.h"

namespace melodex {

// Every byte of the file; no bytes when the path is empty or the file cannot be read.
Text read_whole_file(const Text& path);

// Creates or empties the file and writes the bytes; false when any step fails.
bool write_whole_file(const Text& path, std::string_view bytes);

// Written beside its target and put in the target's place by commit(), so that a failed or
// abandoned write never leaves half a file and an earlier file stays intact. The bytes go to a new
// file of a name of its own in the target's folder (".<name>.<six random letters>"), made
// exclusively, never through a link, and readable by its owner only while it is written; commit()
// gives it the permissions of the file it replaces, flushes it to the disk, renames it over the
// target and flushes the folder. A target that is a link keeps it: the file at the end of the
// link chain is replaced. The temporary file is removed on every failure, when the object is
// dropped uncommitted, and when the program is interrupted (see
// remove_temporary_files_on_interruption()).
class ReplacingFile {
  public:
    explicit ReplacingFile(Text target);
    ~ReplacingFile();
    ReplacingFile(const ReplacingFile&) = delete;
    ReplacingFile& operator=(const ReplacingFile&) = delete;

    void write(std::string_view bytes);
    // True when every byte reached the target; otherwise error() says why.
    bool commit();
    // Why the target was not replaced, in the system's words; empty while nothing has failed.
    Text error() const;

  private:
    void write_pending();
    void fail(std::error_code error);
    void abandon();

    Text target_;
    Text temporary_;
    FileHandle file_ = -1;
    bool open_ = false;
    bool temporary_exists_ = false;
    bool tracked_ = false;
    Text pending_;
    std::error_code error_;
    std::error_code removal_error_;
};

}  // namespace melodex
