// Feeds arbitrary bytes to the places where the program reads a child's text: the
// number reading itself, the classroom's answer list, and the drill's answer box in a
// running round. Any failed check aborts, so that libFuzzer keeps the input.
#include "support/fakes.h"
#include "toolkit/numbers.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

void check(bool holds, const char *rule) {
  if (!holds) {
    std::fprintf(stderr, "broken: %s\n", rule);
    std::abort();
  }
}

bool plainDigits(std::string_view text) {
  if (text.starts_with('-')) {
    text.remove_prefix(1);
  }
  if (text.empty() || (text.size() > 1 && text.front() == '0')) {
    return false;
  }
  for (const char c : text) {
    if (c < '0' || c > '9') {
      return false;
    }
  }
  return true;
}

void readsNumbers(std::string_view text) {
  const tk::NumberReading reading = tk::readNumber(text);
  check(!reading.whole || reading.isNumber, "a whole value is always a number");
  if (reading.whole) {
    const std::string written = tk::toText(*reading.whole);
    check(plainDigits(written), "a value is written as plain digits");
    const tk::NumberReading again = tk::readNumber(written);
    check(again.isNumber && again.whole == reading.whole, "a written value reads back the same");
  }
  // A blank around the text never changes what it is.
  const tk::NumberReading padded = tk::readNumber(" " + std::string(text) + "\t");
  check(padded.isNumber == reading.isNumber && padded.whole == reading.whole,
        "blanks around a number do not change it");
}

void listsAnswers(std::string_view text) {
  const std::optional<std::string> lijst = antwoordenlijst(text);
  if (!lijst) {
    return;
  }
  check(tk::readNumber(text).whole.has_value(), "only a whole table gets a list");
  std::size_t lines = 1;
  for (std::size_t at = lijst->find("\r\n"); at != std::string::npos;
       at = lijst->find("\r\n", at + 2)) {
    ++lines;
  }
  check(lines == 11, "a list holds one line per factor 0..10");
}

// The first byte picks the table button; the rest are the texts the child types one
// after another, separated by line feeds, with a fall step between them.
void typesIntoTheDrill(std::string_view data) {
  testing_support::TestProgram t;
  t.program.start();
  t.program.openDrill();
  Tafels &drill = t.program.tafels();
  const auto knop = static_cast<std::int16_t>(
      data.empty() ? 0 : static_cast<unsigned char>(data.front()) % tafelKnoppen.size());
  if (!data.empty()) {
    data.remove_prefix(1);
  }
  drill.control("cmdstarter", knop).click();
  check(drill.timer("Tmrchrono").enabled(), "a table button starts the round");
  tk::Control &antwoord = drill.control("txtAntwoord");
  while (true) {
    const std::size_t end = data.find('\n');
    const std::string_view typed = data.substr(0, end);
    const std::size_t before = t.services.messages.size();
    antwoord.typeText(std::string(typed));
    const std::string &staat = antwoord.text();
    check(staat.empty() || tk::readNumber(staat).isNumber, "the answer box holds only numbers");
    check(t.services.messages.size() == before ||
              (!typed.empty() && !tk::readNumber(typed).isNumber),
          "only a text that is no number brings the warning");
    const auto juist = tk::readNumber(drill.control("Lbltotaal").text()).whole;
    const auto aantal = tk::readNumber(drill.control("lblaantal").text()).whole;
    // While the round runs one problem still waits for its answer; at the end the round
    // takes that unanswered problem back, so every answer may then have been right.
    const bool rondeLoopt = drill.timer("Tmrchrono").enabled();
    check(juist && aantal && (rondeLoopt ? *juist < *aantal : *juist <= *aantal),
          "every right answer was a problem made");
    if (end == std::string_view::npos) {
      break;
    }
    data.remove_prefix(end + 1);
    t.advance(50);
  }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *bytes, std::size_t size) {
  const std::string_view data(reinterpret_cast<const char *>(bytes), size);
  readsNumbers(data);
  listsAnswers(data);
  typesIntoTheDrill(data);
  return 0;
}
