// The display's scale: every window whole from a small phone up, the large windows grown
// to most of a whiteboard's height, and a phone held upright asked to turn.
#include "shell/program.h"
#include "toolkit/form.h"
#include "toolkit/scale.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>

namespace {

struct Screen {
  const char *name;
  tk::Extent viewport;
};

// Phones, tablets, a Chromebook, a whiteboard and a 4K screen, both ways up.
constexpr std::array screens{
    Screen{"phone360", {360, 640}},   Screen{"phone640", {640, 360}},
    Screen{"phone390", {390, 844}},   Screen{"phone844", {844, 390}},
    Screen{"tablet768", {768, 1024}}, Screen{"tablet1024", {1024, 768}},
    Screen{"laptop", {1366, 768}},    Screen{"whiteboard", {1920, 1080}},
    Screen{"qhd", {2560, 1440}},      Screen{"uhd", {3840, 2160}},
};

class EveryScreen : public testing::TestWithParam<Screen> {};

// What a window takes of the viewport's height at the scale, as the page shows it: a child
// window stands centred on the display, below the menu bar.
float bottomOf(const tk::FormDesign &design, const tk::Extent &viewport, float scale) {
  const float display = viewport.height / scale;
  const float outer = tk::outerHeight(design) / tk::twipsPerPixel;
  const float bar = design.kind == tk::WindowKind::MdiChild ? tk::menuBarPixels : 0.0F;
  return (bar + (display - outer) / 2 + outer) * scale;
}

TEST_P(EveryScreen, everyWindowIsWholeInTheViewport) {
  const tk::Extent viewport = GetParam().viewport;
  const float scale = tk::displayScale(viewport, windowDesigns()).scale;
  for (const tk::FormDesign *design : windowDesigns()) {
    if (design->kind == tk::WindowKind::MdiParent) {
      continue;
    }
    SCOPED_TRACE(design->name);
    EXPECT_LE(tk::outerWidth(*design) / tk::twipsPerPixel * scale, viewport.width + 0.01F);
    EXPECT_LE(bottomOf(*design, viewport, scale), viewport.height + 0.01F);
  }
}

INSTANTIATE_TEST_SUITE_P(Screens, EveryScreen, testing::ValuesIn(screens),
                         [](const auto &row) { return std::string(row.param.name); });

// On a large screen the welcome screen, the drill and the classroom fill most of the
// height, as they filled a school PC's screen; the steps leave at most a step unused.
TEST(DisplayScale, theLargeWindowsFillMostOfALargeScreen) {
  for (const tk::Extent viewport :
       {tk::Extent{1920, 1080}, tk::Extent{2560, 1440}, tk::Extent{3840, 2160}}) {
    const float scale = tk::displayScale(viewport, windowDesigns()).scale;
    for (const tk::FormDesign *design : {&welcomeDesign(), &drillDesign(), &classroomDesign()}) {
      SCOPED_TRACE(design->name);
      EXPECT_GT(tk::outerHeight(*design) / tk::twipsPerPixel * scale, 0.7F * viewport.height);
    }
  }
}

TEST(DisplayScale, growsInQuarterStepsAndShrinksToJustFit) {
  const tk::FormDesign window{.name = "W",
                              .border = tk::BorderStyle::None,
                              .titleBar = false,
                              .clientWidth = 400 * tk::twipsPerPixel,
                              .clientHeight = 300 * tk::twipsPerPixel};
  const std::array<const tk::FormDesign *, 1> windows{&window};
  EXPECT_FLOAT_EQ(tk::displayScale({400, 300}, windows).scale, 1.0F);
  EXPECT_FLOAT_EQ(tk::displayScale({499, 1000}, windows).scale, 1.0F);
  EXPECT_FLOAT_EQ(tk::displayScale({500, 1000}, windows).scale, 1.25F);
  EXPECT_FLOAT_EQ(tk::displayScale({1200, 870}, windows).scale, 2.75F);
  EXPECT_FLOAT_EQ(tk::displayScale({200, 300}, windows).scale, 0.5F);
  EXPECT_FLOAT_EQ(tk::displayScale({400, 100}, windows).scale, 1.0F / 3);
}

// A child window in the main window needs the menu bar's height twice: it is centred on the
// whole display but stands below the bar.
TEST(DisplayScale, aChildWindowLeavesRoomForTheMenuBar) {
  const tk::FormDesign child{.name = "C",
                             .kind = tk::WindowKind::MdiChild,
                             .border = tk::BorderStyle::None,
                             .titleBar = false,
                             .clientWidth = 400 * tk::twipsPerPixel,
                             .clientHeight = 300 * tk::twipsPerPixel};
  const std::array<const tk::FormDesign *, 1> windows{&child};
  EXPECT_FLOAT_EQ(tk::displayScale({400, 300 + 2 * tk::menuBarPixels}, windows).scale, 1.0F);
  EXPECT_LT(tk::displayScale({400, 300 + tk::menuBarPixels}, windows).scale, 1.0F);
}

// Upright, a phone shows the windows too small to read; turned, larger. A phone on its
// side is not asked to turn back, nor is a tablet whose text stays readable upright.
TEST(DisplayScale, aPhoneHeldUprightIsAskedToTurn) {
  EXPECT_TRUE(tk::displayScale({360, 640}, windowDesigns()).turnAdvised);
  EXPECT_TRUE(tk::displayScale({390, 844}, windowDesigns()).turnAdvised);
  EXPECT_FALSE(tk::displayScale({640, 360}, windowDesigns()).turnAdvised);
  EXPECT_FALSE(tk::displayScale({844, 390}, windowDesigns()).turnAdvised);
  EXPECT_FALSE(tk::displayScale({768, 1024}, windowDesigns()).turnAdvised);
  EXPECT_FALSE(tk::displayScale({1080, 1920}, windowDesigns()).turnAdvised);
}

TEST(Pixels, twipsBecomeTheNearestWholePixelOnBothSidesOfZero) {
  EXPECT_EQ(tk::wholePixels(22), 1);
  EXPECT_EQ(tk::wholePixels(23), 2);
  EXPECT_EQ(tk::wholePixels(-22), -1);
  EXPECT_EQ(tk::wholePixels(-23), -2);
  EXPECT_EQ(tk::wholePixels(6000), 400);
}

} // namespace
