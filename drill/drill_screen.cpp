#include "drill.h"

#include "shell/palette.h"

#include "shell/program.h"
#include "toolkit/numbers.h"

#include <cmath>

namespace {

using namespace palette;

// Every problem multiplies a whole hundred, 100 to 1000, by the table.
constexpr int honderd = 100;
constexpr float trekking = 11.0F; // draws of 0..10 from a uniform number in [0, 1)
constexpr int rondeSeconden = 60;
constexpr int chronoInterval = 1000;
constexpr float valstap = 30; // twips per tick of the fall

constexpr std::string_view geenCijfers = "Je mag alleen cijfers invoegen";
constexpr std::string_view letOp = "Let eens op !!";

// The verdict: every line that holds for the round's score n paints the verdict over
// the earlier ones, and its pencil stays visible.
enum class Als : std::uint8_t { Meer, Gelijk, Minder };
enum class Potlood : std::uint8_t { Rood, Groen, Geel, Blauw };
struct Oordeel {
  Als als;
  int grens;
  std::string_view tekst;
  tk::Color achtergrond;
  tk::Color tekstkleur;
  Potlood potlood;
};
constexpr std::array<Oordeel, 9> oordelen{{
    {Als::Meer, 40, "Dat is SUPER ", green, black, Potlood::Groen},
    {Als::Gelijk, 40, "dat is SUPER", green, black, Potlood::Groen},
    {Als::Minder, 40, "Dat is turbosnel ", blue, white, Potlood::Blauw},
    {Als::Minder, 35, "Dat is uitstekend ", blue, white, Potlood::Blauw},
    {Als::Minder, 30, " Dat is prima", blue, white, Potlood::Blauw},
    {Als::Minder, 25, " Dat is zeer goed", yellow, black, Potlood::Geel},
    {Als::Minder, 20, "Dat gaat al aardig", yellow, black, Potlood::Geel},
    {Als::Minder, 15, " Nog wat oefenen", red, white, Potlood::Rood},
    {Als::Minder, 10, " Dat is te traag", red, white, Potlood::Rood},
}};

bool geldt(const Oordeel &oordeel, std::int64_t n) {
  switch (oordeel.als) {
  case Als::Meer:
    return n > oordeel.grens;
  case Als::Gelijk:
    return n == oordeel.grens;
  case Als::Minder:
    return n < oordeel.grens;
  }
  return false;
}

int trek(float r) {
  return static_cast<int>(std::floor(trekking * r));
}

} // namespace

std::string probleemTekst(int getal, int tafelgetal) {
  return tk::toText(getal) + " x " + tk::toText(tafelgetal) + " " + "=" + " " + "?";
}

Tafels::Tafels(Program &program)
    : Form(program.desktop(), drillDesign()), program_(program), cmdstarter(array("cmdstarter")),
      cmdoeifout(control("cmdoeifout")), cmdgroen(control("cmdgroen")), cmdrood(control("cmdrood")),
      Cmdstop(control("Cmdstop")), txtAntwoord(control("txtAntwoord")),
      Picture1(control("Picture1")), Picpaddestoel(control("Picpaddestoel")),
      lblvalprobleem(control("lblvalprobleem")), lblmult2(control("lblmult2")),
      lblaantaljuist(control("lblaantaljuist")), lblaantal(control("lblaantal")),
      lbluitleg(control("lbluitleg")), lblrood(control("lblrood")), Lbltotaal(control("Lbltotaal")),
      Lblchrono(control("Lblchrono")), lblTip1(control("lblTip", 1)), Lblmemo(control("Lblmemo")),
      Imgpotloodrood(control("Imgpotloodrood")), Imgpotloodgroen(control("Imgpotloodgroen")),
      Imgpotloodgeel(control("Imgpotloodgeel")), Imgpotloodblauw(control("Imgpotloodblauw")),
      shpTip(array("shpTip")), tmrval(timer("tmrval")), Tmrchrono(timer("Tmrchrono")) {
  onLoad = [this] { Form_Load(); };
  onMouseMove = [this](const tk::MouseEvent &) { Form_MouseMove(); };
  for (tk::Control *knop : cmdstarter) {
    knop->onClick = [this, index = knop->index()] { cmdstarter_Click(index); };
    knop->onMouseMove = [this, index = knop->index()](const tk::MouseEvent &) {
      cmdstarter_MouseMove(index);
    };
  }
  tmrval.onTimer = [this] { tmrval_Timer(); };
  Tmrchrono.onTimer = [this] { Tmrchrono_Timer(); };
  txtAntwoord.onChange = [this] { txtAntwoord_Change(); };
  cmdoeifout.onClick = [this] { cmdoeifout_Click(); };
  cmdrood.onClick = [this] { cmdrood_Click(); };
  cmdgroen.onClick = [this] { cmdgroen_Click(); };
  Cmdstop.onClick = [this] { Cmdstop_Click(); };
  cmdgroen.onMouseMove = [this](const tk::MouseEvent &) { cmdgroen_MouseMove(); };
  cmdoeifout.onMouseMove = [this](const tk::MouseEvent &) { cmdoeifout_MouseMove(); };
  cmdrood.onMouseMove = [this](const tk::MouseEvent &) { cmdrood_MouseMove(); };
  Cmdstop.onMouseMove = [this](const tk::MouseEvent &) { Cmdstop_MouseMove(); };
}

