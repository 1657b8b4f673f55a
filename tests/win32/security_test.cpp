// The access lists the program makes for itself, read back as Windows reads them. (Wine keeps
// no list a folder is made with, so the descriptor is checked before it is handed over.)
#include "win32/system/security.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace zelvo::win32 {
namespace {

using ::testing::Pair;
using ::testing::UnorderedElementsAre;

enum class Who { Administrators, System, User, Other };

TEST(SecurityTest, AFolderForAdministratorsOnlyLetsTheUserOnlyRead) {
  PrivateSecurity security = AdministratorsOnlyFolder();
  ASSERT_EQ(security.Attributes()->lpSecurityDescriptor, security.Descriptor());
  EXPECT_FALSE(security.Attributes()->bInheritHandle);

  SECURITY_DESCRIPTOR_CONTROL control = 0;
  DWORD revision = 0;
  ASSERT_TRUE(GetSecurityDescriptorControl(security.Descriptor(), &control, &revision));
  EXPECT_TRUE(control & SE_DACL_PROTECTED) << "the parent folder's list would be inherited";
  BOOL present = FALSE, defaulted = FALSE;
  PACL acl = nullptr;
  ASSERT_TRUE(GetSecurityDescriptorDacl(security.Descriptor(), &present, &acl, &defaulted));
  ASSERT_TRUE(present && acl) << "no list at all lets everyone in";

  const Sid user = CurrentUser();
  std::vector<std::pair<Who, bool>> found;  // who, and whether they may change anything
  for (DWORD index = 0; index < acl->AceCount; ++index) {
    void* ace = nullptr;
    ASSERT_TRUE(GetAce(acl, index, &ace));
    const auto* allowed = static_cast<const ACCESS_ALLOWED_ACE*>(ace);
    ASSERT_EQ(allowed->Header.AceType, ACCESS_ALLOWED_ACE_TYPE);
    // What is made in the folder is as private as the folder.
    EXPECT_TRUE(allowed->Header.AceFlags & OBJECT_INHERIT_ACE);
    EXPECT_TRUE(allowed->Header.AceFlags & CONTAINER_INHERIT_ACE);
    const PSID sid = const_cast<DWORD*>(&allowed->SidStart);
    const bool changes =
        allowed->Mask & (FILE_WRITE_DATA | FILE_APPEND_DATA | FILE_WRITE_ATTRIBUTES |
                         FILE_WRITE_EA | FILE_DELETE_CHILD | DELETE | WRITE_DAC | WRITE_OWNER);
    const Who who = IsWellKnownSid(sid, WinBuiltinAdministratorsSid)         ? Who::Administrators
                    : IsWellKnownSid(sid, WinLocalSystemSid)                 ? Who::System
                    : EqualSid(sid, const_cast<unsigned char*>(user.data())) ? Who::User
                                                                             : Who::Other;
    if (who == Who::User) {
      EXPECT_TRUE(allowed->Mask & FILE_READ_DATA);
    }
    found.emplace_back(who, changes);
  }
  EXPECT_THAT(found, UnorderedElementsAre(Pair(Who::Administrators, true), Pair(Who::System, true),
                                          Pair(Who::User, false)));
}

}  // namespace
}  // namespace zelvo::win32
