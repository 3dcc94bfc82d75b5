// The program's pictures: SVG files compiled into the binary, drawn at their own pixel
// size and the screen's device pixel ratio, so they stay crisp on HiDPI screens.
#pragma once

#include <QIcon>
#include <QPixmap>
#include <QSize>

#include <string_view>

namespace qtb {

// Makes the compiled-in pictures available; once, before the first is drawn.
void loadPictures();

// The picture's size in pixels as drawn; empty for a name that has no picture.
QSize pictureSize(std::string_view name);
QPixmap picture(std::string_view name, qreal devicePixelRatio);
QIcon pictureIcon(std::string_view name);

} // namespace qtb
