#include "fakes.h"

namespace testing_support {

void FakeServices::messageBox(std::string_view text, std::string_view title) {
  messages.push_back({std::string(text), std::string(title)});
  if (whileMessageOpen) {
    whileMessageOpen();
  }
}

float FakeServices::random() {
  if (randoms.empty()) {
    return 0.5F;
  }
  const float r = randoms.front();
  randoms.pop_front();
  return r;
}

float FakeServices::textWidth(std::string_view text, const tk::Font & /*font*/) const {
  ++textsMeasured;
  return blankWidth * static_cast<float>(text.size());
}

void advance(tk::Desktop &desktop, ManualClock &clock, tk::Millis milliseconds) {
  const tk::Millis target = clock.now() + milliseconds;
  // Inside a handler (a message box that is open) the ticks wait: time just passes.
  while (!desktop.ended() && !desktop.dispatching()) {
    // Counted from now: while the program was hidden its timers' time stood still.
    const auto wait = desktop.waitForNextTick();
    if (!wait || clock.now() + *wait > target) {
      break;
    }
    clock.set(clock.now() + *wait);
    desktop.runDueTimers();
  }
  clock.set(target);
}

} // namespace testing_support

namespace testing_support {

void RecordingWindowSystem::formChanged(tk::Form &form, tk::FormProperty property) {
  const std::string name(form.name());
  switch (property) {
  case tk::FormProperty::Visible:
    log.push_back(name + (form.visible() ? ".Shown" : ".Hidden"));
    break;
  case tk::FormProperty::Enabled:
    log.push_back(name + (form.enabled() ? ".Enabled" : ".Disabled"));
    break;
  default:
    break;
  }
}

} // namespace testing_support
