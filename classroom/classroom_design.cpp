#include "classroom.h"

namespace {

constexpr tk::FormDesign design{
    .name = "Aklas",
    .kind = tk::WindowKind::TopLevel,
    .caption = "A klas ",
    .border = tk::BorderStyle::Sizable,
    .clientWidth = 11880,
    .clientHeight = 8010,
    .left = 165,
    .top = 450,
    .back = tk::rgb(255, 255, 128),
    .icon = "program-icon",
};

} // namespace

const tk::FormDesign &classroomDesign() { return design; }
