#include "win32/system/com.h"

#include <objbase.h>

#include "win32/system/win32_error.h"

namespace zelvo::win32 {

// S_FALSE (the thread had the apartment already) counts as success and needs its own
// CoUninitialize too.
ComApartment::ComApartment() {
  CheckHresult(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE));
}

ComApartment::~ComApartment() { CoUninitialize(); }

}  // namespace zelvo::win32
