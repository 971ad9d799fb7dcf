#include "tests/common/HeapCheck.h"

#include <gtest/gtest.h>

#include <cstdio>

namespace {
// Before any test: a program on the wrong heap fails as a whole, naming the heap, instead of
// passing without the checking or timing on a heap its entry did not ask for.
class THeapCheck : public ::testing::Environment {
public:
    void SetUp() override
    {
        std::string wrong = HeapMismatch();
        if (!wrong.empty())
            FAIL() << "heap: " << wrong;
    }
};
} // namespace

int main(int argc, char** argv)
{
    setvbuf(stdout, nullptr, _IONBF, 0);
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::AddGlobalTestEnvironment(new THeapCheck);
    return RUN_ALL_TESTS();
}
