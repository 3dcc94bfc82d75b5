// The classroom's design, its hundred-field, and the set-up that runs each time the
// drill's red light opens it.
#include "classroom_fixture.h"

#include <algorithm>
#include <cmath>
#include <set>
#include <vector>

namespace {

using classroom_testing::geel;
using classroom_testing::KlasFixture;

using ClassroomField = KlasFixture;

TEST_F(ClassroomField, holdsTheBoxes0To100EachShowingItsNumberOnYellow) {
  tk::ControlArray boxes = klas().array("Text2");
  ASSERT_EQ(boxes.members().size(), 101U);
  for (const tk::Control *box : boxes) {
    EXPECT_EQ(box->text(), std::to_string(box->index()));
    EXPECT_EQ(box->backColor(), geel) << box->index();
    EXPECT_TRUE(box->visible()) << box->index();
    EXPECT_EQ(box->container(), &c("Frmveld")) << box->index();
    EXPECT_EQ(box->design().align, tk::Align::Centre);
    EXPECT_TRUE(box->design().font.bold);
    EXPECT_FALSE(box->design().tabStop);
  }
}

TEST_F(ClassroomField, placesItsBoxesInTenRowsOfTenWithTheFewThatStandApart) {
  auto rect = [&](int k) { return c("Text2", static_cast<std::int16_t>(k)).rect(); };
  EXPECT_EQ(rect(1), (tk::Rect{120, 480, 375, 285}));
  EXPECT_EQ(rect(10), (tk::Rect{4560, 480, 375, 285}));
  EXPECT_EQ(rect(5), (tk::Rect{2050, 480, 375, 285}));
  EXPECT_EQ(rect(47), (tk::Rect{3100, 2080, 375, 285}));
  EXPECT_EQ(rect(100), (tk::Rect{4560, 4080, 375, 285}));
  // The first box of most rows stands 10 twips further left; 1 and 81 do not.
  for (const int k : {11, 21, 31, 41, 51, 61, 71, 91}) {
    EXPECT_FLOAT_EQ(rect(k).left, 110) << k;
  }
  EXPECT_FLOAT_EQ(rect(81).left, 120);
  EXPECT_FLOAT_EQ(rect(26).top, 1320);
  EXPECT_FLOAT_EQ(rect(25).top, 1280);
  EXPECT_EQ(rect(0), (tk::Rect{4560, 200, 375, 195}));
}

TEST_F(ClassroomField, drawsAGridWithAColumnEvery500TwipsAndARowEvery400) {
  std::set<int> indices;
  std::set<float> xs;
  for (const tk::Control *line : klas().array("Line1")) {
    indices.insert(line->index());
    const tk::LineEnds &ends = line->line();
    EXPECT_FLOAT_EQ(ends.x1, ends.x2) << line->index();
    EXPECT_FLOAT_EQ(ends.y1, 120) << line->index();
    EXPECT_FLOAT_EQ(ends.y2, 4410) << line->index();
    xs.insert(ends.x1);
  }
  EXPECT_EQ(indices, (std::set<int>{0, 1, 2, 3, 5, 6, 7, 8, 9, 10, 11}));
  EXPECT_EQ(xs, (std::set<float>{0, 500, 1000, 1500, 2000, 2500, 3000, 3500, 4000, 4500, 5000}));
  EXPECT_FLOAT_EQ(c("Line1", 3).line().x1, 2000);
  EXPECT_FLOAT_EQ(c("Line1", 5).line().x1, 1500);

  std::vector<float> ys;
  for (const tk::Control *line : klas().array("Line2")) {
    const tk::LineEnds &ends = line->line();
    EXPECT_FLOAT_EQ(ends.y1, ends.y2) << line->index();
    EXPECT_FLOAT_EQ(ends.x1, 0) << line->index();
    EXPECT_FLOAT_EQ(ends.x2, line->index() == 6 ? 4995 : 5000) << line->index();
    ys.push_back(ends.y1);
  }
  EXPECT_EQ(ys, (std::vector<float>{120, 420, 800, 1200, 1600, 2000, 2400, 2800, 3200, 3600, 4000,
                                    4400}));
}

TEST_F(ClassroomField, stacksTheBoxesFirstThenTwoLinesTheLegendAndTheOtherLinesBackwards) {
  std::vector<std::string> order;
  for (const auto &control : klas().controls()) {
    if (control->container() == &c("Frmveld") && control->name() != "Text2") {
      order.push_back(control->name() + std::to_string(control->index()));
    }
  }
  EXPECT_EQ(order, (std::vector<std::string>{
                       "Line10", "Line20", "Lbl100veld-1", "Line211", "Line210", "Line29",
                       "Line28", "Line27", "Line26",       "Line25",  "Line24",  "Line23",
                       "Line22", "Line21", "Line111",      "Line110", "Line19",  "Line18",
                       "Line17", "Line16", "Line15",       "Line13",  "Line12",  "Line11"}));
  const auto &controls = klas().controls();
  EXPECT_EQ(std::find_if(controls.begin(), controls.end(),
                         [](const auto &x) { return x->name() == "Text2"; })
                ->get()
                ->index(),
            100);
}

TEST_F(ClassroomField, layersTheListsAndTheProblemOverTheBoardAndTheGlobeOverItsWhiteField) {
  Aklas &form = klas();
  EXPECT_EQ(form.controlAt(10000, 300), &c("Image4"));
  EXPECT_EQ(form.controlAt(9900, 200), &c("Label3"));
  EXPECT_EQ(form.controlAt(200, 3700), &c("lblinfor"));
  // Loading hides both question lists: the board lies bare under them.
  EXPECT_EQ(form.controlAt(400, 1000), &c("Image3"));
  EXPECT_EQ(form.controlAt(2100, 1000), &c("Image3"));
  c("Lbltrainer2").show();
  c("lbltrainer3").show();
  EXPECT_EQ(form.controlAt(400, 1000), &c("Lbltrainer2"));
  EXPECT_EQ(form.controlAt(2100, 1000), &c("lbltrainer3"));
  EXPECT_EQ(form.controlAt(4300, 700), &c("lblmededeling"));
  EXPECT_EQ(form.controlAt(4050, 700), &c("Image3")); // the tip frame lets the pointer through
}

using ClassroomSetUp = KlasFixture;

TEST_F(ClassroomSetUp, opensWithTheDrillsProblemAndTheInstructionForItsTable) {
  startRound(3);
  Aklas &form = openClassroom();
  EXPECT_TRUE(form.visible());
  EXPECT_FALSE(drill.visible());
  EXPECT_EQ(t.desktop.active(), &form);
  EXPECT_EQ(c("lblinfor").text(), "300 x 4 = ?");
  EXPECT_EQ(c("lblmededeling").text(), "klik op   x 4\r\n zo leer je 1 minuut de tafel van 4");
}

TEST_F(ClassroomSetUp, opensInTheChoosingStateWithTheFieldAtRest) {
  startRound(6);
  openClassroom();
  EXPECT_TRUE(c("Frmkiestafel").visible());
  EXPECT_FALSE(c("Cmdalletafels").visible());
  EXPECT_FALSE(c("Cmdtimerreset").visible());
  EXPECT_FALSE(c("Cmdterug").visible());
  EXPECT_FALSE(c("Lbltrainer").visible());
  EXPECT_FALSE(c("Lbltrainer2").visible());
  EXPECT_FALSE(c("lbltrainer3").visible());
  EXPECT_FALSE(c("Lblinaklas").visible());
  EXPECT_FALSE(c("txtgetal2").visible());
  EXPECT_EQ(c("txtgetal2").text(), "0");
  // Loading wrote "0" into the empty field, so the list already holds the table of 0.
  EXPECT_EQ(c("Lbltrainer").text().substr(0, 13), "    0 x 0 = 0");
  EXPECT_EQ(field(), fieldWith({}, '.'));
  for (const auto &timer : klas().timers()) {
    EXPECT_FALSE(timer->enabled()) << timer->name();
  }
}

TEST_F(ClassroomSetUp, isCentredOnTheDisplayWithItsOuterSize) {
  startRound(3);
  Aklas &form = openClassroom();
  EXPECT_FLOAT_EQ(form.left(), (t.services.width - form.outerWidth()) / 2);
  EXPECT_FLOAT_EQ(form.top(), (t.services.height - form.outerHeight()) / 2);
}

TEST_F(ClassroomSetUp, reachesOverTheEdgeOfADisplaySmallerThanTheWindow) {
  t.services.width = 640 * tk::twipsPerPixel;
  t.services.height = 480 * tk::twipsPerPixel;
  startRound(3);
  Aklas &form = openClassroom();
  EXPECT_LT(form.left(), 0);
  EXPECT_LT(form.top(), 0);
  EXPECT_FLOAT_EQ(form.left(), (t.services.width - form.outerWidth()) / 2);
}

struct MixedTable {
  float draw; // the random number that draws the table
  const char *problem;
  const char *instruction;
};

class ClassroomSetUpForAMixedProblem : public KlasFixture,
                                       public ::testing::WithParamInterface<MixedTable> {};

TEST_P(ClassroomSetUpForAMixedProblem, namesTheProblemsOwnTableEvenWithoutAButtonForIt) {
  startRound(0, {0.3F, GetParam().draw, 0.5F});
  openClassroom();
  EXPECT_EQ(c("lblinfor").text(), GetParam().problem);
  EXPECT_EQ(c("lblmededeling").text(), GetParam().instruction);
}

INSTANTIATE_TEST_SUITE_P(
    Factors, ClassroomSetUpForAMixedProblem,
    ::testing::Values(
        MixedTable{0.0F, "300 x 0 = ?", "klik op   x 0\r\n zo leer je 1 minuut de tafel van 0"},
        MixedTable{0.1F, "300 x 1 = ?", "klik op   x 1\r\n zo leer je 1 minuut de tafel van 1"},
        MixedTable{std::nextafter(1.0F, 0.0F), "300 x 10 = ?",
                   "klik op   x 10\r\n zo leer je 1 minuut de tafel van 10"}),
    [](const auto &row) { return "row" + std::to_string(row.index); });

TEST_F(ClassroomSetUp, everyOpeningCopiesTheDrillsCurrentProblemAfresh) {
  startRound(3);
  openClassroom();
  c("Cmd2").click();
  t.advance(15'000);
  c("Cmdterug").click();
  t.services.randoms = {0.75F, 0.5F};
  drill.nieuwprobleem();
  openClassroom();
  EXPECT_EQ(c("lblinfor").text(), "800 x 4 = ?");
  // The set-up puts the field back to rest and takes the lists away.
  EXPECT_EQ(field(), fieldWith({}, '.'));
  EXPECT_FALSE(c("Lbltrainer").visible());
  EXPECT_FALSE(c("Lbltrainer2").visible());
  EXPECT_EQ(c("txtgetal2").text(), "0");
}

TEST_F(ClassroomSetUp, nothingOpensTheClassroomBeforeARoundOffersTheRedLight) {
  drill.control("cmdrood").click();
  EXPECT_FALSE(t.program.aklas.loaded());
}

TEST_F(ClassroomSetUp, shownWithoutADrillItReadsNothingAndCreatesNoDrill) {
  t.program.tafels.unload();
  Aklas &form = klas();
  form.show();
  EXPECT_FALSE(t.program.tafels.loaded());
  EXPECT_EQ(c("lblinfor").text(), "");
  EXPECT_EQ(c("lblmededeling").text(), "klik op   x \r\n zo leer je 1 minuut de tafel van ");
  c("Cmd3").click();
  t.advance(15'000);
  c("Cmdterug").click();
  EXPECT_FALSE(t.program.tafels.loaded());
  EXPECT_FALSE(form.visible());
}

} // namespace
