#include "classroom.h"

#include "shell/palette.h"

#include "shell/program.h"
#include "toolkit/keys.h"
#include "toolkit/numbers.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <limits>

namespace {

using namespace palette;

constexpr std::string_view crlf = "\r\n";

// The open questions of a lesson: the easy ones a child knows, and the harder ones.
constexpr std::array<int, 6> makkelijkeFactoren{0, 1, 2, 3, 5, 10};
constexpr std::array<int, 5> moeilijkeFactoren{4, 6, 7, 8, 9};
constexpr std::string_view inspringing = "   ";

// The table cells: box 0 and every product of two numbers from 1 to 10, ascending.
constexpr bool isTafelvakje(int k) {
  if (k == 0) {
    return true;
  }
  for (int i = 1; i <= hoogsteFactor; ++i) {
    if (k % i == 0 && k / i <= hoogsteFactor) {
      return true;
    }
  }
  return false;
}

constexpr std::size_t telTafelvakjes() {
  std::size_t n = 0;
  for (int k = 0; k <= veldGrootte; ++k) {
    n += isTafelvakje(k) ? 1U : 0U;
  }
  return n;
}

constexpr auto tafelvakjes = [] {
  std::array<std::int16_t, telTafelvakjes()> vakjes{};
  std::size_t n = 0;
  for (int k = 0; k <= veldGrootte; ++k) {
    if (isTafelvakje(k)) {
      vakjes.at(n++) = static_cast<std::int16_t>(k);
    }
  }
  return vakjes;
}();

const Les &les(int N) {
  return lessen.at(static_cast<std::size_t>(N - 1));
}

// "   3 x 7= ?" and its CR LF.
std::string openVraag(std::string_view indent, int k, int N) {
  return std::string(indent) + tk::toText(k) + " x " + tk::toText(N) + "=" + " " + "?" +
         std::string(crlf);
}

std::string makkelijkeVragen(int N) {
  std::string lijst;
  for (const int k : makkelijkeFactoren) {
    lijst += openVraag(k == 0 ? les(N).eersteInspringing : inspringing, k, N);
  }
  return lijst;
}

std::string moeilijkeVragen(int N) {
  std::string lijst;
  for (const int k : moeilijkeFactoren) {
    lijst += openVraag(inspringing, k, N);
  }
  return lijst;
}

// The factor right-aligned in two places: " 7", "10".
std::string factorVeld(int k) {
  std::string veld = tk::toText(k);
  if (k < hoogsteFactor) {
    veld.insert(veld.begin(), ' ');
  }
  return veld;
}

} // namespace

std::optional<std::string> antwoordenlijst(std::string_view tafel) {
  const tk::NumberReading getal = tk::readNumber(tafel);
  // Only whole tables are listed; ten times them must still fit.
  constexpr std::int64_t grootste = std::numeric_limits<std::int64_t>::max() / hoogsteFactor;
  if (!getal.whole || *getal.whole > grootste || *getal.whole < -grootste) {
    return std::nullopt;
  }
  std::string lijst;
  for (int k = 0; k <= hoogsteFactor; ++k) {
    if (k > 0) {
      lijst += crlf;
    }
    lijst += inspringing;
    lijst += factorVeld(k) + " x " + std::string(tafel) + " = " + tk::toText(k * *getal.whole);
  }
  return lijst;
}

Aklas::Aklas(Program &program)
    : Form(program.desktop(), classroomDesign()), program_(program),
      txtgetal2(control("txtgetal2")), Cmdterug(control("Cmdterug")),
      Cmdtimerreset(control("Cmdtimerreset")), Cmdalletafels(control("Cmdalletafels")),
      Frmkiestafel(control("Frmkiestafel")), Text2(array("Text2")), lblinfor(control("lblinfor")),
      lblmededeling(control("lblmededeling")), Lblinaklas(control("Lblinaklas")),
      Lbltrainer(control("Lbltrainer")), lbltrainer3(control("lbltrainer3")),
      Lbltrainer2(control("Lbltrainer2")), Image1(control("Image1")),
      Timerreset(timer("Timerreset")) {
  onLoad = [this] { Form_Load(); };
  onActivate = [this] { Form_Activate(); };
  onKeyPress = [this](std::int16_t &key) { Form_KeyPress(key); };
  for (int N = 1; N <= hoogsteFactor; ++N) {
    control(les(N).knop).onClick = [this, N] { Cmd_Click(N); };
    lesTimer(N).onTimer = [this, N] { Timer_Timer(N); };
  }
  Timerreset.onTimer = [this] { Timerreset_Timer(); };
  txtgetal2.onChange = [this] { txtgetal2_Change(); };
  Cmdalletafels.onClick = [this] { Cmdalletafels_Click(); };
  Cmdtimerreset.onClick = [this] { Cmdtimerreset_Click(); };
  Cmdterug.onClick = [this] { Cmdterug_Click(); };
  Image1.onMouseMove = [this](const tk::MouseEvent &event) { Image1_MouseMove(event); };
  Lblinaklas.onMouseMove = [this](const tk::MouseEvent &event) { Lblinaklas_MouseMove(event); };
  for (tk::Control *vakje : Text2) {
    vakje->setDescription(std::string(spokenName(vakje->backColor())));
  }
}

