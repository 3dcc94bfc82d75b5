#include "backend.h"

#include "formview.h"
#include "mapping.h"
#include "page.h"
#include "pictures.h"
#include "turn_advice.h"

#include "toolkit/accessibility.h"
#include "toolkit/edges.h"
#include "toolkit/keys.h"

#include <emscripten/emscripten.h>

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

namespace {

constexpr std::array<std::pair<const char *, tk::Edge>, 5> edgeNames{{
    {"raised", tk::Edge::Raised},
    {"pressed", tk::Edge::Pressed},
    {"sunken", tk::Edge::Sunken},
    {"etched", tk::Edge::Etched},
    {"thin", tk::Edge::Thin},
}};

} // namespace

WebBackend::WebBackend()
    : timeSource_([this](tk::Millis wait) { wishTimer(wait); },
                  [this] { wishTimer(std::nullopt); }) {
  pageBackend = this;
  page_focus_ring(cssColor(tk::focusRing.outer).c_str(), cssColor(tk::focusRing.inner).c_str(),
                  tk::focusRing.pixels);
  page_menu_bar(tk::menuBarPixels);
  page_edges(cssColor(tk::edgeColor::light).c_str(), cssColor(tk::edgeColor::shadow).c_str(),
             cssColor(tk::edgeColor::dark).c_str(), cssColor(tk::disabledText).c_str(),
             tk::frameCaptionIndent, tk::frameCaptionPadding, tk::cornerRadius, tk::panelTextLeft,
             tk::panelTextRight);
  for (const auto &[name, edge] : edgeNames) {
    const CssEdge css = cssEdge(edge);
    page_edge(name, css.border.c_str(), css.inside.c_str());
  }
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
  timeSource_.attach(&desktop);
  page_listen_display(); // reports the page's state at once, then each change
}

