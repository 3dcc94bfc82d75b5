#include "accessible.h"

#include "page.h"

#include "toolkit/accessibility.h"

#include <algorithm>
#include <string>
#include <utility>

namespace web {

void nameForScreenReader(const tk::Control &control, int element) {
  page_control_accessible(element, std::string(platformRole(tk::accessibleRole(control))).c_str(),
                          tk::accessibleName(control).c_str(),
                          tk::accessibleDescription(control).c_str(),
                          std::string(control.design().tooltip).c_str());
}

std::string_view platformRole(tk::Role role) {
  switch (role) {
  case tk::Role::Hidden:
    return "hidden";
  case tk::Role::Group:
    return "group";
  case tk::Role::Picture:
    return "img";
  case tk::Role::Status:
    return "status";
  case tk::Role::Pane:
  case tk::Role::Own:
    break;
  }
  return "";
}

std::vector<tk::Control *> readingOrder(const tk::Form &form) {
  // Top to bottom, then left to right, within each container.
  std::vector<tk::Control *> order;
  for (const auto &c : form.controls()) {
    if (c->kind() != tk::Kind::Menu) {
      order.push_back(c.get());
    }
  }
  std::stable_sort(order.begin(), order.end(), [](const tk::Control *a, const tk::Control *b) {
    return std::pair(a->top(), a->left()) < std::pair(b->top(), b->left());
  });
  return order;
}

} // namespace web
