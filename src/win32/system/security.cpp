#include "win32/system/security.h"

#include "win32/system/owner.h"
#include "win32/system/win32_error.h"

namespace zelvo::win32 {

UniqueHandle OwnToken() {
  HANDLE token = nullptr;
  if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) ThrowLastError();
  return UniqueHandle(token);
}

Sid CurrentUser() {
  const UniqueHandle token = OwnToken();
  DWORD size = 0;
  GetTokenInformation(token.Get(), TokenUser, nullptr, 0, &size);
  if (size == 0) ThrowLastError();
  std::vector<unsigned char> user(size);
  if (!GetTokenInformation(token.Get(), TokenUser, user.data(), size, &size)) ThrowLastError();
  const PSID sid = reinterpret_cast<const TOKEN_USER*>(user.data())->User.Sid;
  const auto* bytes = static_cast<const unsigned char*>(sid);
  return Sid(bytes, bytes + GetLengthSid(sid));
}

Sid WellKnown(WELL_KNOWN_SID_TYPE type) {
  DWORD size = SECURITY_MAX_SID_SIZE;
  Sid sid(size);
  if (!CreateWellKnownSid(type, nullptr, sid.data(), &size)) ThrowLastError();
  sid.resize(size);
  return sid;
}

PrivateSecurity::PrivateSecurity(std::vector<Grant> grants, bool inherited_by_contents) {
  DWORD size = sizeof(ACL);
  for (const Grant& grant : grants) {
    size += sizeof(ACCESS_ALLOWED_ACE) - sizeof(DWORD) + static_cast<DWORD>(grant.who.size());
  }
  acl_.resize(size);
  const auto acl = reinterpret_cast<PACL>(acl_.data());
  if (!InitializeAcl(acl, size, ACL_REVISION)) ThrowLastError();
  const DWORD flags = inherited_by_contents ? OBJECT_INHERIT_ACE | CONTAINER_INHERIT_ACE : 0;
  for (const Grant& grant : grants) {
    if (!AddAccessAllowedAceEx(acl, ACL_REVISION, flags, grant.access,
                               const_cast<unsigned char*>(grant.who.data()))) {
      ThrowLastError();
    }
  }
  // Protected: nothing of the parent's list is inherited.
  if (!InitializeSecurityDescriptor(&descriptor_, SECURITY_DESCRIPTOR_REVISION) ||
      !SetSecurityDescriptorDacl(&descriptor_, TRUE, acl, FALSE) ||
      !SetSecurityDescriptorControl(&descriptor_, SE_DACL_PROTECTED, SE_DACL_PROTECTED)) {
    ThrowLastError();
  }
  attributes_ = {sizeof(attributes_), &descriptor_, FALSE};
}

PrivateSecurity AdministratorsOnlyFolder() {
  const Sid administrators = WellKnown(WinBuiltinAdministratorsSid);
  const Sid system = WellKnown(WinLocalSystemSid);
  const Sid user = CurrentUser();
  return PrivateSecurity({{administrators, FILE_ALL_ACCESS},
                          {system, FILE_ALL_ACCESS},
                          {user, FILE_GENERIC_READ | FILE_GENERIC_EXECUTE}},
                         true);
}

bool AdministratorRightsKeepTheUserOut() {
  const UniqueHandle token = OwnToken();
  TOKEN_ELEVATION_TYPE type{};
  DWORD size = 0;
  if (!GetTokenInformation(token.Get(), TokenElevationType, &type, sizeof(type), &size)) {
    ThrowLastError();
  }
  // Without a second token, the user's programs all run with these rights: the list decides.
  if (type != TokenElevationTypeFull) return true;
  TOKEN_LINKED_TOKEN linked{};
  if (!GetTokenInformation(token.Get(), TokenLinkedToken, &linked, sizeof(linked), &size)) {
    ThrowLastError();
  }
  const UniqueHandle without_rights(linked.LinkedToken);

  PrivateSecurity security = AdministratorsOnlyFolder();
  const Sid administrators = WellKnown(WinBuiltinAdministratorsSid);
  auto* owner = const_cast<unsigned char*>(administrators.data());
  if (!SetSecurityDescriptorOwner(security.Descriptor(), owner, FALSE) ||
      !SetSecurityDescriptorGroup(security.Descriptor(), owner, FALSE)) {
    ThrowLastError();
  }
  GENERIC_MAPPING mapping{FILE_GENERIC_READ, FILE_GENERIC_WRITE, FILE_GENERIC_EXECUTE,
                          FILE_ALL_ACCESS};
  PRIVILEGE_SET privileges{};
  DWORD privileges_size = sizeof(privileges);
  DWORD granted = 0;
  BOOL allowed = FALSE;
  if (!AccessCheck(security.Descriptor(), without_rights.Get(), FILE_ADD_FILE, &mapping,
                   &privileges, &privileges_size, &granted, &allowed)) {
    ThrowLastError();
  }
  return !allowed;
}

}  // namespace zelvo::win32
