#include "RegisterSearch.h"

#include <gtest/gtest.h>

namespace {

bool finds(const QString& typed, const QString& name) { return RegisterSearch(typed).Matches(RegisterSearch::Fold(name)); }

TEST(RegisterSearch, FindsNamesAsTheServersLikeWould)
{
    EXPECT_TRUE(finds("", "Anna Lindqvist"));
    EXPECT_TRUE(finds("LINDQ", "Anna Lindqvist"));
    EXPECT_TRUE(finds("jose", "José Müller"));
    EXPECT_TRUE(finds("MÜLLER", "José Muller"));
    EXPECT_TRUE(finds("an%qv", "Anna Lindqvist"));
    EXPECT_FALSE(finds("qv%an", "Anna Lindqvist")) << "the pieces between % keep their order";
    EXPECT_TRUE(finds("a_na", "Anna"));
    EXPECT_FALSE(finds("a_na", "Ana"));
    EXPECT_TRUE(finds("q_i", "Qx Qvist")) << "a piece with _ is tried at every place";
    EXPECT_TRUE(finds("O'Br", "Sean O'Brien"));
    EXPECT_TRUE(finds("a \\ b", "Club a \\ b"));
    EXPECT_FALSE(finds("a \\ b", "Club a  b"));
    EXPECT_FALSE(finds("Anna L", "Anna"));
}

} // namespace
