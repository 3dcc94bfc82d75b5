// Honderdtafels in the browser: the web backend and the program. main returns at once;
// the page's events and its timer run the program from then on.
#include "shell/program.h"
#include "shell/web/backend.h"

int main() {
  // They live as long as the page: the runtime does not exit when main returns.
  static web::WebBackend backend;
  static tk::Desktop desktop(backend.clock(), backend);
  backend.attach(desktop);
  static Program program(desktop);
  program.start();
  return 0;
}
