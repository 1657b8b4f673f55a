// Random access to the bytes of something held like a file: a program image on disk, or bytes
// already in memory.
#pragma once

#include <cstdint>
#include <string>

namespace zelvo {

class ByteSource {
 public:
  virtual ~ByteSource() = default;
  // Up to `length` bytes from `offset`: fewer at the end, none past it. Throws Failure when the
  // bytes that are there cannot be read.
  virtual std::string Read(uint64_t offset, uint32_t length) = 0;
};

}  // namespace zelvo
