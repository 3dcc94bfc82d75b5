// What a screen reader meets of a form in the page: each control's element with the ARIA
// role of its kind, its name and description, in the order a child reads the screen.
#pragma once

#include "toolkit/accessibility.h"
#include "toolkit/form.h"

#include <string_view>
#include <vector>

namespace web {

// The screen reader's role, name and description of a control's element, as the toolkit
// says them.
void nameForScreenReader(const tk::Control &control, int element);
// The ARIA role of the control's element, where the element's own role is not it;
// "hidden" for decoration a screen reader passes by.
[[nodiscard]] std::string_view platformRole(tk::Role role);
// The controls (no menus) in the order they stand on the screen, as a screen reader reads.
[[nodiscard]] std::vector<tk::Control *> readingOrder(const tk::Form &form);

} // namespace web
