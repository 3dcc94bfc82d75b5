// The windows of forms that have unloaded, which the window system destroys. A window goes
// at once, unless an event of the program is still running: a handler of one of its
// controls may still be on the stack, or wait in a modal loop (a message box) that would
// destroy it under the handler. It then goes once the outermost handler has returned, at
// the window system's settled().
#pragma once

#include "desktop.h"

#include <functional>
#include <utility>
#include <vector>

namespace tk {

template <class Window> class ClosingWindows {
public:
  using Destroy = std::function<void(Window)>;

  // now destroys a window outside any handler; afterHandler one whose form unloaded in a
  // handler, once that has returned, while the window system's own event that ran it may
  // still be unwinding.
  ClosingWindows(Destroy now, Destroy afterHandler)
      : now_(std::move(now)), afterHandler_(std::move(afterHandler)) {}
  // What is still waiting goes with the window system.
  ~ClosingWindows() {
    for (Window &window : waiting_) {
      now_(std::move(window));
    }
  }
  ClosingWindows(const ClosingWindows &) = delete;
  ClosingWindows &operator=(const ClosingWindows &) = delete;

  // The window of a form that unloaded; desktop is the one the window system shows, if any.
  void close(Window window, const Desktop *desktop) {
    if (desktop != nullptr && desktop->dispatching()) {
      waiting_.push_back(std::move(window));
    } else {
      now_(std::move(window));
    }
  }

  // The outermost handler has returned. Destroying a window may activate another, which
  // settles again: the list is taken first.
  void settled() {
    for (Window &window : std::exchange(waiting_, {})) {
      afterHandler_(std::move(window));
    }
  }

private:
  Destroy now_;
  Destroy afterHandler_;
  std::vector<Window> waiting_;
};

} // namespace tk
