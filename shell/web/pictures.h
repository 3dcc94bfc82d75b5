// The program's pictures as the page shows them: the SVG files the site carries beside
// the page, which the browser draws at the display's own pixels.
#pragma once

#include <string>
#include <string_view>

namespace web {

// The address of a picture, relative to the page; empty for a name that has no picture.
[[nodiscard]] std::string picture(std::string_view name);

} // namespace web
