#include "info.h"

#include "maker.h"
#include "program.h"

#include <cmath>
#include <string>

namespace {

constexpr float voortgangMax = 150;
constexpr std::int32_t laatsteTik = 150;
constexpr int sloganPaneel = 1;
constexpr int voortgangDeel = 1; // the second panel, counted from 0
constexpr std::string_view slogan = "Kwikstaart,educatieve software voor de basisschool";

// Rounds to the nearest integer, ties to even.
float afgerond(float value) {
  return std::nearbyint(value);
}

} // namespace

Frminfo::Frminfo(Program &program)
    : Form(program.desktop(), infoDesign()), program_(program),
      ProgressBar1(control("ProgressBar1")), StatusBar1(control("StatusBar1")),
      lblgeld(control("lblgeld")), Timer1(timer("Timer1")) {
  onLoad = [this] { Form_Load(); };
  onActivate = [this] { Form_Activate(); };
  Timer1.onTimer = [this] { Timer1_Timer(); };
}

void Frminfo::Form_Load() {
  lblgeld.setText(std::string(" Sinds mijn 60ste verjaardag is de software gratis") + "\r\n" +
                  " via " + std::string(maker::distributionSite) + " ");
  ProgressBar1.setMin(0);
  ProgressBar1.setMax(voortgangMax);
  toonvoortgang(true);
  Timer1.setEnabled(true);
  StatusBar1.setPanelText(sloganPaneel, std::string(slogan));
  StatusBar1.setPanelTag(sloganPaneel, "");
  centreOnDisplay();
}

void Frminfo::Form_Activate() {
  ProgressBar1.setMin(0);
  ProgressBar1.setMax(voortgangMax);
  toonvoortgang(true);
  Timer1.setEnabled(true);
}

void Frminfo::toonvoortgang(bool tonen) {
  if (!tonen) {
    ProgressBar1.setContainer(nullptr);
    ProgressBar1.hide();
    return;
  }
  const tk::PixelRect deel = StatusBar1.panelRect(voortgangDeel);
  const auto perPixel = static_cast<float>(tk::twipsPerPixel);
  const float top = afgerond(perPixel * static_cast<float>(deel.top));
  const float left = afgerond(perPixel * static_cast<float>(deel.left));
  const float height = afgerond(perPixel * static_cast<float>(deel.bottom) - top);
  const float width = afgerond(perPixel * static_cast<float>(deel.right) - left);
  ProgressBar1.setContainer(&StatusBar1);
  ProgressBar1.setRect({left, top, width, height});
  ProgressBar1.show();
  ProgressBar1.setValue(0);
}

void Frminfo::Timer1_Timer() {
  tk::StatusPanel &paneel = StatusBar1.panel(sloganPaneel);
  if (paneel.tag.empty()) {
    const float spatie = program_.services().textWidth(" ", design().font);
    const auto n = spatie > 0 ? static_cast<std::int32_t>(afgerond(paneel.width / spatie)) : 0;
    StatusBar1.setPanelTag(sloganPaneel,
                           std::string(static_cast<std::size_t>(n), ' ') + paneel.text);
    StatusBar1.setPanelText(sloganPaneel, paneel.tag);
  }
  if (!paneel.text.empty()) {
    StatusBar1.setPanelText(sloganPaneel, paneel.text.substr(1));
  } else {
    StatusBar1.setPanelText(sloganPaneel, paneel.tag);
  }
  ++tikken;
  if (tikken > laatsteTik) {
    Timer1.setEnabled(false);
    toonvoortgang(false);
    tikken = 0;
    hide();
    program_.desktop().end();
    return;
  }
  ProgressBar1.setValue(static_cast<float>(tikken));
}
