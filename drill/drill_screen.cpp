#include "drill.h"

#include "shell/program.h"
#include "toolkit/numbers.h"

#include <cmath>

namespace {

// Every problem multiplies a whole hundred, 100 to 1000, by the table.
constexpr int honderd = 100;
constexpr float trekking = 11.0F; // draws of 0..10 from a uniform number in [0, 1)
constexpr int rondeSeconden = 60;
constexpr int chronoInterval = 1000;

int trek(float r) { return static_cast<int>(std::floor(trekking * r)); }

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
  for (tk::Control *knop : cmdstarter) {
    knop->onClick = [this, index = knop->index()] { cmdstarter_Click(index); };
  }
}

void Tafels::Form_Load() {
  const tk::Services &services = program_.services();
  setLeft((services.displayWidth() - outerWidth()) / 2);
  setTop((services.displayHeight() - outerHeight()) / 2);
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
  // No problem exists before the first round: the answer box waits, as after a round.
  txtAntwoord.setEnabled(false);
}

void Tafels::cmdstarter_Click(std::int16_t Index) {
  cmdoeifout.show();
  lblvalprobleem.show();
  tmrval.setEnabled(true);

  Cmdstop.hide();
  cmdrood.show();

  txtAntwoord.setEnabled(true);
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
