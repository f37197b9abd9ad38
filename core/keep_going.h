// Asked between the steps of a long operation (a walk, the matching pass, an analysis), where the
// window can repaint and take input: false when the program is closing, and the operation then
// ends at once.
#pragma once

#include <functional>

namespace melodex {

using KeepGoing = std::function<bool()>;

}  // namespace melodex
