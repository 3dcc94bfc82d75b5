#include "info.h"

#include "palette.h"

#include "fonts.h"
#include "maker.h"

namespace {

using namespace palette;

using tk::Kind;
using tk::rgb;

using Panel = tk::StatusPanelDesign;
constexpr Panel panels[] = {
    {.width = 2000, .style = Panel::Style::Text},
    {.width = 3500, .style = Panel::Style::Text},
    {.width = 1200, .style = Panel::Style::Date},
    {.width = 1000, .style = Panel::Style::Time},
    {.width = 3000, .style = Panel::Style::Text, .text = "Gratis software"},
};

constexpr tk::ControlDesign controls[] = {
    {.name = "ProgressBar1", .kind = Kind::ProgressBar, .rect = {3240, 5280, 2775, 255}},
    {.name = "StatusBar1",
     .kind = Kind::StatusBar,
     .rect = {0, 5550, 10185, 375},
     .font = fonts::sansSerif(9.75F),
     .panels = panels},
    {.name = "Frame1", .kind = Kind::Frame, .rect = {1560, 360, 7080, 4050}, .back = cream},
    {.name = "Timer1", .kind = Kind::Timer, .in = "Frame1", .enabled = false, .interval = 75},
    {.name = "Lblwebinfo",
     .kind = Kind::Label,
     .in = "Frame1",
     .text = "geboren in 1941 te Brugge",
     .rect = {4680, 3480, 2295, 255},
     .back = cream,
     .font = fonts::arial(8.25F)},
    {.name = "lbladres1",
     .kind = Kind::Label,
     .in = "Frame1",
     .text = "onderwijzer en maker van leerprogramma's",
     .rect = {2640, 3240, 4335, 255},
     .back = cream,
     .font = fonts::arial(8.25F)},
    {.name = "lblmail",
     .kind = Kind::Label,
     .in = "Frame1",
     .text = "diploma onderwijzer, Brugge 1962",
     .rect = {3840, 3720, 3135, 255},
     .back = cream,
     .font = fonts::arial(8.25F)},
    {.name = "Lblidee",
     .kind = Kind::Label,
     .in = "Frame1",
     .text = "Jan Kwik",
     .rect = {840, 3720, 1095, 255},
     .back = cream,
     .font = fonts::arial(9.75F)},
    {.name = "imgauteur",
     .kind = Kind::Image,
     .in = "Frame1",
     .rect = {240, 3480, 480, 480},
     .picture = "info-portrait",
     .tooltip = "Meester Jan Kwik"},
    {.name = "Imgzon",
     .kind = Kind::Image,
     .in = "Frame1",
     .rect = {0, 720, 2520, 2610},
     .picture = "info-sun"},
    {.name = "lblmening",
     .kind = Kind::Label,
     .in = "Frame1",
     .text = "software om te trainen",
     .rect = {3480, 2340, 3375, 360},
     .back = cream,
     .font = fonts::arial(15.75F, true),
     .align = tk::Align::Right},
    {.name = "lblinstituut",
     .kind = Kind::Label,
     .in = "Frame1",
     .text = "KWIKSTAART ",
     .rect = {2520, 1440, 4245, 660},
     .back = cream,
     .font = fonts::arial(27.75F, true)},
    {.name = "lblmemo",
     .kind = Kind::Label,
     .in = "Frame1",
     .text = "Voor jou gemaakt door ",
     .rect = {2355, 720, 3255, 330},
     .back = cream,
     .font = fonts::arial(14.25F, true)},
    {.name = "Image4",
     .kind = Kind::Image,
     .rect = {120, 4080, 480, 420},
     .picture = "weblink",
     .tooltip = maker::webSiteTip},
    {.name = "Image3",
     .kind = Kind::Image,
     .rect = {8760, 4080, 480, 420},
     .picture = "weblink",
     .tooltip = maker::webSiteTip},
    {.name = "lblgeld",
     .kind = Kind::Label,
     .rect = {1560, 4440, 7080, 735},
     .back = navy,
     .fore = white,
     .font = fonts::arial(14.25F),
     .align = tk::Align::Centre},
};

constexpr tk::FormDesign design{
    .name = "frminfo",
    .kind = tk::WindowKind::MdiChild,
    .description = "Over Honderdtafels",
    .border = tk::BorderStyle::FixedDialog,
    .titleBar = false,
    .clientWidth = 10185,
    .clientHeight = 5925,
    .back = rgb(111, 111, 111),
    .controls = controls,
};

} // namespace

const tk::FormDesign &infoDesign() {
  return design;
}
