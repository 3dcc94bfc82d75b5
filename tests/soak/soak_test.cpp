// Long seeded random sessions: clicks on any control, typed and pasted texts, pointer
// movement, key presses, activations, the menu and the passing of time, through every
// screen, with the program's rules checked after every single event.
#include "support/fakes.h"
#include "toolkit/numbers.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <deque>
#include <memory>
#include <random>
#include <sstream>
#include <string>
#include <vector>

namespace {

using testing_support::TestProgram;

std::int64_t number(const tk::Control &label) {
  return tk::readNumber(label.text()).whole.value_or(-1);
}

// The product of "300 x 4 = ?", read as a child reads it.
std::string product(const std::string &problem) {
  const auto x = problem.find(" x ");
  const auto is = problem.find(" = ?");
  if (x == std::string::npos || is == std::string::npos) {
    return "0";
  }
  return std::to_string(std::stoll(problem.substr(0, x)) *
                        std::stoll(problem.substr(x + 3, is - x - 3)));
}

class Session {
public:
  explicit Session(std::uint32_t seed) : rng_(seed) { fresh(); }

  int events = 0;
  int programs = 1;
  int rounds = 0;  // rounds played to their verdict
  int pauses = 0;  // rounds paused by the red light
  int lessons = 0; // classroom lessons started
  int rightAnswers = 0;

  void step() {
    if (t_->desktop.ended()) {
      fresh();
      ++programs;
    }
    const std::string what = event();
    remember(what);
    ++events;
    check(what);
  }

