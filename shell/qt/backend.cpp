#include "backend.h"

#include "formview.h"
#include "pictures.h"
#include "widgets.h"

#include <QApplication>
#include <QFocusEvent>
#include <QFontMetricsF>
#include <QKeyEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMessageBox>
#include <QMouseEvent>
#include <QScreen>

#include <algorithm>
#include <limits>

namespace qtb {
namespace {

int toolkitButtons(Qt::MouseButtons buttons) {
  int result = 0;
  result |= buttons.testFlag(Qt::LeftButton) ? tk::mouse::left : 0;
  result |= buttons.testFlag(Qt::RightButton) ? tk::mouse::right : 0;
  result |= buttons.testFlag(Qt::MiddleButton) ? tk::mouse::middle : 0;
  return result;
}

int toolkitShift(Qt::KeyboardModifiers modifiers) {
  int result = 0;
  result |= modifiers.testFlag(Qt::ShiftModifier) ? tk::shift::shiftKey : 0;
  result |= modifiers.testFlag(Qt::ControlModifier) ? tk::shift::ctrlKey : 0;
  result |= modifiers.testFlag(Qt::AltModifier) ? tk::shift::altKey : 0;
  return result;
}

} // namespace

QtBackend::QtBackend(const tk::Clock *clock)
    : clock_(clock != nullptr ? clock : &steadyClock_),
      timeSource_(
          [this](tk::Millis wait) {
            timer_.start(
                static_cast<int>(std::min<tk::Millis>(wait, std::numeric_limits<int>::max())));
          },
          [this] { timer_.stop(); }) {
  loadPictures();
  // Qt's default coarse timers may fire 5 % off, which would cut seconds off a round.
  timer_.setTimerType(Qt::PreciseTimer);
  timer_.setSingleShot(true);
  connect(&timer_, &QTimer::timeout, this, [this] { timeSource_.fired(); });
  qApp->installEventFilter(this);
  onEnd = [] { QCoreApplication::exit(0); };
}

QtBackend::~QtBackend() {
  qApp->removeEventFilter(this);
  if (desktop_ != nullptr) {
    desktop_->setWindowSystem(nullptr);
  }
  // Child windows first: the main window owns the area they live in.
  views_.dropIf([](const FormView &view) { return view.mdiArea() == nullptr; });
  views_.clear();
}

void QtBackend::detached() {
  desktop_ = nullptr;
  timeSource_.attach(nullptr);
}

void QtBackend::attach(tk::Desktop &desktop) {
  desktop_ = &desktop;
  desktop.setWindowSystem(this);
  timeSource_.attach(&desktop);
  // The designs centre their windows on the primary screen.
  if (QScreen *screen = QGuiApplication::primaryScreen()) {
    connect(screen, &QScreen::geometryChanged, this, [this] {
      if (desktop_ != nullptr) {
        desktop_->displayChanged();
      }
    });
  }
}

bool QtBackend::allMinimised() const {
  bool shown = false;
  for (const auto &[form, view] : views_) {
    const QWidget *window = view->window();
    if (window == nullptr || !window->isWindow() || !window->isVisible()) {
      continue;
    }
    if (!window->isMinimized()) {
      return false;
    }
    shown = true;
  }
  return shown;
}

FormView *QtBackend::view(const tk::Form &form) const {
  return views_.find(form);
}

QMdiArea *QtBackend::mdiArea() const {
  for (const auto &[form, view] : views_) {
    if (view->mdiArea() != nullptr) {
      return view->mdiArea();
    }
  }
  return nullptr;
}

void QtBackend::formLoaded(tk::Form &form) {
  views_.load(form, *this);
}

void QtBackend::formUnloaded(tk::Form &form) {
  views_.unload(form);
}

void QtBackend::formChanged(tk::Form &form, tk::FormProperty property) {
  views_.formChanged(form, property);
}

void QtBackend::controlChanged(tk::Control &control, tk::Property property) {
  views_.controlChanged(control, property);
}

void QtBackend::settled() {
  timeSource_.rearm();
}

FormView *QtBackend::viewOwning(QWidget *widget) const {
  for (QWidget *w = widget; w != nullptr; w = w->parentWidget()) {
    for (const auto &[form, view] : views_) {
      if (view->client() == w) {
        return view.get();
      }
    }
  }
  return nullptr;
}

bool QtBackend::eventFilter(QObject *watched, QEvent *event) {
  auto *widget = qobject_cast<QWidget *>(watched);
  if (widget == nullptr || desktop_ == nullptr) {
    return false;
  }
  switch (event->type()) {
  case QEvent::MouseMove:
    return mouseMoved(widget, event);
  case QEvent::KeyPress:
    return keyPressed(widget, event);
  case QEvent::FocusIn:
  case QEvent::FocusOut:
    focusMoved(widget, static_cast<QFocusEvent *>(event));
    return false;
  case QEvent::WindowStateChange:
    // The program cannot be seen once every window of it is minimised.
    desktop_->setHidden(allMinimised());
    return false;
  case QEvent::WindowActivate:
    for (const auto &[form, view] : views_) {
      if (view->window() == widget && form->design().kind != tk::WindowKind::MdiChild) {
        desktop_->activate(view->form());
      }
    }
    return false;
  default:
    return false;
  }
}

bool QtBackend::mouseMoved(QWidget *widget, QEvent *event) {
  auto *move = static_cast<QMouseEvent *>(event);
  // Qt offers a move that a widget ignores to its parent as well; it counts once.
  if (move->timestamp() == lastMoveStamp_ && move->globalPosition() == lastMovePoint_) {
    return false;
  }
  FormView *v = viewOwning(widget);
  if (v == nullptr || v->form().design().kind == tk::WindowKind::MdiParent) {
    return false;
  }
  lastMoveStamp_ = move->timestamp();
  lastMovePoint_ = move->globalPosition();
  const QPointF at = widget->mapTo(v->client(), move->position());
  v->form().mouseMove({.buttons = toolkitButtons(move->buttons()),
                       .shift = toolkitShift(move->modifiers()),
                       .x = static_cast<float>(at.x() * tk::twipsPerPixel),
                       .y = static_cast<float>(at.y() * tk::twipsPerPixel)});
  return false;
}

bool QtBackend::keyPressed(QWidget *widget, QEvent *event) {
  // A key a control does not take travels up to the form's client widget; whether the
  // form hears it is the toolkit's rule, which knows where the focus is.
  FormView *v = viewOwning(widget);
  if (v == nullptr || v->form().design().kind == tk::WindowKind::MdiParent) {
    return false;
  }
  const tk::KeyDown down = keyDown(*static_cast<QKeyEvent *>(event));
  switch (tk::keyOnForm(down)) {
  case tk::FormKeyEffect::NextControl:
  case tk::FormKeyEffect::PreviousControl:
    // Tab goes by the toolkit's order, round within the window, not by Qt's focus chain.
    v->form().tab(tk::keyOnForm(down) == tk::FormKeyEffect::PreviousControl);
    return true;
  case tk::FormKeyEffect::KeyPress:
    return v->client() == widget && v->form().keyPress(down.code) == 0;
  case tk::FormKeyEffect::Default:
    break;
  }
  return false;
}

void QtBackend::focusMoved(QWidget *widget, QFocusEvent *event) {
  // Focus that stays with its window while another window or a menu is active has not moved.
  if (event->reason() == Qt::ActiveWindowFocusReason || event->reason() == Qt::PopupFocusReason ||
      event->reason() == Qt::MenuBarFocusReason) {
    return;
  }
  FormView *v = viewOwning(widget);
  if (v == nullptr) {
    return;
  }
  v->form().focusMovedTo(event->gotFocus() ? v->control(widget) : nullptr);
}

void QtBackend::messageBox(std::string_view text, std::string_view title) {
  QMessageBox box(QMessageBox::Information, toQString(title), toQString(text), QMessageBox::Ok,
                  QApplication::activeWindow());
  box.exec();
}

void QtBackend::sendTab() {
  QMetaObject::invokeMethod(
      this,
      [this] {
        if (desktop_ != nullptr) {
          desktop_->tabPosted();
        }
      },
      Qt::QueuedConnection);
}

void QtBackend::randomize() {
  random_.seed(tk::seedFromClock());
}

float QtBackend::random() {
  return random_.next();
}

float QtBackend::displayWidth() const {
  return static_cast<float>(QGuiApplication::primaryScreen()->geometry().width() *
                            tk::twipsPerPixel);
}

float QtBackend::displayHeight() const {
  return static_cast<float>(QGuiApplication::primaryScreen()->geometry().height() *
                            tk::twipsPerPixel);
}

float QtBackend::textWidth(std::string_view text, const tk::Font &font) const {
  return static_cast<float>(QFontMetricsF(toQFont(font)).horizontalAdvance(toQString(text)) *
                            tk::twipsPerPixel);
}

void QtBackend::endProgram() {
  timer_.stop();
  for (auto &[form, view] : views_) {
    view->window()->hide();
  }
  if (onEnd) {
    onEnd();
  }
}

} // namespace qtb
