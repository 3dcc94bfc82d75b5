// What Qt's accessibility tree shows of a form: the window and its containers list only
// the controls a screen reader should meet, each with the role of its kind.
#pragma once

class QWidget;

namespace tk {
class Control;
}

namespace qtb {

// The screen reader's name and description of a control, as the toolkit says them.
void nameForScreenReader(const tk::Control &control, QWidget &widget);

// Marks the widget that holds a form's controls; `window` when it is the window itself.
void markFormClient(QWidget &client);

// Installs, once, the accessible interfaces of form clients and painted controls.
void installAccessibleInterfaces();

} // namespace qtb
