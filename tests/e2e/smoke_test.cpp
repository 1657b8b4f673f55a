#include <windows.h>
#include <gtest/gtest.h>

TEST(Smoke, ProgramExists) { EXPECT_NE(GetFileAttributesW(ZELVO_EXE), INVALID_FILE_ATTRIBUTES); }
