// Access lists of the program's own: for the objects an elevated Zelvo makes, which a program of
// the user must not be able to take over (the instance mutex, the backup folder).
#pragma once

#include <windows.h>

#include <vector>

#include "win32/system/owner.h"

namespace zelvo::win32 {

// A security identifier, held in a buffer of its own.
using Sid = std::vector<unsigned char>;

// This process's token, for querying.
UniqueHandle OwnToken();

// The user this process runs as (the same whether elevated or not).
Sid CurrentUser();
// A well-known one: WinLocalSystemSid, WinBuiltinAdministratorsSid, ...
Sid WellKnown(WELL_KNOWN_SID_TYPE type);

// One entry of an access list: who, and what they may do.
struct Grant {
  const Sid& who;
  DWORD access;
};

// A security descriptor whose access list grants exactly `grants`, nothing inherited from a
// parent; for a folder, the grants pass on to everything made in it.
class PrivateSecurity {
 public:
  PrivateSecurity(std::vector<Grant> grants, bool inherited_by_contents);
  PrivateSecurity(const PrivateSecurity&) = delete;
  PrivateSecurity& operator=(const PrivateSecurity&) = delete;

  SECURITY_ATTRIBUTES* Attributes() { return &attributes_; }
  PSECURITY_DESCRIPTOR Descriptor() { return &descriptor_; }

 private:
  std::vector<unsigned char> acl_;
  SECURITY_DESCRIPTOR descriptor_{};
  SECURITY_ATTRIBUTES attributes_{};
};

// For a folder that an elevated program makes and later trusts: administrators and the system
// may do anything in it, the user who made it only read.
PrivateSecurity AdministratorsOnlyFolder();

// Whether the user's programs without administrator rights are kept out of a folder only
// administrators may change. On Windows they are: the token they run with holds the
// Administrators group for denying only. Wine's holds it for granting, and lets them in.
bool AdministratorRightsKeepTheUserOut();

}  // namespace zelvo::win32
