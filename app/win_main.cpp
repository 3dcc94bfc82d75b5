// Honderdtafels on Windows: the Win32 backend and the program.
#include "shell/program.h"
#include "shell/win32/backend.h"

int WINAPI WinMain(HINSTANCE /*instance*/, HINSTANCE /*previous*/, LPSTR /*commandLine*/,
                   int /*show*/) {
  w32::Win32Backend backend;
  tk::Desktop desktop(backend.clock(), backend);
  backend.attach(desktop);
  Program program(desktop);
  program.start();
  return backend.run();
}
