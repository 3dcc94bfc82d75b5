#include "backdrop.h"

#include "control.h"
#include "form.h"

#include <algorithm>
#include <cmath>

namespace tk {
namespace {

// Where a control is drawn in its container: a line by its two ends.
Rect bounds(const Control &control) {
  if (control.kind() != Kind::Line) {
    return control.drawnRect();
  }
  const LineEnds &ends = control.line();
  return {std::min(ends.x1, ends.x2), std::min(ends.y1, ends.y2), std::abs(ends.x2 - ends.x1),
          std::abs(ends.y2 - ends.y1)};
}

bool overlap(const Rect &a, const Rect &b) {
  return a.left < b.left + b.width && b.left < a.left + a.width && a.top < b.top + b.height &&
         b.top < a.top + a.height;
}

// Within the area, and a pixel clear of its far edges: a label's place and size are
// each rounded to whole pixels, and together they may come out a pixel further than the
// area, onto a border drawn there.
bool within(const Rect &inner, float width, float height) {
  constexpr auto clear = static_cast<float>(twipsPerPixel);
  return inner.left >= 0 && inner.top >= 0 && inner.left + inner.width <= width - clear &&
         inner.top + inner.height <= height - clear;
}

// The colour a container paints all over its inner area, if it paints one.
std::optional<Color> plainColour(const Control *container, const Form &form) {
  if (container == nullptr) {
    return form.design().kind == WindowKind::MdiParent ? std::nullopt
                                                       : std::optional(form.design().back);
  }
  if (container->kind() == Kind::PictureBox && container->design().picture.empty()) {
    return container->backColor();
  }
  return std::nullopt;
}

bool somethingBehind(const Control &label) {
  const Form &form = label.form();
  const std::vector<Control *> &order = form.frontToBack();
  const Rect drawn = bounds(label);
  auto behind = std::find(order.begin(), order.end(), &label);
  return std::any_of(
      behind == order.end() ? behind : std::next(behind), order.end(), [&](const Control *c) {
        return c->container() == label.container() && c->visible() && c->kind() != Kind::Menu &&
               c->kind() != Kind::Timer && overlap(bounds(*c), drawn);
      });
}

} // namespace

std::optional<Color> plainBackdrop(const Control &label) {
  if (label.kind() != Kind::Label || !label.design().transparent) {
    return std::nullopt;
  }
  const Control *container = label.container();
  const Form &form = label.form();
  const std::optional<Color> colour = plainColour(container, form);
  if (!colour) {
    return std::nullopt;
  }
  const float width = container != nullptr ? container->scaleWidth() : form.clientWidth();
  const float height = container != nullptr ? container->scaleHeight() : form.clientHeight();
  if (!within(bounds(label), width, height) || somethingBehind(label)) {
    return std::nullopt;
  }
  return colour;
}

} // namespace tk
