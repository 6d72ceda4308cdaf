// Placeholder so the test executable exists; replaced by the display tests.
#include <gtest/gtest.h>
TEST(Build, Links) { SUCCEED(); }
