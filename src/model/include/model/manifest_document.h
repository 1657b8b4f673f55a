// The manifest written beside a program: a fixed XML text that makes Windows bind the program to
// version 6 of the common controls, and so draw it in the XP visual style.
#pragma once

#include <string>

namespace zelvo {

// Which processors the Common-Controls dependency names. A 64-bit process cannot load the x86
// assembly: a manifest that names "X86" keeps a 64-bit program from starting at all.
enum class ManifestArchitecture {
  X86,  // the 450-byte document, for everything that is not a 64-bit image
  Any,  // "*" (448 bytes), for 64-bit images
};

// The whole document, byte for byte: 18 lines ended by CR LF, ASCII only, no byte-order mark.
std::string ManifestDocument(ManifestArchitecture architecture);

// The manifest of a target: its path with ".manifest" appended, nothing else changed.
std::string ManifestPath(const std::string& target_path);

}  // namespace zelvo
