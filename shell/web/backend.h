// The web backend: mirrors the toolkit's forms as elements of the page (through the
// flat library of page.h), feeds the page's input, activation and time back into the
// toolkit, and provides the platform services in the browser.
#pragma once

#include "toolkit/desktop.h"
#include "toolkit/form_views.h"
#include "toolkit/random.h"

namespace web {

class FormView;

// performance.now(): monotonic, in milliseconds since the page was opened.
class PageClock : public tk::Clock {
public:
  [[nodiscard]] tk::Millis now() const override;
};

class WebBackend : public tk::WindowSystem, public tk::Services {
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
  void edited(int control, std::string text);
  [[nodiscard]] bool keyPressed(int window, int key); // true: the form swallowed it
  void mouseMoved(int window, float x, float y, int buttons, int shift);
  void activated(int window);
  // The keyboard moved to a control of the window, or to the window itself (0).
  void focusMoved(int window, int control);
  void timeout();

  // tk::WindowSystem
  void formLoaded(tk::Form &form) override;
  void formUnloaded(tk::Form &form) override;
  void formChanged(tk::Form &form, tk::FormProperty property) override;
  void controlChanged(tk::Control &control, tk::Property property) override;
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
  void rearm();
  [[nodiscard]] FormView *view(const tk::Form &form) const;
  [[nodiscard]] FormView *viewOfWindow(int window) const;
  [[nodiscard]] tk::Control *control(int handle) const;

  PageClock clock_;
  tk::Desktop *desktop_ = nullptr;
  tk::FormViews<FormView> views_;
  tk::UniformRandom random_;
  int lastHandle_ = 0;
};

} // namespace web
