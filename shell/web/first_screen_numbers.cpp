// The numbers the page's first screen is placed by before the program runs: what the
// display's scale is decided from (the room each window needs and the smallest text), each
// window's outer size and the advice to turn a phone, as JSON on standard output. Given a
// viewport's width and height, it prints the toolkit's scale for it instead, which the page's own
// placing is tested against.
#include "shell/program.h"
#include "shell/web/turn_advice.h"
#include "toolkit/form.h"
#include "toolkit/scale.h"

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

void printRule() {
  std::printf("{\"rooms\": [");
  const char *separator = "";
  for (const tk::FormDesign *design : windowDesigns()) {
    const tk::Extent room = tk::roomFor(*design);
    if (room.width > 0 && room.height > 0) {
      std::printf("%s[%.9g, %.9g]", separator, static_cast<double>(room.width),
                  static_cast<double>(room.height));
      separator = ", ";
    }
  }
  std::printf("], \"outer\": {");
  separator = "";
  for (const tk::FormDesign *design : windowDesigns()) {
    std::printf("%s\"%s\": [%.9g, %.9g]", separator, std::string(design->name).c_str(),
                static_cast<double>(tk::outerWidth(*design)),
                static_cast<double>(tk::outerHeight(*design)));
    separator = ", ";
  }
  std::printf("}, \"smallest\": %.9g, \"step\": %.9g, \"legible\": %.9g, \"twips\": %d, "
              "\"advice\": \"%s\"}\n",
              static_cast<double>(tk::smallestTextPixels(windowDesigns())),
              static_cast<double>(tk::scaleStep), static_cast<double>(tk::legiblePixels),
              tk::twipsPerPixel, web::turnAdvice);
}

void printScale(float width, float height) {
  const tk::DisplayScale scale = tk::displayScale({width, height}, windowDesigns());
  std::printf("{\"scale\": %.9g, \"turn\": %s}\n", static_cast<double>(scale.scale),
              scale.turnAdvised ? "true" : "false");
}

} // namespace

int main(int argc, char *argv[]) {
  if (argc == 3) {
    printScale(std::strtof(argv[1], nullptr), std::strtof(argv[2], nullptr));
  } else {
    printRule();
  }
  return 0;
}
