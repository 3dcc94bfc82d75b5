// The bands of each 3-D edge and the place of a frame's caption, which every window
// system fills as given: drawn here into a small grid of letters, one per pixel.
#include "toolkit/edges.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

namespace {

using tk::Edge;

char letterOf(tk::Color color) {
  if (color == tk::edgeColor::light) {
    return 'L';
  }
  if (color == tk::edgeColor::shadow) {
    return 's';
  }
  return color == tk::edgeColor::dark ? 'D' : '?';
}

// Each pixel the letter of its band's colour, '.' for the face; a pixel that two bands
// fill shows '#', for no pixel of an edge may be painted twice in two colours.
std::vector<std::string> drawn(Edge edge, int width, int height, float unit = 1) {
  std::vector<std::string> grid(static_cast<std::size_t>(height),
                                std::string(static_cast<std::size_t>(width), '.'));
  const tk::Rect box{0, 0, static_cast<float>(width), static_cast<float>(height)};
  for (const tk::Band &band : tk::edgeBands(edge, box, unit)) {
    const int top = static_cast<int>(band.rect.top);
    const int left = static_cast<int>(band.rect.left);
    for (int y = top; y < top + static_cast<int>(band.rect.height); ++y) {
      for (int x = left; x < left + static_cast<int>(band.rect.width); ++x) {
        char &pixel = grid.at(static_cast<std::size_t>(y)).at(static_cast<std::size_t>(x));
        pixel = pixel == '.' ? letterOf(band.color) : '#';
      }
    }
  }
  return grid;
}

using Picture = std::vector<std::string>;

TEST(Edges, EachStyleShadesItsSidesAndCornersAsTheClassicDesktop) {
  EXPECT_EQ(drawn(Edge::Raised, 5, 5), (Picture{"LLLLD", "L..sD", "L..sD", "LsssD", "DDDDD"}));
  EXPECT_EQ(drawn(Edge::Pressed, 5, 5), (Picture{"DDDDL", "Dss.L", "Ds..L", "D...L", "LLLLL"}));
  EXPECT_EQ(drawn(Edge::Sunken, 5, 5), (Picture{"ssssL", "sDD.L", "sD..L", "s...L", "LLLLL"}));
  EXPECT_EQ(drawn(Edge::Etched, 5, 5), (Picture{"ssssL", "sLLsL", "sL.sL", "ssssL", "LLLLL"}));
  EXPECT_EQ(drawn(Edge::Thin, 4, 3), (Picture{"sssL", "s..L", "LLLL"}));
}

TEST(Edges, BandsWidenWithTheUnitAndLeaveTheFaceInside) {
  EXPECT_EQ(drawn(Edge::Thin, 6, 5, 2),
            (Picture{"ssssLL", "ssssLL", "ss..LL", "LLLLLL", "LLLLLL"}));
  const tk::Rect box{10, 20, 30, 40};
  EXPECT_EQ(tk::insideEdge(Edge::Raised, box, 1.5F), (tk::Rect{13, 23, 24, 34}));
  EXPECT_EQ(tk::insideEdge(Edge::Thin, box, 1), (tk::Rect{11, 21, 28, 38}));
}

TEST(Edges, AFrameLowersItsEdgeToTheMiddleOfItsCaption) {
  const tk::Rect box{0, 0, 200, 100};
  const tk::FrameLayout plain = tk::layOutFrame(box, 0, 13, 1);
  EXPECT_EQ(plain.edge, box);
  EXPECT_FALSE(plain.captionBox);

  const tk::FrameLayout captioned = tk::layOutFrame(box, 50, 13, 1);
  EXPECT_EQ(captioned.edge, (tk::Rect{0, 6, 200, 94}));
  EXPECT_EQ(captioned.captionBox, (tk::Rect{8, 0, 54, 13}));
  EXPECT_EQ(captioned.textLeft, 10);

  // At 150 %: the indent and the room round the caption grow with the pixels.
  const tk::FrameLayout large = tk::layOutFrame(box, 75, 20, 1.5F);
  EXPECT_EQ(large.edge, (tk::Rect{0, 10, 200, 90}));
  EXPECT_EQ(large.captionBox, (tk::Rect{12, 0, 81, 20}));
  EXPECT_EQ(large.textLeft, 15);
}

} // namespace