void Tafels::Form_Load() {
  centreOnDisplay();
  Lbltotaal.setText("0");
  program_.services().randomize();
  cmdrood.hide();
  cmdgroen.hide();
  program_.mdiForm2().setEnabled(false);
  shpTip(4).hide();
  lblrood.hide();
  for (tk::Control *knop : cmdstarter) {
    knop->show();
  }
  // No problem exists before the first round: the answer box cannot be typed in yet,
  // but it still takes the pointer, so passing over it keeps a button's explanation.
  txtAntwoord.setLocked(true);
}

void Tafels::cmdstarter_Click(std::int16_t Index) {
  cmdoeifout.show();
  lblvalprobleem.show();
  tmrval.setEnabled(true);

  Cmdstop.hide();
  cmdrood.show();

  txtAntwoord.setEnabled(true);
  txtAntwoord.setLocked(false);
  txtAntwoord.setFocus();

  Picpaddestoel.hide();
  Picture1.show();

  Tmrchrono.setInterval(chronoInterval);
  Tmrchrono.setEnabled(true);

  restseconden = rondeSeconden;
  rondejuist = 0;
  Lbltotaal.setText(tk::toText(rondejuist));

  Lblmemo.setText("");
  Imgpotloodrood.hide();
  Imgpotloodgroen.hide();
  Imgpotloodgeel.hide();
  Imgpotloodblauw.hide();
  Lblmemo.hide();

  for (tk::Control *knop : cmdstarter) {
    knop->hide();
  }

  tafelkeuze = Index;
  nieuwprobleem();
}

void Tafels::nieuwprobleem() {
  txtAntwoord.setFocus();
  tmrval.setEnabled(true);
  lblvalprobleem.show();

  getal = honderd * trekEersteFactor();
  tafelgetal = trekTafelgetal();
  uitkomst = getal * tafelgetal;
  lblvalprobleem.setText(probleemTekst(getal, tafelgetal));
  plaatsProbleem();

  txtAntwoord.setText("");
  probleem_ = lblvalprobleem.text();
  txtAntwoord.setDescription(probleem_); // a screen reader reads it where the child types
  ++totaaloefeningen;
  lblaantal.setText(tk::toText(totaaloefeningen));
  lblmult2.setText(tk::toText(tafelgetal));
}

int Tafels::trekEersteFactor() {
  int k = 0;
  do {
    k = trek(program_.services().random());
  } while (k <= 0);
  return k;
}

int Tafels::trekTafelgetal() {
  const int tafel = tafelKnoppen.at(static_cast<std::size_t>(tafelkeuze)).tafel;
  return tafel == gemengd ? trek(program_.services().random()) : tafel;
}

void Tafels::plaatsProbleem() {
  const float r = program_.services().random();
  lblvalprobleem.move((Picture1.scaleWidth() - lblvalprobleem.width()) * r, 0);
}

void Tafels::tmrval_Timer() {
  lblvalprobleem.setTop(lblvalprobleem.top() + valstap);
  if (lblvalprobleem.top() + lblvalprobleem.height() > Picture1.scaleHeight()) {
    nieuwprobleem();
  }
}

void Tafels::txtAntwoord_Change() {
  if (!txtAntwoord.text().empty() && !tk::readNumber(txtAntwoord.text()).isNumber) {
    program_.services().messageBox(geenCijfers, letOp);
    txtAntwoord.setText("");
  }
  // A paused round counts no answers: the clock and the fall stand still, even when the
  // menu brings the waiting drill forward.
  const std::string antwoord = txtAntwoord.text();
  if (tmrval.enabled() && !antwoord.empty() && tk::readNumber(antwoord).whole == uitkomst) {
    ++rondejuist;
    Lbltotaal.setText(tk::toText(rondejuist));
    ++totaaljuist;
    lblaantaljuist.setText(tk::toText(totaaljuist));
    nieuwprobleem();
  }
}

