// The desktop: the running program's forms, which one is active, the timers, and the
// services of the platform. A window system mirrors it; tests drive it directly.
#pragma once

#include "calendar.h"
#include "form.h"
#include "timer.h"

#include <functional>
#include <memory>
#include <optional>
#include <string_view>
#include <utility>
#include <vector>

namespace tk {

// What a window system must be told to mirror the forms. Every call comes from inside
// a dispatched event, on the one user-interface thread.
class WindowSystem {
public:
  virtual ~WindowSystem() = default;
  virtual void formLoaded(Form &form) = 0;
  virtual void formUnloaded(Form &form) = 0;
  virtual void formChanged(Form &form, FormProperty property) = 0;
  virtual void controlChanged(Control &control, Property property) = 0;
  // The outermost event has returned: a good moment to re-arm the time source.
  virtual void settled() = 0;
  // The desktop is going away; nothing more will come from it.
  virtual void detached() = 0;
};

// The platform services the screens use, as one interface that tests replace.
class Services {
public:
  virtual ~Services() = default;
  // Modal, with the information icon and one OK button; returns when it is closed.
  virtual void messageBox(std::string_view text, std::string_view title) = 0;
  // One Tab keystroke to the program, without waiting for it to be handled.
  virtual void sendTab() = 0;
  virtual void randomize() = 0;                         // seeds the random numbers from the clock
  virtual float random() = 0;                           // uniform in [0, 1)
  [[nodiscard]] virtual float displayWidth() const = 0; // twips
  [[nodiscard]] virtual float displayHeight() const = 0;
  [[nodiscard]] virtual float textWidth(std::string_view text, const Font &font) const = 0;
  // Every window closes at once.
  virtual void endProgram() = 0;
};

class Desktop {
public:
  Desktop(const Clock &clock, Services &services);
  ~Desktop();
  Desktop(const Desktop &) = delete;
  Desktop &operator=(const Desktop &) = delete;

  [[nodiscard]] Scheduler &scheduler() { return scheduler_; }
  [[nodiscard]] Services &services() { return services_; }
  // The wall clock the status bars' date and time are read from.
  void setWallClock(WallClock clock) { wallClock_ = std::move(clock); }
  [[nodiscard]] LocalTime localTime() const { return wallClock_(); }
  void setWindowSystem(WindowSystem *windowSystem) { windowSystem_ = windowSystem; }
  [[nodiscard]] WindowSystem *windowSystem() const { return windowSystem_; }

  // Every event enters the program through here. Forms unloaded by a handler are
  // destroyed when the outermost event returns; after the program has ended nothing
  // runs any more.
  template <class Handler> void dispatch(Handler &&handler) {
    if (ended_) {
      return;
    }
    Depth depth(*this);
    std::forward<Handler>(handler)();
  }
  [[nodiscard]] bool dispatching() const { return depth_ > 0; }

  void load(Form &form);
  void unload(std::unique_ptr<Form> form);
  void show(Form &form);
  void hide(Form &form);

  // The window system reports the form the user activated (for the main window: the
  // child window that is active inside it). Reported while a handler is still busy (a
  // modal message box is open), it waits, like the Tab below, and comes when the handler
  // has returned, in the order the reports came.
  void activate(Form &form);
  [[nodiscard]] Form *active() const { return active_; }

  // Runs the timers due by the clock's time, one tick each. Nothing runs while a
  // handler is still busy (a modal message box is open): the ticks wait and fall
  // together when it returns.
  void runDueTimers();
  // How long a window system's one timer should wait before it calls runDueTimers():
  // nothing when no timer runs or the program has ended, 0 when a tick is overdue.
  [[nodiscard]] std::optional<Millis> waitForNextTick() const;

  // The window system asks to close a form's window: its close box, Alt+F4, a window
  // manager's close. Only the main window has a control box; closing it ends the
  // program. Every other window refuses, and nothing changes. Returns whether the
  // window may close.
  bool closeRequested(Form &form);

  // The window system reports that the display changed its size (a window resized, a
  // tablet turned, the page zoomed). Every window that stands centred on the display is
  // centred again, as it was placed when it loaded.
  void displayChanged();

  // The window system reports whether the program can be seen at all (a page in a tab
  // in the background, a program minimised). While it cannot, the program's time stands
  // still: no timer ticks, a round in play waits where it is, and when the program is
  // seen again every timer goes on where it stood, in its own phase.
  void setHidden(bool hidden);
  [[nodiscard]] bool hidden() const { return hidden_; }
  // The window system reports that a window was minimised or restored; `minimised` tells
  // whether a form's window is minimised now. The program cannot be seen once every
  // window it shows is minimised; a child window inside the main window goes with it.
  void minimisedOrRestored(const std::function<bool(const Form &)> &minimised);

  // The Tab keystroke Services::sendTab posted, once the handler that sent it has
  // returned: the active form's focus goes on to its next control in tab order.
  void tabPosted();

  void end();
  [[nodiscard]] bool ended() const { return ended_; }

  [[nodiscard]] const std::vector<Form *> &forms() const { return forms_; }
  // The main window, once loaded: the window every child window lives in.
  [[nodiscard]] Form *loadedMainWindow() const;

private:
  friend class Form;
  struct Depth {
    explicit Depth(Desktop &desktop);
    ~Depth();
    Depth(const Depth &) = delete;
    Depth &operator=(const Depth &) = delete;
    Desktop &desktop;
  };
  void added(Form &form);
  void removed(Form &form);
  void settle();
  void becomeActive(Form &form);
  // Keeps a window system's report for when the handler that is busy has returned.
  void hold(std::function<void()> report) { held_.push_back(std::move(report)); }
  void deliverHeld();

  Scheduler scheduler_;
  Services &services_;
  WindowSystem *windowSystem_ = nullptr;
  WallClock wallClock_ = systemLocalTime;
  std::vector<Form *> forms_;
  std::vector<std::unique_ptr<Form>> unloaded_;
  std::vector<std::function<void()>> held_;
  Form *active_ = nullptr;
  Form *activeChild_ = nullptr; // the active child window inside the main window
  int depth_ = 0;
  bool ended_ = false;
  bool hidden_ = false;
};

} // namespace tk