void WebBackend::detached() {
  desktop_ = nullptr;
  timeSource_.attach(nullptr);
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

void WebBackend::edited(int handle, std::string text, bool composing) {
  // What an input method shows while it composes is not typed yet: the program takes
  // the composed text once, when the composition ends.
  if (composing) {
    return;
  }
  if (tk::Control *c = control(handle)) {
    c->typeText(std::move(text));
  }
}

bool WebBackend::keyDown(int window, int handle, std::string_view key, std::string_view code,
                         int flags) {
  FormView *v = viewOfWindow(window);
  if (v == nullptr) {
    return false;
  }
  const tk::KeyDown down = web::keyDown(key, code, flags);
  if (v->form().tabKey(down)) {
    return true;
  }
  tk::Control *c = v->control(handle);
  if (c == nullptr) {
    return v->form().typed(down); // the window itself has the keyboard
  }
  switch (tk::keyOnControl(*c, down)) {
  case tk::KeyEffect::Press:
    c->click();
    return true;
  case tk::KeyEffect::Swallow:
    return true;
  case tk::KeyEffect::TypeDigit:
    typeDigit(*c, handle, *down.digitAtPlace);
    return true;
  case tk::KeyEffect::Default:
    break;
  }
  return false;
}

bool WebBackend::keyUp(int window, int handle, std::string_view key) {
  // A button was pressed as its key went down; a browser would press it again as Space
  // comes up.
  FormView *v = viewOfWindow(window);
  tk::Control *c = v != nullptr ? v->control(handle) : nullptr;
  return c != nullptr && c->kind() == tk::Kind::Button && tk::pressesButton(keyCode(key));
}

void WebBackend::typeDigit(tk::Control &box, int handle, int digit) {
  const std::string typed(1, static_cast<char>('0' + digit));
  char *text = page_text_insert(handle, typed.c_str());
  std::string edited(text);
  std::free(text);
  box.typeText(std::move(edited));
}

void WebBackend::tabPosted() {
  if (desktop_ != nullptr) {
    desktop_->tabPosted();
  }
}

void WebBackend::scaleFor(std::span<const tk::FormDesign *const> windows) {
  windows_ = windows;
  updateScale();
}

void WebBackend::updateScale() {
  const tk::Extent viewport{static_cast<float>(page_display_width()),
                            static_cast<float>(page_display_height())};
  scale_ = tk::displayScale(viewport, windows_);
  page_display_scale(scale_.scale, scale_.turnAdvised ? turnAdvice : "");
}

float WebBackend::twipsPerViewportPixel() const {
  return static_cast<float>(tk::twipsPerPixel) / scale_.scale;
}

void WebBackend::displayChanged() {
  updateScale();
  if (desktop_ != nullptr) {
    desktop_->displayChanged();
  }
}

void WebBackend::hiddenChanged(bool hidden) {
  if (desktop_ != nullptr) {
    desktop_->setHidden(hidden);
  }
}

void WebBackend::mouseMoved(int window, float x, float y, int buttons, int shift) {
  FormView *v = viewOfWindow(window);
  if (v == nullptr || v->form().design().kind == tk::WindowKind::MdiParent) {
    return;
  }
  v->form().mouseMove({.buttons = buttons,
                       .shift = shift,
                       .x = x * twipsPerViewportPixel(),
                       .y = y * twipsPerViewportPixel()});
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

void WebBackend::settled() {
  timeSource_.rearm();
}

void WebBackend::timeout() {
  // Should the page send a tick while a handler waits in the message box, the ticks
  // wait with it.
  ticking_ = true;
  timeSource_.fired();
  ticking_ = false;
  if (timerWished_) {
    timerWished_ = false;
    setTimer(timerWish_);
  }
}

void WebBackend::wishTimer(std::optional<tk::Millis> wait) {
  if (ticking_) {
    timerWished_ = true;
    timerWish_ = wait;
    return;
  }
  setTimer(wait);
}

void WebBackend::setTimer(std::optional<tk::Millis> wait) {
  if (wait) {
    page_timer_arm(static_cast<double>(*wait));
  } else {
    page_timer_stop();
  }
}

void WebBackend::messageBox(std::string_view text, std::string_view title) {
  page_message_box(std::string(text).c_str(), std::string(title).c_str());
}

void WebBackend::sendTab() {
  page_post_tab();
}

void WebBackend::randomize() {
  random_.seed(tk::seedFromClock());
}

float WebBackend::random() {
  return random_.next();
}

float WebBackend::displayWidth() const {
  return static_cast<float>(page_display_width()) * twipsPerViewportPixel();
}

float WebBackend::displayHeight() const {
  return static_cast<float>(page_display_height()) * twipsPerViewportPixel();
}

float WebBackend::textWidth(std::string_view text, const tk::Font &font) const {
  return static_cast<float>(page_text_width(std::string(text).c_str(), cssFont(font).c_str()) *
                            tk::twipsPerPixel);
}

void WebBackend::endProgram() {
  page_timer_stop();
  page_end();
  // The program's end closes its window, as on the desktop, where the page is one of
  // its own (an installed app) and the browser lets it; else the page is no dead end.
  if (page_in_app_window() == 0 || page_close_window() == 0) {
    offerRestart();
  }
}

void WebBackend::offerRestart() const {
  if (restart_ == nullptr) {
    return;
  }
  const tk::ControlDesign &b = *restart_;
  page_offer_restart(captionText(b.text).c_str(), cssFont(b.font).c_str(),
                     cssColor(b.back.value_or(tk::systemColor::buttonFace)).c_str(),
                     cssColor(b.fore.value_or(tk::systemColor::buttonText)).c_str(),
                     picture(b.picture).c_str(), px(b.rect.width), px(b.rect.height));
}

} // namespace web

// The page's events. Texts come in memory the page allocated; they are ours to free.
extern "C" {

EMSCRIPTEN_KEEPALIVE void web_click(int control) {
  if (web::pageBackend != nullptr) {
    web::pageBackend->clicked(control);
  }
}

EMSCRIPTEN_KEEPALIVE void web_input(int control, char *text, int composing) {
  std::string edited(text);
  std::free(text);
  if (web::pageBackend != nullptr) {
    web::pageBackend->edited(control, std::move(edited), composing != 0);
  }
}

EMSCRIPTEN_KEEPALIVE int web_key_down(int window, int control, char *key, char *code, int flags) {
  const std::string k(key);
  const std::string c(code);
  std::free(key);
  std::free(code);
  return web::pageBackend != nullptr && web::pageBackend->keyDown(window, control, k, c, flags) ? 1
                                                                                                : 0;
}

EMSCRIPTEN_KEEPALIVE int web_key_up(int window, int control, char *key, char *code, int /*flags*/) {
  const std::string k(key);
  std::free(key);
  std::free(code);
  return web::pageBackend != nullptr && web::pageBackend->keyUp(window, control, k) ? 1 : 0;
}

EMSCRIPTEN_KEEPALIVE void web_tab() {
  if (web::pageBackend != nullptr) {
    web::pageBackend->tabPosted();
  }
}

EMSCRIPTEN_KEEPALIVE void web_display_changed() {
  if (web::pageBackend != nullptr) {
    web::pageBackend->displayChanged();
  }
}

EMSCRIPTEN_KEEPALIVE void web_hidden(int hidden) {
  if (web::pageBackend != nullptr) {
    web::pageBackend->hiddenChanged(hidden != 0);
  }
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

EMSCRIPTEN_KEEPALIVE void web_timer() {
  if (web::pageBackend != nullptr) {
    web::pageBackend->timeout();
  }
}
}
