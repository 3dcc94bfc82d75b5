#include "welcome.h"

#include "palette.h"

#include "fonts.h"
#include "maker.h"

namespace {

using namespace palette;

using tk::Kind;
using tk::rgb;

constexpr tk::ControlDesign controls[] = {
    {.name = "Frame1",
     .index = 1,
     .kind = Kind::Frame,
     .rect = {0, 0, 11520, 19530},
     .back = cream},
    {.name = "cmdkombinnen",
     .kind = Kind::Button,
     .in = "Frame1",
     .inIndex = 1,
     .text = "Klik hier en start !",
     .rect = {3600, 1080, 3855, 3495},
     .back = white,
     .font = fonts::sansSerif(18, true),
     .picture = "welcome-photo",
     .pictureOnTop = true},
    {.name = "Image1",
     .index = 1,
     .kind = Kind::Image,
     .in = "Frame1",
     .inIndex = 1,
     .rect = {9480, 3960, 1635, 1710},
     .picture = "welcome-side"},
    {.name = "Image1",
     .index = 0,
     .kind = Kind::Image,
     .in = "Frame1",
     .inIndex = 1,
     .rect = {120, 3960, 1635, 1710},
     .picture = "welcome-side"},
    {.name = "Image1",
     .index = 3,
     .kind = Kind::Image,
     .in = "Frame1",
     .inIndex = 1,
     .rect = {0, 5640, 480, 420},
     .picture = "weblink"},
    {.name = "Image1",
     .index = 2,
     .kind = Kind::Image,
     .in = "Frame1",
     .inIndex = 1,
     .rect = {10560, 5640, 480, 420},
     .picture = "weblink"},
    {.name = "lblpartner2",
     .kind = Kind::Label,
     .in = "Frame1",
     .inIndex = 1,
     .text = "Kwikstaart ",
     .rect = {1920, 4920, 7455, 615},
     .back = navy,
     .fore = white,
     .font = fonts::sansSerif(24),
     .align = tk::Align::Centre},
    {.name = "Label5",
     .kind = Kind::Label,
     .in = "Frame1",
     .inIndex = 1,
     .text = maker::credits,
     .rect = {0, 6120, 11415, 375},
     .back = navy,
     .fore = white,
     .font = fonts::sansSerif(13.5F),
     .align = tk::Align::Centre},
    {.name = "Label11",
     .kind = Kind::Label,
     .in = "Frame1",
     .inIndex = 1,
     .text = "Educatieve software voor de  basisschool.",
     .rect = {1320, 360, 8415, 255},
     .back = cream,
     .font = fonts::arial(11.25F, true),
     .align = tk::Align::Centre},
    {.name = "Label4",
     .kind = Kind::Label,
     .in = "Frame1",
     .inIndex = 1,
     .text = "Gratis te verspreiden software",
     .rect = {1920, 5520, 7455, 495},
     .back = navy,
     .fore = white,
     .font = fonts::sansSerif(13.5F),
     .align = tk::Align::Centre},
    {.name = "Shape3",
     .kind = Kind::Shape,
     .in = "Frame1",
     .inIndex = 1,
     .rect = {1920, 720, 7455, 4215},
     .back = lightYellow},
};

constexpr tk::FormDesign design{
    .name = "frmmecenaat1",
    .kind = tk::WindowKind::MdiChild,
    .description = "Welkom bij Honderdtafels",
    .border = tk::BorderStyle::FixedDialog,
    .titleBar = false,
    .clientWidth = 11160,
    .clientHeight = 6720,
    .back = rgb(112, 101, 109),
    .icon = "program-icon",
    .controls = controls,
};

} // namespace

const tk::FormDesign &welcomeDesign() {
  return design;
}
