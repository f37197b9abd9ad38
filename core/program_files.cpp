#include "core/program_files.h"

#include "core/file_system.h"
#include "core/system.h"

namespace melodex {

Text keyword_file_path(const Text& directory) {
    return directory + path_separator + system_text("MP3过滤关键字.txt");
}

Text report_file_path(const Text& directory) {
    return directory + path_separator + system_text("MP3文件重复分析报告.txt");
}

}  // namespace melodex
