#include "mainwindow.h"

namespace {

constexpr tk::ControlDesign controls[] = {
    {.name = "aftrek", .kind = tk::Kind::Menu, .text = "OPENEN "},
    {.name = "aftrek2", .kind = tk::Kind::Menu, .in = "aftrek", .text = "&Basis"},
};

constexpr tk::FormDesign design{
    .name = "MDIForm2",
    .kind = tk::WindowKind::MdiParent,
    .caption = " Alle kinderen moeten alle kansen krijgen.",
    .border = tk::BorderStyle::Sizable,
    .clientWidth = 9930,
    .clientHeight = 6825,
    .left = 165,
    .top = 450,
    .back = tk::rgb(234, 226, 138),
    .icon = "program-icon",
    .maximised = true,
    .controls = controls,
};

} // namespace

const tk::FormDesign &mainWindowDesign() {
  return design;
}
