#include "drill.h"

#include "shell/palette.h"

#include "shell/fonts.h"
#include "shell/maker.h"

namespace {

using namespace palette;

using tk::Kind;
using tk::rgb;

constexpr tk::Font tableButtonFont = fonts::sansSerif(12, true);
constexpr tk::Font counterFont = fonts::sansSerif(9.75F);
constexpr tk::Font clockFont = fonts::sansSerif(13.5F, true);

// The nine table buttons, one row along the bottom; the indices are not in screen order.
constexpr tk::ControlDesign tableButton(std::int16_t index, std::string_view caption, float left) {
  return {.name = "cmdstarter",
          .index = index,
          .kind = Kind::Button,
          .text = caption,
          .rect = {left, 6360, 975, 975},
          .back = orange,
          .font = tableButtonFont,
          .picture = "table-button",
          .description = tafelKnoppen.at(static_cast<std::size_t>(index)).uitleg,
          .pictureOnTop = true};
}

// The rounded navy frames drawn round the tips and counters.
constexpr tk::ControlDesign tipFrame(std::int16_t index, tk::Rect rect, bool visible) {
  return {.name = "shpTip",
          .index = index,
          .kind = Kind::Shape,
          .rect = rect,
          .visible = visible,
          .fore = navy,
          .shape = tk::ShapeStyle::RoundedRectangle,
          .borderPixels = 3};
}

constexpr tk::ControlDesign pencil(std::string_view name, std::string_view picture) {
  return {.name = name,
          .kind = Kind::Image,
          .rect = {6840, 2880, 3300, 615},
          .visible = false,
          .picture = picture};
}

constexpr tk::ControlDesign whiteLabel(std::string_view name, std::string_view text, tk::Rect rect,
                                       tk::Font font, tk::Align align = tk::Align::Left) {
  return {.name = name,
          .kind = Kind::Label,
          .text = text,
          .rect = rect,
          .back = white,
          .font = font,
          .align = align};
}

constexpr tk::ControlDesign controls[] = {
    tableButton(8, "x 9", 8760),
    tableButton(7, "x 8", 7680),
    tableButton(6, "x 7", 6600),
    tableButton(5, "x 6", 5520),
    tableButton(4, "x 5", 4440),
    tableButton(3, "x 4", 3360),
    tableButton(2, "x 2", 1200),
    tableButton(1, "x 3", 2280),
    tableButton(0, "alles", 120),
    {.name = "cmdoeifout",
     .kind = Kind::Button,
     .rect = {4080, 5040, 975, 855},
     .visible = false,
     .back = rgb(128, 128, 255),
     .picture = "program-icon",
     .tooltip = "Oei een fout !",
     .description = "Foute cijfers wegklikken"},
    {.name = "Timer1", .kind = Kind::Timer, .enabled = false, .interval = 1000},
    {.name = "cmdgroen",
     .kind = Kind::Button,
     .rect = {5400, 5040, 975, 855},
     .visible = false,
     .back = green,
     .picture = "green-light",
     .description = "Opnieuw van start gaan"},
    {.name = "cmdrood",
     .kind = Kind::Button,
     .rect = {5400, 5040, 975, 855},
     .back = lightYellow,
     .picture = "red-light",
     .description = "ik wil uitleg"},
    {.name = "Cmdstop",
     .kind = Kind::Button,
     .rect = {4080, 5040, 975, 855},
     .back = rgb(128, 0, 0),
     .font = fonts::sansSerif(13.5F, true),
     .picture = "stop",
     .description = "Stop de oefening"},
    {.name = "Tmrchrono", .kind = Kind::Timer, .enabled = true, .interval = 0},
    {.name = "txtAntwoord",
     .kind = Kind::TextBox,
     .rect = {2040, 5100, 1815, 795},
     .back = navy,
     .fore = white,
     .font = fonts::sansSerif(24, true),
     .description = "Vul hier zo snel mogelijk de oplossing in",
     .align = tk::Align::Centre,
     .digitKeys = true},
    {.name = "Picture1", .kind = Kind::PictureBox, .rect = {120, 120, 6255, 4815}, .back = navy},
    {.name = "Picpaddestoel",
     .kind = Kind::PictureBox,
     .in = "Picture1",
     .rect = {0, 0, 6255, 4815},
     .back = white,
     .picture = "mushroom"},
    {.name = "lblvalprobleem",
     .kind = Kind::Label,
     .in = "Picture1",
     .text = " ",
     .rect = {480, 240, 2535, 495},
     .visible = false,
     .fore = white,
     .font = fonts::comicSans(18),
     .transparent = true},
    {.name = "tmrval", .kind = Kind::Timer, .enabled = false, .interval = 100},
    {.name = "lblmult2",
     .kind = Kind::Label,
     .rect = {8880, 1320, 615, 495},
     .visible = false,
     .back = yellow,
     .font = tableButtonFont,
     .align = tk::Align::Centre},
    whiteLabel("lblaantaljuist", "", {8880, 4920, 855, 255}, counterFont, tk::Align::Centre),
    whiteLabel("Label4", "juiste oefeningen", {6720, 4920, 1695, 255}, counterFont),
    whiteLabel("lblaantal", "", {8880, 4560, 855, 255}, counterFont, tk::Align::Centre),
    whiteLabel("Label3", "aantal oefeningen", {6720, 4560, 1695, 255}, counterFont),
    {.name = "Image2",
     .kind = Kind::Image,
     .rect = {9840, 6720, 480, 420},
     .picture = "weblink",
     .tooltip = maker::webSiteTip},
    {.name = "lbluitleg",
     .kind = Kind::Label,
     .rect = {120, 6000, 6255, 255},
     .back = lightOrange,
     .font = fonts::sansSerif(9.75F, true),
     .align = tk::Align::Centre},
    {.name = "lblrood",
     .kind = Kind::Label,
     .text = "Je krijgt hulp als je op het rood licht klikt",
     .rect = {7200, 5520, 2175, 615},
     .visible = false,
     .back = white,
     .font = counterFont,
     .wordWrap = true},
    tipFrame(4, {6600, 5400, 3615, 855}, false),
    whiteLabel("Label1", "oefeningen juist", {6840, 2160, 1815, 495}, fonts::sansSerif(12)),
    whiteLabel("Lbltotaal", "0", {6840, 1560, 735, 495}, clockFont, tk::Align::Centre),
    tipFrame(3, {6600, 1320, 2175, 1455}, true),
    {.name = "Label2",
     .kind = Kind::Label,
     .text = "Terwijl de vermenigvuldigingen naar beneden vallen, moet je ze oplossen.",
     .rect = {6720, 360, 3375, 615},
     .back = white,
     .font = counterFont,
     .wordWrap = true},
    tipFrame(2, {6600, 120, 3615, 1095}, true),
    whiteLabel("Label8", "seconden", {8280, 3720, 1575, 495}, clockFont),
    whiteLabel("Lblchrono", "60", {7680, 3720, 480, 555}, clockFont),
    whiteLabel("Label6", "nog", {6840, 3720, 615, 495}, clockFont),
    tipFrame(0, {6600, 3600, 3615, 735}, true),
    {.name = "lblTip",
     .index = 1,
     .kind = Kind::Label,
     .text = "Vul hier zo snel mogelijk de oplossing in",
     .rect = {360, 5160, 1245, 615},
     .visible = false,
     .back = tk::systemColor::window,
     .fore = tk::systemColor::windowText,
     .transparent = true,
     .autoSize = true,
     .wordWrap = true},
    tipFrame(1, {120, 5040, 1815, 855}, false),
    {.name = "Lblmemo",
     .kind = Kind::Label,
     .rect = {7560, 3060, 2415, 255},
     .visible = false,
     .font = fonts::sansSerif(9.75F, true),
     .align = tk::Align::Centre},
    pencil("Imgpotloodrood", "pencil-red"),
    pencil("Imgpotloodgroen", "pencil-green"),
    pencil("Imgpotloodgeel", "pencil-yellow"),
    pencil("Imgpotloodblauw", "pencil-blue"),
    {.name = "Image1",
     .kind = Kind::Image,
     .rect = {9000, 1440, 1200, 1275},
     .picture = "drill-picture"},
    tipFrame(5, {6600, 4440, 3615, 855}, true),
};

constexpr tk::FormDesign design{
    .name = "Tafels",
    .kind = tk::WindowKind::TopLevel,
    .description = "Tafels oefenen",
    .border = tk::BorderStyle::FixedSingle,
    .titleBar = false,
    .clientWidth = 10440,
    .clientHeight = 7410,
    .left = 15,
    .top = 15,
    .back = lightOrange,
    .font = {.name = "MS Sans Serif", .points = 8.25F, .bold = false, .italic = true},
    .icon = "program-icon",
    .controls = controls,
};

} // namespace

const tk::FormDesign &drillDesign() {
  return design;
}
