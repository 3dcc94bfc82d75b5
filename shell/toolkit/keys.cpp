#include "keys.h"

#include "control.h"

namespace tk {

FormKeyEffect keyOnForm(const KeyDown &key) {
  if (key.shortcut || key.composing || key.code == 0) {
    return FormKeyEffect::Default;
  }
  if (key.code == key::tab) {
    return key.shift ? FormKeyEffect::PreviousControl : FormKeyEffect::NextControl;
  }
  return FormKeyEffect::KeyPress;
}

KeyEffect keyOnControl(const Control &control, const KeyDown &key) {
  switch (control.kind()) {
  case Kind::Button:
    if (!pressesButton(key.code)) {
      return KeyEffect::Default;
    }
    return key.shortcut || key.repeat ? KeyEffect::Swallow : KeyEffect::Press;
  case Kind::TextBox:
    if (control.design().digitKeys && key.digitAtPlace && !key.shortcut && !key.composing &&
        !control.locked()) {
      return KeyEffect::TypeDigit;
    }
    return KeyEffect::Default;
  default:
    return KeyEffect::Default;
  }
}

} // namespace tk
