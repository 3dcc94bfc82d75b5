#include "formview.h"

#include "accessible.h"
#include "backend.h"
#include "mapping.h"
#include "pictures.h"
#include "widgets.h"

#include "toolkit/accessibility.h"
#include "toolkit/backdrop.h"

#include <QAction>
#include <QEvent>
#include <QGuiApplication>
#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QProgressBar>
#include <QScreen>

#include <algorithm>
#include <vector>

namespace qtb {
namespace {

// Whether a window may close is the toolkit's rule: the window system only asks it,
// for the close box, Alt+F4 and a window manager's close alike.
class CloseRequests : public QObject {
public:
  CloseRequests(tk::Form &form, QObject *parent) : QObject(parent), form_(form) {}

protected:
  bool eventFilter(QObject * /*watched*/, QEvent *event) override {
    if (event->type() != QEvent::Close) {
      return false;
    }
    event->setAccepted(form_.desktop().closeRequested(form_));
    return true;
  }

private:
  tk::Form &form_;
};

} // namespace

FormView::FormView(tk::Form &form, QtBackend &backend) : form_(form), backend_(backend) {
  installAccessibleInterfaces();
  tk::createWindow(*this, form.design().kind);
  window_->setObjectName(toQString(form.name()));
  window_->installEventFilter(new CloseRequests(form, window_));
  if (!form.design().icon.empty()) {
    window_->setWindowIcon(pictureIcon(form.design().icon));
  }
  createControls();
  nameWindow();
  orderTabs();
  formChanged(tk::FormProperty::Position);
}

FormView::~FormView() {
  if (!window_.isNull()) {
    backend_.destroy(window_);
  }
}

void FormView::createMainWindow() {
  auto *window = new QMainWindow;
  mdiArea_ = new QMdiArea(window);
  mdiArea_->setBackground(toQColor(form_.design().back));
  mdiArea_->setObjectName(QStringLiteral("clientArea"));
  window->setCentralWidget(mdiArea_);
  window->setWindowTitle(toQString(form_.design().caption));
  window->resize(px(form_.design().clientWidth), px(form_.design().clientHeight));
  createMenus(*window);
  window_ = window;
  client_ = mdiArea_;
}

void FormView::createChildWindow() {
  QMdiArea *area = backend_.mdiArea();
  client_ = new QWidget;
  client_->setFixedSize(px(form_.design().clientWidth), px(form_.design().clientHeight));
  subWindow_ = new QMdiSubWindow(area, Qt::FramelessWindowHint);
  subWindow_->setWidget(client_);
  subWindow_->setAttribute(Qt::WA_DeleteOnClose, false);
  area->addSubWindow(subWindow_);
  subWindow_->hide();
  window_ = subWindow_;
}

void FormView::createTopLevelWindow() {
  Qt::WindowFlags flags = Qt::Window | Qt::CustomizeWindowHint;
  if (form_.design().titleBar) {
    flags |= Qt::WindowTitleHint;
  } else if (QGuiApplication::platformName().startsWith(QLatin1String("wayland"))) {
    // A Wayland program draws its own frames, and would give this window a title bar.
    flags |= Qt::FramelessWindowHint;
  }
  client_ = new QWidget(nullptr, flags);
  client_->setFixedSize(px(form_.design().clientWidth), px(form_.design().clientHeight));
  client_->setWindowTitle(toQString(form_.design().caption));
  window_ = client_;
}

void FormView::createMenus(QMainWindow &window) {
  for (const auto &menu : form_.controls()) {
    if (menu->kind() != tk::Kind::Menu || menu->container() != nullptr) {
      continue;
    }
    QMenu *qmenu = window.menuBar()->addMenu(toQString(menu->text()));
    qmenu->setObjectName(toQString(menu->qualifiedName()));
    for (const auto &item : form_.controls()) {
      if (item->container() == menu.get()) {
        QAction *action = qmenu->addAction(toQString(item->text()));
        action->setObjectName(toQString(item->qualifiedName()));
        tk::Control *control = item.get();
        QObject::connect(action, &QAction::triggered, [control] { control->click(); });
        actions_[control] = action;
      }
    }
  }
}

void FormView::createControls() {
  if (form_.design().kind == tk::WindowKind::MdiParent) {
    return;
  }
  client_->setAutoFillBackground(true);
  QPalette palette = client_->palette();
  palette.setColor(QPalette::Window, toQColor(form_.design().back));
  client_->setPalette(palette);
  client_->setFont(toQFont(form_.design().font));
  client_->setMouseTracking(true);
  markFormClient(*client_);

  // Qt stacks later siblings in front, so the widgets are made from the back to the front.
  const std::vector<tk::Control *> &order = form_.frontToBack();
  for (auto it = order.rbegin(); it != order.rend(); ++it) {
    tk::Control *control = *it;
    if (control->kind() == tk::Kind::Menu) {
      continue;
    }
    QWidget *widget = nullptr;
    switch (control->kind()) {
    case tk::Kind::Label: {
      auto *label = new LabelWidget(*control, client_);
      if (control->design().transparent) {
        transparentLabels_.emplace_back(control, label);
      }
      widget = label;
      break;
    }
    case tk::Kind::TextBox: {
      auto *box = new TextBoxWidget(*control, client_);
      QObject::connect(box, &QLineEdit::textEdited,
                       [control](const QString &text) { control->typeText(fromQString(text)); });
      widget = box;
      break;
    }
    case tk::Kind::Button: {
      auto *button = new ButtonWidget(*control, client_);
      QObject::connect(button, &QToolButton::clicked, [control] { control->click(); });
      widget = button;
      break;
    }
    case tk::Kind::StatusBar:
      widget = new StatusBarWidget(*control, client_);
      break;
    case tk::Kind::ProgressBar: {
      auto *bar = new QProgressBar(client_);
      bar->setTextVisible(false);
      widget = bar;
      break;
    }
    default:
      widget = new PaintedWidget(*control, client_);
      break;
    }
    widget->setObjectName(toQString(control->qualifiedName()));
    nameForScreenReader(*control, *widget);
    widget->setMouseTracking(true);
    widgets_[control] = widget;
  }
  for (auto it = order.rbegin(); it != order.rend(); ++it) {
    tk::Control *control = *it;
    if (control->kind() == tk::Kind::Menu) {
      continue;
    }
    QWidget *widget = widgets_.at(control);
    if (control->container() != nullptr) {
      widget->setParent(widgets_.at(control->container()));
    }
    widget->raise();
    place(*control, *widget);
    widget->setVisible(control->visible());
    widget->setEnabled(control->enabled());
    controlChanged(*control, tk::Property::Value);
  }
  for (const auto &[control, label] : transparentLabels_) {
    refreshBackdrops(*control);
  }
}

// A window without a caption still has a name for the screen reader. A child window
// carries it as its title, which it never shows, having no title bar.
void FormView::nameWindow() {
  const QString name = toQString(tk::accessibleName(form_));
  window_->setAccessibleName(name);
  if (subWindow_ != nullptr) {
    subWindow_->setWindowTitle(name);
  }
  if (client_ != window_ && form_.design().kind != tk::WindowKind::MdiParent) {
    client_->setAccessibleName(name);
  }
}

void FormView::orderTabs() {
  QWidget *previous = nullptr;
  for (const tk::Control *control : tk::tabOrder(form_)) {
    QWidget *next = widget(*control);
    if (previous != nullptr && next != nullptr) {
      QWidget::setTabOrder(previous, next);
    }
    previous = next != nullptr ? next : previous;
  }
}

tk::Control *FormView::control(const QWidget *widget) const {
  for (const auto &c : form_.controls()) {
    if (widget != nullptr && this->widget(*c) == widget) {
      return c.get();
    }
  }
  return nullptr;
}

QWidget *FormView::widget(const tk::Control &control) const {
  auto it = widgets_.find(&control);
  return it == widgets_.end() ? nullptr : it->second;
}

void FormView::place(const tk::Control &control, QWidget &widget) const {
  const int offset = control.container() != nullptr ? px(control.container()->innerOffset()) : 0;
  if (control.kind() == tk::Kind::Line) {
    const tk::LineEnds &ends = control.line();
    const int left = px(std::min(ends.x1, ends.x2));
    const int top = px(std::min(ends.y1, ends.y2));
    widget.setGeometry(left + offset, top + offset, px(std::abs(ends.x2 - ends.x1)) + 1,
                       px(std::abs(ends.y2 - ends.y1)) + 1);
    return;
  }
  const tk::Rect r = control.drawnRect();
  const QSize before = widget.size();
  widget.setGeometry(px(r.left) + offset, px(r.top) + offset, px(r.width), px(r.height));
  // A label that only moved shows what it showed: the falling problem moves ten times a second.
  if (auto *label = dynamic_cast<LabelWidget *>(&widget);
      label != nullptr && widget.size() != before) {
    label->sync();
  }
}

void FormView::refreshBackdrops(const tk::Control &changed) const {
  for (const auto &[control, label] : transparentLabels_) {
    if (control == &changed || control->container() == changed.container() ||
        control->container() == &changed) {
      const std::optional<tk::Color> colour = tk::plainBackdrop(*control);
      label->setBackdrop(colour ? std::optional(toQColor(*colour)) : std::nullopt);
    }
  }
}

void FormView::show() {
  if (form_.design().kind == tk::WindowKind::MdiParent && form_.design().maximised) {
    // Without a window manager nobody maximises the window (a kiosk, a thin client on a
    // bare X server): it then covers the screen on its own.
    if (QScreen *screen = window_->screen()) {
      window_->setGeometry(screen->availableGeometry());
    }
    window_->showMaximized();
  } else {
    window_->show();
  }
}

void FormView::formChanged(tk::FormProperty property) {
  switch (property) {
  case tk::FormProperty::Visible:
    if (form_.visible()) {
      show();
    } else {
      window_->hide();
    }
    break;
  case tk::FormProperty::Position:
    if (form_.design().kind != tk::WindowKind::MdiParent) {
      window_->move(px(form_.left()), px(form_.top()));
    }
    break;
  case tk::FormProperty::Enabled:
    window_->setEnabled(form_.enabled());
    break;
  case tk::FormProperty::Caption:
    window_->setWindowTitle(toQString(form_.design().caption));
    break;
  case tk::FormProperty::Focus:
    // No control holds the focus any more: the window itself takes the keys.
    if (QWidget *focus = client_->focusWidget(); focus != nullptr && focus != client_) {
      client_->setFocus(Qt::OtherFocusReason);
    }
    break;
  case tk::FormProperty::Raised:
    window_->raise();
    if (subWindow_ != nullptr) {
      backend_.mdiArea()->setActiveSubWindow(subWindow_);
    } else {
      window_->activateWindow();
    }
    // The window in front gives the keyboard to its control that has the focus.
    if (const tk::Control *focused = form_.focused()) {
      if (QWidget *w = widget(*focused)) {
        w->setFocus(Qt::OtherFocusReason);
      }
    }
    break;
  }
}

void FormView::controlChanged(tk::Control &control, tk::Property property) {
  if (auto action = actions_.find(&control); action != actions_.end()) {
    action->second->setText(toQString(control.text()));
    action->second->setVisible(control.visible());
    action->second->setEnabled(control.enabled());
    return;
  }
  QWidget *w = widget(control);
  if (w == nullptr) {
    return;
  }
  // Before the widget moves: an opaque label moves by a copy of its pixels.
  if (property == tk::Property::Geometry || property == tk::Property::Visible ||
      property == tk::Property::Colors || property == tk::Property::Container ||
      property == tk::Property::Text) {
    refreshBackdrops(control);
  }
  switch (property) {
  case tk::Property::Visible:
    w->setVisible(control.visible());
    break;
  case tk::Property::Enabled:
    w->setEnabled(control.enabled());
    break;
  case tk::Property::Geometry:
    place(control, *w);
    break;
  case tk::Property::Focus:
    w->setFocus(Qt::OtherFocusReason);
    break;
  case tk::Property::Container:
    w->setParent(control.container() != nullptr ? widget(*control.container()) : client_);
    place(control, *w);
    w->setVisible(control.visible());
    w->raise();
    break;
  case tk::Property::Locked:
    if (auto *box = dynamic_cast<TextBoxWidget *>(w)) {
      box->sync();
    }
    break;
  case tk::Property::Value:
    if (auto *bar = qobject_cast<QProgressBar *>(w)) {
      bar->setRange(static_cast<int>(control.min()), static_cast<int>(control.max()));
      bar->setValue(static_cast<int>(control.value()));
    }
    break;
  case tk::Property::Description:
    nameForScreenReader(control, *w);
    break;
  case tk::Property::Text:
    nameForScreenReader(control, *w);
    [[fallthrough]];
  case tk::Property::Colors:
  case tk::Property::Panels:
    if (auto *label = dynamic_cast<LabelWidget *>(w)) {
      label->sync();
    } else if (auto *box = dynamic_cast<TextBoxWidget *>(w)) {
      box->sync();
    } else if (auto *button = dynamic_cast<ButtonWidget *>(w)) {
      button->sync();
    } else if (auto *painted = dynamic_cast<PaintedWidget *>(w)) {
      painted->sync();
    } else if (auto *bar = dynamic_cast<StatusBarWidget *>(w)) {
      bar->sync();
    }
    break;
  }
}

} // namespace qtb
