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
};
constexpr tk::FormDesign labelForm{.name = "Labels", .controls = labels};

TEST(CaptionLayout, anAutoSizeLabelTakesTheSizeItsNewCaptionNeeds) {
  // The screens and the hit test see the same size as every window system draws.
  testing_support::FakeServices services;
  testing_support::ManualClock clock;
  tk::Desktop desktop(clock, services);
  tk::Form form(desktop, labelForm);
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

TEST(CaptionLayout, aLabelThatMovesKeepsItsLinesAndOneThatIsResizedBreaksThemAfresh) {
  // The falling problem moves ten times a second: measuring its text each time cost more
  // than the rest of a round.
  testing_support::FakeServices services;
  testing_support::ManualClock clock;
  tk::Desktop desktop(clock, services);
  tk::Form form(desktop, labelForm);
  tk::Control &label = form.control("grows");
  label.setText("een twee drie");
  const tk::CaptionLayout before = label.caption();
  const int measured = services.textsMeasured;
  label.setTop(label.top() + 30);
  label.move(500, 700);
  EXPECT_EQ(services.textsMeasured, measured);
  EXPECT_EQ(label.caption(), before);
  EXPECT_EQ(label.rect().left, 500);

  label.setRect({500, 700, 1000, label.height()});
  EXPECT_GT(services.textsMeasured, measured);
  EXPECT_EQ(label.caption().lines.size(), 1U) << "a box wide enough for the whole caption";
}

} // namespace
