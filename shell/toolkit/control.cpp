#include "control.h"

#include "desktop.h"
#include "form.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace tk {
namespace {

// Status bar panels stand side by side with a small gap, inside a thin top margin.
constexpr int panelGapPixels = 2;
constexpr int panelTopPixels = 2;

// Picture boxes have the classic sunken border of two pixels on every side.
constexpr float pictureBoxBorder = 2.0F * twipsPerPixel;

Color defaultBack(Kind kind) {
  switch (kind) {
  case Kind::TextBox:
  case Kind::Shape:
    return systemColor::window;
  default:
    return systemColor::buttonFace;
  }
}

Color defaultFore(Kind kind) {
  switch (kind) {
  case Kind::TextBox:
  case Kind::Shape:
  case Kind::Line:
    return systemColor::windowText;
  default:
    return systemColor::buttonText;
  }
}

} // namespace

Control::Control(Form &form, const ControlDesign &design, Control *container)
    : form_(form), design_(design), name_(design.name), container_(container), text_(design.text),
      description_(design.description), rect_(design.rect), boxWidth_(design.rect.width),
      boxHeight_(design.rect.height), visible_(design.visible), enabled_(design.enabled),
      locked_(design.locked), back_(design.back.value_or(defaultBack(design.kind))),
      fore_(design.fore.value_or(defaultFore(design.kind))) {
  for (const StatusPanelDesign &panel : design.panels) {
    panels_.push_back({panel.width, panel.style, std::string(panel.text), {}});
  }
  const bool clock = std::any_of(panels_.begin(), panels_.end(), [](const StatusPanel &p) {
    return p.style != StatusPanelDesign::Style::Text;
  });
  if (clock) {
    minute_ = std::make_unique<Timer>(form.desktop().scheduler(), name_ + ".minute", 0, true);
    minute_->onTimer = [this] { showClock(); };
    showClock();
  }
  layOutCaption();
}

void Control::showClock() {
  const LocalTime now = form_.desktop().localTime();
  bool changedAny = false;
  for (StatusPanel &panel : panels_) {
    std::string text = panel.style == StatusPanelDesign::Style::Date   ? dateText(now)
                       : panel.style == StatusPanelDesign::Style::Time ? timeText(now)
                                                                       : panel.text;
    changedAny = changedAny || text != panel.text;
    panel.text = std::move(text);
  }
  minute_->setInterval(static_cast<int>(untilNextMinute(now)));
  if (changedAny) {
    changed(Property::Panels);
  }
}

bool Control::layOutCaption() {
  if (design_.kind != Kind::Label) {
    return false;
  }
  const Services &services = form_.desktop().services();
  const Font &font = design_.font;
  caption_ = tk::layOutCaption(
      text_,
      {.width = boxWidth_,
       .height = boxHeight_,
       .align = design_.align,
       .wordWrap = design_.wordWrap,
       .autoSize = design_.autoSize},
      lineHeight(font), [&](std::string_view part) { return services.textWidth(part, font); });
  const bool resized = caption_.width != rect_.width || caption_.height != rect_.height;
  rect_.width = caption_.width;
  rect_.height = caption_.height;
  return resized;
}

std::string Control::qualifiedName() const {
  return index() == single ? name_ : name_ + "(" + std::to_string(index()) + ")";
}

void Control::changed(Property property) {
  form_.controlChanged(*this, property);
}

void Control::setText(std::string text) {
  if (text == text_) {
    return;
  }
  text_ = std::move(text);
  const bool resized = layOutCaption();
  changed(Property::Text);
  if (resized) {
    changed(Property::Geometry);
  }
  if (design_.kind == Kind::TextBox && onChange) {
    onChange();
  }
}

void Control::setDescription(std::string description) {
  if (description == description_) {
    return;
  }
  description_ = std::move(description);
  changed(Property::Description);
}

void Control::setVisible(bool visible) {
  if (visible == visible_) {
    return;
  }
  visible_ = visible;
  changed(Property::Visible);
}

bool Control::visibleInForm() const {
  for (const Control *c = this; c != nullptr; c = c->container_) {
    if (!c->visible_) {
      return false;
    }
  }
  return true;
}

void Control::setEnabled(bool enabled) {
  if (enabled == enabled_) {
    return;
  }
  enabled_ = enabled;
  changed(Property::Enabled);
}

void Control::setBackColor(Color color) {
  if (color == back_) {
    return;
  }
  back_ = color;
  changed(Property::Colors);
}

void Control::setForeColor(Color color) {
  if (color == fore_) {
    return;
  }
  fore_ = color;
  changed(Property::Colors);
}

