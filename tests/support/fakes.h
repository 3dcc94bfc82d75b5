// Test doubles: a clock the test advances, services that record what the screens ask
// of the platform, and the whole program built on them.
#pragma once

#include "shell/program.h"
#include "toolkit/desktop.h"

#include <deque>
#include <functional>
#include <string>
#include <vector>

namespace testing_support {

class ManualClock : public tk::Clock {
public:
  [[nodiscard]] tk::Millis now() const override { return now_; }
  void set(tk::Millis now) { now_ = now; }

private:
  tk::Millis now_ = 0;
};

struct Message {
  std::string text;
  std::string title;
  bool operator==(const Message &) const = default;
};

class FakeServices : public tk::Services {
public:
  // The random numbers to hand out, in order; once they run out, 0.5 each time.
  std::deque<float> randoms;
  std::vector<Message> messages;
  std::function<void()> whileMessageOpen; // runs while a message box is "open"
  int tabs = 0;
  int randomizes = 0;
  bool ended = false;
  float width = 1024 * tk::twipsPerPixel;
  float height = 768 * tk::twipsPerPixel;
  float blankWidth = 45; // twips per character in any font
  mutable int textsMeasured = 0;

  void messageBox(std::string_view text, std::string_view title) override;
  void sendTab() override { ++tabs; }
  void randomize() override { ++randomizes; }
  float random() override;
  [[nodiscard]] float displayWidth() const override { return width; }
  [[nodiscard]] float displayHeight() const override { return height; }
  [[nodiscard]] float textWidth(std::string_view text, const tk::Font &font) const override;
  void endProgram() override { ended = true; }
};

// Advances the clock to each due tick in turn, so that a long advance plays every
// tick in order, as the real clock would.
void advance(tk::Desktop &desktop, ManualClock &clock, tk::Millis milliseconds);

// The whole program, headless.
struct TestProgram {
  ManualClock clock;
  FakeServices services;
  tk::Desktop desktop{clock, services};
  Program program{desktop};

  void advance(tk::Millis milliseconds) { testing_support::advance(desktop, clock, milliseconds); }
};

} // namespace testing_support

namespace testing_support {

// Writes down what a window system is told, as "Form.Property=value" lines.
class RecordingWindowSystem : public tk::WindowSystem {
public:
  std::vector<std::string> log;
  void formLoaded(tk::Form &form) override { log.push_back(std::string(form.name()) + ".Loaded"); }
  void formUnloaded(tk::Form &form) override {
    log.push_back(std::string(form.name()) + ".Unloaded");
  }
  void formChanged(tk::Form &form, tk::FormProperty property) override;
  void controlChanged(tk::Control & /*control*/, tk::Property /*property*/) override {}
  void settled() override {}
  void detached() override {}
};

} // namespace testing_support
