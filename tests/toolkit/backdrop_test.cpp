// A transparent label may be drawn opaque only where one plain colour lies behind all of
// it: its picture box's or its form's, with nothing else of its container beneath it.
#include "support/fakes.h"
#include "toolkit/backdrop.h"
#include "toolkit/form.h"

#include <gtest/gtest.h>

using tk::Kind;

namespace {

constexpr tk::Color navy = tk::rgb(0, 0, 128);
constexpr tk::Color sand = tk::rgb(234, 226, 138);

// The falling area of the drill in small: a plain picture box with a label falling in it,
// a shape and a line beside it, a picture box with a picture and a frame with a label each.
constexpr tk::ControlDesign controls[] = {
    {.name = "area", .kind = Kind::PictureBox, .rect = {0, 0, 3000, 3000}, .back = navy},
    {.name = "falling",
     .kind = Kind::Label,
     .in = "area",
     .text = "300 x 4 = ?",
     .rect = {300, 300, 1500, 300},
     .transparent = true},
    {.name = "tip", .kind = Kind::Shape, .in = "area", .rect = {300, 1500, 600, 600}},
    {.name = "rule", .kind = Kind::Line, .in = "area", .line = {300, 2400, 2400, 2400}},
    {.name = "solid", .kind = Kind::Label, .in = "area", .rect = {300, 900, 600, 300}},
    {.name = "pictured",
     .kind = Kind::PictureBox,
     .rect = {3000, 0, 1500, 1500},
     .picture = "mushroom"},
    {.name = "onPicture",
     .kind = Kind::Label,
     .in = "pictured",
     .rect = {150, 150, 600, 300},
     .transparent = true},
    {.name = "box", .kind = Kind::Frame, .rect = {3000, 1500, 1500, 1500}},
    {.name = "inFrame",
     .kind = Kind::Label,
     .in = "box",
     .rect = {150, 300, 600, 300},
     .transparent = true},
    {.name = "onForm", .kind = Kind::Label, .rect = {4800, 300, 600, 300}, .transparent = true},
};
constexpr tk::FormDesign design{.name = "Vallen",
                                .clientWidth = 6000,
                                .clientHeight = 3000,
                                .back = sand,
                                .controls = controls};

struct Backdrop : ::testing::Test {
  testing_support::FormOfDesign of{design};
  tk::Form &form = of.form();
  tk::Control &falling = form.control("falling");
};

TEST_F(Backdrop, aTransparentLabelOnAPlainPictureBoxOrFormHasItsColourBehindIt) {
  EXPECT_EQ(tk::plainBackdrop(falling), navy);
  EXPECT_EQ(tk::plainBackdrop(form.control("onForm")), sand);
  form.control("area").setBackColor(tk::rgb(255, 255, 0));
  EXPECT_EQ(tk::plainBackdrop(falling), tk::rgb(255, 255, 0)) << "the colour it has now";
}

TEST_F(Backdrop, noneForALabelThatPaintsItsOwnBackOrLiesOnAPictureOrAFrame) {
  EXPECT_EQ(tk::plainBackdrop(form.control("solid")), std::nullopt);
  EXPECT_EQ(tk::plainBackdrop(form.control("onPicture")), std::nullopt);
  EXPECT_EQ(tk::plainBackdrop(form.control("inFrame")), std::nullopt);
  EXPECT_EQ(tk::plainBackdrop(form.control("area")), std::nullopt);
}

TEST_F(Backdrop, noneWhileAShownControlOfItsContainerLiesBehindIt) {
  falling.setTop(1500); // over the shape, a later row, which lies behind it
  EXPECT_EQ(tk::plainBackdrop(falling), std::nullopt);
  form.control("tip").hide();
  EXPECT_EQ(tk::plainBackdrop(falling), navy);
  falling.setTop(2250); // across the line
  EXPECT_EQ(tk::plainBackdrop(falling), std::nullopt);
  falling.setTop(600); // just below the opaque label above it, which lies behind it
  EXPECT_EQ(tk::plainBackdrop(falling), navy);
  falling.setTop(750);
  EXPECT_EQ(tk::plainBackdrop(falling), std::nullopt);
}

TEST_F(Backdrop, noneWhenTheLabelReachesWithinAPixelOfItsContainersFarEdges) {
  // The picture box's inner area is 3000 - 2 x 30 twips of border high and wide: 2940.
  const float side = form.control("area").scaleHeight();
  form.control("tip").hide();
  form.control("rule").hide();
  falling.setTop(side - falling.height() - 15);
  EXPECT_EQ(tk::plainBackdrop(falling), navy);
  falling.setTop(side - falling.height() - 14);
  EXPECT_EQ(tk::plainBackdrop(falling), std::nullopt);
  falling.move(0, 0); // where a new problem starts
  EXPECT_EQ(tk::plainBackdrop(falling), navy);
  falling.setLeft(-1);
  EXPECT_EQ(tk::plainBackdrop(falling), std::nullopt);
  falling.setLeft(side - falling.width() - 14);
  EXPECT_EQ(tk::plainBackdrop(falling), std::nullopt);
}

} // namespace