  [[nodiscard]] std::string history() const {
    std::ostringstream out;
    for (const std::string &line : history_) {
      out << "  " << line << '\n';
    }
    return out.str();
  }

private:
  int pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng_); }
  bool chance(int percent) { return pick(100) < percent; }

  void fresh() {
    t_ = std::make_unique<TestProgram>();
    for (int i = 0; i < 64; ++i) {
      t_->services.randoms.push_back(std::uniform_real_distribution<float>(0, 0.999F)(rng_));
    }
    t_->program.start();
    drill_ = nullptr;
  }

  // The screens that are loaded, without loading any.
  std::vector<tk::Form *> loadedForms() {
    Program &p = t_->program;
    std::vector<tk::Form *> forms;
    if (p.mdiForm2.loaded()) {
      forms.push_back(&p.mdiForm2());
    }
    if (p.frmmecenaat1.loaded()) {
      forms.push_back(&p.frmmecenaat1());
    }
    if (p.frminfo.loaded()) {
      forms.push_back(&p.frminfo());
    }
    if (p.tafels.loaded()) {
      forms.push_back(&p.tafels());
    }
    if (p.aklas.loaded()) {
      forms.push_back(&p.aklas());
    }
    return forms;
  }

  tk::Form &someForm() {
    std::vector<tk::Form *> forms = loadedForms();
    std::vector<tk::Form *> shown;
    for (tk::Form *f : forms) {
      if (f->visible()) {
        shown.push_back(f);
      }
    }
    const auto &from = !shown.empty() && chance(90) ? shown : forms;
    return *from.at(static_cast<std::size_t>(pick(static_cast<int>(from.size()))));
  }

  tk::Control &someControl(tk::Form &form, bool buttonsOnly) {
    std::vector<tk::Control *> candidates;
    for (const auto &c : form.controls()) {
      if (!buttonsOnly || c->kind() == tk::Kind::Button || c->kind() == tk::Kind::Menu) {
        candidates.push_back(c.get());
      }
    }
    if (candidates.empty()) {
      return *form.controls().front();
    }
    return *candidates.at(static_cast<std::size_t>(pick(static_cast<int>(candidates.size()))));
  }

  std::string someText() {
    static constexpr std::array<std::string_view, 12> fixed{
        "", "0", "abc", "12a", " 300 ", "1.200", "-400", "2,5", "+0", "٣", "\r\n", "9999999999"};
    switch (pick(6)) {
    case 0:
      return std::string(fixed.at(static_cast<std::size_t>(pick(fixed.size()))));
    case 1: {
      std::string digits;
      for (int n = pick(6) + 1; n > 0; --n) {
        digits += static_cast<char>('0' + pick(10));
      }
      return digits;
    }
    case 2: {
      std::string letters;
      for (int n = pick(8) + 1; n > 0; --n) {
        letters += static_cast<char>(pick(256) - 128);
      }
      return letters;
    }
    case 3:
      return std::string(static_cast<std::size_t>(pick(20000) + 1000), chance(50) ? '7' : 'x');
    default:
      return t_->program.tafels.loaded() ? product(t_->program.tafels().probleem()) : "0";
    }
  }

  std::string event() {
    Program &p = t_->program;
    const int kind = pick(100);
    if (kind < 30) {
      tk::Form &form = someForm();
      tk::Control &c = someControl(form, chance(80));
      // Described first: the click may unload the form (the stop button does).
      std::string what = "click " + std::string(form.name()) + "." + c.name() + "(" +
                         std::to_string(c.index()) + ")";
      c.click();
      return what;
    }
    if (kind < 50) {
      // Mostly the drill's answer, as a child types it or pastes it.
      tk::Form &form =
          p.tafels.loaded() && chance(80) ? static_cast<tk::Form &>(p.tafels()) : someForm();
      std::vector<tk::Control *> boxes;
      for (const auto &c : form.controls()) {
        if (c->kind() == tk::Kind::TextBox) {
          boxes.push_back(c.get());
        }
      }
      if (boxes.empty()) {
        return "no text box on " + std::string(form.name());
      }
      tk::Control &box =
          form.name() == "tafels"
              ? form.control("txtAntwoord")
              : *boxes.at(static_cast<std::size_t>(pick(static_cast<int>(boxes.size()))));
      const std::string text = someText();
      if (chance(50)) {
        for (std::size_t n = 1; n <= text.size() && n <= 12; ++n) {
          box.typeText(text.substr(0, n));
        }
      }
      box.typeText(text);
      return "type " + std::string(form.name()) + "." + box.name() + " '" + text.substr(0, 20) +
             "'";
    }
    if (kind < 62) {
      tk::Form &form = someForm();
      const auto x = static_cast<float>(pick(static_cast<int>(form.clientWidth()) + 1000) - 500);
      const auto y = static_cast<float>(pick(static_cast<int>(form.clientHeight()) + 1000) - 500);
      form.mouseMove({.buttons = pick(8), .shift = pick(8), .x = x, .y = y});
      return "move " + std::string(form.name()) + " " + std::to_string(x) + "," + std::to_string(y);
    }
    if (kind < 67) {
      tk::Form &form = someForm();
      const auto key = static_cast<std::int16_t>(chance(50) ? 13 : pick(256));
      form.keyPress(key);
      return "key " + std::string(form.name()) + " " + std::to_string(key);
    }
    if (kind < 72) {
      tk::Form &form = someForm();
      p.desktop().activate(form);
      return "activate " + std::string(form.name());
    }
    if (kind < 75) {
      if (!p.mdiForm2.loaded()) {
        return "no main window";
      }
      p.mdiForm2().control("aftrek2").click();
      return "menu Basis";
    }
    const tk::Millis ms = chance(5) ? pick(70000) : pick(1500) + 1;
    t_->advance(ms);
    return "advance " + std::to_string(ms);
  }

  void remember(const std::string &what) {
    history_.push_back(what);
    if (history_.size() > 30) {
      history_.pop_front();
    }
  }

  void check(const std::string &what) {
    if (t_->desktop.ended()) {
      drill_ = nullptr;
      return;
    }
    Program &p = t_->program;
    ASSERT_TRUE(p.mdiForm2.loaded()) << what;
    ASSERT_TRUE(p.mdiForm2().enabled()) << "the main window stays disabled after " << what;
    checkDrill(what);
    checkClassroom(what);
  }

  void checkDrill(const std::string &what) {
    Program &p = t_->program;
    if (!p.tafels.loaded()) {
      drill_ = nullptr;
      return;
    }
    Tafels &d = p.tafels();
    const tk::Timer &chrono = d.timer("Tmrchrono");
    const bool runs = chrono.enabled() && chrono.due().has_value();
    const bool paused = d.control("cmdgroen").visible();
    ASSERT_FALSE(runs && paused) << what;
    for (const tk::Control *knop : d.array("cmdstarter")) {
      ASSERT_EQ(knop->visible(), !runs && !paused)
          << "table button " << knop->index() << " after " << what;
    }
    ASSERT_EQ(d.timer("tmrval").enabled(), runs) << "the fall after " << what;

    const std::int64_t aantal = number(d.control("lblaantal"));
    const std::int64_t juist = number(d.control("lblaantaljuist"));
    const std::int64_t totaal = number(d.control("Lbltotaal"));
    ASSERT_GE(totaal, 0) << what;
    ASSERT_LE(totaal, juist < 0 ? 0 : juist) << what;
    ASSERT_LE(juist, aantal < 0 ? 0 : aantal) << what;
    if (runs) {
      ASSERT_LT(totaal, aantal) << "the falling problem is always counted, after " << what;
    }
    if (drill_ == &d) {
      ASSERT_GE(juist < 0 ? 0 : juist, juistBefore_) << what;
      const bool ended = runsBefore_ && !runs && !paused;
      // Only the end of a round takes back its last, unanswered problem.
      ASSERT_GE(aantal, ended ? aantalBefore_ - 1 : aantalBefore_) << what;
      if (ended) {
        ++rounds;
      }
      if (runsBefore_ && paused) {
        ++pauses;
      }
      rightAnswers += static_cast<int>((juist < 0 ? 0 : juist) - juistBefore_);
    }
    drill_ = &d;
    aantalBefore_ = aantal;
    juistBefore_ = juist < 0 ? 0 : juist;
    runsBefore_ = runs;
  }

  void checkClassroom(const std::string &what) {
    Program &p = t_->program;
    if (!p.aklas.loaded()) {
      return;
    }
    Aklas &klas = p.aklas();
    const bool lesson = klas.timer("Timerreset").enabled();
    for (const Les &les : lessen) {
      if (klas.timer(les.timer).enabled()) {
        ASSERT_TRUE(lesson) << les.timer << " runs without a lesson after " << what;
      }
    }
    if (lesson && !lessonBefore_) {
      ++lessons;
    }
    lessonBefore_ = lesson;
  }

  std::mt19937 rng_;
  std::unique_ptr<TestProgram> t_;
  std::deque<std::string> history_;
  const Tafels *drill_ = nullptr;
  std::int64_t aantalBefore_ = 0;
  std::int64_t juistBefore_ = 0;
  bool runsBefore_ = false;
  bool lessonBefore_ = false;
};

void soak(std::uint32_t seed, int events) {
  Session session(seed);
  for (int i = 0; i < events; ++i) {
    session.step();
    if (::testing::Test::HasFatalFailure()) {
      ADD_FAILURE() << "seed " << seed << ", event " << i << "; the last events:\n"
                    << session.history();
      return;
    }
  }
  std::cout << "seed " << seed << ": " << session.events << " events, " << session.programs
            << " programs, " << session.rounds << " rounds, " << session.pauses << " pauses, "
            << session.lessons << " lessons, " << session.rightAnswers << " right answers\n";
  // A soak that never reached the screens proves nothing.
  EXPECT_GT(session.rounds, 0);
  EXPECT_GT(session.pauses, 0);
  EXPECT_GT(session.lessons, 0);
  EXPECT_GT(session.programs, 1);
  EXPECT_GT(session.rightAnswers, 0);
}

TEST(Soak, longRandomSessionsKeepEveryScreenConsistentAfterEachEvent) {
  for (const std::uint32_t seed : {1U, 2U, 3U, 4U}) {
    SCOPED_TRACE(seed);
    soak(seed, 25000);
    if (HasFailure()) {
      return;
    }
  }
}

} // namespace
