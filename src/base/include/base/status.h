// What a procedure hands back to its caller: done, or failed with the failure already reported
// (so that the caller stops without a second report).
#pragma once

namespace zelvo {

// (clang-format reads the attribute as the start of an initialiser)
// clang-format off
enum class [[nodiscard]] Status { Done, Failed };
// clang-format on

}  // namespace zelvo
