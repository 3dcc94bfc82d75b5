// Shown below the windows where a phone held upright makes their texts too small.
#pragma once

namespace web {

inline constexpr const char *turnAdvice = "Draai je telefoon: dan wordt alles groter.";

} // namespace web
