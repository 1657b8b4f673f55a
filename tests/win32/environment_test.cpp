// What the program learns about itself: its version resource, its folder, its command line,
// the instance mutex per program file, and today's date.
#include "win32/system/environment.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <ctime>
#include <vector>

#include "base/failure.h"
#include "win32/system/clock.h"
#include "win32/system/paths.h"
#include "win32/system/strings.h"
#include "win32/system/owner.h"
#include "win32/system/win32_error.h"
#include "test_support.h"

namespace zelvo::win32 {
namespace {

TEST(EnvironmentTest, VersionComesFromTheVersionResource) {
  const std::wstring probe = Wide(test::TestProgramFolder() + "\\launch_probe.exe");
  const UniqueModule module(LoadLibraryExW(
      probe.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE));
  ASSERT_TRUE(module.Valid()) << GetLastError();
  const ProgramVersion version = ReadVersionResource(module.Get());
  EXPECT_EQ(version.major, 3);
  EXPECT_EQ(version.minor, 7);
}

TEST(EnvironmentTest, ZelvoDescribesItselfInEnglishAndJapanese) {
  const std::wstring exe = Wide(ZELVO_EXE_FILE);
  DWORD handle = 0;
  std::vector<unsigned char> info(GetFileVersionInfoSizeW(exe.c_str(), &handle));
  ASSERT_FALSE(info.empty());
  ASSERT_TRUE(GetFileVersionInfoW(exe.c_str(), 0, static_cast<DWORD>(info.size()), info.data()));
  const auto value = [&](const wchar_t* path) {
    void* text = nullptr;
    UINT length = 0;
    if (!VerQueryValueW(info.data(), path, &text, &length) || length == 0) return std::string();
    return Utf8(static_cast<const wchar_t*>(text));
  };
  EXPECT_EQ(value(L"\\StringFileInfo\\040904B0\\FileDescription"),
            "Zelvo - Gives old programs the XP visual style");
  EXPECT_EQ(value(L"\\StringFileInfo\\041104B0\\FileDescription"),
            "Zelvo - 古いソフトにXPスタイルを適用します");
  EXPECT_EQ(value(L"\\StringFileInfo\\040904B0\\ProductVersion"), "2.20");
}

TEST(EnvironmentTest, AProgramWithoutVersionResourceFailsRatherThanGuess) {
  // The test program has no version resource.
  Win32Environment environment;
  try {
    environment.Version();
    FAIL() << "a version was made up";
  } catch (const Failure& failure) {
    // No resource section at all, or none of the version type.
    EXPECT_TRUE(failure.Number() == ERROR_RESOURCE_DATA_NOT_FOUND ||
                failure.Number() == ERROR_RESOURCE_TYPE_NOT_FOUND)
        << failure.Number();
    EXPECT_EQ(failure.Description(), DescribeError(static_cast<DWORD>(failure.Number())));
  }
}

TEST(EnvironmentTest, ProgramFolderIsTheFolderOfTheProgramFile) {
  Win32Environment environment;
  const std::string folder = environment.ProgramFolder();
  EXPECT_EQ(CompareStringOrdinal(Wide(folder).c_str(), -1, Wide(test::TestProgramFolder()).c_str(),
                                 -1, TRUE),
            CSTR_EQUAL)
      << folder;
  EXPECT_NE(folder.back(), '\\');
  EXPECT_EQ(folder.find("\\\\?\\"), std::string::npos);
}

TEST(EnvironmentTest, CommandLineAndFailureTextComeFromTheSystem) {
  Win32Environment environment;
  EXPECT_EQ(environment.CommandLine(), Utf8(GetCommandLineW()));
  EXPECT_NE(environment.CommandLine().find("win32_tests"), std::string::npos);
  EXPECT_EQ(environment.DescribeFailure(ERROR_ACCESS_DENIED), DescribeError(ERROR_ACCESS_DENIED));
  EXPECT_FALSE(environment.DescribeFailure(ERROR_ACCESS_DENIED).empty());
  EXPECT_EQ(environment.DescribeFailure(static_cast<int32_t>(E_OUTOFMEMORY)),
            DescribeError(static_cast<DWORD>(E_OUTOFMEMORY)));
}

TEST(EnvironmentTest, InstanceMutexNamesFollowTheToolFolderNotTheWayToIt) {
  test::TempFolder temp;
  test::MakeFolder(temp.Path("Tools"));
  test::MakeFolder(temp.Path("Other"));
  const std::wstring name = InstanceMutexName(Wide(temp.Path("Tools")));
  EXPECT_EQ(name.rfind(L"Local\\Zelvo-", 0), 0u);
  EXPECT_EQ(name.find(L'\\', 6), std::wstring::npos);  // one name, no deeper namespace
  // Every spelling of the folder names the same one.
  EXPECT_EQ(name, InstanceMutexName(Wide(temp.Path("TOOLS"))));
  EXPECT_EQ(name, InstanceMutexName(test::Extended(temp.Path("Tools"))));
  EXPECT_EQ(name, InstanceMutexName(Wide(temp.Path("Tools") + "\\")));
  EXPECT_EQ(name, InstanceMutexName(Wide(temp.Path("Other\\..\\Tools"))));
  EXPECT_NE(name, InstanceMutexName(Wide(temp.Path("Other"))));
  EXPECT_EQ(test::FailureNumber([&] { InstanceMutexName(Wide(temp.Path("Missing"))); }),
            ERROR_FILE_NOT_FOUND);
}

// The only test that takes this program file's instance mutex: tests run in parallel as
// separate processes of the same program file, and would see each other.
TEST(EnvironmentTest, ASecondInstanceOfTheSameProgramFileIsSeen) {
  const std::wstring name = InstanceMutexName(Wide(Win32Environment().ProgramFolder()));
  {
    Win32Environment first;
    EXPECT_FALSE(first.PreviousInstanceRunning());
    EXPECT_FALSE(first.PreviousInstanceRunning());  // the answer stays
    const UniqueHandle held(OpenMutexW(SYNCHRONIZE, FALSE, name.c_str()));
    EXPECT_TRUE(held.Valid()) << "the first instance holds no mutex under its name";

    Win32Environment second;
    EXPECT_TRUE(second.PreviousInstanceRunning());
    EXPECT_FALSE(first.PreviousInstanceRunning());
  }
  // Both gone: a new start is the first again.
  {
    Win32Environment third;
    EXPECT_FALSE(third.PreviousInstanceRunning());
  }
  // Another account's Zelvo: its mutex lives where this account cannot see it, its lock on the
  // log's folder is seen alike.
  const std::wstring lock = Wide(Win32Environment().ProgramFolder()) + L"\\zelvo.lock";
  UniqueFile held(CreateFileW(lock.c_str(), DELETE, 0, nullptr, OPEN_ALWAYS,
                              FILE_FLAG_DELETE_ON_CLOSE, nullptr));
  ASSERT_TRUE(held.Valid()) << GetLastError();
  EXPECT_TRUE(Win32Environment().PreviousInstanceRunning());
  held.Close();
  EXPECT_FALSE(Win32Environment().PreviousInstanceRunning());
}

TEST(ClockTest, TodayIsTheLocalDate) {
  // The C runtime's own reading of the clock, to compare with.
  const auto local_date = [] {
    const __time64_t now = _time64(nullptr);
    struct tm local;
    _localtime64_s(&local, &now);
    return Date{local.tm_year + 1900, local.tm_mon + 1, local.tm_mday};
  };
  const Date before = local_date();
  const Date today = Win32Clock().Today();
  const Date after = local_date();
  const auto same = [](const Date& a, const Date& b) {
    return a.year == b.year && a.month == b.month && a.day == b.day;
  };
  EXPECT_TRUE(same(today, before) || same(today, after));  // midnight may pass in between
  EXPECT_GE(today.year, 2024);
  EXPECT_GE(today.month, 1);
  EXPECT_LE(today.month, 12);
  EXPECT_GE(today.day, 1);
  EXPECT_LE(today.day, 31);
}

}  // namespace
}  // namespace zelvo::win32
