// Whole-file input and output, and a file that replaces another only once it is complete.
#pragma once

#include <cstdio>

#include "core/text.h"

namespace melodex {

// Every byte of the file; no bytes when the path is empty or the file cannot be read.
Text read_whole_file(const Text& path);

// Creates or empties the file and writes the bytes; false when any step fails.
bool write_whole_file(const Text& path, std::string_view bytes);

// Written beside its target and put in the target's place by commit(), so that a failed or
// abandoned write never leaves half a file and an earlier file stays intact.
class ReplacingFile {
  public:
    explicit ReplacingFile(Text target);
    ~ReplacingFile();
    ReplacingFile(const ReplacingFile&) = delete;
    ReplacingFile& operator=(const ReplacingFile&) = delete;

    void write(std::string_view bytes);
    // True when every byte reached the target.
    bool commit();

  private:
    Text target_;
    Text partial_;
    std::FILE* file_ = nullptr;
    bool failed_ = false;
};

}  // namespace melodex
