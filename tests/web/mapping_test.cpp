// How the page shows the toolkit's values: stacking that agrees with the toolkit's own
// hit-testing, and fonts mapped to the ones the page carries.
#include "shell/web/mapping.h"
#include "support/fakes.h"
#include "toolkit/screen.h"

#include <gtest/gtest.h>

#include <algorithm>

using tk::Kind;

namespace {

// Overlapping controls of every kind around the point 500, 500.
constexpr tk::ControlDesign controls[] = {
    {.name = "label", .kind = Kind::Label, .rect = {0, 0, 1000, 1000}},
    {.name = "image", .kind = Kind::Image, .rect = {400, 400, 1000, 1000}},
    {.name = "button", .kind = Kind::Button, .rect = {300, 300, 1000, 1000}},
    {.name = "shape", .kind = Kind::Shape, .rect = {0, 0, 2000, 2000}},
    {.name = "box", .kind = Kind::TextBox, .rect = {200, 200, 1000, 1000}},
    {.name = "frame", .kind = Kind::Frame, .rect = {0, 0, 3000, 3000}},
    {.name = "late", .kind = Kind::Label, .rect = {450, 450, 100, 100}},
};
constexpr tk::FormDesign stapelDesign{
    .name = "Stapel", .clientWidth = 4000, .clientHeight = 4000, .controls = controls};

struct Stapel : tk::Form {
  explicit Stapel(tk::Desktop &desktop) : Form(desktop, stapelDesign) {}
};

struct Mapping : ::testing::Test {
  testing_support::ManualClock clock;
  testing_support::FakeServices services;
  tk::Desktop desktop{clock, services};
  tk::Screen<Stapel> form{desktop, [this] { return std::make_unique<Stapel>(desktop); }};

