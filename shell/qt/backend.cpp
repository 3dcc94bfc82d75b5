#include "backend.h"

#include "formview.h"
#include "mapping.h"
#include "pictures.h"

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
#include <string_view>

namespace qtb {
namespace {

bool platformChosenOnCommandLine(int argc, const char *const argv[]) {
  for (int i = 1; i < argc; ++i) {
    const std::string_view argument = argv[i];
    if (argument == "-platform" || argument == "--platform" || argument.starts_with("-platform=") ||
        argument.starts_with("--platform=")) {
      return true;
    }
  }
  return false;
}

} // namespace

void preferPlaceableWindows(int argc, const char *const argv[]) {
  if (!qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") || platformChosenOnCommandLine(argc, argv) ||
      qEnvironmentVariableIsEmpty("DISPLAY")) {
    return;
  }
  qputenv("QT_QPA_PLATFORM", QByteArrayLiteral("xcb"));
}

QtBackend::QtBackend(const tk::Clock *clock)
    : clock_(clock != nullptr ? clock : &steadyClock_),
      timeSource_(
          [this](tk::Millis wait) {
            timer_.start(
                static_cast<int>(std::min<tk::Millis>(wait, std::numeric_limits<int>::max())));
          },
          [this] { timer_.stop(); }),
      // A window whose form unloaded in a handler goes when the event loop has it back:
      // the handler returned, but the event of one of its widgets may still be running.
      closing_([](const QPointer<QWidget> &window) { delete window.data(); },
               [](const QPointer<QWidget> &window) {
                 if (!window.isNull()) {
                   window->deleteLater();
                 }
               }) {
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

void QtBackend::destroy(QWidget *window) {
  window->hide();
  closing_.close(window, desktop_);
}

void QtBackend::settled() {
  closing_.settled();
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
    desktop_->minimisedOrRestored([this](const tk::Form &form) {
      const FormView *v = view(form);
      return v != nullptr && v->window() != nullptr && v->window()->isMinimized();
    });
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
                       .x = twips(at.x()),
                       .y = twips(at.y())});
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
  // Tab goes by the toolkit's order, not by Qt's focus chain, before the control hears it.
  return v->form().tabKey(down) || (v->client() == widget && v->form().typed(down));
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
  return twips(QGuiApplication::primaryScreen()->geometry().width());
}

float QtBackend::displayHeight() const {
  return twips(QGuiApplication::primaryScreen()->geometry().height());
}

float QtBackend::textWidth(std::string_view text, const tk::Font &font) const {
  return twips(QFontMetricsF(toQFont(font)).horizontalAdvance(toQString(text)));
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
