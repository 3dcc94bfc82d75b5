// The classroom opened from a running round, as a child opens it: the drill's red light.
#pragma once

#include "support/fakes.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

namespace classroom_testing {

inline constexpr tk::Color geel = tk::rgb(255, 255, 0);
inline constexpr tk::Color groen = tk::rgb(0, 255, 0);
inline constexpr tk::Color zwart = tk::rgb(0, 0, 0);

struct KlasFixture : ::testing::Test {
  testing_support::TestProgram t;
  Tafels &drill;

  KlasFixture() : drill((t.program.start(), t.program.openDrill(), t.program.tafels())) {}

  // A round of the drill's button `index`; the first two random numbers make its
  // first problem (11 x 0.3 = 3.3: the first factor is 300).
  void startRound(std::int16_t index, std::initializer_list<float> randoms = {0.3F, 0.5F}) {
    t.services.randoms = randoms;
    drill.control("cmdstarter", index).click();
  }
  Aklas &openClassroom() {
    drill.control("cmdrood").click();
    return t.program.aklas();
  }
  Aklas &klas() { return t.program.aklas(); }
  tk::Control &c(std::string_view name, std::int16_t index = tk::single) {
    return klas().control(name, index);
  }
  void lesson(int N) { c("Cmd" + std::to_string(N)).click(); }

  // The hundred-field as a text picture: box 0, then the ten rows of ten, each box
  // '.' yellow, 'G' green, 'B' black ('?' any other colour).
  std::string field() {
    std::string picture;
    for (int k = 0; k <= 100; ++k) {
      if (k == 1 || (k > 1 && (k - 1) % 10 == 0)) {
        picture += '|';
      }
      const tk::Color colour = c("Text2", static_cast<std::int16_t>(k)).backColor();
      picture += colour == geel ? '.' : colour == groen ? 'G' : colour == zwart ? 'B' : '?';
    }
    return picture;
  }
  // The same picture with the listed boxes in `mark` and all others yellow.
  static std::string fieldWith(const std::vector<int> &boxes, char mark) {
    std::string cells(101, '.');
    for (const int k : boxes) {
      cells.at(static_cast<std::size_t>(k)) = mark;
    }
    std::string picture(1, cells[0]);
    for (int row = 0; row < 10; ++row) {
      picture += '|' + cells.substr(static_cast<std::size_t>(1 + 10 * row), 10);
    }
    return picture;
  }
};

} // namespace classroom_testing
