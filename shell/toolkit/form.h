// A form: one screen's window with its controls and timers, built from its design.
#pragma once

#include "control.h"
#include "design.h"
#include "keys.h"
#include "timer.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace tk {

class Desktop;

// Focus: the keyboard focus went to none of the controls; the window itself takes the keys.
enum class FormProperty : std::uint8_t { Visible, Position, Enabled, Caption, Raised, Focus };

class Form {
public:
  Form(Desktop &desktop, const FormDesign &design);
  virtual ~Form();
  Form(const Form &) = delete;
  Form &operator=(const Form &) = delete;

  [[nodiscard]] const FormDesign &design() const { return design_; }
  [[nodiscard]] std::string_view name() const { return design_.name; }
  [[nodiscard]] Desktop &desktop() const { return desktop_; }

  // Finding controls; a name or index the design does not hold is a programming
  // error and throws std::out_of_range at once.
  [[nodiscard]] Control &control(std::string_view name, std::int16_t index = single) const;
  [[nodiscard]] ControlArray array(std::string_view name);
  [[nodiscard]] Timer &timer(std::string_view name) const;
  [[nodiscard]] const std::vector<std::unique_ptr<Control>> &controls() const { return controls_; }
  [[nodiscard]] const std::vector<std::unique_ptr<Timer>> &timers() const { return timers_; }

  // Not loaded once unloaded, even while the object still lives to finish a handler.
  [[nodiscard]] bool loaded() const { return loaded_; }
  [[nodiscard]] bool visible() const { return visible_; }
  void show();
  void hide();

  [[nodiscard]] float left() const { return left_; }
  [[nodiscard]] float top() const { return top_; }
  void setLeft(float left);
  void setTop(float top);
  // Left and Top put the whole window in the middle of the display, in single
  // precision and unrounded; a window larger than the display gets a negative place.
  void centreOnDisplay();
  // Whether the window stands where centreOnDisplay put it: a change of the display's
  // size then places it again.
  [[nodiscard]] bool centred() const { return centred_; }
  [[nodiscard]] float clientWidth() const { return design_.clientWidth; }
  [[nodiscard]] float clientHeight() const { return design_.clientHeight; }
  // The window with its border and title bar.
  [[nodiscard]] float outerWidth() const;
  [[nodiscard]] float outerHeight() const;

  [[nodiscard]] bool enabled() const { return enabled_; }
  void setEnabled(bool enabled);

  [[nodiscard]] Control *focused() const { return focused_; }
  // The window system reports where the user moved the keyboard focus (Tab, a click):
  // to a control, or to none of them (nullptr).
  void focusMovedTo(Control *control) { focused_ = control; }
  // The control Tab goes to from `from` (the first one from none): the next in tab order
  // that can hold the focus, round within the form; none when no control can.
  [[nodiscard]] Control *nextInTabOrder(const Control *from, bool backwards = false) const;
  // The Tab key: the focus goes on to the next control in tab order, if there is one.
  void tab(bool backwards);

  // Loaded, shown and enabled, and so is the main window around a child window.
  [[nodiscard]] bool reachable() const;

  // Every control from the front-most to the back-most: windowed controls lie in front
  // of labels, images, shapes and lines, and within each group an earlier row of the
  // design lies in front of a later one. The hit test goes by it, and so does every
  // window system as it stacks and draws the controls of a container.
  [[nodiscard]] const std::vector<Control *> &frontToBack() const { return frontToBack_; }
  // A control's place in that order: 0 for the front-most.
  [[nodiscard]] int depthOf(const Control &control) const;

  // The front-most control under a point of the client area; shapes, lines and
  // hidden controls let the pointer through to what lies behind them.
  [[nodiscard]] Control *controlAt(float x, float y) const;

  std::function<void()> onLoad;
  std::function<void()> onActivate;
  std::function<void(std::int16_t &key)> onKeyPress;
  std::function<void(const MouseEvent &)> onMouseMove;

  // Raised by a window system (or a test) at client-area coordinates in twips.
  void mouseMove(const MouseEvent &event);
  // A key typed while the form's window is active. The form does not preview its
  // controls' keys: its handler hears the key only when none of the controls a child
  // can reach has the focus. Returns the code after the handler (0: swallowed).
  std::int16_t keyPress(std::int16_t key);

  // A key going down in the form's window, before any control hears it: Tab and
  // Shift+Tab move the focus by the tab order (keyOnForm). Returns whether they did.
  bool tabKey(const KeyDown &key);
  // A key that reached the form itself: the character it types comes to KeyPress as
  // keyOnForm allows. Returns whether the handler used it up.
  bool typed(const KeyDown &key);

private:
  friend class Control;
  friend class Desktop;
  void changed(FormProperty property);
  void controlChanged(Control &control, Property property);
  void setFocused(Control *control) { focused_ = control; }
  void markLoaded() { loaded_ = true; }
  void markUnloaded();
  void setVisibleFlag(bool visible);
  void place(float left, float top);
  // A form being shown gives the focus to its first control in tab order, unless a
  // control that can hold it has it already.
  void focusOnShow();
  // The focused control was hidden or disabled: the focus goes on to the next control
  // in tab order, or to the window itself.
  void keepFocus();
  void moveFocus(Control *control);
  [[nodiscard]] Control *hit(const Control *container, float x, float y) const;

  Desktop &desktop_;
  const FormDesign &design_;
  std::vector<std::unique_ptr<Control>> controls_;
  std::vector<std::unique_ptr<Timer>> timers_;
  std::vector<Control *> frontToBack_;
  bool loaded_ = false;
  bool visible_ = false;
  bool enabled_ = true;
  float left_;
  float top_;
  bool centred_ = false;
  Control *focused_ = nullptr;
};

// A design's window with its border and title bar, in twips.
[[nodiscard]] float outerWidth(const FormDesign &design);
[[nodiscard]] float outerHeight(const FormDesign &design);

} // namespace tk