void Tafels::cmdoeifout_Click() {
  txtAntwoord.setText("");
  txtAntwoord.setFocus();
}

void Tafels::cmdrood_Click() {
  program_.aklas().show();
  hide();
  Tmrchrono.setEnabled(false);
  tmrval.setEnabled(false);
  cmdgroen.show();
  cmdrood.hide();
  shpTip(4).hide();
  lblrood.hide();
}

void Tafels::cmdgroen_Click() {
  hervatten();
}

void Tafels::hervatten() {
  // Only a paused round resumes: the classroom's way back may still be open after the
  // round went on with the green light, ended, or after the drill was opened afresh.
  if (!cmdgroen.visible()) {
    return;
  }
  cmdgroen.hide();
  cmdrood.show();
  Tmrchrono.setEnabled(true);
  tmrval.setEnabled(true);
  txtAntwoord.setText("");
  txtAntwoord.setFocus();
}

void Tafels::Tmrchrono_Timer() {
  if (restseconden != 0) {
    --restseconden;
    Lblchrono.setText(tk::toText(restseconden));
    return;
  }
  eindeRonde();
}

void Tafels::eindeRonde() {
  for (tk::Control *knop : cmdstarter) {
    knop->show();
  }
  cmdoeifout.hide();
  Picture1.show();
  Picpaddestoel.show();
  lblvalprobleem.hide();
  Tmrchrono.setEnabled(false);
  tmrval.setEnabled(false);
  Cmdstop.show();
  shpTip(4).hide();
  lblrood.hide();
  // A digit the child is still typing must not land on the stop button: the focus
  // leaves the answer box for the table just played before the box is disabled.
  cmdstarter(tafelkeuze).setFocus();
  txtAntwoord.setText("");
  txtAntwoord.setDescription("");
  txtAntwoord.setEnabled(false);
  cmdrood.hide();
  // The problem still falling when time ran out does not count.
  --totaaloefeningen;
  lblaantal.setText(tk::toText(totaaloefeningen));
  geefOordeel();
}

void Tafels::geefOordeel() {
  const std::array<tk::Control *, 4> potloden{&Imgpotloodrood, &Imgpotloodgroen, &Imgpotloodgeel,
                                              &Imgpotloodblauw};
  const std::int64_t n = tk::readNumber(Lbltotaal.text()).whole.value_or(0);
  for (const Oordeel &oordeel : oordelen) {
    if (!geldt(oordeel, n)) {
      continue;
    }
    Lblmemo.show();
    Lblmemo.setText(std::string(oordeel.tekst));
    Lblmemo.setBackColor(oordeel.achtergrond);
    Lblmemo.setForeColor(oordeel.tekstkleur);
    potloden.at(static_cast<std::size_t>(oordeel.potlood))->show();
  }
}

void Tafels::Cmdstop_Click() {
  totaaloefeningen = 0;
  lblaantal.setText(tk::toText(totaaloefeningen));
  totaaljuist = 0;
  lblaantaljuist.setText(tk::toText(totaaljuist));
  program_.frminfo().show();
  program_.mdiForm2().setEnabled(true);
  program_.tafels.unload();
  program_.frmmecenaat1.unload();
}

void Tafels::toonUitleg(std::string_view uitleg) {
  lbluitleg.setText(std::string(uitleg));
}

void Tafels::cmdstarter_MouseMove(std::int16_t Index) {
  toonUitleg(tafelKnoppen.at(static_cast<std::size_t>(Index)).uitleg);
  shpTip(1).show();
  lblTip1.show();
}

void Tafels::cmdgroen_MouseMove() {
  toonUitleg("Opnieuw van start gaan");
}

void Tafels::cmdoeifout_MouseMove() {
  toonUitleg("Foute cijfers wegklikken");
}

void Tafels::cmdrood_MouseMove() {
  toonUitleg("ik wil uitleg");
  shpTip(4).show();
  lblrood.show();
}

void Tafels::Cmdstop_MouseMove() {
  toonUitleg("Stop de oefening");
}

void Tafels::Form_MouseMove() {
  toonUitleg("");
}