tk::Timer &Aklas::lesTimer(int N) const {
  return timer(les(N).timer);
}

// A box's colour is the lesson; a screen reader hears it in the box's description.
void Aklas::kleurVakje(tk::Control &vakje, tk::Color kleur) {
  vakje.setBackColor(kleur);
  vakje.setDescription(std::string(spokenName(kleur)));
}

void Aklas::kleurTafelvakjes(tk::Color kleur) {
  for (const std::int16_t k : tafelvakjes) {
    kleurVakje(Text2(k), kleur);
  }
}

void Aklas::kleurTafel(int N, tk::Color kleur) {
  for (int k = 0; k <= hoogsteFactor; ++k) {
    kleurVakje(Text2(static_cast<std::int16_t>(k * N)), kleur);
  }
}

void Aklas::Form_Load() {
  zetKlaar(Moment::Laden);
}

void Aklas::Form_Activate() {
  zetKlaar(Moment::Activeren);
}

// The set-up of every visit. Loading skips the instruction and "Alle tafels in beeld";
// the activation that always follows at once does them. The classroom is opened from a
// running round only; should it ever be shown without a drill, it reads nothing rather
// than create a drill of its own.
void Aklas::zetKlaar(Moment moment) {
  const bool activeren = moment == Moment::Activeren;
  centreOnDisplay();
  const bool drill = program_.tafels.loaded();
  lblinfor.setText(drill ? program_.tafels().probleem() : std::string());
  if (activeren) {
    const std::string T = drill ? program_.tafels().control("lblmult2").text() : std::string();
    lblmededeling.setText(std::string("klik op ") + " " + " x " + T + std::string(crlf) +
                          " zo leer je 1 minuut de tafel van " + T);
  }
  Frmkiestafel.show();
  if (activeren) {
    Cmdalletafels.hide();
  }
  Cmdtimerreset.hide();
  txtgetal2.setText("0");
  Lbltrainer.hide();
  kleurTafelvakjes(yellow);
  Lbltrainer2.hide();
  lbltrainer3.hide();
}

void Aklas::Cmd_Click(int N) {
  kleurTafel(N, green);
  lesTimer(N).setEnabled(true);
  txtgetal2.setText(tk::toText(N));
  Frmkiestafel.hide();
  Timerreset.setEnabled(true);
  Cmdtimerreset.hide();
  Cmdalletafels.hide();
  Cmdterug.hide();
  Lbltrainer2.show();
  lbltrainer3.show();
  Lbltrainer2.setText(makkelijkeVragen(N));
  lbltrainer3.setText(moeilijkeVragen(N));
}

void Aklas::Timer_Timer(int N) {
  kleurTafel(N, black);
  Lbltrainer.show();
}

void Aklas::Timerreset_Timer() {
  Frmkiestafel.show();
  Cmdterug.show();
  for (int N = 1; N <= hoogsteFactor; ++N) {
    lesTimer(N).setEnabled(false);
  }
  Lbltrainer.show();
  Timerreset.setEnabled(false);
  // After a lesson the child may also look at all tables at once; the button shares
  // its place with "Alle cijfers terugzetten", so never both.
  if (!Cmdtimerreset.visible()) {
    Cmdalletafels.show();
  }
}

void Aklas::txtgetal2_Change() {
  // Code writes only "0" .. "10"; any other text leaves the list as it was.
  if (std::optional<std::string> lijst = antwoordenlijst(txtgetal2.text())) {
    Lbltrainer.setText(std::move(*lijst));
  }
}

void Aklas::Cmdalletafels_Click() {
  Frmkiestafel.hide();
  Cmdtimerreset.show();
  Cmdalletafels.hide();
  kleurTafelvakjes(green);
}

void Aklas::Cmdtimerreset_Click() {
  Cmdtimerreset.hide();
  Frmkiestafel.show();
  Cmdalletafels.show();
  txtgetal2.setText("0");
  Lbltrainer.hide();
  kleurTafelvakjes(yellow);
  Lbltrainer2.hide();
  lbltrainer3.hide();
}

void Aklas::Cmdterug_Click() {
  lblinfor.setText("");
  Lblinaklas.hide();
  hide();
  // Without a drill there is no round to go back to.
  if (program_.tafels.loaded()) {
    Tafels &tafels = program_.tafels();
    tafels.show();
    tafels.hervatten();
  }
  Cmdterug.hide();
}

void Aklas::Form_KeyPress(std::int16_t &KeyAscii) {
  if (KeyAscii == tk::key::enter) {
    KeyAscii = 0;
    program_.services().sendTab();
  }
}

void Aklas::Image1_MouseMove(const tk::MouseEvent & /*event*/) {
  Lblinaklas.show();
}

void Aklas::Lblinaklas_MouseMove(const tk::MouseEvent & /*event*/) {
  Lblinaklas.hide();
}
