#include "accessibility.h"

#include <algorithm>
#include <string_view>

namespace tk {
namespace {

constexpr std::string_view blanks = " \t\r\n";

std::string trimmed(std::string_view text) {
  const auto first = text.find_first_not_of(blanks);
  if (first == std::string_view::npos) {
    return {};
  }
  const auto last = text.find_last_not_of(blanks);
  return std::string(text.substr(first, last - first + 1));
}

// Multi-line captions break their lines with CR LF; a name has plain line feeds.
std::string spokenText(std::string_view text) {
  std::string spoken;
  spoken.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
      continue;
    }
    spoken += text[i];
  }
  return trimmed(spoken);
}

// "&Basis" is spoken "Basis"; "&&" is one ampersand.
std::string withoutMnemonic(std::string_view text) {
  std::string plain;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '&' && i + 1 < text.size()) {
      ++i;
    }
    plain += text[i];
  }
  return plain;
}

std::string firstSaid(std::initializer_list<std::string_view> texts) {
  for (const std::string_view text : texts) {
    std::string spoken = spokenText(text);
    if (!spoken.empty()) {
      return spoken;
    }
  }
  return {};
}

bool holdsControls(const Control &control) {
  const auto &all = control.form().controls();
  // Plain algorithms rather than ranges: the browser build's standard library lacks them.
  return std::any_of(all.begin(), all.end(),
                     [&](const auto &c) { return c->container() == &control; });
}

bool isTabStop(const Control &control) {
  return (control.kind() == Kind::Button || control.kind() == Kind::TextBox) &&
         control.design().tabStop;
}

} // namespace

std::string accessibleName(const Control &control) {
  const ControlDesign &design = control.design();
  switch (control.kind()) {
  case Kind::TextBox:
    return firstSaid({design.description, design.tooltip, control.text()});
  case Kind::Menu:
    return spokenText(withoutMnemonic(control.text()));
  case Kind::Label:
  case Kind::Button:
  case Kind::Frame:
    return firstSaid({control.text(), design.tooltip, design.description});
  default:
    return firstSaid({design.tooltip, design.description});
  }
}

std::string accessibleDescription(const Control &control) {
  std::string description = spokenText(control.description());
  return description == accessibleName(control) ? std::string() : description;
}

std::string accessibleName(const Form &form) {
  return firstSaid({form.design().caption, form.design().description});
}

bool hiddenFromScreenReader(const Control &control) {
  switch (control.kind()) {
  case Kind::Shape:
  case Kind::Line:
  case Kind::Timer:
    return true;
  case Kind::Image:
  case Kind::PictureBox:
    return accessibleName(control).empty() && !holdsControls(control);
  default:
    return false;
  }
}

Role accessibleRole(const Control &control) {
  if (hiddenFromScreenReader(control)) {
    return Role::Hidden;
  }
  switch (control.kind()) {
  case Kind::Frame:
    return Role::Group;
  case Kind::Image:
    return Role::Picture;
  case Kind::PictureBox:
    return accessibleName(control).empty() ? Role::Pane : Role::Picture;
  case Kind::StatusBar:
    return Role::Status;
  default:
    return Role::Own;
  }
}

Rect rectInForm(const Control &control) {
  Rect rect = control.rect();
  for (const Control *c = control.container(); c != nullptr; c = c->container()) {
    rect.left += c->left() + c->innerOffset();
    rect.top += c->top() + c->innerOffset();
  }
  return rect;
}

std::vector<Control *> tabOrder(const Form &form) {
  struct Placed {
    Control *control;
    Rect rect;
  };
  std::vector<Placed> stops;
  for (const auto &c : form.controls()) {
    if (isTabStop(*c)) {
      stops.push_back({c.get(), rectInForm(*c)});
    }
  }
  std::stable_sort(stops.begin(), stops.end(),
                   [](const Placed &a, const Placed &b) { return a.rect.top < b.rect.top; });
  std::vector<Control *> order;
  order.reserve(stops.size());
  for (auto rowStart = stops.begin(); rowStart != stops.end();) {
    const float middle = rowStart->rect.top + rowStart->rect.height / 2;
    auto rowEnd = std::find_if(rowStart, stops.end(),
                               [middle](const Placed &p) { return p.rect.top >= middle; });
    std::stable_sort(rowStart, rowEnd,
                     [](const Placed &a, const Placed &b) { return a.rect.left < b.rect.left; });
    for (auto it = rowStart; it != rowEnd; ++it) {
      order.push_back(it->control);
    }
    rowStart = rowEnd;
  }
  return order;
}

} // namespace tk
