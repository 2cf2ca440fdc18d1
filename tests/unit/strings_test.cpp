#include <gtest/gtest.h>
#include "dazo/Data.h"
TEST(Strings, Empty) { DataObjStr a; EXPECT_EQ(0, a.GetLength()); }
