// The lines of a caption and their places, which every window system draws as given.
#include "support/fakes.h"
#include "toolkit/caption.h"
#include "toolkit/screen.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

namespace {

// Every character 100 twips wide: a box of 1000 twips holds ten of them.
constexpr float charWidth = 100;
constexpr float line = 200;

float measure(std::string_view text) {
  float width = 0;
  for (const char c : text) {
    // Each code point once, whatever number of bytes it takes in UTF-8.
    width += (static_cast<unsigned char>(c) & 0xC0U) != 0x80U ? charWidth : 0;
  }
  return width;
}

std::vector<std::string> texts(std::string_view caption, const tk::CaptionLayout &layout) {
  std::vector<std::string> out;
  for (const tk::CaptionLine &l : layout.lines) {
    out.emplace_back(caption.substr(l.start, l.length));
  }
  return out;
}

tk::CaptionLayout layOut(std::string_view text, tk::CaptionBox box) {
  return tk::layOutCaption(text, box, line, measure);
}

using Lines = std::vector<std::string>;

TEST(CaptionLayout, wrapsAtBlanksAndKeepsAWordThatOverrunsByLessThanTheSlack) {
  // A word that one window system measures a few pixels too wide stays on its line:
  // "software om te trainen" must not lose "trainen" to a line the box has no room for.
  const tk::CaptionBox box{.width = 1000, .height = 1000};
  EXPECT_EQ(texts("aaaa bbbb cc", layOut("aaaa bbbb cc", box)), (Lines{"aaaa bbbb", "cc"}));
  const tk::CaptionBox tight{.width = 1000 - tk::captionSlack + 1, .height = 1000};
  EXPECT_EQ(texts("aaaa bbbbb", layOut("aaaa bbbbb", tight)), (Lines{"aaaa bbbbb"}));
  const tk::CaptionBox narrower{.width = 1000 - tk::captionSlack - 1, .height = 1000};
  EXPECT_EQ(texts("aaaa bbbbb", layOut("aaaa bbbbb", narrower)), (Lines{"aaaa", "bbbbb"}));
}

TEST(CaptionLayout, breaksAWordWiderThanItsLineBetweenCharacters) {
  // Every letter shows: the rest of the word goes on the next line, never past the edge.
  const tk::CaptionBox box{.width = 300, .height = 1000};
  EXPECT_EQ(texts("abcdefg hi", layOut("abcdefg hi", box)), (Lines{"abc", "def", "g", "hi"}));
  // Two-byte letters are never split in half.
  EXPECT_EQ(texts("ëëëë", layOut("ëëëë", box)), (Lines{"ëëë", "ë"}));
  // A box narrower than one letter still shows each letter, one a line.
  const tk::CaptionBox sliver{.width = 10, .height = 1000};
  EXPECT_EQ(texts("ab", layOut("ab", sliver)), (Lines{"a", "b"}));
}

TEST(CaptionLayout, endsLinesAtLineBreaksAndStopsBelowABoxThatDoesNotGrow) {
  const tk::CaptionBox box{.width = 1000, .height = 500};
  EXPECT_EQ(texts("a\r\nb\nc", layOut("a\r\nb\nc", box)), (Lines{"a", "b", "c"}));
  // 500 twips hold two lines and a half: the third is drawn cut, a fourth not at all.
  EXPECT_EQ(layOut("a\nb\nc\nd", box).lines.size(), 3U);
  EXPECT_TRUE(layOut("", box).lines.empty());
}

TEST(CaptionLayout, placesLinesByTheAlignmentOneLineHeightApart) {
  const auto right = layOut("ab cdef", {.width = 500, .height = 1000, .align = tk::Align::Right});
  ASSERT_EQ(right.lines.size(), 2U);
  EXPECT_EQ(right.lines[0].left, 300);
  EXPECT_EQ(right.lines[1].left, 100);
  EXPECT_EQ(right.lines[1].top, line);
  const auto centre = layOut("ab", {.width = 500, .height = 1000, .align = tk::Align::Centre});
  EXPECT_EQ(centre.lines[0].left, 150);
}

TEST(CaptionLayout, aLineWithinTheSlackWidensTheBoundsOnTheSideItStandsOut) {
  const tk::CaptionBox box{.width = 1000 - 40, .height = 300, .align = tk::Align::Right};
  const auto layout = layOut("aaaaaaaaaa", box);
  EXPECT_EQ(layout.lines[0].left, -40);
  EXPECT_EQ(layout.bounds, (tk::Rect{-40, 0, 1000, 300}));
}

TEST(CaptionLayout, autoSizeGrowsDownwardsWhenItWrapsAndSidewaysWhenItDoesNot) {
  const auto down =
      layOut("aaaa bbbb cccc", {.width = 500, .height = 100, .wordWrap = true, .autoSize = true});
  EXPECT_EQ(down.width, 500);
  EXPECT_EQ(down.height, 3 * line);
  const auto sideways = layOut("aaaa bbbb cccc", {.width = 500, .height = 100, .autoSize = true});
  EXPECT_EQ(texts("aaaa bbbb cccc", sideways), (Lines{"aaaa bbbb cccc"}));
  EXPECT_EQ(sideways.width, 1400);
  EXPECT_EQ(sideways.height, line);
  // Never smaller than its design.
  const auto small = layOut("a", {.width = 500, .height = 900, .autoSize = true});
  EXPECT_EQ(small.height, 900);
}

TEST(CaptionLayout, aHugeUnbrokenTextInAFixedBoxIsLaidOutOnlyAsFarAsItShows) {
  const std::string huge(200'000, 'x');
  const auto layout = layOut(huge, {.width = 1000, .height = 400});
  EXPECT_EQ(layout.lines.size(), 2U);
}

constexpr tk::ControlDesign labels[] = {
    {.name = "grows",
     .kind = tk::Kind::Label,
     .text = "een twee",
     .rect = {0, 0, 200, 100},
     .autoSize = true,
     .wordWrap = true},
    // Nine characters of 45 twips: 5 twips more than the label is wide.
    {.name = "overruns",
     .kind = tk::Kind::Label,
     .text = "abcdefghi",
     .rect = {1000, 500, 400, 300},
     .align = tk::Align::Right},
    {.name = "button", .kind = tk::Kind::Button, .rect = {1000, 900, 400, 300}},
};
constexpr tk::FormDesign labelForm{.name = "Labels", .controls = labels};

// The form of labels on a desktop of fakes, which count the texts measured.
class LabelForm : public testing::Test {
protected:
  testing_support::FakeServices services;
  testing_support::ManualClock clock;
  tk::Desktop desktop{clock, services};
  tk::Form form{desktop, labelForm};
};

TEST_F(LabelForm, anAutoSizeLabelTakesTheSizeItsNewCaptionNeeds) {
  // The screens and the hit test see the same size as every window system draws.
  tk::Control &label = form.control("grows");
  const float height = tk::lineHeight(label.design().font);
  EXPECT_EQ(label.height(), 2 * height) << "one word a line at 45 twips a character";
  label.setText("een twee drie");
  EXPECT_EQ(label.caption().lines.size(), 3U);
  EXPECT_EQ(label.captionLine(label.caption().lines[2]), "drie");
  EXPECT_EQ(label.height(), 3 * height);
  label.move(50, 60);
  label.setText("een");
  EXPECT_EQ(label.rect(), (tk::Rect{50, 60, 200, height})) << "no wider or taller than it needs";
}

TEST_F(LabelForm, aLabelIsDrawnWhereItsLinesStandAndEveryOtherControlInItsRect) {
  EXPECT_EQ(form.control("overruns").drawnRect(), (tk::Rect{995, 500, 405, 300}));
  EXPECT_EQ(form.control("button").drawnRect(), form.control("button").rect());
}

TEST_F(LabelForm, aLabelIsLaidOutAgainWhenItsBoxChangesNotWhenItMoves) {
  tk::Control &label = form.control("grows");
  label.setText("een twee drie");
  const tk::Rect laidOut = label.rect();
  const int measured = services.measured;
  label.move(laidOut.left + 30, laidOut.top + 30);
  label.setTop(laidOut.top + 60);
  EXPECT_EQ(services.measured, measured) << "a move measures no text";
  EXPECT_EQ(label.caption().lines.size(), 3U);
  label.setRect({0, 0, 2000, 100});
  EXPECT_GT(services.measured, measured);
  EXPECT_EQ(label.caption().lines.size(), 1U) << "a wider box holds the three words on one line";
}

} // namespace
