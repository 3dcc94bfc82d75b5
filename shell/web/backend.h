// The web backend: mirrors the toolkit's forms as elements of the page (through the
// flat library of page.h), feeds the page's input, activation and time back into the
// toolkit, and provides the platform services in the browser.
#pragma once

#include "toolkit/desktop.h"
#include "toolkit/form_views.h"
#include "toolkit/random.h"
#include "toolkit/scale.h"
#include "toolkit/timesource.h"

#include <optional>
#include <span>
#include <string_view>

namespace web {

class FormView;

// performance.now(): monotonic, in milliseconds since the page was opened.
class PageClock : public tk::Clock {
public:
  [[nodiscard]] tk::Millis now() const override;
};

class WebBackend : public tk::ViewingWindowSystem<WebBackend, FormView>, public tk::Services {
public:
  WebBackend();
  ~WebBackend() override;
  WebBackend(const WebBackend &) = delete;
  WebBackend &operator=(const WebBackend &) = delete;

  [[nodiscard]] const tk::Clock &clock() const { return clock_; }
  void attach(tk::Desktop &desktop);
  [[nodiscard]] tk::Desktop *desktop() const { return desktop_; }

  // The page's events, by the handles the views gave their windows and controls.
  // A handle of a window or control that is gone is ignored.
  void clicked(int control);
  void edited(int control, std::string text, bool composing);
  // A key going down (or coming up) on a control of the window, or on the window itself
  // (0). key and code are the event's; flags its mapping.h pageKey bits. True: the
  // page's own handling of the key must not happen.
  [[nodiscard]] bool keyDown(int window, int control, std::string_view key, std::string_view code,
                             int flags);
  [[nodiscard]] bool keyUp(int window, int control, std::string_view key);
  // The Tab keystroke sendTab posted.
  void tabPosted();
  void mouseMoved(int window, float x, float y, int buttons, int shift);
  void activated(int window);
  // The keyboard moved to a control of the window, or to the window itself (0).
  void focusMoved(int window, int control);
  void timeout();
  // The page's viewport changed its size; the page was hidden or shown.
  void displayChanged();
  void hiddenChanged(bool hidden);

  // The windows the display's scale makes room for; the page takes the scale at once and
  // again whenever its viewport changes its size.
  void scaleFor(std::span<const tk::FormDesign *const> windows);
  // After the end, where the page cannot close itself, it offers to start again with a
  // button of this design (the welcome screen's start button).
  void offerRestartWith(const tk::ControlDesign &button) { restart_ = &button; }
  // tk::WindowSystem
  void settled() override;
  void detached() override;

  // tk::Services
  void messageBox(std::string_view text, std::string_view title) override;
  void sendTab() override;
  void randomize() override;
  float random() override;
  [[nodiscard]] float displayWidth() const override;
  [[nodiscard]] float displayHeight() const override;
  [[nodiscard]] float textWidth(std::string_view text, const tk::Font &font) const override;
  void endProgram() override;

  // Handles are never reused, so that a late event of a closed window finds nothing.
  [[nodiscard]] int newHandle() { return ++lastHandle_; }

private:
  [[nodiscard]] FormView *view(const tk::Form &form) const;
  [[nodiscard]] FormView *viewOfWindow(int window) const;
  [[nodiscard]] tk::Control *control(int handle) const;
  void typeDigit(tk::Control &box, int handle, int digit);
  void offerRestart() const;
  void updateScale();
  // The page's timer, set for the next due tick (none: stopped). During a tick the toolkit
  // asks for it as the tick's handler returns and again once the tick is over: the page's
  // timer is set once, after the tick, as last asked.
  void wishTimer(std::optional<tk::Millis> wait);
  void setTimer(std::optional<tk::Millis> wait);
  // Twips per pixel of the viewport: the program's pixels are larger by the scale.
  [[nodiscard]] float twipsPerViewportPixel() const;

  PageClock clock_;
  tk::Desktop *desktop_ = nullptr;
  tk::UniformRandom random_;
  tk::TimeSource timeSource_;
  bool ticking_ = false;
  bool timerWished_ = false;
  std::optional<tk::Millis> timerWish_;
  int lastHandle_ = 0;
  const tk::ControlDesign *restart_ = nullptr;
  std::span<const tk::FormDesign *const> windows_;
  tk::DisplayScale scale_;
};

} // namespace web
