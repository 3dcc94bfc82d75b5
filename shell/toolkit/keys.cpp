#include "keys.h"

#include "control.h"

namespace tk {

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
