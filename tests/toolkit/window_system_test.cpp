// What every window system does the same way: one view per loaded form that hears the
// changes of its own form, windows of unloaded forms destroyed only when no handler can
// still be running on them, and a program that cannot be seen once all its windows are
// minimised.
#include "support/fakes.h"
#include "toolkit/closing_windows.h"
#include "toolkit/form_views.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

using tk::Kind;

namespace {

constexpr tk::ControlDesign buttons[] = {
    {.name = "ok", .kind = Kind::Button, .rect = {0, 0, 1000, 500}},
};
constexpr tk::FormDesign mainDesign{.name = "Hoofd", .kind = tk::WindowKind::MdiParent};
constexpr tk::FormDesign childDesign{
    .name = "Kind", .kind = tk::WindowKind::MdiChild, .controls = buttons};
constexpr tk::FormDesign dialogDesign{.name = "Venster", .controls = buttons};

class Mirror;

// A window system's view of one form: its window is a number, and it writes down what
// it hears.
class View {
public:
  View(tk::Form &form, Mirror &mirror);
  ~View();
  View(const View &) = delete;
  View &operator=(const View &) = delete;
  void formChanged(tk::FormProperty property);
  void controlChanged(tk::Control &control, tk::Property property);

private:
  tk::Form &form_;
  Mirror &mirror_;
  int window_;
};

class Mirror : public tk::ViewingWindowSystem<Mirror, View> {
public:
  explicit Mirror(tk::Desktop &desktop)
      : desktop_(desktop),
        closing_([this](int window) { log.push_back(gone(window, "at once")); },
                 [this](int window) { log.push_back(gone(window, "after the handler")); }) {}
  // The views go first: they hand their windows to closing_.
  ~Mirror() override { views_.clear(); }
  Mirror(const Mirror &) = delete;
  Mirror &operator=(const Mirror &) = delete;
  std::vector<std::string> log;
  int windows = 0;

  void destroy(int window) { closing_.close(window, &desktop_); }
  void settled() override {
    log.emplace_back("settled");
    closing_.settled();
  }
  void detached() override {}
  [[nodiscard]] bool hasView(const tk::Form &form) const { return views_.find(form) != nullptr; }

private:
  static std::string gone(int window, const char *when) {
    return "window " + std::to_string(window) + " destroyed " + when;
  }
  tk::Desktop &desktop_;
  tk::ClosingWindows<int> closing_;
};

View::View(tk::Form &form, Mirror &mirror)
    : form_(form), mirror_(mirror), window_(++mirror.windows) {}

View::~View() {
  mirror_.destroy(window_);
}

void View::formChanged(tk::FormProperty property) {
  if (property == tk::FormProperty::Visible) {
    mirror_.log.push_back(std::string(form_.name()) + (form_.visible() ? " shown" : " hidden"));
  }
}

void View::controlChanged(tk::Control &control, tk::Property property) {
  if (property == tk::Property::Text) {
    mirror_.log.push_back(std::string(form_.name()) + "." + control.name() + " " + control.text());
  }
}

struct EveryWindowSystem : ::testing::Test {
  testing_support::ManualClock clock;
  testing_support::FakeServices services;
  tk::Desktop desktop{clock, services};
  Mirror mirror{desktop};

  EveryWindowSystem() { desktop.setWindowSystem(&mirror); }
  ~EveryWindowSystem() override { desktop.setWindowSystem(nullptr); }
  EveryWindowSystem(const EveryWindowSystem &) = delete;
  EveryWindowSystem &operator=(const EveryWindowSystem &) = delete;

  tk::Form &load(const tk::FormDesign &design) {
    owned.push_back(std::make_unique<tk::Form>(desktop, design));
    desktop.load(*owned.back());
    return *owned.back();
  }
  void unload(tk::Form &form) {
    for (auto &owner : owned) {
      if (owner.get() == &form) {
        desktop.unload(std::move(owner));
      }
    }
  }
  std::vector<std::unique_ptr<tk::Form>> owned;
};

TEST_F(EveryWindowSystem, eachFormsViewHearsItsOwnFormAndGoesWhenTheFormUnloads) {
  tk::Form &dialog = load(dialogDesign);
  tk::Form &child = load(childDesign);
  mirror.log.clear();
  child.control("ok").setText("Goed");
  dialog.show();
  EXPECT_EQ(mirror.log, (std::vector<std::string>{"Kind.ok Goed", "Venster shown", "settled"}));
  unload(child);
  EXPECT_FALSE(mirror.hasView(child));
  EXPECT_TRUE(mirror.hasView(dialog));
}

TEST_F(EveryWindowSystem, aWindowOutsideAnyHandlerGoesAtOnce) {
  tk::Form &dialog = load(dialogDesign);
  mirror.log.clear();
  unload(dialog);
  EXPECT_EQ(mirror.log, (std::vector<std::string>{"window 1 destroyed at once", "settled"}));
}

TEST_F(EveryWindowSystem, aWindowUnloadedByItsOwnHandlerGoesOnlyWhenTheOutermostHandlerReturned) {
  // The handler that unloads its form may still use the window's controls, and a message
  // box it opens runs events of its own: the window waits for all of them.
  tk::Form &dialog = load(dialogDesign);
  tk::Form &other = load(childDesign);
  dialog.control("ok").onClick = [&] {
    unload(dialog);
    services.messageBox("Klaar", "");
    mirror.log.emplace_back("handler returns");
  };
  services.whileMessageOpen = [&] { other.control("ok").click(); };
  dialog.show();
  other.show();
  mirror.log.clear();
  dialog.control("ok").click();
  EXPECT_EQ(mirror.log, (std::vector<std::string>{"handler returns", "settled",
                                                  "window 1 destroyed after the handler"}));
  mirror.log.clear();
  other.control("ok").click();
  EXPECT_EQ(mirror.log, (std::vector<std::string>{"settled"})) << "destroyed once only";
}

TEST_F(EveryWindowSystem, windowsStillWaitingGoWithTheWindowSystem) {
  std::vector<int> destroyed;
  {
    tk::ClosingWindows<int> closing([&](int window) { destroyed.push_back(window); },
                                    [](int /*window*/) { FAIL() << "no handler returned"; });
    desktop.dispatch([&] { closing.close(7, &desktop); });
    EXPECT_TRUE(destroyed.empty());
  }
  EXPECT_EQ(destroyed, std::vector<int>{7});
}

TEST_F(EveryWindowSystem, theProgramCannotBeSeenOnceEveryWindowItShowsIsMinimised) {
  tk::Form &main = load(mainDesign);
  tk::Form &child = load(childDesign);
  tk::Form &dialog = load(dialogDesign);
  std::map<const tk::Form *, bool> minimised;
  auto report = [&] {
    desktop.minimisedOrRestored([&](const tk::Form &form) { return minimised[&form]; });
  };
  report();
  EXPECT_FALSE(desktop.hidden()) << "no window shown is no window minimised";
  main.show();
  child.show();
  dialog.show();
  minimised[&main] = true;
  report();
  EXPECT_FALSE(desktop.hidden()) << "the dialog still shows";
  minimised[&dialog] = true;
  report();
  EXPECT_TRUE(desktop.hidden()) << "the child window inside the main window goes with it";
  minimised[&dialog] = false;
  dialog.hide();
  report();
  EXPECT_TRUE(desktop.hidden()) << "a hidden window is not one the child can see";
  minimised[&main] = false;
  report();
  EXPECT_FALSE(desktop.hidden());
}

} // namespace
