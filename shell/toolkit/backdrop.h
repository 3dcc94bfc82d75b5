// What lies behind a transparent label. Where that is one plain colour all over the
// label, a window system may draw the label opaque in that colour and get the same
// pixels; it can then move the label by copying them, without drawing the container
// beneath it again (the falling problem moves ten times a second).
#pragma once

#include "types.h"

#include <optional>

namespace tk {

class Control;

// The colour behind the whole of a transparent label: its container's (a picture box
// without a picture, or the form), when the label lies within the container's inner
// area, a pixel clear of its far edges, and no shown control of the container lies behind it. None
// for any other control, and wherever something else shows through.
[[nodiscard]] std::optional<Color> plainBackdrop(const Control &label);

} // namespace tk
