// The COM apartment of a thread: the shell's shortcut object needs one.
#pragma once

namespace zelvo::win32 {

class ComApartment {
 public:
  // A single-threaded apartment, without OLE 1 DDE. Throws Failure when the thread already has
  // a multithreaded one.
  ComApartment();
  ~ComApartment();
  ComApartment(const ComApartment&) = delete;
  ComApartment& operator=(const ComApartment&) = delete;
};

}  // namespace zelvo::win32
