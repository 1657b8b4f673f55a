#include <windows.h>
#include <gtest/gtest.h>

TEST(Smoke, CodePageIs932) { EXPECT_EQ(GetACP(), 932u); }
