#include "TestApplication.h"

#include <cstdlib>
#include <gtest/gtest.h>

// The OpenGL tests run as on a server: with no display named at all, so the
// renderer and the batch tool it starts must make their contexts without one.
int main(int argc, char **argv)
{
    ::unsetenv("DISPLAY");
    ::unsetenv("WAYLAND_DISPLAY");
    dorvane::test::TestApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
