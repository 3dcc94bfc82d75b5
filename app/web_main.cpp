// Honderdtafels in the browser: the web backend and the program. main returns at once;
// the page's events and its timer run the program from then on.
#include "shell/program.h"
#include "shell/web/backend.h"
#include "shell/welcome.h"

#include <algorithm>

int main() {
  // They live as long as the page: the runtime does not exit when main returns.
  static web::WebBackend backend;
  static tk::Desktop desktop(backend.clock(), backend);
  backend.attach(desktop);
  // After the end the page offers a new start with the welcome screen's start button.
  const auto &rows = welcomeDesign().controls;
  const auto start = std::find_if(rows.begin(), rows.end(), [](const tk::ControlDesign &row) {
    return row.name == "cmdkombinnen";
  });
  if (start != rows.end()) {
    backend.offerRestartWith(*start);
  }
  backend.scaleFor(windowDesigns());
  static Program program(desktop);
  program.start();
  return 0;
}
