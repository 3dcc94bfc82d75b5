// A control of a form: the VB-like properties the screens read and write, and the
// events they handle. Handlers follow the program's naming, `control_Event`
// (`cmdstarter_Click`, `txtAntwoord_Change`); this is the one place where names
// leave camelCase, so that the code speaks the screens' own vocabulary.
#pragma once

#include "caption.h"
#include "design.h"
#include "timer.h"
#include "types.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace tk {

class Form;

// What changed on a control, so that a window system can update only that.
enum class Property : std::uint8_t {
  Text,
  Visible,
  Enabled,
  Geometry,
  Colors,
  Focus,
  Value,
  Panels,
  Container,
  Locked,
  Description,
};

// A rectangle in pixels relative to its control, edges as the window system counts them.
struct PixelRect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
  bool operator==(const PixelRect &) const = default;
};

struct StatusPanel {
  float width = 0;
  StatusPanelDesign::Style style = StatusPanelDesign::Style::Text;
  std::string text;
  std::string tag; // free for the program's own use
};

class Control {
public:
  Control(Form &form, const ControlDesign &design, Control *container);
  Control(const Control &) = delete;
  Control &operator=(const Control &) = delete;

  [[nodiscard]] const ControlDesign &design() const { return design_; }
  [[nodiscard]] const std::string &name() const { return name_; }
  [[nodiscard]] std::int16_t index() const { return design_.index; }
  // The name with the index of a control array's member, "cmdstarter(3)": what a window
  // system calls the control's element, and what a test finds it by.
  [[nodiscard]] std::string qualifiedName() const;
  [[nodiscard]] Kind kind() const { return design_.kind; }
  [[nodiscard]] Form &form() const { return form_; }
  [[nodiscard]] Control *container() const { return container_; }

  // Text of a text box, caption of a label, button, frame or menu item. Assigning a
  // text box a different text raises its Change at once, inside the assignment;
  // assigning the text it already holds raises nothing.
  [[nodiscard]] const std::string &text() const { return text_; }
  void setText(std::string text);

  // Labels: the lines of the caption and their places, laid out again whenever the
  // caption or the size changes. An auto-size label takes the size they need.
  [[nodiscard]] const CaptionLayout &caption() const { return caption_; }
  // The text of one of the caption's lines.
  [[nodiscard]] std::string_view captionLine(const CaptionLine &line) const {
    return std::string_view(text_).substr(line.start, line.length);
  }

  // What a screen reader says about the control beside its name; it starts as the
  // design's and the screens change it where it follows their state (the problem the
  // answer box waits for, the colour of a box).
  [[nodiscard]] const std::string &description() const { return description_; }
  void setDescription(std::string description);

  [[nodiscard]] bool visible() const { return visible_; }
  void setVisible(bool visible);
  void show() { setVisible(true); }
  void hide() { setVisible(false); }
  // Visible itself and in every container up to the form (not the form itself).
  [[nodiscard]] bool visibleInForm() const;

  [[nodiscard]] bool enabled() const { return enabled_; }
  void setEnabled(bool enabled);

  // A locked text box takes the pointer and the focus like any other but cannot be typed in.
  [[nodiscard]] bool locked() const { return locked_; }
  void setLocked(bool locked);

  [[nodiscard]] Color backColor() const { return back_; }
  void setBackColor(Color color);
  [[nodiscard]] Color foreColor() const { return fore_; }
  void setForeColor(Color color);

  [[nodiscard]] const Rect &rect() const { return rect_; }
  [[nodiscard]] float left() const { return rect_.left; }
  [[nodiscard]] float top() const { return rect_.top; }
  [[nodiscard]] float width() const { return rect_.width; }
  [[nodiscard]] float height() const { return rect_.height; }
  void setLeft(float left);
  void setTop(float top);
  void move(float left, float top);
  void setRect(const Rect &rect);
  [[nodiscard]] const LineEnds &line() const { return design_.line; }
  // Where the control is drawn, from its container's inner corner: its rect, but for a
  // label the bounds of its caption's lines, so that a line standing out of the label
  // within the slack is drawn whole.
  [[nodiscard]] Rect drawnRect() const;

  // The inner size of a picture box or frame: what its contents can use.
  [[nodiscard]] float scaleWidth() const;
  [[nodiscard]] float scaleHeight() const;
  // Where the contents' coordinates start, relative to the control's own corner.
  [[nodiscard]] float innerOffset() const;

  // Gives the keyboard focus to this control; the form remembers it.
  void setFocus();
  [[nodiscard]] bool hasFocus() const;

  // Progress bars.
  [[nodiscard]] float min() const { return min_; }
  [[nodiscard]] float max() const { return max_; }
  [[nodiscard]] float value() const { return value_; }
  void setMin(float min);
  void setMax(float max);
  void setValue(float value);

  // Status bars: panels counted from 1, as the designs count them.
  [[nodiscard]] StatusPanel &panel(int number);
  [[nodiscard]] const std::vector<StatusPanel> &panels() const { return panels_; }
  void setPanelText(int number, std::string text);
  void setPanelTag(int number, std::string tag) { panel(number).tag = std::move(tag); }
  // A date or time panel shows the wall clock's, and follows it each new minute while
  // its form is loaded.
  // Where a panel lies inside the status bar, counted from 0 as the window system
  // counts its parts. The status bar is drawn by this same layout.
  [[nodiscard]] PixelRect panelRect(int part) const;

  // Moves the control into another container (or onto the form with nullptr).
  void setContainer(Control *container);

  // Events. A window system and the tests raise them through the methods below;
  // each runs its handler only when a child could have caused it.
  std::function<void()> onClick;
  std::function<void()> onChange;
  std::function<void(const MouseEvent &)> onMouseMove;

  void click();
  void typeText(std::string text); // the child edits a text box to this text; none if locked
  void mouseMove(const MouseEvent &event);

  // Shown and enabled in its form, through all its containers: the keyboard focus can
  // rest on it, whether or not the form itself is shown.
  [[nodiscard]] bool canHoldFocus() const;

  // Shown, enabled and inside a shown form: a child can reach it.
  [[nodiscard]] bool reachable() const;

private:
  friend class Form;
  void changed(Property property);
  // Writes the wall clock's date and time into their panels and waits for the next minute.
  void showClock();
  // Lays the caption out again; returns whether auto-size changed the size.
  bool layOutCaption();

  Form &form_;
  const ControlDesign &design_;
  std::string name_;
  Control *container_;
  std::string text_;
  std::string description_;
  Rect rect_;
  float boxWidth_; // the size the design or the screen gave, before auto-size
  float boxHeight_;
  CaptionLayout caption_;
  bool visible_;
  bool enabled_;
  bool locked_;
  Color back_;
  Color fore_;
  float min_ = 0;
  float max_ = 100;
  float value_ = 0;
  std::vector<StatusPanel> panels_;
  std::unique_ptr<Timer> minute_; // status bars with a date or time panel
};

// The members of a control array, found by their 16-bit index (gaps allowed).
class ControlArray {
public:
  ControlArray(Form &form, std::string_view name);
  Control &operator()(std::int16_t index) const;
  [[nodiscard]] const std::vector<Control *> &members() const { return members_; }
  [[nodiscard]] auto begin() const { return members_.begin(); }
  [[nodiscard]] auto end() const { return members_.end(); }

private:
  std::string name_;
  std::vector<Control *> members_; // ascending index
};

} // namespace tk
