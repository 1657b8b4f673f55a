// What a procedure hands back to its caller: done, or failed with the failure already reported
// (so that the caller stops without a second report).
#pragma once

namespace zelvo {

enum class [[nodiscard]] Status{Done, Failed};

}  // namespace zelvo
