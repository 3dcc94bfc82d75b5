#include "program.h"

#include <array>

namespace {
template <class T> tk::Screen<T> screen(tk::Desktop &desktop, Program &program) {
  return tk::Screen<T>(desktop, [&program] { return std::make_unique<T>(program); });
}
} // namespace

Program::Program(tk::Desktop &desktop)
    : mdiForm2(screen<MDIForm2>(desktop, *this)),
      frmmecenaat1(screen<Frmmecenaat1>(desktop, *this)), frminfo(screen<Frminfo>(desktop, *this)),
      tafels(screen<Tafels>(desktop, *this)), aklas(screen<Aklas>(desktop, *this)),
      desktop_(desktop) {}

void Program::start() {
  desktop_.dispatch([this] { mdiForm2().show(); });
}

void Program::openDrill() {
  frmmecenaat1().hide();
  tafels().show();
  mdiForm2().setEnabled(true);
}

std::span<const tk::FormDesign *const> windowDesigns() {
  static const std::array<const tk::FormDesign *, 5> designs{
      &mainWindowDesign(), &welcomeDesign(), &infoDesign(), &drillDesign(), &classroomDesign()};
  return designs;
}
