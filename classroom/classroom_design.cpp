#include "classroom.h"

#include "shell/palette.h"

#include "shell/fonts.h"

#include <array>
#include <cstddef>

namespace {

using namespace palette;

using tk::Kind;
using tk::rgb;

constexpr tk::Font buttonFont = fonts::sansSerif(9.75F, true);
constexpr tk::Font tableButtonFont = fonts::sansSerif(13.5F, true);
constexpr tk::Font boldFont = fonts::sansSerif(8.25F, true);
constexpr tk::Font listFont = fonts::sansSerif(9.75F, true);

constexpr int lessonInterval = 10000;
constexpr int lessonEndInterval = 15000;

// The table buttons stand in one column inside the frame "Keuze".
constexpr float tableButtonLeft = 120;
constexpr float firstTableButtonTop = 240;
constexpr float tableButtonPitch = 480;
constexpr float tableButtonWidth = 735;
constexpr float tableButtonHeight = 375;

// The hundred-field: ten rows of ten boxes, each in a cell of the grid.
constexpr int fieldColumns = 10;
constexpr std::array<float, fieldColumns> boxColumnLeft{120,  600,  1080, 1560, 2050,
                                                        2560, 3100, 3590, 4080, 4560};
constexpr float firstBoxTop = 480;
constexpr float boxRowPitch = 400;
constexpr float boxWidth = 375;
constexpr float boxHeight = 285;
constexpr float indentedLeft = 110; // the first box of most rows stands a little further left
constexpr int box26 = 26;
constexpr float box26Top = 1320;                  // the one box set a little lower than its row
constexpr tk::Rect box0Rect{4560, 200, 375, 195}; // above box 10, in the narrow top strip

constexpr bool standsIndented(int k) {
  return k % fieldColumns == 1 && k != 1 && k != 81; // 11, 21, .., 71 and 91
}

constexpr tk::Rect boxRect(int k) {
  if (k == 0) {
    return box0Rect;
  }
  const int row = (k - 1) / fieldColumns;
  const int column = (k - 1) % fieldColumns;
  const float left =
      standsIndented(k) ? indentedLeft : boxColumnLeft.at(static_cast<std::size_t>(column));
  const float top = k == box26 ? box26Top : firstBoxTop + boxRowPitch * static_cast<float>(row);
  return {left, top, boxWidth, boxHeight};
}

// The grid: vertical lines Line1 every 500 twips from the top strip down, horizontal
// lines Line2 every 400 twips under the narrow top strip. Line1 has no index 4, and
// its indices 3 and 5 stand swapped.
constexpr float gridTop = 120;
constexpr float gridBottom = 4410;
constexpr float gridRight = 5000;
constexpr float columnPitch = 500;
constexpr float rowPitch = 400;
constexpr float stripBottom = 420;
constexpr std::int16_t shortLine = 6;
constexpr float shortLineRight = 4995;

constexpr float verticalLineX(std::int16_t i) {
  switch (i) {
  case 3:
    return 2000;
  case 5:
    return 1500;
  default:
    // Past the missing index 4 the lines run on from 2500 to the right edge.
    return columnPitch * static_cast<float>(i < shortLine ? i : i - 1);
  }
}

constexpr float horizontalLineY(std::int16_t i) {
  if (i == 0) {
    return gridTop;
  }
  if (i == 1) {
    return stripBottom;
  }
  return rowPitch * static_cast<float>(i);
}

// The texts "0" .. "100" of the boxes, kept for the whole run.
struct BoxTexts {
  std::array<std::array<char, 4>, veldGrootte + 1> text{};
  std::array<std::size_t, veldGrootte + 1> length{};
};

constexpr BoxTexts makeBoxTexts() {
  BoxTexts texts;
  for (int k = 0; k <= veldGrootte; ++k) {
    std::array<char, 4> digits{};
    std::size_t n = 0;
    int rest = k;
    do {
      digits.at(n++) = static_cast<char>('0' + rest % 10);
      rest /= 10;
    } while (rest > 0);
    auto &text = texts.text.at(static_cast<std::size_t>(k));
    for (std::size_t i = 0; i < n; ++i) {
      text.at(i) = digits.at(n - 1 - i);
    }
    texts.length.at(static_cast<std::size_t>(k)) = n;
  }
  return texts;
}

constexpr BoxTexts boxTexts = makeBoxTexts();

constexpr std::string_view boxText(int k) {
  const auto i = static_cast<std::size_t>(k);
  return {boxTexts.text.at(i).data(), boxTexts.length.at(i)};
}

constexpr tk::ControlDesign box(int k) {
  return {.name = "Text2",
          .index = static_cast<std::int16_t>(k),
          .kind = Kind::TextBox,
          .in = "Frmveld",
          .text = boxText(k),
          .rect = boxRect(k),
          .back = yellow,
          .font = boldFont,
          .align = tk::Align::Centre,
          .tabStop = false,
          .locked = true};
}

constexpr tk::ControlDesign verticalLine(std::int16_t i) {
  const float x = verticalLineX(i);
  return {.name = "Line1",
          .index = i,
          .kind = Kind::Line,
          .in = "Frmveld",
          .line = {x, gridTop, x, gridBottom}};
}

constexpr tk::ControlDesign horizontalLine(std::int16_t i) {
  const float y = horizontalLineY(i);
  return {.name = "Line2",
          .index = i,
          .kind = Kind::Line,
          .in = "Frmveld",
          .line = {0, y, i == shortLine ? shortLineRight : gridRight, y}};
}

constexpr tk::ControlDesign lessonTimer(std::string_view name, std::string_view in) {
  return {
      .name = name, .kind = Kind::Timer, .in = in, .enabled = false, .interval = lessonInterval};
}

constexpr tk::ControlDesign tableButton(int N) {
  const Les &les = lessen.at(static_cast<std::size_t>(N - 1));
  return {.name = les.knop,
          .kind = Kind::Button,
          .in = "Frmkiestafel",
          .text = les.opschrift,
          .rect = {tableButtonLeft,
                   firstTableButtonTop + tableButtonPitch * static_cast<float>(N - 1),
                   tableButtonWidth, tableButtonHeight},
          .font = tableButtonFont};
}

constexpr tk::ControlDesign label(std::string_view name, std::string_view text, tk::Rect rect,
                                  bool visible, tk::Color back, std::optional<tk::Color> fore,
                                  tk::Font font, tk::Align align = tk::Align::Left) {
  return {.name = name,
          .kind = Kind::Label,
          .text = text,
          .rect = rect,
          .visible = visible,
          .back = back,
          .fore = fore,
          .font = font,
          .align = align,
          .wordWrap = true};
}

constexpr tk::ControlDesign image(std::string_view name, tk::Rect rect, std::string_view picture) {
  return {.name = name, .kind = Kind::Image, .rect = rect, .picture = picture};
}

// Rows before the hundred-field, the field's own rows, and the rows after it.
constexpr tk::ControlDesign front[] = {
    {.name = "txtgetal2",
     .kind = Kind::TextBox,
     .rect = {9600, 0, 615, 735},
     .visible = false,
     .back = lightYellow,
     .font = fonts::sansSerif(13.5F),
     .tabStop = false},
    {.name = "Cmdterug",
     .kind = Kind::Button,
     .text = "terug",
     .rect = {8760, 7200, 3015, 735},
     .visible = false,
     .font = buttonFont,
     .picture = "return",
     .pictureOnTop = true},
    {.name = "Timerreset", .kind = Kind::Timer, .enabled = false, .interval = lessonEndInterval},
    {.name = "Cmdtimerreset",
     .kind = Kind::Button,
     .text = "Alle cijfers terugzetten",
     .rect = {5400, 7200, 3135, 735},
     .visible = false,
     .font = buttonFont},
    lessonTimer("Timer6", {}),
    {.name = "Cmdalletafels",
     .kind = Kind::Button,
     .text = "Alle tafels in beeld",
     .rect = {5400, 7200, 3135, 735},
     .visible = false,
     .font = buttonFont},
    {.name = "Frmkiestafel",
     .kind = Kind::Frame,
     .text = "Keuze",
     .rect = {10680, 1800, 1095, 5415},
     .back = lightGreen,
     .fore = navy,
     .font = boldFont},
    lessonTimer("Timer2", "Frmkiestafel"),
    lessonTimer("Timer1", "Frmkiestafel"),
    lessonTimer("Timer10", "Frmkiestafel"),
    lessonTimer("Timer9", "Frmkiestafel"),
    lessonTimer("Timer8", "Frmkiestafel"),
    lessonTimer("Timer7", "Frmkiestafel"),
    lessonTimer("Timer5", "Frmkiestafel"),
    lessonTimer("Timer4", "Frmkiestafel"),
    lessonTimer("Timer3", "Frmkiestafel"),
    tableButton(10),
    tableButton(9),
    tableButton(8),
    tableButton(7),
    tableButton(6),
    tableButton(5),
    tableButton(4),
    tableButton(3),
    tableButton(2),
    tableButton(1),
    {.name = "Frmveld",
     .kind = Kind::Frame,
     .text = "Honderdveld",
     .rect = {5520, 1800, 5145, 5220},
     .back = yellow,
     .fore = rgb(0, 0, 192),
     .font = boldFont},
};

constexpr tk::ControlDesign back[] = {
    image("Image4", {9960, 240, 1485, 1485}, "classroom-globe"),
    label("lblinfor", "", {120, 3600, 3255, 735}, true, red, white, fonts::arial(26.25F, true),
          tk::Align::Centre),
    label("lblmededeling", "", {4200, 480, 5535, 855}, true, lightGreen, {},
          fonts::sansSerif(13.5F, true), tk::Align::Centre),
    {.name = "shpTip",
     .index = 2,
     .kind = Kind::Shape,
     .rect = {3960, 360, 5895, 1095},
     .back = lightGreen,
     .fore = navy,
     .shape = tk::ShapeStyle::RoundedRectangle,
     .borderPixels = 3},
    label("Lblinaklas", "Ik ben de taakleraar, welkom in de A klas", {3360, 4320, 1575, 495}, false,
          navy, white, tk::defaultFont),
    label("Lbltrainer", "", {3360, 4920, 1815, 2535}, false, black, white, boldFont,
          tk::Align::Centre),
    label("Label2", "dat is moeilijker", {1920, 240, 1455, 375}, true, red, white, boldFont),
    label("Label1", "dat ken je zeker", {240, 240, 1455, 375}, true, rgb(0, 192, 0), navy,
          boldFont),
    label("lbltrainer3", "", {2040, 960, 1215, 1695}, true, rgb(255, 192, 192), {}, listFont,
          tk::Align::Centre),
    label("Lbltrainer2", "", {360, 960, 1215, 1695}, false, lightGreen, {}, listFont,
          tk::Align::Centre),
    image("Image3", {0, 600, 5475, 3510}, "classroom-board"),
    image("Image2", {120, 4560, 2820, 2985}, "classroom-children"),
    image("Image1", {4920, 4320, 480, 480}, "teacher"),
    label("Label3", "", {9840, 120, 1935, 1695}, true, white, {}, tk::defaultFont),
};

constexpr std::int16_t verticalLines = 12; // indices 0 .. 11, of which 4 is missing
constexpr std::int16_t missingLine = 4;
constexpr std::int16_t horizontalLines = 12;
constexpr std::size_t fieldRows = (veldGrootte + 1) + (verticalLines - 1) + horizontalLines + 1;
constexpr std::size_t rowCount = std::size(front) + fieldRows + std::size(back);

// In the field the boxes come first, 100 down to 0; then the first two lines, the
// legend, and the other lines from the last index down.
constexpr std::array<tk::ControlDesign, rowCount> makeControls() {
  std::array<tk::ControlDesign, rowCount> rows{};
  std::size_t n = 0;
  for (const tk::ControlDesign &row : front) {
    rows.at(n++) = row;
  }
  for (int k = veldGrootte; k >= 0; --k) {
    rows.at(n++) = box(k);
  }
  rows.at(n++) = verticalLine(0);
  rows.at(n++) = horizontalLine(0);
  rows.at(n++) = {.name = "Lbl100veld",
                  .kind = Kind::Label,
                  .in = "Frmveld",
                  .text = "Oefenen op het honderdveld",
                  .rect = {120, 4560, 4815, 495},
                  .back = cream,
                  .font = fonts::sansSerif(13.5F, true),
                  .align = tk::Align::Centre,
                  .border = true};
  for (auto i = static_cast<std::int16_t>(horizontalLines - 1); i >= 1; --i) {
    rows.at(n++) = horizontalLine(i);
  }
  for (auto i = static_cast<std::int16_t>(verticalLines - 1); i >= 1; --i) {
    if (i != missingLine) {
      rows.at(n++) = verticalLine(i);
    }
  }
  for (const tk::ControlDesign &row : back) {
    rows.at(n++) = row;
  }
  return rows;
}

constexpr std::array<tk::ControlDesign, rowCount> controls = makeControls();

constexpr tk::FormDesign design{
    .name = "Aklas",
    .kind = tk::WindowKind::TopLevel,
    .caption = "A klas ",
    .border = tk::BorderStyle::Sizable,
    .clientWidth = 11880,
    .clientHeight = 8010,
    .left = 165,
    .top = 450,
    .back = lightYellow,
    .icon = "program-icon",
    .controls = controls,
};

} // namespace

const tk::FormDesign &classroomDesign() {
  return design;
}
