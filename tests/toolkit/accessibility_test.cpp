// What a screen reader and the keyboard get of a form: names that follow the screen,
// descriptions the screens set, decoration left out, and Tab in screen order.
#include "classroom/classroom_fixture.h"
#include "shell/info.h"
#include "shell/palette.h"
#include "shell/welcome.h"
#include "support/fakes.h"
#include "toolkit/accessibility.h"
#include "toolkit/screen.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <string>
#include <vector>

using ::testing::ElementsAre;
using tk::Kind;

namespace {

constexpr tk::ControlDesign controls[] = {
    {.name = "caption", .kind = Kind::Label, .text = "  nog\r\n60 "},
    {.name = "pictured", .kind = Kind::Button, .tooltip = "Oei", .description = "Wissen"},
    {.name = "answer", .kind = Kind::TextBox, .description = "Vul in"},
    {.name = "number", .kind = Kind::TextBox, .text = "13"},
    {.name = "menu", .kind = Kind::Menu, .text = "&Basis && meer"},
    {.name = "pencil", .kind = Kind::Image, .picture = "pencil"},
    {.name = "link", .kind = Kind::Image, .tooltip = "De website"},
    {.name = "frame", .kind = Kind::Shape},
    {.name = "fall", .kind = Kind::PictureBox},
    {.name = "falling", .kind = Kind::Label, .in = "fall"},
    {.name = "mushroom", .kind = Kind::PictureBox, .picture = "mushroom"},
};
constexpr tk::FormDesign namesDesign{.name = "Namen", .controls = controls};
constexpr tk::FormDesign captionless{.name = "Zonder", .description = "Tafels oefenen"};
constexpr tk::FormDesign captioned{
    .name = "Met", .caption = "A klas ", .description = "niet gezegd"};

// Three rows, one of them with a control a little lower than its neighbours, and a
// button in a frame that stands right of the last row.
constexpr tk::ControlDesign placed[] = {
    {.name = "low", .kind = Kind::Button, .rect = {0, 3000, 500, 500}},
    {.name = "right", .kind = Kind::Button, .rect = {2000, 1000, 500, 500}},
    {.name = "inFrame", .kind = Kind::Button, .in = "box", .rect = {100, 100, 500, 500}},
    {.name = "box", .kind = Kind::Frame, .rect = {1000, 2900, 1000, 1000}},
    {.name = "left", .kind = Kind::TextBox, .rect = {0, 1100, 1500, 500}},
    {.name = "noStop", .kind = Kind::Button, .rect = {0, 0, 500, 500}, .tabStop = false},
    {.name = "top", .kind = Kind::Button, .rect = {3000, 0, 500, 500}, .visible = false},
    {.name = "label", .kind = Kind::Label, .rect = {0, 0, 500, 500}},
};
constexpr tk::FormDesign placedDesign{.name = "Plaatsen", .controls = placed};

struct Accessibility : ::testing::Test {
  testing_support::ManualClock clock;
  testing_support::FakeServices services;
  tk::Desktop desktop{clock, services};
};

std::vector<std::string> names(const std::vector<tk::Control *> &order) {
  std::vector<std::string> result;
  for (const tk::Control *c : order) {
    result.push_back(c->name() + (c->index() == tk::single ? "" : std::to_string(c->index())));
  }
  return result;
}

TEST_F(Accessibility, namesFollowTheCaptionAndBoxesKeepTheirOwnName) {
  tk::Form form(desktop, namesDesign);
  tk::Control &caption = form.control("caption");
  EXPECT_EQ(tk::accessibleName(caption), "nog\n60");
  caption.setText("56");
  EXPECT_EQ(tk::accessibleName(caption), "56");
  caption.setText(" ");
  EXPECT_EQ(tk::accessibleName(caption), "");

  EXPECT_EQ(tk::accessibleName(form.control("pictured")), "Oei");
  EXPECT_EQ(tk::accessibleDescription(form.control("pictured")), "Wissen");

  tk::Control &answer = form.control("answer");
  answer.setText("1200");
  EXPECT_EQ(tk::accessibleName(answer), "Vul in");
  EXPECT_EQ(tk::accessibleDescription(answer), "") << "the design's description is the name";
  answer.setDescription("300 x 4 = ?");
  EXPECT_EQ(tk::accessibleDescription(answer), "300 x 4 = ?");

  EXPECT_EQ(tk::accessibleName(form.control("number")), "13");
  EXPECT_EQ(tk::accessibleName(form.control("menu")), "Basis & meer");
  EXPECT_EQ(tk::accessibleName(form.control("link")), "De website");

  EXPECT_EQ(tk::accessibleName(tk::Form(desktop, captionless)), "Tafels oefenen");
  EXPECT_EQ(tk::accessibleName(tk::Form(desktop, captioned)), "A klas");
}

TEST_F(Accessibility, decorationIsHiddenAndWhatCarriesMeaningIsNot) {
  tk::Form form(desktop, namesDesign);
  EXPECT_TRUE(tk::hiddenFromScreenReader(form.control("pencil")));
  EXPECT_TRUE(tk::hiddenFromScreenReader(form.control("frame")));
  EXPECT_TRUE(tk::hiddenFromScreenReader(form.control("mushroom")));
  EXPECT_FALSE(tk::hiddenFromScreenReader(form.control("link")));
  EXPECT_FALSE(tk::hiddenFromScreenReader(form.control("fall"))) << "it holds the problem";
  EXPECT_FALSE(tk::hiddenFromScreenReader(form.control("caption")));
}

TEST_F(Accessibility, aDescriptionChangeReachesTheWindowSystemOnlyWhenItChanges) {
  struct Recorder : testing_support::RecordingWindowSystem {
    int descriptions = 0;
    void controlChanged(tk::Control & /*control*/, tk::Property property) override {
      descriptions += property == tk::Property::Description ? 1 : 0;
    }
  } recorder;
  desktop.setWindowSystem(&recorder);
  tk::Form form(desktop, namesDesign);
  desktop.load(form);
  form.control("answer").setDescription("300 x 4 = ?");
  form.control("answer").setDescription("300 x 4 = ?");
  form.control("answer").setDescription("");
  EXPECT_EQ(recorder.descriptions, 2);
  desktop.setWindowSystem(nullptr);
}

TEST_F(Accessibility, tabGoesRowByRowFromLeftToRightThroughContainers) {
  tk::Form form(desktop, placedDesign);
  EXPECT_THAT(names(tk::tabOrder(form)), ElementsAre("top", "left", "right", "low", "inFrame"));
}

TEST(ScreenTabOrder, theDrillTabsAlongItsRowsAndTheTableButtonsAsTheyStand) {
  testing_support::TestProgram t;
  t.program.start();
  t.program.openDrill();
  EXPECT_THAT(names(tk::tabOrder(t.program.tafels())),
              ElementsAre("txtAntwoord", "cmdoeifout", "Cmdstop", "cmdgroen", "cmdrood",
                          "cmdstarter0", "cmdstarter2", "cmdstarter1", "cmdstarter3", "cmdstarter4",
                          "cmdstarter5", "cmdstarter6", "cmdstarter7", "cmdstarter8"));
}

struct ScreenDescriptions : classroom_testing::KlasFixture {};

TEST_F(ScreenDescriptions, theClassroomTabsDownItsTablesThenAlongTheBottomRow) {
  startRound(3);
  openClassroom();
  EXPECT_THAT(names(tk::tabOrder(klas())),
              ElementsAre("Cmd1", "Cmd2", "Cmd3", "Cmd4", "Cmd5", "Cmd6", "Cmd7", "Cmd8", "Cmd9",
                          "Cmd10", "Cmdtimerreset", "Cmdalletafels", "Cmdterug"));
}

TEST_F(ScreenDescriptions, theAnswerBoxDescribesTheProblemUntilTheRoundEnds) {
  tk::Control &answer = drill.control("txtAntwoord");
  EXPECT_EQ(tk::accessibleDescription(answer), "");
  startRound(3);
  EXPECT_EQ(tk::accessibleDescription(answer), "300 x 4 = ?");
  EXPECT_EQ(tk::accessibleDescription(answer), drill.probleem());
  t.services.randoms = {0.75F};
  answer.typeText("1200");
  EXPECT_EQ(tk::accessibleDescription(answer), "800 x 4 = ?");
  t.advance(61'000);
  EXPECT_EQ(tk::accessibleDescription(answer), "");
}

TEST_F(ScreenDescriptions, eachBoxOfTheFieldSaysItsColourThroughALesson) {
  startRound(3);
  openClassroom();
  auto colours = [this] {
    std::multiset<std::string> said;
    for (int k = 0; k <= 100; ++k) {
      said.insert(tk::accessibleDescription(c("Text2", static_cast<std::int16_t>(k))));
    }
    return said;
  };
  EXPECT_EQ(colours().count("geel"), 101U);
  lesson(7);
  EXPECT_EQ(tk::accessibleDescription(c("Text2", 70)), "groen");
  EXPECT_EQ(colours().count("groen"), 11U);
  t.advance(10'000);
  EXPECT_EQ(tk::accessibleDescription(c("Text2", 70)), "zwart");
  EXPECT_EQ(colours().count("zwart"), 11U);
  EXPECT_EQ(colours().count("geel"), 90U);
  EXPECT_EQ(tk::accessibleName(c("Text2", 70)), "70");
}

// Contrast as the web's accessibility guidelines count it: 1 (none) to 21.
double luminance(tk::Color c) {
  auto channel = [](std::uint8_t value) {
    const double v = value / 255.0;
    return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
  };
  return 0.2126 * channel(c.red) + 0.7152 * channel(c.green) + 0.0722 * channel(c.blue);
}
double contrast(tk::Color a, tk::Color b) {
  const double la = luminance(a);
  const double lb = luminance(b);
  return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

TEST(FocusRing, standsOutOnEveryButtonAndBoxColourOfTheDesigns) {
  EXPECT_GE(tk::focusRing.pixels, 2);
  std::vector<tk::Color> faces;
  for (const tk::FormDesign *design :
       {&welcomeDesign(), &infoDesign(), &drillDesign(), &classroomDesign()}) {
    for (const tk::ControlDesign &row : design->controls) {
      if (row.kind == Kind::Button) {
        faces.push_back(row.back.value_or(tk::systemColor::buttonFace));
      } else if (row.kind == Kind::TextBox) {
        faces.push_back(row.back.value_or(tk::systemColor::window));
      }
    }
  }
  for (const palette::SpokenColour &painted : palette::spokenColours) {
    faces.push_back(painted.colour); // what the screens paint boxes at run time
  }
  for (const tk::Color face : faces) {
    // One of the two rings contrasts at least 3 : 1 with the face it lies on.
    EXPECT_GE(std::max(contrast(tk::focusRing.outer, face), contrast(tk::focusRing.inner, face)),
              3.0)
        << "RGB(" << int(face.red) << "," << int(face.green) << "," << int(face.blue) << ")";
  }
  EXPECT_GE(contrast(tk::focusRing.outer, tk::focusRing.inner), 3.0) << "the rings tell apart";
}

} // namespace
