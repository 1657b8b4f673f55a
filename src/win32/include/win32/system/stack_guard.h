// The canary that code built with -fstack-protector-strong checks before each return, and what
// happens when that check or a fortified string function (_FORTIFY_SOURCE) finds an overrun.
//
// Defined here instead of taken from libssp: libssp seeds the canary with CryptAcquireContextA
// in a constructor that runs before the program's first line, which loads the default
// cryptographic provider (rsaenh.dll) and the DLLs it imports by the standard search, the
// program's own folder first. Linked into a program, these definitions keep libssp's seeding
// out of it (its fortified string functions are still used).
#pragma once

namespace zelvo::win32 {

// Sets a fresh random canary: from the system's random number generator (bcrypt.dll, loaded
// from System32, so the DLL search must already be restricted), mixed with the time and the
// process's ids and addresses. Until then the canary is zero. Call it first thing in wWinMain:
// no function that checks the canary may be running, so wWinMain itself and this function are
// built without the check.
__attribute__((no_stack_protector)) void InitializeStackGuard();

// The canary now, for tests.
unsigned long long StackGuard();

}  // namespace zelvo::win32