void Control::setLeft(float left) {
  setRect({left, rect_.top, rect_.width, rect_.height});
}

void Control::setTop(float top) {
  setRect({rect_.left, top, rect_.width, rect_.height});
}

void Control::move(float left, float top) {
  setRect({left, top, rect_.width, rect_.height});
}

void Control::setRect(const Rect &rect) {
  if (rect == rect_) {
    return;
  }
  const bool resized = rect.width != rect_.width || rect.height != rect_.height;
  if (resized) {
    boxWidth_ = rect.width;
    boxHeight_ = rect.height;
  }
  rect_ = rect;
  // A move keeps the caption's lines: only its text and its box's size break them.
  if (resized) {
    layOutCaption();
  }
  changed(Property::Geometry);
}

float Control::innerOffset() const {
  return design_.kind == Kind::PictureBox ? pictureBoxBorder : 0.0F;
}

float Control::scaleWidth() const {
  return rect_.width - 2 * innerOffset();
}

float Control::scaleHeight() const {
  return rect_.height - 2 * innerOffset();
}

void Control::setFocus() {
  form_.setFocused(this);
  changed(Property::Focus);
}

void Control::setLocked(bool locked) {
  if (locked != locked_) {
    locked_ = locked;
    changed(Property::Locked);
  }
}

bool Control::hasFocus() const {
  return form_.focused() == this;
}

void Control::setMin(float min) {
  min_ = min;
  changed(Property::Value);
}

void Control::setMax(float max) {
  max_ = max;
  changed(Property::Value);
}

void Control::setValue(float value) {
  if (value == value_) {
    return;
  }
  value_ = value;
  changed(Property::Value);
}

StatusPanel &Control::panel(int number) {
  if (number < 1 || number > static_cast<int>(panels_.size())) {
    throw std::out_of_range(name_ + ": no panel " + std::to_string(number));
  }
  return panels_[static_cast<std::size_t>(number - 1)];
}

void Control::setPanelText(int number, std::string text) {
  StatusPanel &p = panel(number);
  if (p.text == text) {
    return;
  }
  p.text = std::move(text);
  changed(Property::Panels);
}

PixelRect Control::panelRect(int part) const {
  auto pixels = [](float twips) { return static_cast<int>(std::lround(twips / twipsPerPixel)); };
  int left = 0;
  for (int i = 0; i < part && i < static_cast<int>(panels_.size()); ++i) {
    left += pixels(panels_[static_cast<std::size_t>(i)].width) + panelGapPixels;
  }
  const float width = part >= 0 && part < static_cast<int>(panels_.size())
                          ? panels_[static_cast<std::size_t>(part)].width
                          : 0;
  return {left, panelTopPixels, left + pixels(width), pixels(rect_.height)};
}

void Control::setContainer(Control *container) {
  if (container == container_) {
    return;
  }
  container_ = container;
  changed(Property::Container);
}

bool Control::canHoldFocus() const {
  for (const Control *c = this; c != nullptr; c = c->container_) {
    if (!c->enabled_ || !c->visible_) {
      return false;
    }
  }
  return true;
}

bool Control::reachable() const {
  return form_.loaded() && form_.visible() && canHoldFocus() && form_.reachable();
}

void Control::click() {
  form_.desktop().dispatch([this] {
    if (reachable() && onClick) {
      onClick();
    }
  });
}

void Control::typeText(std::string text) {
  form_.desktop().dispatch([this, &text] {
    if (reachable() && !locked_) {
      setText(std::move(text));
    }
  });
}

void Control::mouseMove(const MouseEvent &event) {
  form_.desktop().dispatch([this, &event] {
    if (reachable() && onMouseMove) {
      onMouseMove(event);
    }
  });
}

ControlArray::ControlArray(Form &form, std::string_view name) : name_(name) {
  for (const auto &control : form.controls()) {
    if (control->name() == name && control->index() != single) {
      members_.push_back(control.get());
    }
  }
  if (members_.empty()) {
    throw std::out_of_range(std::string(form.name()) + " has no control array " + name_);
  }
  // Plain algorithms rather than ranges: the browser build's standard library lacks them.
  std::sort(members_.begin(), members_.end(),
            [](const Control *a, const Control *b) { return a->index() < b->index(); });
}

Control &ControlArray::operator()(std::int16_t index) const {
  auto it = std::find_if(members_.begin(), members_.end(),
                         [index](const Control *c) { return c->index() == index; });
  if (it == members_.end()) {
    throw std::out_of_range(name_ + "(" + std::to_string(index) + ") does not exist");
  }
  return **it;
}

} // namespace tk
