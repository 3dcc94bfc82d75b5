#include "backend.h"

#include "formview.h"
#include "mapping.h"
#include "page.h"

#include "toolkit/accessibility.h"
#include "toolkit/keys.h"

#include <emscripten/emscripten.h>

#include <chrono>
#include <cstdlib>
#include <string>

namespace web {
namespace {

// The page calls back into the one backend of the program.
WebBackend *pageBackend = nullptr;

} // namespace

tk::Millis PageClock::now() const {
  return static_cast<tk::Millis>(emscripten_get_now());
}

WebBackend::WebBackend() {
  pageBackend = this;
  page_focus_ring(cssColor(tk::focusRing.outer).c_str(), cssColor(tk::focusRing.inner).c_str(),
                  tk::focusRing.pixels);
}

WebBackend::~WebBackend() {
  if (desktop_ != nullptr) {
    desktop_->setWindowSystem(nullptr);
  }
  views_.clear();
  pageBackend = nullptr;
}

void WebBackend::attach(tk::Desktop &desktop) {
  desktop_ = &desktop;
  desktop.setWindowSystem(this);
}

void WebBackend::detached() {
  desktop_ = nullptr;
  page_timer_stop();
}

FormView *WebBackend::view(const tk::Form &form) const {
  return views_.find(form);
}

FormView *WebBackend::viewOfWindow(int window) const {
  for (const auto &[form, view] : views_) {
    if (view->window() == window) {
      return view.get();
    }
  }
  return nullptr;
}

tk::Control *WebBackend::control(int handle) const {
  for (const auto &[form, view] : views_) {
    if (tk::Control *c = view->control(handle)) {
      return c;
    }
  }
  return nullptr;
}

void WebBackend::clicked(int handle) {
  if (tk::Control *c = control(handle)) {
    c->click();
  }
}

void WebBackend::edited(int handle, std::string text) {
  if (tk::Control *c = control(handle)) {
    c->typeText(std::move(text));
  }
}

bool WebBackend::keyPressed(int window, int key) {
  FormView *v = viewOfWindow(window);
  return v != nullptr && v->form().keyPress(static_cast<std::int16_t>(key)) == 0;
}

void WebBackend::mouseMoved(int window, float x, float y, int buttons, int shift) {
  FormView *v = viewOfWindow(window);
  if (v == nullptr || v->form().design().kind == tk::WindowKind::MdiParent) {
    return;
  }
  v->form().mouseMove(
      {.buttons = buttons, .shift = shift, .x = x * tk::twipsPerPixel, .y = y * tk::twipsPerPixel});
}

void WebBackend::activated(int window) {
  if (FormView *v = viewOfWindow(window); v != nullptr && desktop_ != nullptr) {
    desktop_->activate(v->form());
  }
}

void WebBackend::focusMoved(int window, int handle) {
  if (FormView *v = viewOfWindow(window)) {
    v->form().focusMovedTo(v->control(handle));
  }
}

void WebBackend::formLoaded(tk::Form &form) {
  views_.load(form, *this);
}

void WebBackend::formUnloaded(tk::Form &form) {
  views_.unload(form);
}

void WebBackend::formChanged(tk::Form &form, tk::FormProperty property) {
  views_.formChanged(form, property);
}

void WebBackend::controlChanged(tk::Control &control, tk::Property property) {
  views_.controlChanged(control, property);
}

void WebBackend::settled() {
  rearm();
}

void WebBackend::rearm() {
  const std::optional<tk::Millis> wait =
      desktop_ != nullptr ? desktop_->waitForNextTick() : std::nullopt;
  if (!wait) {
    page_timer_stop();
    return;
  }
  page_timer_arm(static_cast<double>(*wait));
}

void WebBackend::timeout() {
  // While a handler waits in the message box the page sends no tick; should one come,
  // the handler's return re-arms the timer.
  if (desktop_ == nullptr || desktop_->dispatching()) {
    return;
  }
  desktop_->runDueTimers();
  rearm();
}

void WebBackend::messageBox(std::string_view text, std::string_view title) {
  page_message_box(std::string(text).c_str(), std::string(title).c_str());
}

void WebBackend::sendTab() {
  page_focus_next();
}

void WebBackend::randomize() {
  const auto now = std::chrono::high_resolution_clock::now().time_since_epoch().count();
  random_.seed(static_cast<std::uint64_t>(now));
}

float WebBackend::random() {
  return random_.next();
}

float WebBackend::displayWidth() const {
  return static_cast<float>(page_display_width() * tk::twipsPerPixel);
}

float WebBackend::displayHeight() const {
  return static_cast<float>(page_display_height() * tk::twipsPerPixel);
}

float WebBackend::textWidth(std::string_view text, const tk::Font &font) const {
  return static_cast<float>(page_text_width(std::string(text).c_str(), cssFont(font).c_str()) *
                            tk::twipsPerPixel);
}

void WebBackend::endProgram() {
  page_timer_stop();
  page_end();
}

} // namespace web

// The page's events. Texts come in memory the page allocated; they are ours to free.
extern "C" {

EMSCRIPTEN_KEEPALIVE void web_click(int control) {
  if (web::pageBackend != nullptr) {
    web::pageBackend->clicked(control);
  }
}

EMSCRIPTEN_KEEPALIVE void web_input(int control, char *text) {
  std::string edited(text);
  std::free(text);
  if (web::pageBackend != nullptr) {
    web::pageBackend->edited(control, std::move(edited));
  }
}

EMSCRIPTEN_KEEPALIVE int web_key(int window, int key) {
  return web::pageBackend != nullptr && web::pageBackend->keyPressed(window, key) ? 1 : 0;
}

EMSCRIPTEN_KEEPALIVE void web_mouse_move(int window, double x, double y, int buttons, int shift) {
  if (web::pageBackend != nullptr) {
    web::pageBackend->mouseMoved(window, static_cast<float>(x), static_cast<float>(y), buttons,
                                 shift);
  }
}

EMSCRIPTEN_KEEPALIVE void web_activate(int window) {
  if (web::pageBackend != nullptr) {
    web::pageBackend->activated(window);
  }
}

EMSCRIPTEN_KEEPALIVE void web_focus(int window, int control) {
  if (web::pageBackend != nullptr) {
    web::pageBackend->focusMoved(window, control);
  }
}

// Whether a key pressed on a focused button presses it: the toolkit's rule.
EMSCRIPTEN_KEEPALIVE int web_presses_button(int key) {
  return tk::pressesButton(static_cast<std::int16_t>(key)) ? 1 : 0;
}

EMSCRIPTEN_KEEPALIVE void web_timer() {
  if (web::pageBackend != nullptr) {
    web::pageBackend->timeout();
  }
}
}
