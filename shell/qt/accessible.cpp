#include "accessible.h"

#include "mapping.h"
#include "toolkit/accessibility.h"
#include "widgets.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QWidget>

namespace qtb {
namespace {

constexpr char formClientProperty[] = "honderdtafels_form_client";

bool hiddenFromScreenReader(const QWidget &widget) {
  const auto *painted = dynamic_cast<const PaintedWidget *>(&widget);
  return painted != nullptr && tk::hiddenFromScreenReader(painted->control());
}

// The toolkit's role of a painted control as Qt names it.
QAccessible::Role platformRole(tk::Role role) {
  switch (role) {
  case tk::Role::Group:
    return QAccessible::Grouping;
  case tk::Role::Picture:
    return QAccessible::Graphic;
  case tk::Role::Pane:
    return QAccessible::Pane;
  case tk::Role::Hidden:
  case tk::Role::Status:
  case tk::Role::Own:
    break;
  }
  return QAccessible::Client;
}

// A container whose accessible children leave out the decoration in it.
class ContainerAccessible : public QAccessibleWidget {
public:
  ContainerAccessible(QWidget *widget, QAccessible::Role role) : QAccessibleWidget(widget, role) {}

  // Qt would describe a control by its tooltip when it has no description; a picture
  // named by its tooltip would then say it twice.
  [[nodiscard]] QString text(QAccessible::Text kind) const override {
    return kind == QAccessible::Description ? widget()->accessibleDescription()
                                            : QAccessibleWidget::text(kind);
  }

  [[nodiscard]] int childCount() const override { return static_cast<int>(shownChildren().size()); }
  [[nodiscard]] QAccessibleInterface *child(int index) const override {
    const QList<QWidget *> children = shownChildren();
    return index >= 0 && index < children.size()
               ? QAccessible::queryAccessibleInterface(children.at(index))
               : nullptr;
  }
  [[nodiscard]] int indexOfChild(const QAccessibleInterface *child) const override {
    if (child == nullptr || !child->object()->isWidgetType()) {
      return -1;
    }
    return static_cast<int>(shownChildren().indexOf(static_cast<QWidget *>(child->object())));
  }

private:
  [[nodiscard]] QList<QWidget *> shownChildren() const {
    QList<QWidget *> shown;
    for (QObject *object : widget()->children()) {
      auto *child = qobject_cast<QWidget *>(object);
      if (child != nullptr && !child->isWindow() && !hiddenFromScreenReader(*child)) {
        shown.append(child);
      }
    }
    return shown;
  }
};

QAccessibleInterface *accessibleFor(const QString & /*className*/, QObject *object) {
  auto *widget = qobject_cast<QWidget *>(object);
  if (widget == nullptr) {
    return nullptr;
  }
  if (widget->property(formClientProperty).toBool()) {
    return new ContainerAccessible(widget,
                                   widget->isWindow() ? QAccessible::Window : QAccessible::Client);
  }
  if (auto *painted = dynamic_cast<PaintedWidget *>(widget)) {
    return new ContainerAccessible(widget, platformRole(tk::accessibleRole(painted->control())));
  }
  return nullptr;
}

} // namespace

void nameForScreenReader(const tk::Control &control, QWidget &widget) {
  widget.setAccessibleName(toQString(tk::accessibleName(control)));
  widget.setAccessibleDescription(toQString(tk::accessibleDescription(control)));
}

void markFormClient(QWidget &client) {
  client.setProperty(formClientProperty, true);
}

void installAccessibleInterfaces() {
  static const bool installed = [] {
    QAccessible::installFactory(accessibleFor);
    return true;
  }();
  (void)installed;
}

} // namespace qtb
