// Writes every text the designs hold, with the CSS font the page draws it in, as JSON on
// standard output: what fonts_test.py measures in the page's fonts and in the whole ones.
#include "classroom/classroom.h"
#include "drill/drill.h"
#include "shell/info.h"
#include "shell/mainwindow.h"
#include "shell/web/mapping.h"
#include "shell/welcome.h"

#include <array>
#include <cstdio>
#include <functional>
#include <string>
#include <string_view>

namespace {

std::string jsonString(std::string_view text) {
  std::string json = "\"";
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (c == '"' || c == '\\') {
      json += '\\';
      json += c;
    } else if (byte < 0x20) {
      std::array<char, 8> escaped{};
      std::snprintf(escaped.data(), escaped.size(), "\\u%04x", byte);
      json += escaped.data();
    } else {
      json += c; // UTF-8 as it stands
    }
  }
  return json + "\"";
}

void printText(bool &first, std::string_view form, std::string_view text, const tk::Font &font) {
  if (text.empty()) {
    return;
  }
  std::printf("%s\n  {\"form\": %s, \"font\": %s, \"text\": %s}", first ? "" : ",",
              jsonString(form).c_str(), jsonString(web::cssFont(font)).c_str(),
              jsonString(text).c_str());
  first = false;
}

} // namespace

int main() {
  const std::array designs{std::cref(mainWindowDesign()), std::cref(welcomeDesign()),
                           std::cref(drillDesign()), std::cref(classroomDesign()),
                           std::cref(infoDesign())};
  bool first = true;
  std::printf("[");
  for (const tk::FormDesign &design : designs) {
    printText(first, design.name, design.caption, design.font);
    for (const tk::ControlDesign &control : design.controls) {
      printText(first, design.name, control.text, control.font);
    }
  }
  std::printf("\n]\n");
}
