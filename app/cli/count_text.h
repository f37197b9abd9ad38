// Counts as melodex-cli shows them to a person: thousands set apart by commas, "12,345".
#pragma once

#include <cstddef>
#include <string>

namespace melodex::cli {

std::string count_text(std::size_t count);

}  // namespace melodex::cli
