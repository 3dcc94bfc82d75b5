// UTF-8 inside the program, UTF-16 only where it meets the W functions of Windows.
#pragma once

#include <string>
#include <string_view>

namespace w32 {

[[nodiscard]] std::wstring widen(std::string_view text);
[[nodiscard]] std::string narrow(std::wstring_view text);

} // namespace w32
