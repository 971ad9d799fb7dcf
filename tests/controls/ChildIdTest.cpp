#include "controls/ChildId.h"

#include <gtest/gtest.h>

// Run by itself (ctest entry app_child_ids): the counter is shared by the whole process.
TEST(ChildId, DISABLED_FirstIdsOfTheProcessAre70001And70002)
{
    EXPECT_EQ(GetNextChildId(), 70001u);
    EXPECT_EQ(GetNextChildId(), 70002u);
}
