// The way back to the drill, the Enter key and the teacher's greeting.
#include "classroom_fixture.h"

namespace {

using classroom_testing::KlasFixture;

struct ClassroomReturn : KlasFixture {
  tk::Control &d(std::string_view name) { return drill.control(name); }
};

TEST_F(ClassroomReturn, resumesTheRoundWithTheProblemWhereItStoodAndTheSecondsItHad) {
  startRound(3);
  t.advance(3'000);
  const std::string seconds = d("Lblchrono").text();
  const float height = d("lblvalprobleem").top();
  ASSERT_EQ(seconds, "57");
  ASSERT_GT(height, 0);
  d("txtAntwoord").typeText("12");

  openClassroom();
  lesson(4);
  t.advance(15'000);
  EXPECT_EQ(d("Lblchrono").text(), seconds); // the drill waits while the child learns
  c("Cmdterug").click();

  EXPECT_FALSE(klas().visible());
  EXPECT_TRUE(drill.visible());
  EXPECT_EQ(t.desktop.active(), &drill);
  EXPECT_EQ(drill.probleem(), "300 x 4 = ?");
  EXPECT_FLOAT_EQ(d("lblvalprobleem").top(), height);
  EXPECT_EQ(d("Lblchrono").text(), seconds);
  EXPECT_TRUE(drill.timer("tmrval").enabled());
  EXPECT_TRUE(drill.timer("Tmrchrono").enabled());
  EXPECT_EQ(d("txtAntwoord").text(), "");
  EXPECT_TRUE(d("txtAntwoord").hasFocus());
  EXPECT_FALSE(d("cmdgroen").visible());
  EXPECT_TRUE(d("cmdrood").visible());

  t.advance(1'000);
  EXPECT_EQ(d("Lblchrono").text(), "56");
}

TEST_F(ClassroomReturn, emptiesTheProblemHidesTheGreetingAndItselfAndKeepsTheLesson) {
  startRound(5);
  openClassroom();
  lesson(7);
  t.advance(15'000);
  c("Image1").mouseMove({});
  ASSERT_TRUE(c("Lblinaklas").visible());
  const std::string picture = field();
  c("Cmdterug").click();
  EXPECT_EQ(c("lblinfor").text(), "");
  EXPECT_FALSE(c("Lblinaklas").visible());
  EXPECT_FALSE(c("Cmdterug").visible());
  EXPECT_EQ(field(), picture);
  EXPECT_EQ(c("txtgetal2").text(), "7");
  EXPECT_TRUE(c("Lbltrainer").visible());
  EXPECT_TRUE(c("Lbltrainer2").visible());
}

TEST_F(ClassroomReturn, isNotOfferedWhileALessonRuns) {
  startRound(3);
  openClassroom();
  lesson(2);
  c("Cmdterug").click();
  EXPECT_TRUE(klas().visible());
  EXPECT_FALSE(drill.visible());
}

using ClassroomKeys = ClassroomReturn;

TEST_F(ClassroomKeys, enterIsSwallowedAndSendsOneTab) {
  startRound(3);
  Aklas &form = openClassroom();
  form.focusMovedTo(nullptr); // the window itself has the keyboard
  EXPECT_EQ(form.keyPress(13), 0);
  EXPECT_EQ(t.services.tabs, 1);
}

TEST_F(ClassroomKeys, otherKeysPassUnchangedAndSendNothing) {
  startRound(3);
  Aklas &form = openClassroom();
  form.focusMovedTo(nullptr);
  EXPECT_EQ(form.keyPress('7'), '7');
  EXPECT_EQ(form.keyPress(9), 9);
  EXPECT_EQ(form.keyPress(10), 10);
  EXPECT_EQ(t.services.tabs, 0);
}

using ClassroomGreeting = ClassroomReturn;

TEST_F(ClassroomGreeting, appearsOverTheTeacherAndStaysUntilThePointerCrossesIt) {
  startRound(3);
  Aklas &form = openClassroom();
  form.mouseMove({.buttons = tk::mouse::left, .shift = tk::shift::shiftKey, .x = 5100, .y = 4500});
  EXPECT_TRUE(c("Lblinaklas").visible());
  form.mouseMove({.buttons = 0, .shift = 0, .x = 5100, .y = 4900}); // off the picture, downwards
  form.mouseMove({.buttons = 0, .shift = 0, .x = 6000, .y = 4500});
  EXPECT_TRUE(c("Lblinaklas").visible());
  form.mouseMove({.buttons = 0, .shift = 0, .x = 4000, .y = 4500});
  EXPECT_FALSE(c("Lblinaklas").visible());
  // Hidden, the greeting takes no pointer: the same place is the form again.
  form.mouseMove({.buttons = 0, .shift = 0, .x = 4000, .y = 4500});
  EXPECT_FALSE(c("Lblinaklas").visible());
}

TEST_F(ClassroomGreeting, liesInFrontOfTheTeacherWhereTheyOverlap) {
  startRound(3);
  Aklas &form = openClassroom();
  const tk::Rect greeting = c("Lblinaklas").rect();
  const tk::Rect teacher = c("Image1").rect();
  ASSERT_FLOAT_EQ(greeting.left + greeting.width - teacher.left, 15);
  const tk::MouseEvent overlap{.buttons = 0, .shift = 0, .x = teacher.left + 7, .y = 4400};
  form.mouseMove(overlap); // the hidden greeting lets it through to the picture
  EXPECT_TRUE(c("Lblinaklas").visible());
  form.mouseMove(overlap);
  EXPECT_FALSE(c("Lblinaklas").visible());
  form.mouseMove({.buttons = 0, .shift = 0, .x = greeting.left + greeting.width, .y = 4400});
  EXPECT_TRUE(c("Lblinaklas").visible()); // just past the greeting: the picture alone
}

} // namespace
