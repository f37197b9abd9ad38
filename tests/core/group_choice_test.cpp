#include "core/group_choice.h"

#include <gtest/gtest.h>

namespace melodex {
namespace {

TEST(GroupChoice, KeepsTheTenFragmentsInMostFilesTheFirstFoundFirstAmongEquals) {
    GroupChoice choice({true, 4}, true);
    const std::size_t files[] = {2, 5, 3, 5, 9, 2, 2, 2, 7, 2, 2, 2};
    for (std::size_t i = 0; i < std::size(files); ++i) {
        choice.takes("f" + std::to_string(i), files[i]);
        choice.takes("f1", 5);  // a repeat is counted once
    }
    const std::vector<FragmentFiles> largest{{"f4", 9}, {"f8", 7}, {"f1", 5}, {"f3", 5}, {"f2", 3},
                                             {"f0", 2}, {"f5", 2}, {"f6", 2}, {"f7", 2}, {"f9", 2}};
    EXPECT_EQ(choice.summary(0).largest, largest);
    EXPECT_EQ(choice.written_fragments(),
              (std::vector<Text>{"f0", "f2", "f5", "f6", "f7", "f9", "f10", "f11"}));
}

}  // namespace
}  // namespace melodex
