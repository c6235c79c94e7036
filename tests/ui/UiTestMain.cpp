#include "TestApplication.h"

#include <gtest/gtest.h>

int main(int argc, char **argv)
{
    dorvane::test::TestApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