  // The control the page draws in front at a point, of those that take the pointer.
  tk::Control *frontMostOnThePage(float x, float y) {
    tk::Control *front = nullptr;
    for (const auto &c : form().controls()) {
      if (!c->visible() || c->kind() == Kind::Shape || !c->rect().contains(x, y)) {
        continue;
      }
      if (front == nullptr || web::stacking(form(), *c) > web::stacking(form(), *front)) {
        front = c.get();
      }
    }
    return front;
  }
};

TEST_F(Mapping, thePageStacksControlsAsTheToolkitHitTestsThem) {
  // The pointer goes to what the child sees on top, wherever controls overlap.
  for (float x = 0; x < 1500; x += 50) {
    for (float y = 0; y < 1500; y += 50) {
      EXPECT_EQ(frontMostOnThePage(x, y), form().controlAt(x, y)) << "at " << x << ", " << y;
    }
  }
  form().control("box").hide();
  form().control("button").hide();
  EXPECT_EQ(frontMostOnThePage(500, 500), form().controlAt(500, 500));
  EXPECT_EQ(form().controlAt(500, 500), &form().control("frame"));
}

TEST_F(Mapping, windowedControlsLieInFrontOfEveryGraphicalOne) {
  const int lowestWindowed = web::stacking(form(), form().control("frame"));
  for (const char *graphical : {"label", "image", "shape", "late"}) {
    EXPECT_LT(web::stacking(form(), form().control(graphical)), lowestWindowed) << graphical;
  }
}

TEST(PageFonts, theDesignsFontsBecomeTheFontsThePageCarries) {
  EXPECT_EQ(web::cssFont({.name = "MS Sans Serif", .points = 8.25F}),
            "8.25pt 'Honderdtafels Sans', sans-serif");
  EXPECT_EQ(web::cssFont({.name = "Arial", .points = 11.25F, .bold = true}),
            "bold 11.25pt 'Honderdtafels Sans', sans-serif");
  EXPECT_EQ(web::cssFont({.name = "MS Sans Serif", .points = 8.25F, .italic = true}),
            "italic 8.25pt 'Honderdtafels Sans', sans-serif");
  EXPECT_EQ(web::cssFont({.name = "Comic Sans MS", .points = 18}),
            "18pt 'Comic Neue', 'Honderdtafels Sans', cursive");
  EXPECT_EQ(web::cssPoints(13.5F), "13.5");
  EXPECT_EQ(web::cssPoints(9.75F), "9.75");
  EXPECT_EQ(web::cssPoints(8.05F), "8.05");
  EXPECT_EQ(web::cssPoints(27.0F), "27");
  // A font no design names yet still ends in one the page carries.
  EXPECT_EQ(web::cssFamily("Tahoma"), "'Tahoma', 'Honderdtafels Sans', sans-serif");
}

TEST(PageText, aLabelsLinesKeepEveryCharacterOfItsCaptionInOrder) {
  // The page reads a label's text back from its lines: the blanks and line breaks that
  // ended them, and what the label has no room for, stay beside them out of sight.
  tk::CaptionLayout layout;
  layout.lines = {{.start = 0, .length = 8, .left = 150, .top = 0},
                  {.start = 10, .length = 2, .left = 300, .top = 195}};
  layout.bounds = {-30, 0, 600, 300};
  const std::string text = "software\r\nom te";
  EXPECT_EQ(web::captionPieces(text, layout),
            (std::vector<web::CaptionPiece>{{"software", "\n", 12, 0}, {"om", " te", 22, 13}}));
}

TEST(PageText, multiLineCaptionsBreakAtBareLineFeeds) {
  EXPECT_EQ(web::captionText(" Sinds mijn 60ste\r\n via www "), " Sinds mijn 60ste\n via www ");
  EXPECT_EQ(web::captionText("\r\n\r\n"), "\n\n");
  EXPECT_EQ(web::captionText("a\rb"), "a\rb");
}

TEST(PageEdges, anEdgesOuterRingIsTheBorderAndItsInnerRingShadowsInsideIt) {
  EXPECT_EQ(web::cssEdge(tk::Edge::Raised),
            (web::CssEdge{"#ffffff #404040 #404040 #ffffff", "inset -1px -1px #808080"}));
  EXPECT_EQ(web::cssEdge(tk::Edge::Pressed),
            (web::CssEdge{"#404040 #ffffff #ffffff #404040", "inset 1px 1px #808080"}));
  EXPECT_EQ(web::cssEdge(tk::Edge::Etched),
            (web::CssEdge{"#808080 #ffffff #ffffff #808080",
                          "inset 1px 1px #ffffff, inset -1px -1px #808080"}));
  EXPECT_EQ(web::cssEdge(tk::Edge::Thin),
            (web::CssEdge{"#808080 #ffffff #ffffff #808080", "none"}));
}

TEST(PageColours, coloursAreCssHexInRedGreenBlueOrder) {
  EXPECT_EQ(web::cssColor(tk::rgb(234, 226, 138)), "#eae28a");
  EXPECT_EQ(web::cssColor(tk::Color::fromBgr(0x800000)), "#000080");
}

TEST(PageKeys, aKeyTypesTheCharacterItsEventNamesAndTheRowsGiveDigitsByPlace) {
  EXPECT_EQ(web::keyCode("Enter"), 13);
  EXPECT_EQ(web::keyCode("7"), '7');
  EXPECT_EQ(web::keyCode("\xc3\xa9"), 0xe9);                                  // é on AZERTY's 2
  EXPECT_EQ(web::keyCode("\xe2\x82\xac"), static_cast<std::int16_t>(0x20ac)); // €
  EXPECT_EQ(web::keyCode("Tab"), tk::key::tab);
  // A character beyond 16 bits reaches KeyPress once, as the toolkit counts it.
  EXPECT_EQ(web::keyCode("\xf0\x9f\x98\x80"), tk::keyCodeOf(U'\U0001F600'));
  EXPECT_EQ(web::keyCode("Process"), 0); // an input method has the key
  EXPECT_EQ(web::keyCode("Shift"), 0);
  EXPECT_EQ(web::keyCode(""), 0);
  EXPECT_EQ(web::digitAtKeyPosition("Digit0"), 0);
  EXPECT_EQ(web::digitAtKeyPosition("Numpad7"), 7);
  EXPECT_EQ(web::digitAtKeyPosition("KeyA"), std::nullopt);
  EXPECT_EQ(web::digitAtKeyPosition("NumpadEnter"), std::nullopt);
  const tk::KeyDown held = web::keyDown(" ", "Space", web::pageKey::repeat | web::pageKey::ctrl);
  EXPECT_TRUE(held.repeat && held.shortcut && !held.composing);
  EXPECT_TRUE(web::keyDown("Process", "Digit2", web::pageKey::composing).composing);
}

} // namespace
